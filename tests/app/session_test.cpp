#include "app/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "services/memory_settings.h"

namespace osk::app {
namespace {

TEST(SessionLineText, FormatAndParseAgree) {
  const SessionLine l{"C:\\Work\\my file.c", 12, 3456, 1, {0, 4, 2, 6, 60, 0, 1, 1}};
  const std::string text = formatSessionLine(l);
  EXPECT_EQ(text, "\"C:\\Work\\my file.c\" 12 3456 1 0 0 4 2 6 60 0 1 1");
  EXPECT_EQ(parseSessionLine(text, {}), l);
}

TEST(SessionLineText, MissingValuesTakeTheDefaultsAndCaretIsBrought1Based) {
  const PerFileSettings defaults{0, 3, 0, 5, 50, 1, 1, 0};
  const auto onlyName = parseSessionLine("\"C:\\a.txt\"", defaults);
  ASSERT_TRUE(onlyName);
  EXPECT_EQ(onlyName->column, 1u);
  EXPECT_EQ(onlyName->line, 1u);
  EXPECT_EQ(onlyName->readOnly, 0);
  EXPECT_EQ(onlyName->settings, defaults);
  const auto odd = parseSessionLine("\"a\" 0 -5 9 77 1 99", defaults);
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->column, 1u);
  EXPECT_EQ(odd->line, 1u);
  EXPECT_EQ(odd->readOnly, 1);
  EXPECT_EQ(odd->settings.tabsAsSpaces, 1);
  EXPECT_EQ(odd->settings.tabLength, 8);   // 99 is no tab length
  EXPECT_EQ(odd->settings.rightMargin, 50);
  EXPECT_EQ(parseSessionLine("\"a\" 5000 4294967295", {})->column, kMaxCaretColumn);
  EXPECT_EQ(parseSessionLine("\"a\" 5000 4294967295", {})->line, 4294967295u);
  EXPECT_FALSE(parseSessionLine("\"\" 1 1", {}));
  EXPECT_FALSE(parseSessionLine("\"C:\\a.txt 1 1", {}));
}

// A shell that opens the files it knows and records what it was asked.
class FakeOpener : public SessionOpener {
 public:
  std::set<std::string> openable;
  PerFileSettings current;
  bool readOnly = false;
  struct Open {
    std::string name;
    PerFileSettings settings;
    bool readOnly;
  };
  std::vector<Open> opens;
  std::vector<std::pair<uint32_t, uint32_t>> carets;

  PerFileSettings defaults() const override { return current; }
  void setDefaults(const PerFileSettings& s) override { current = s; }
  void setOpenReadOnly(bool r) override { readOnly = r; }
  bool open(const std::string& name) override {
    opens.push_back({name, current, readOnly});
    return openable.count(name) > 0;
  }
  void placeCaret(uint32_t line, uint32_t column) override { carets.emplace_back(line, column); }
};

TEST(RestoreSession, StopsAtTheFirstMissingKey) {
  test::MemorySettings file;
  file.sections["State"] = {{"1", "\"a\" 1 1"}, {"2", "\"b\" 1 1"}, {"4", "\"d\" 1 1"}};
  FakeOpener shell;
  shell.openable = {"a", "b", "d"};
  EXPECT_EQ(restoreSession(file, shell), 2u);
  ASSERT_EQ(shell.opens.size(), 2u);
  EXPECT_EQ(shell.opens[1].name, "b");
}

TEST(RestoreSession, EachFileOpensWithItsOwnSettingsAndTheDefaultsComeBack) {
  test::MemorySettings file;
  file.sections["State"] = {{"1", "\"a\" 7 20 1 0 0 4 0 1 60 1 0 1"}, {"2", "\"b\""}, {"3", ""}};
  FakeOpener shell;
  shell.openable = {"a", "b"};
  const PerFileSettings defaults = shell.current;
  EXPECT_EQ(restoreSession(file, shell), 2u);
  ASSERT_EQ(shell.opens.size(), 2u);
  EXPECT_EQ(shell.opens[0].settings, (PerFileSettings{0, 4, 0, 1, 60, 1, 0, 1}));
  EXPECT_TRUE(shell.opens[0].readOnly);
  // The second line leaves everything out: it opens with the real defaults, not the first file's, and writable.
  EXPECT_EQ(shell.opens[1].settings, defaults);
  EXPECT_FALSE(shell.opens[1].readOnly);
  EXPECT_EQ(shell.carets, (std::vector<std::pair<uint32_t, uint32_t>>{{20, 7}, {1, 1}}));
  EXPECT_EQ(shell.current, defaults);
  EXPECT_FALSE(shell.readOnly);
}

TEST(RestoreSession, AFileThatFailsToOpenEndsTheRestoreAndLeaksNothing) {
  test::MemorySettings file;
  file.sections["State"] = {{"1", "\"a\""}, {"2", "\"gone\" 1 1 1 0 0 2"}, {"3", "\"c\""}};
  FakeOpener shell;
  shell.openable = {"a", "c"};
  const PerFileSettings defaults = shell.current;
  EXPECT_EQ(restoreSession(file, shell), 1u);
  EXPECT_EQ(shell.opens.size(), 2u);
  EXPECT_EQ(shell.carets.size(), 1u);
  EXPECT_EQ(shell.current, defaults);
  EXPECT_FALSE(shell.readOnly);
}

// A shell with documents whose answers are scripted.
class FakeShutdown : public ShutdownHost {
 public:
  struct Document {
    std::string name;   // empty: untitled
    bool modified = false;
    bool refuses = false;
    SaveAnswer answer = SaveAnswer::No;
    bool saveWorks = true;
  };
  std::vector<Document> docs;
  std::vector<std::string> events;

  std::vector<std::uintptr_t> documents() override {
    std::vector<std::uintptr_t> ids;
    for (std::size_t i = 0; i < docs.size(); ++i) ids.push_back(i);
    return ids;
  }
  bool refusesToClose(std::uintptr_t d) override { return docs[d].refuses; }
  bool isModified(std::uintptr_t d) override { return docs[d].modified; }
  SaveAnswer askToSave(std::uintptr_t d) override {
    events.push_back("ask " + docs[d].name);
    return docs[d].answer;
  }
  bool save(std::uintptr_t d) override {
    events.push_back("save " + docs[d].name);
    return docs[d].saveWorks;
  }
  void updateHistory(std::uintptr_t d) override { events.push_back("history " + docs[d].name); }
  std::optional<SessionLine> sessionLine(std::uintptr_t d) override {
    if (docs[d].name.empty()) return std::nullopt;
    return SessionLine{docs[d].name, 1, 1, 0, {}};
  }
  void writeSettings() override { events.push_back("settings"); }
};

std::map<std::string, std::string> stateAfter(FakeShutdown& shell, ShutdownResult expected) {
  test::MemorySettings file;
  file.sections["State"] = {{"1", "\"old\" 1 1"}, {"2", "\"older\" 1 1"}, {"3", "\"oldest\" 1 1"}};
  EXPECT_EQ(shutDown(file, shell), expected);
  return file.sections["State"];
}

TEST(Shutdown, EveryDocumentAgreedWritesItsLinesThenTheEndThenTheSettings) {
  FakeShutdown shell;
  shell.docs = {{"a.txt", true, false, SaveAnswer::Yes}, {"", false}, {"b.txt", true, false, SaveAnswer::No}};
  const auto state = stateAfter(shell, ShutdownResult::Agreed);
  EXPECT_EQ(state.at("1"), "\"a.txt\" 1 1 0 0 1 8 0 4 70 1 0 0");
  EXPECT_EQ(state.at("2"), "\"b.txt\" 1 1 0 0 1 8 0 4 70 1 0 0");
  EXPECT_EQ(state.at("3"), "");
  EXPECT_EQ(shell.events, (std::vector<std::string>{"ask a.txt", "save a.txt", "history a.txt", "history ",
                                                    "ask b.txt", "history b.txt", "settings"}));
}

TEST(Shutdown, CancelOnTheSecondDocumentWritesNoStateLine) {
  FakeShutdown shell;
  shell.docs = {{"a.txt", true, false, SaveAnswer::Yes}, {"b.txt", true, false, SaveAnswer::Cancel}, {"c.txt"}};
  const auto state = stateAfter(shell, ShutdownResult::Cancelled);
  EXPECT_EQ(state.at("1"), "\"old\" 1 1");
  EXPECT_EQ(state.at("3"), "\"oldest\" 1 1");
  EXPECT_EQ(shell.events, (std::vector<std::string>{"ask a.txt", "save a.txt", "history a.txt", "ask b.txt"}));
}

TEST(Shutdown, AFailedSaveOrARefusalCancelsWithNothingWritten) {
  FakeShutdown failing;
  failing.docs = {{"a.txt", true, false, SaveAnswer::Yes, false}, {"b.txt"}};
  EXPECT_EQ(stateAfter(failing, ShutdownResult::Cancelled).at("2"), "\"older\" 1 1");
  EXPECT_EQ(failing.events, (std::vector<std::string>{"ask a.txt", "save a.txt"}));

  FakeShutdown refusing;
  refusing.docs = {{"a.txt"}, {"b.txt", false, true}};
  EXPECT_EQ(stateAfter(refusing, ShutdownResult::Cancelled).at("1"), "\"old\" 1 1");
  EXPECT_EQ(std::count(refusing.events.begin(), refusing.events.end(), "settings"), 0);
}

TEST(Shutdown, NoDocumentsEndsTheListAtOnce) {
  FakeShutdown shell;
  const auto state = stateAfter(shell, ShutdownResult::Agreed);
  EXPECT_EQ(state.at("1"), "");
  EXPECT_EQ(shell.events, (std::vector<std::string>{"settings"}));
}

}  // namespace
}  // namespace osk::app
