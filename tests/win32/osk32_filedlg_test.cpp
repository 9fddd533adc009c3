// The file dialogs and the autosave, driven as a user drives them: the Open dialog in both styles with the name
// completed from the current filter and its help button, and files saved by the autosave after its delay, never
// an untitled one, never under a modal dialog and never with a question.
#include <gtest/gtest.h>

#include <string>

#include "scenario_helpers.h"

namespace osk::drive {
namespace {

constexpr int kFileNameExplorer = 0x47c;
constexpr int kFileNameOld = 0x480;
constexpr int kHelpButton = 0x40e;

// A settings file written before the program starts.
std::string settingsIn(const Scratch& folder, const std::string& lines) {
  return folder.write("osk.ini", "[Advanced]\r\n" + lines);
}

// Presses the Help button as the user does, without waiting for what it shows.
void pressHelp(HWND dialog) {
  if (HWND help = control(dialog, kHelpButton)) PostMessageA(help, BM_CLICK, 0, 0);
}

bool activeTitleIs(const Program& program, const std::string& title) {
  return waitFor([&] { return program.activeTitle() == title; });
}

TEST(OSK32FileDialogs, OldStyleOpenIsCentredAndCompletesTheNameFromTheFilter) {
  Scratch folder;
  folder.write("notes.txt", "notes\r\n");
  folder.write("other.ini", "[x]\r\n");
  settingsIn(folder, "UseExplorerType=0\r\nUseLongFileNames=1\r\n");
  Program program(folder, "other.ini");
  ASSERT_TRUE(program.waitForDocuments(1));

  // Long names in the old style: one file at a time, so the title has no " [Multi Select]".
  HWND dialog = openDialog(program, "OpenFile", "Open");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(control(dialog, kFileNameOld), nullptr) << "an old-style dialog";
  EXPECT_TRUE(waitFor([&] { return focusOf(program) == control(dialog, kFileNameOld); }, 5s))
      << "the focus starts on the file name";
  RECT frame{}, box{};
  GetWindowRect(program.frame(), &frame);
  GetWindowRect(dialog, &box);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_GE(box.left, 5);
  EXPECT_GE(box.top, 5);
  EXPECT_LE(box.right, screenWidth - 5);
  EXPECT_LE(box.bottom, screenHeight - 5);
  if (box.right - box.left + 10 <= frame.right - frame.left) {
    EXPECT_NEAR((box.left + box.right) / 2, (frame.left + frame.right) / 2, 6) << "centred over the frame";
  }

  // The help button shows the Open dialog's help, through the program's help (its file is missing here).
  pressHelp(dialog);
  HWND box2 = program.waitForDialog("OSK", 10s);
  ASSERT_NE(box2, nullptr) << "the help button did nothing";
  EXPECT_NE(messageBoxText(box2).find("Osk32.hlp"), std::string::npos) << messageBoxText(box2);
  program.answer(box2, IDOK);

  // "notes" does not exist; the first filter is the text files', so "notes.txt" is opened.
  setText(dialog, kFileNameOld, "notes");
  ASSERT_TRUE(program.answer(dialog, IDOK));
  ASSERT_TRUE(program.waitForDocuments(2));
  EXPECT_TRUE(activeTitleIs(program, " " + folder.pathOf("notes.txt"))) << program.activeTitle();
  EXPECT_TRUE(program.dialogs().empty());
  EXPECT_TRUE(program.close());
}

TEST(OSK32FileDialogs, OldStyleWithShortNamesMayChooseSeveral) {
  Scratch folder;
  folder.write("notes.txt", "notes\r\n");
  settingsIn(folder, "UseExplorerType=1\r\nUseLongFileNames=0\r\n");
  Program program(folder, "");
  ASSERT_NE(program.waitForFrame(), nullptr);
  HWND dialog = openDialog(program, "OpenFile", "Open [Multi Select]");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NE(control(dialog, kFileNameOld), nullptr) << "no explorer style without long names";
  setText(dialog, kFileNameOld, "notes");
  ASSERT_TRUE(program.answer(dialog, IDOK));
  ASSERT_TRUE(program.waitForDocuments(1));
  // Short names may come back in capitals.
  const std::string expected = " " + folder.pathOf("notes.txt");
  EXPECT_EQ(lstrcmpiA(program.activeTitle().c_str(), expected.c_str()), 0) << program.activeTitle();
  EXPECT_TRUE(program.close());
}

TEST(OSK32FileDialogs, ExplorerOpenCompletesAMissingNameAndKeepsTheFilterChosen) {
  Scratch folder;
  folder.write("notes.txt", "notes\r\n");
  folder.write("setup.ini", "[x]\r\n");
  folder.write("setup", "no extension\r\n");
  Program program(folder, "");
  ASSERT_NE(program.waitForFrame(), nullptr);

  HWND dialog = openDialog(program, "OpenFile", "Open [Multi Select]");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, kFileNameExplorer, folder.pathOf("notes"));
  ASSERT_TRUE(program.answer(dialog, IDOK));
  ASSERT_TRUE(program.waitForDocuments(1));
  EXPECT_TRUE(activeTitleIs(program, " " + folder.pathOf("notes.txt"))) << program.activeTitle();

  // The INI filter chosen stays for the next Open; a name that exists as typed is opened as it is.
  dialog = openDialog(program, "OpenFile", "Open [Multi Select]");
  ASSERT_NE(dialog, nullptr);
  // The help button shows the Open dialog's help (its file is missing here).
  pressHelp(dialog);
  HWND help = program.waitForDialog("OSK", 10s);
  ASSERT_NE(help, nullptr) << "the help button did nothing";
  EXPECT_NE(messageBoxText(help).find("Osk32.hlp"), std::string::npos) << messageBoxText(help);
  program.answer(help, IDOK);
  // The second file type, the INI files.
  HWND types = control(dialog, 0x470);
  SendMessageA(types, CB_SETCURSEL, 1, 0);
  for (WORD notification : {CBN_SELCHANGE, CBN_SELENDOK}) {
    PostMessageA(GetParent(types), WM_COMMAND, MAKEWPARAM(0x470, notification), reinterpret_cast<LPARAM>(types));
  }
  setText(dialog, kFileNameExplorer, folder.pathOf("setup"));
  ASSERT_TRUE(program.answer(dialog, IDOK));
  ASSERT_TRUE(program.waitForDocuments(2));
  EXPECT_TRUE(activeTitleIs(program, " " + folder.pathOf("setup"))) << program.activeTitle();
  dialog = openDialog(program, "OpenFile", "Open [Multi Select]");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(waitFor([&] { return SendMessageA(control(dialog, 0x470), CB_GETCURSEL, 0, 0) == 1; }, 5s))
      << "the INI files are still chosen";
  program.answer(dialog, IDCANCEL);
  EXPECT_TRUE(program.close());
}

TEST(OSK32FileDialogs, AutosaveAfterItsDelaySavesNamedFilesOnlyAndWaitsForModalDialogs) {
  Scratch folder;
  folder.write("kept.txt", "kept\r\n");
  settingsIn(folder, "AutosaveModifiedFiles=1\r\nAutosaveDelay=1\r\n");
  Program program(folder, "kept.txt");
  ASSERT_TRUE(program.waitForDocuments(1));
  // An untitled buffer with text in it, and the named file edited.
  program.command(numberOf("NewFile"));
  ASSERT_TRUE(program.waitForDocuments(2));
  program.type("untitled text");
  for (HWND document : program.documents()) {
    if (windowText(document).find("kept.txt") != std::string::npos) {
      SendMessageA(program.mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
    }
  }
  ASSERT_TRUE(activeTitleIs(program, " " + folder.pathOf("kept.txt")));
  program.press({{VK_HOME, false, true}});
  program.type("saved ");

  // Bounded: the delay is one second and the timer ticks every second.
  ASSERT_TRUE(waitFor([&] { return folder.read("kept.txt") == "saved kept\r\n"; }, 15s)) << folder.read("kept.txt");
  EXPECT_TRUE(activeTitleIs(program, " " + folder.pathOf("kept.txt")));
  EXPECT_TRUE(program.dialogs().empty()) << "the autosave asked something";
  size_t untitled = 0;
  for (HWND document : program.documents()) {
    if (windowText(document).find("Untitled") != std::string::npos) {
      ++untitled;
      EXPECT_EQ(windowText(document).rfind("*", 0), 0u) << "the untitled buffer stays unsaved";
    }
  }
  EXPECT_EQ(untitled, 1u);

  // While a modal dialog is up nothing is saved; once it is gone the autosave goes on.
  program.type("more ");
  HWND dialog = openDialog(program, "OpenFile", "Open [Multi Select]");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(waitFor([&] { return folder.read("kept.txt") != "saved kept\r\n"; }, 3s)) << "saved under a dialog";
  program.answer(dialog, IDCANCEL);
  EXPECT_TRUE(waitFor([&] { return folder.read("kept.txt") == "saved more kept\r\n"; }, 15s))
      << folder.read("kept.txt");
  EXPECT_TRUE(program.dialogs().empty());
  program.kill();
}

TEST(OSK32FileDialogs, AutosaveOnDeactivationSavesWhenAnotherProgramTakesOver) {
  Scratch folder;
  folder.write("left.txt", "left\r\n");
  settingsIn(folder, "AutosaveModifiedFiles=0\r\nAutosaveOnDeactivation=1\r\n");
  Program program(folder, "left.txt");
  ASSERT_TRUE(program.waitForDocuments(1));
  program.press({{VK_HOME, false, true}});
  program.type("typed ");
  program.settle();
  EXPECT_EQ(folder.read("left.txt"), "left\r\n") << "saved while still active";

  // This test's own window takes the foreground, as another program would.
  HWND other = CreateWindowExA(0, "STATIC", "other program", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  const bool saved = waitFor([&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return folder.read("left.txt") == "typed left\r\n";
  }, 15s);
  EXPECT_TRUE(saved) << folder.read("left.txt");
  EXPECT_TRUE(program.dialogs().empty());
  DestroyWindow(other);
  program.kill();
}

}  // namespace
}  // namespace osk::drive
