// Keystroke macros in the real program: recorded from keys typed through the keyboard, saved, loaded and played
// again, played repeatedly with a limit, played at start-up; checked in the files the program saves, the macro
// files it writes, its status bar and its settings file.
#include <gtest/gtest.h>

#include <cstring>

#include "app/win32/macro_ids.h"
#include "scenario_helpers.h"

namespace osk::drive {
namespace {

// Settings that keep the macro files in the scratch folder.
void useMacroFolder(const Scratch& folder, const std::string& extra = {}) {
  folder.write("osk.ini", "[Advanced]\r\nMacroPath=" + folder.path() + "\r\n" + extra);
}

// A macro file of key downs and ups for lower-case letters, as the recorder writes them.
std::string lettersMacro(const std::string& letters) {
  std::string bytes{'\x01', '\x00'};
  auto put32 = [&](uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
  };
  put32(static_cast<uint32_t>(letters.size() * 2));
  for (char c : letters) {
    const uint32_t vk = static_cast<uint32_t>(c - 'a' + 'A');
    const uint32_t scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    for (bool up : {false, true}) {
      put32(up ? WM_KEYUP : WM_KEYDOWN);
      put32(vk | (scan | (up ? 0xC000u : 0u)) << 8);
      put32(1);
      put32(0);
      put32(0);
    }
  }
  return bytes;
}

constexpr char kRepeatPlay[] = "Repeat Play Current Keystroke Macro";

class OSK32Macro : public Scenario {
 protected:
  // The program on its files with the macro folder (and any further settings) in its settings file.
  bool startWithMacros(const std::string& files, size_t documents, const std::string& settings = {}) {
    useMacroFolder(folder, settings);
    return start(files, documents);
  }
  bool showsStatus(const std::string& text) {
    return waitFor([&] { return program().status() == text; }, 10s);
  }
  // F7, the keys before the text, the text, the keys after it, F7 again; true once the macro is recorded.
  bool record(const std::string& text, const std::vector<Key>& before = {}, const std::vector<Key>& after = {}) {
    std::vector<Key> keys{{VK_F7}};
    keys.insert(keys.end(), before.begin(), before.end());
    program().press(keys);
    if (!text.empty()) program().type(text);
    keys.assign(after.begin(), after.end());
    keys.push_back({VK_F7});
    program().press(keys);
    return showsStatus("Macro recorded");
  }
  // Shift+F8 and the dialog it opens.
  HWND openRepeatPlay() {
    program().press({{VK_F8, true}});
    return program().waitForDialog(kRepeatPlay);
  }
  // Ticks a check box of the dialog as the user's click does; true once it shows the tick.
  static bool tick(HWND dialog, int id) {
    HWND box = control(dialog, id);
    PostMessageA(box, BM_CLICK, 0, 0);
    return waitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s);
  }
  static bool ticked(HWND dialog, int id) {
    return SendMessageA(control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  bool saved(const std::string& name, const std::string& text) { return savedAs(program(), folder, name, text); }
  // F8 plays the current macro.
  void play() { program().press({{VK_F8}}); }
};

TEST_F(OSK32Macro, RecordedFromKeysSavedLoadedAndPlayedAgain) {
  folder.write("a.txt", "x\r\n");
  ASSERT_TRUE(startWithMacros("a.txt", 1));

  program().press({{VK_F7}});
  ASSERT_TRUE(showsStatus("Recording macro ...")) << program().status();
  program().type("ab");
  program().press({{VK_F7}});
  ASSERT_TRUE(showsStatus("Macro recorded")) << program().status();

  program().command(numberOf("KeyMacroSave"));
  ASSERT_TRUE(chooseFile(program(), "Save Keystroke Macro", folder.pathOf("ab.kbd")));
  ASSERT_TRUE(waitFor([&] { return folder.exists("ab.kbd"); }));
  const std::string bytes = folder.read("ab.kbd");
  ASSERT_GE(bytes.size(), 6u);
  uint32_t events = 0;
  std::memcpy(&events, bytes.data() + 2, 4);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\x01\x00", 2));
  EXPECT_EQ(bytes.size(), 6 + 20 * events);
  EXPECT_GE(events, 4u) << "two letters down and up";

  play();
  EXPECT_TRUE(showsStatus("Replayed keystroke macro")) << program().status();
  EXPECT_TRUE(saved("a.txt", "ababx\r\n")) << folder.read("a.txt");

  // Another recording replaces the macro; loading the saved file brings "ab" back.
  ASSERT_TRUE(record("c"));
  program().command(numberOf("KeyMacroLoad"));
  ASSERT_TRUE(chooseFile(program(), "Load Keystroke Macro", folder.pathOf("ab.kbd")));
  play();
  EXPECT_TRUE(showsStatus("Replayed keystroke macro")) << program().status();
  EXPECT_TRUE(saved("a.txt", "ababcabx\r\n")) << folder.read("a.txt");

  // The first file of the macro folder is the macro menu's first item: choosing it loads and plays the file.
  ASSERT_TRUE(record("d"));
  program().command(16000);
  EXPECT_TRUE(showsStatus("Replayed keystroke macro")) << program().status();
  EXPECT_TRUE(saved("a.txt", "ababcabdabx\r\n")) << folder.read("a.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Macro, RepeatPlayStopsAfterThreePlaysAndKeepsItsSettings) {
  folder.write("r.txt", "y\r\n");
  ASSERT_TRUE(startWithMacros("r.txt", 1));
  ASSERT_TRUE(record("z"));

  HWND dialog = openRepeatPlay();
  ASSERT_NE(dialog, nullptr);
  HWND plays = control(dialog, IDC_MACRO_PLAYS);
  ASSERT_NE(control(dialog, IDC_MACRO_STOP_AFTER), nullptr);
  EXPECT_FALSE(ticked(dialog, IDC_MACRO_STOP_AFTER));
  EXPECT_FALSE(IsWindowEnabled(plays)) << "the number waits for Stop After";
  ASSERT_TRUE(tick(dialog, IDC_MACRO_STOP_AFTER));
  ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(plays) != FALSE; }, 5s));
  setText(dialog, IDC_MACRO_PLAYS, "3");
  ASSERT_TRUE(program().answer(dialog, IDOK));

  EXPECT_TRUE(showsStatus("Replayed keystroke macro")) << program().status();
  EXPECT_TRUE(saved("r.txt", "zzzzy\r\n")) << folder.read("r.txt");
  EXPECT_TRUE(program().close());
  EXPECT_EQ(iniValue(program().settingsFile(), "Flags", "RepeatPlayFlags"), "1 1 1 1 0 3 0");
}

TEST_F(OSK32Macro, TheStartupMacroPlaysOnceAndLocksPlayUntilAMacroIsLoaded) {
  const std::string macro = folder.write("hi.kbd", lettersMacro("hi"));
  folder.write("s.txt", "!\r\n");
  ASSERT_TRUE(startWithMacros("s.txt", 1, "[Flags]\r\nStartup=" + macro + "\r\n"));
  ASSERT_TRUE(showsStatus("Replayed keystroke macro")) << program().status();

  play();   // refused under the start-up lock
  EXPECT_TRUE(saved("s.txt", "hi!\r\n")) << folder.read("s.txt");

  // The macro menu plays its first file, and loading it lifts the lock.
  program().command(16000);
  ASSERT_TRUE(waitFor([&] { return program().activeTitle().rfind("*", 0) == 0; }, 10s)) << program().activeTitle();
  EXPECT_TRUE(showsStatus("Replayed keystroke macro"));
  play();
  EXPECT_TRUE(saved("s.txt", "hihihi!\r\n")) << folder.read("s.txt");

  // Clear Start-up Macro empties the setting at once.
  program().command(numberOf("KeyMacroClearStartup"));
  EXPECT_TRUE(waitFor([&] { return iniValue(program().settingsFile(), "Flags", "Startup").empty(); }, 5s));
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Macro, MoreMacrosListsEveryMacroFileAndPlaysTheChosenOne) {
  for (char c = 'a'; c <= 'l'; ++c) folder.write(std::string(1, c) + ".kbd", lettersMacro(std::string(1, c)));
  folder.write("m.txt", "\r\n");
  ASSERT_TRUE(startWithMacros("m.txt", 1));

  program().command(16009);   // "&More Macros..." after nine numbered files
  HWND dialog = program().waitForDialog("Select Keystroke Macro File");
  ASSERT_NE(dialog, nullptr);
  HWND list = control(dialog, IDC_MACRO_FILES);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 12);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "OK waits for a choice";
  ASSERT_TRUE(choose(dialog, IDC_MACRO_FILES, folder.pathOf("k.kbd"), false));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(program().answer(dialog, IDOK));
  EXPECT_TRUE(showsStatus("Replayed keystroke macro")) << program().status();
  EXPECT_TRUE(saved("m.txt", "k\r\n")) << folder.read("m.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Macro, RepeatPlayStopsWhenTheLastDocumentCloses) {
  for (const char* name : {"1.txt", "2.txt", "3.txt"}) folder.write(name, "text\r\n");
  ASSERT_TRUE(startWithMacros("1.txt 2.txt 3.txt", 3));

  // The macro closes the active document (Ctrl+F4); recording it closes the first.
  ASSERT_TRUE(record("", {{VK_F4, false, true}}));
  ASSERT_TRUE(program().waitForDocuments(2));

  // No limit on the plays: only closing the last document ends the repeat.
  HWND dialog = openRepeatPlay();
  ASSERT_NE(dialog, nullptr);
  ASSERT_FALSE(ticked(dialog, IDC_MACRO_STOP_LAST_CLOSED));
  ASSERT_TRUE(tick(dialog, IDC_MACRO_STOP_LAST_CLOSED));
  ASSERT_TRUE(program().answer(dialog, IDOK));

  EXPECT_TRUE(showsStatus("Repeat replay stopped")) << program().status();
  EXPECT_TRUE(program().documents().empty());
  EXPECT_TRUE(program().close());
  EXPECT_EQ(iniValue(program().settingsFile(), "Flags", "RepeatPlayFlags"), "0 1 1 1 1 1 0");
}

TEST_F(OSK32Macro, AFileThatIsNoMacroIsReportedAndTheStartupChoiceIsWrittenAtOnce) {
  std::string broken = lettersMacro("q");
  broken[0] = '\x02';
  const std::string macro = folder.write("broken.kbd", broken);
  folder.write("e.txt", "e\r\n");
  ASSERT_TRUE(startWithMacros("e.txt", 1));

  program().command(16000);
  EXPECT_EQ(answerBox(program(), IDOK), "Error loading macro file");
  play();   // no macro: nothing is typed
  EXPECT_EQ(program().activeTitle().rfind("*", 0), std::string::npos) << program().activeTitle();

  program().command(numberOf("KeyMacroSetStartup"));
  ASSERT_TRUE(chooseFile(program(), "Set Start-up Keystroke Macro", macro));
  EXPECT_TRUE(waitFor([&] { return iniValue(program().settingsFile(), "Flags", "Startup") == macro; }, 5s))
      << iniValue(program().settingsFile(), "Flags", "Startup");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Macro, RepeatPlayStopsWhenNextBookmarkFindsNone) {
  folder.write("b.txt", "one\r\ntwo\r\nthree\r\nfour\r\n");
  ASSERT_TRUE(startWithMacros("b.txt", 1, "[Flags]\r\nWrapBookMarksMode=0\r\n"));
  // Bookmarks on lines two and four, then back to the top.
  const Key toggleBookmark{VK_F2, false, true};
  program().press({{VK_DOWN}, toggleBookmark, {VK_DOWN}, {VK_DOWN}, toggleBookmark, {VK_HOME, false, true}});

  // The macro goes to the next bookmark, in the caret's column, and types there.
  ASSERT_TRUE(record("#", {{VK_F2}}));

  HWND dialog = openRepeatPlay();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(tick(dialog, IDC_MACRO_STOP_BOOKMARK));
  ASSERT_TRUE(program().answer(dialog, IDOK));

  EXPECT_TRUE(showsStatus("Repeat replay stopped")) << program().status();
  EXPECT_TRUE(saved("b.txt", "one\r\n#two\r\nthree\r\nf#our\r\n")) << folder.read("b.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Macro, RepeatPlayStopsWhenTheCaretIsHeldAtTheEndOfTheFile) {
  folder.write("d.txt", "a\r\nb\r\nc\r\nd\r\n");
  ASSERT_TRUE(startWithMacros("d.txt", 1));

  // The macro marks the line and goes down one; with the settings as they come, the end of the file stops it.
  ASSERT_TRUE(record("-", {}, {{VK_LEFT}, {VK_DOWN}}));
  HWND dialog = openRepeatPlay();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(ticked(dialog, IDC_MACRO_STOP_FILE_END));
  ASSERT_TRUE(program().answer(dialog, IDOK));

  EXPECT_TRUE(showsStatus("Repeat replay stopped")) << program().status();
  // The play that marks the last line finds the caret held there and is the last.
  EXPECT_TRUE(saved("d.txt", "-a\r\n-b\r\n-c\r\n-d\r\n")) << folder.read("d.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Macro, RepeatPlayOfASearchStopsWhenTheSearchFindsNoMore) {
  folder.write("f.txt", "x\r\nx\r\nx\r\n");
  ASSERT_TRUE(startWithMacros("f.txt", 1));
  // The search text: found once through the Find dialog, the first "x" is marked.
  HWND find = openDialog(program(), "Find", "Find");
  ASSERT_NE(find, nullptr);
  setText(find, 7001, "x");
  click(find, 7010);
  ASSERT_TRUE(program().answer(find, IDCANCEL));

  // The macro finds the next "x" (F3) and types over it.
  ASSERT_TRUE(record("!", {{VK_F3}}));
  HWND dialog = openRepeatPlay();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(ticked(dialog, IDC_MACRO_STOP_FIND));
  ASSERT_TRUE(program().answer(dialog, IDOK));

  // The search past the last match says so, and the repeat is over.
  EXPECT_EQ(answerBox(program(), IDOK, 10s), "No match found within scope.");
  EXPECT_TRUE(showsStatus("Repeat replay stopped")) << program().status();
  EXPECT_TRUE(saved("f.txt", "x\r\n!\r\n!\r\n")) << folder.read("f.txt");
  EXPECT_TRUE(program().close());
}

}  // namespace
}  // namespace osk::drive
