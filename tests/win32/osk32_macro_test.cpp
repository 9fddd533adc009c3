// Keystroke macros in the real program: recorded from keys typed through the keyboard, saved, loaded and played
// again, played repeatedly with a limit, played at start-up; checked in the files the program saves, the macro
// files it writes, its status bar and its settings file.
#include <gtest/gtest.h>

#include <cstring>

#include "app/win32/macro_ids.h"
#include "driver/osk_driver.h"

namespace osk::drive {
namespace {

constexpr int kFileNameField = 0x47c;   // the file name of an explorer-style file dialog

const CommandNumbers& builtIn() {
  static const CommandNumbers numbers;
  return numbers;
}

int numberOf(const std::string& name) {
  const int number = builtIn().number(name);
  EXPECT_NE(number, 0) << "the built-in configuration has no " << name;
  return number;
}

std::string iniValue(const std::string& file, const char* section, const char* key) {
  char value[1024] = {};
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
  return value;
}

// Settings that keep the macro files in the scratch folder.
void useMacroFolder(const Scratch& folder, const std::string& extra = {}) {
  folder.write("osk.ini", "[Advanced]\r\nMacroPath=" + folder.path() + "\r\n" + extra);
}

bool waitForStatus(const Program& program, const std::string& text) {
  return waitFor([&] { return program.status() == text; }, 10s);
}

// Answers a file dialog of the program with a full file name.
bool chooseFile(const Program& program, const std::string& title, const std::string& name) {
  HWND dialog = program.waitForDialog(title);
  if (dialog == nullptr) return false;
  setText(dialog, kFileNameField, name);
  return program.answer(dialog, IDOK);
}

// Ctrl+S and the text that reaches the file.
bool savedAs(const Program& program, const Scratch& folder, const std::string& name, const std::string& text) {
  program.press({{'S', false, true}});
  return waitFor([&] { return folder.read(name) == text; }, 10s);
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

TEST(OSK32Macro, RecordedFromKeysSavedLoadedAndPlayedAgain) {
  Scratch folder;
  useMacroFolder(folder);
  folder.write("a.txt", "x\r\n");
  Program program(folder, "a.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));

  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Recording macro ...")) << program.status();
  program.type("ab");
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded")) << program.status();

  program.command(numberOf("KeyMacroSave"));
  ASSERT_TRUE(chooseFile(program, "Save Keystroke Macro", folder.pathOf("ab.kbd")));
  ASSERT_TRUE(waitFor([&] { return folder.exists("ab.kbd"); }));
  const std::string saved = folder.read("ab.kbd");
  ASSERT_GE(saved.size(), 6u);
  uint32_t events = 0;
  std::memcpy(&events, saved.data() + 2, 4);
  EXPECT_EQ(saved.substr(0, 2), std::string("\x01\x00", 2));
  EXPECT_EQ(saved.size(), 6 + 20 * events);
  EXPECT_GE(events, 4u) << "two letters down and up";

  program.press({{VK_F8}});
  EXPECT_TRUE(waitForStatus(program, "Replayed keystroke macro")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "a.txt", "ababx\r\n")) << folder.read("a.txt");

  // Another recording replaces the macro; loading the saved file brings "ab" back.
  program.press({{VK_F7}});
  program.type("c");
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));
  program.command(numberOf("KeyMacroLoad"));
  ASSERT_TRUE(chooseFile(program, "Load Keystroke Macro", folder.pathOf("ab.kbd")));
  program.press({{VK_F8}});
  EXPECT_TRUE(waitForStatus(program, "Replayed keystroke macro")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "a.txt", "ababcabx\r\n")) << folder.read("a.txt");

  // The first file of the macro folder is the macro menu's first item: choosing it loads and plays the file.
  program.press({{VK_F7}});
  program.type("d");
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));
  program.command(16000);
  EXPECT_TRUE(waitForStatus(program, "Replayed keystroke macro")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "a.txt", "ababcabdabx\r\n")) << folder.read("a.txt");
  EXPECT_TRUE(program.close());
}

TEST(OSK32Macro, RepeatPlayStopsAfterThreePlaysAndKeepsItsSettings) {
  Scratch folder;
  useMacroFolder(folder);
  folder.write("r.txt", "y\r\n");
  Program program(folder, "r.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));

  program.press({{VK_F7}});
  program.type("z");
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));

  program.press({{VK_F8, true}});   // Shift+F8
  HWND dialog = program.waitForDialog("Repeat Play Current Keystroke Macro");
  ASSERT_NE(dialog, nullptr);
  HWND stopAfter = control(dialog, IDC_MACRO_STOP_AFTER);
  HWND plays = control(dialog, IDC_MACRO_PLAYS);
  ASSERT_NE(stopAfter, nullptr);
  EXPECT_EQ(SendMessageA(stopAfter, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(plays)) << "the number waits for Stop After";
  PostMessageA(stopAfter, BM_CLICK, 0, 0);
  ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(plays) != FALSE; }, 5s));
  setText(dialog, IDC_MACRO_PLAYS, "3");
  ASSERT_TRUE(program.answer(dialog, IDOK));

  EXPECT_TRUE(waitForStatus(program, "Replayed keystroke macro")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "r.txt", "zzzzy\r\n")) << folder.read("r.txt");
  EXPECT_TRUE(program.close());
  EXPECT_EQ(iniValue(program.settingsFile(), "Flags", "RepeatPlayFlags"), "1 1 1 1 0 3 0");
}

TEST(OSK32Macro, TheStartupMacroPlaysOnceAndLocksPlayUntilAMacroIsLoaded) {
  Scratch folder;
  const std::string macro = folder.write("hi.kbd", lettersMacro("hi"));
  useMacroFolder(folder, "[Flags]\r\nStartup=" + macro + "\r\n");
  folder.write("s.txt", "!\r\n");
  Program program(folder, "s.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));
  ASSERT_TRUE(waitForStatus(program, "Replayed keystroke macro")) << program.status();

  program.press({{VK_F8}});   // refused under the start-up lock
  EXPECT_TRUE(savedAs(program, folder, "s.txt", "hi!\r\n")) << folder.read("s.txt");

  // The macro menu plays its first file, and loading it lifts the lock.
  program.command(16000);
  ASSERT_TRUE(waitFor([&] { return program.activeTitle().rfind("*", 0) == 0; }, 10s)) << program.activeTitle();
  EXPECT_TRUE(waitForStatus(program, "Replayed keystroke macro"));
  program.press({{VK_F8}});
  EXPECT_TRUE(savedAs(program, folder, "s.txt", "hihihi!\r\n")) << folder.read("s.txt");

  // Clear Start-up Macro empties the setting at once.
  program.command(numberOf("KeyMacroClearStartup"));
  EXPECT_TRUE(waitFor([&] { return iniValue(program.settingsFile(), "Flags", "Startup").empty(); }, 5s));
  EXPECT_TRUE(program.close());
}

TEST(OSK32Macro, MoreMacrosListsEveryMacroFileAndPlaysTheChosenOne) {
  Scratch folder;
  useMacroFolder(folder);
  for (char c = 'a'; c <= 'l'; ++c) folder.write(std::string(1, c) + ".kbd", lettersMacro(std::string(1, c)));
  folder.write("m.txt", "\r\n");
  Program program(folder, "m.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));

  program.command(16009);   // "&More Macros..." after nine numbered files
  HWND dialog = program.waitForDialog("Select Keystroke Macro File");
  ASSERT_NE(dialog, nullptr);
  HWND list = control(dialog, IDC_MACRO_FILES);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 12);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "OK waits for a choice";
  ASSERT_TRUE(choose(dialog, IDC_MACRO_FILES, folder.pathOf("k.kbd"), false));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
  ASSERT_TRUE(program.answer(dialog, IDOK));
  EXPECT_TRUE(waitForStatus(program, "Replayed keystroke macro")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "m.txt", "k\r\n")) << folder.read("m.txt");
  EXPECT_TRUE(program.close());
}

TEST(OSK32Macro, RepeatPlayStopsWhenTheLastDocumentCloses) {
  Scratch folder;
  useMacroFolder(folder);
  for (const char* name : {"1.txt", "2.txt", "3.txt"}) folder.write(name, "text\r\n");
  Program program(folder, "1.txt 2.txt 3.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(3));

  // The macro closes the active document (Ctrl+F4); recording it closes the first.
  program.press({{VK_F7}});
  program.press({{VK_F4, false, true}});
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));
  ASSERT_TRUE(program.waitForDocuments(2));

  // No limit on the plays: only closing the last document ends the repeat.
  program.press({{VK_F8, true}});
  HWND dialog = program.waitForDialog("Repeat Play Current Keystroke Macro");
  ASSERT_NE(dialog, nullptr);
  HWND lastClosed = control(dialog, IDC_MACRO_STOP_LAST_CLOSED);
  ASSERT_EQ(SendMessageA(lastClosed, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  PostMessageA(lastClosed, BM_CLICK, 0, 0);
  ASSERT_TRUE(waitFor([&] { return SendMessageA(lastClosed, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s));
  ASSERT_TRUE(program.answer(dialog, IDOK));

  EXPECT_TRUE(waitForStatus(program, "Repeat replay stopped")) << program.status();
  EXPECT_TRUE(program.documents().empty());
  EXPECT_TRUE(program.close());
  EXPECT_EQ(iniValue(program.settingsFile(), "Flags", "RepeatPlayFlags"), "0 1 1 1 1 1 0");
}

TEST(OSK32Macro, AFileThatIsNoMacroIsReportedAndTheStartupChoiceIsWrittenAtOnce) {
  Scratch folder;
  useMacroFolder(folder);
  std::string broken = lettersMacro("q");
  broken[0] = '\x02';
  const std::string macro = folder.write("broken.kbd", broken);
  folder.write("e.txt", "e\r\n");
  Program program(folder, "e.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));

  program.command(16000);
  HWND box = program.waitForDialog("OSK");
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(waitFor([&] { return messageBoxText(box) == "Error loading macro file"; })) << messageBoxText(box);
  ASSERT_TRUE(program.answer(box, IDOK));
  program.press({{VK_F8}});   // no macro: nothing is typed
  EXPECT_EQ(program.activeTitle().rfind("*", 0), std::string::npos) << program.activeTitle();

  program.command(numberOf("KeyMacroSetStartup"));
  ASSERT_TRUE(chooseFile(program, "Set Start-up Keystroke Macro", macro));
  EXPECT_TRUE(waitFor([&] { return iniValue(program.settingsFile(), "Flags", "Startup") == macro; }, 5s))
      << iniValue(program.settingsFile(), "Flags", "Startup");
  EXPECT_TRUE(program.close());
}

TEST(OSK32Macro, RepeatPlayStopsWhenNextBookmarkFindsNone) {
  Scratch folder;
  useMacroFolder(folder, "[Flags]\r\nWrapBookMarksMode=0\r\n");
  folder.write("b.txt", "one\r\ntwo\r\nthree\r\nfour\r\n");
  Program program(folder, "b.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));
  // Bookmarks on lines two and four, then back to the top.
  program.press({{VK_DOWN}, {VK_F2, false, true}, {VK_DOWN}, {VK_DOWN}, {VK_F2, false, true}, {VK_HOME, false, true}});

  // The macro goes to the next bookmark, in the caret's column, and types there.
  program.press({{VK_F7}, {VK_F2}});
  program.type("#");
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));

  program.press({{VK_F8, true}});
  HWND dialog = program.waitForDialog("Repeat Play Current Keystroke Macro");
  ASSERT_NE(dialog, nullptr);
  HWND bookmark = control(dialog, IDC_MACRO_STOP_BOOKMARK);
  PostMessageA(bookmark, BM_CLICK, 0, 0);
  ASSERT_TRUE(waitFor([&] { return SendMessageA(bookmark, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5s));
  ASSERT_TRUE(program.answer(dialog, IDOK));

  EXPECT_TRUE(waitForStatus(program, "Repeat replay stopped")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "b.txt", "one\r\n#two\r\nthree\r\nf#our\r\n")) << folder.read("b.txt");
  EXPECT_TRUE(program.close());
}

TEST(OSK32Macro, RepeatPlayStopsWhenTheCaretIsHeldAtTheEndOfTheFile) {
  Scratch folder;
  useMacroFolder(folder);
  folder.write("d.txt", "a\r\nb\r\nc\r\nd\r\n");
  Program program(folder, "d.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));

  // The macro marks the line and goes down one; with the settings as they come, the end of the file stops it.
  program.press({{VK_F7}});
  program.type("-");
  program.press({{VK_LEFT}, {VK_DOWN}, {VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));
  program.press({{VK_F8, true}});
  HWND dialog = program.waitForDialog("Repeat Play Current Keystroke Macro");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageA(control(dialog, IDC_MACRO_STOP_FILE_END), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(program.answer(dialog, IDOK));

  EXPECT_TRUE(waitForStatus(program, "Repeat replay stopped")) << program.status();
  // The play that marks the last line finds the caret held there and is the last.
  EXPECT_TRUE(savedAs(program, folder, "d.txt", "-a\r\n-b\r\n-c\r\n-d\r\n")) << folder.read("d.txt");
  EXPECT_TRUE(program.close());
}

TEST(OSK32Macro, RepeatPlayOfASearchStopsWhenTheSearchFindsNoMore) {
  Scratch folder;
  useMacroFolder(folder);
  folder.write("f.txt", "x\r\nx\r\nx\r\n");
  Program program(folder, "f.txt");
  ASSERT_NE(program.waitForFrame(), nullptr);
  ASSERT_TRUE(program.waitForDocuments(1));
  // The search text: found once through the Find dialog, the first "x" is marked.
  program.command(numberOf("Find"));
  HWND find = program.waitForDialog("Find");
  ASSERT_NE(find, nullptr);
  setText(find, 7001, "x");
  click(find, 7010);
  ASSERT_TRUE(program.answer(find, IDCANCEL));

  // The macro finds the next "x" (F3) and types over it.
  program.press({{VK_F7}, {VK_F3}});
  program.type("!");
  program.press({{VK_F7}});
  ASSERT_TRUE(waitForStatus(program, "Macro recorded"));
  program.press({{VK_F8, true}});
  HWND dialog = program.waitForDialog("Repeat Play Current Keystroke Macro");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageA(control(dialog, IDC_MACRO_STOP_FIND), BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(program.answer(dialog, IDOK));

  // The search past the last match says so, and the repeat is over.
  HWND box = program.waitForDialog("OSK", 10s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box), "No match found within scope.");
  ASSERT_TRUE(program.answer(box, IDOK));
  EXPECT_TRUE(waitForStatus(program, "Repeat replay stopped")) << program.status();
  EXPECT_TRUE(savedAs(program, folder, "f.txt", "x\r\n!\r\n!\r\n")) << folder.read("f.txt");
  EXPECT_TRUE(program.close());
}

}  // namespace
}  // namespace osk::drive
