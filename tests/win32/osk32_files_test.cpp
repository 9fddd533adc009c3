// Document windows and their files, driven as a user drives them: splitting a document into panes and typing in
// them, saving under other names and where saving fails, reloading, copying, closing everything, and the file
// history after many files.
#include <gtest/gtest.h>

#include <string>

#include "engine/ecd_api.h"
#include "scenario_helpers.h"

namespace osk::drive {
namespace {

RECT rectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A pane that exists and has been moved into its place (right of or below a split bar).
bool placed(HWND document, int id) {
  HWND pane = GetDlgItem(document, id);
  return pane != nullptr && (rectIn(document, pane).top > 0 || rectIn(document, pane).left > 0);
}

class OSK32Files : public Scenario {
 protected:
  // Brings the document whose title holds the name to the front.
  void activate(const std::string& name) {
    for (HWND document : program().documents()) {
      if (windowText(document).find(name) != std::string::npos) {
        SendMessageA(program().mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
      }
    }
    program().settle();
  }
  // Splits the active document in two, one pane above the other, and gives the lower pane once it is in place.
  HWND splitInTwo(HWND document) {
    program().command(numberOf("SplitWindowHorizontally"));
    // The new pane is made, then placed below the bar.
    return waitFor([&] { return placed(document, 3); }) ? GetDlgItem(document, 3) : nullptr;
  }
};

TEST_F(OSK32Files, SplitIntoTwoAndFourPanesAndTypeInEach) {
  folder.writeLines("split.txt", 60);
  ASSERT_TRUE(start("split.txt", 1));
  HWND document = program().activeDocument();
  // A frame that fits the test display, so that its picture shows the status bar too.
  MoveWindow(program().frame(), 0, 0, 900, 680, TRUE);
  ShowWindow(document, SW_MAXIMIZE);
  program().settle();

  HWND bottom = splitInTwo(document);
  ASSERT_NE(bottom, nullptr);
  HWND top = GetDlgItem(document, 1);
  // The top pane and its horizontal scroll bar end where the split bar begins; the bottom pane starts below it.
  const RECT upper = rectIn(document, top), lower = rectIn(document, bottom);
  const RECT upperScroll = rectIn(document, GetDlgItem(document, 10));
  EXPECT_LT(upper.bottom, lower.top);
  EXPECT_EQ(upperScroll.top, upper.bottom);
  EXPECT_EQ(lower.top - upperScroll.bottom, 6);
  EXPECT_EQ(lower.left, upper.left);
  EXPECT_EQ(GetDlgItem(document, 2), nullptr);
  // Each pane has its own vertical scroll bar control.
  EXPECT_NE(GetDlgItem(document, 11), nullptr);
  EXPECT_NE(GetDlgItem(document, 15), nullptr);

  // NextPane moves the keyboard to the bottom pane; what is typed there is in the one text.
  program().command(numberOf("NextPane"));
  ASSERT_TRUE(waitFor([&] { return focusOf(program()) == bottom; })) << focusOf(program());
  program().press({{VK_HOME, false, true}});
  program().type("below ");
  program().command(numberOf("NextPane"));
  ASSERT_TRUE(waitFor([&] { return focusOf(program()) == top; }));
  program().press({{VK_END, false, true}});
  program().type("above");

  program().command(numberOf("SplitWindowVertically"));
  ASSERT_TRUE(waitFor([&] { return placed(document, 2) && placed(document, 4); }));
  for (int step = 0; step < 3; ++step) program().command(numberOf("NextPane"));
  ASSERT_TRUE(waitFor([&] { return focusOf(program()) == GetDlgItem(document, 4); }));
  program().press({{VK_HOME, false, true}, {VK_DOWN}});
  program().type("four ");
  // Every pane shows the one buffer: its line count agrees.
  for (int id = 1; id <= 4; ++id) EXPECT_EQ(ask(GetDlgItem(document, id), ECD_GET_LINE_COUNT), 60) << id;

  RedrawWindow(program().frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  program().settle();
  EXPECT_TRUE(saveScreen(programFolder() + "osk32_split.bmp"));

  // Splitting horizontally again leaves the two panes side by side.
  program().command(numberOf("SplitWindowHorizontally"));
  ASSERT_TRUE(waitFor([&] { return GetDlgItem(document, 3) == nullptr && GetDlgItem(document, 4) == nullptr; }));
  EXPECT_NE(GetDlgItem(document, 2), nullptr);

  program().press({{'S', false, true}});
  ASSERT_TRUE(waitFor([&] { return folder.read("split.txt").find("above") != std::string::npos; }));
  const std::string text = folder.read("split.txt");
  EXPECT_EQ(text.rfind("below line 1 of split.txt\r\nfour line 2", 0), 0u) << text.substr(0, 80);
  EXPECT_NE(text.find("line 60 of split.txtabove\r\n"), std::string::npos);
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Files, ABarMovedOntoTheTopEdgeLeavesTheLowerPane) {
  folder.writeLines("bar.txt", 40);
  ASSERT_TRUE(start("bar.txt", 1));
  HWND document = program().activeDocument();
  HWND lower = splitInTwo(document);
  ASSERT_NE(lower, nullptr);
  const int barAt = rectIn(document, lower).top;
  program().command(numberOf("SplitUpLeft"));
  ASSERT_TRUE(waitFor([&] { return rectIn(document, lower).top == barAt - 10; })) << rectIn(document, lower).top;
  // Up and up: at the top edge the split goes and the lower pane takes the whole window.
  for (int step = 0; step < 80 && GetDlgItem(document, 3) != nullptr; ++step) {
    program().command(numberOf("SplitUpLeft"));
  }
  ASSERT_TRUE(waitFor([&] { return GetDlgItem(document, 3) == nullptr; }));
  EXPECT_EQ(GetDlgItem(document, 1), lower);
  EXPECT_EQ(rectIn(document, lower).top, 0);
  EXPECT_TRUE(program().close());
}

void mouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

TEST_F(OSK32Files, TheSplitBarFollowsTheMouse) {
  folder.writeLines("drag.txt", 40);
  ASSERT_TRUE(start("drag.txt", 1));
  HWND document = program().activeDocument();
  HWND lower = splitInTwo(document);
  ASSERT_NE(lower, nullptr);
  RECT pane{};
  GetWindowRect(lower, &pane);
  // The bar is the six pixels above the lower pane: press there, move up 40 pixels, release.
  const int x = (pane.left + pane.right) / 2;
  const int y = pane.top - 3;
  program().press({});
  SetCursorPos(x, y);
  ASSERT_TRUE(waitFor([&] { return WindowFromPoint(POINT{x, y}) == document; }, 5s));
  // The press reaches the program through the display server: pressed again if the first went astray.
  bool dragging = false;
  for (int attempt = 0; attempt < 3 && !dragging; ++attempt) {
    mouse(MOUSEEVENTF_LEFTDOWN);
    dragging = waitFor([&] { return captureOf(program()) == document; }, 3s);
    if (!dragging) mouse(MOUSEEVENTF_LEFTUP);
  }
  ASSERT_TRUE(dragging) << "the bar did not take the mouse";
  for (int step = 1; step <= 4; ++step) {
    SetCursorPos(x, y - 10 * step);
    mouse(MOUSEEVENTF_MOVE);
    program().settle();
  }
  mouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(waitFor([&] {
    RECT now{};
    GetWindowRect(lower, &now);
    return now.top == pane.top - 40;
  })) << "the lower pane still starts at " << rectIn(document, lower).top;
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Files, OpeningReadOnlyAnOpenFileAndAMissingOne) {
  folder.write("a.txt", "a\r\n");
  folder.write("b.txt", "b\r\n");
  {
    // A name that is not there is reported and opens nothing.
    Program missing(folder, "nowhere.txt");
    EXPECT_EQ(answerBox(missing, IDOK), "Cannot find " + folder.pathOf("nowhere.txt") + " .");
    missing.settle();
    EXPECT_TRUE(missing.documents().empty());
    missing.kill();
  }
  ASSERT_TRUE(start("a.txt", 1));
  // The Open dialog's read-only box opens the file read-only.
  HWND dialog = openDialog(program(), "OpenFile", "Open [Multi Select]");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, 0x47c, folder.pathOf("b.txt"));
  ASSERT_NE(control(dialog, 0x410), nullptr) << "the dialog shows its read-only box";
  SendMessageA(control(dialog, 0x410), BM_SETCHECK, BST_CHECKED, 0);
  ASSERT_TRUE(program().answer(dialog, IDOK));
  ASSERT_TRUE(program().waitForDocuments(2));
  EXPECT_EQ(program().activeTitle(), " " + folder.pathOf("b.txt") + " (read-only)");
  // Opening a file that is open already brings its window forward and makes no copy.
  program().command(numberOf("OpenFile"));
  ASSERT_TRUE(chooseFile(program(), "Open [Multi Select]", folder.pathOf("a.txt")));
  EXPECT_TRUE(waitFor([&] { return program().activeTitle() == " " + folder.pathOf("a.txt"); }))
      << program().activeTitle();
  EXPECT_EQ(program().documents().size(), 2u);
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Files, AShortNameOpensUnderItsLongName) {
  folder.write("a rather long name.text", "text\r\n");
  char shortName[MAX_PATH + 1] = {};
  ASSERT_GT(GetShortPathNameA(folder.pathOf("a rather long name.text").c_str(), shortName, sizeof shortName), 0u);
  ASSERT_NE(std::string(shortName).find('~'), std::string::npos) << shortName;
  ASSERT_TRUE(start(shortName, 1));
  EXPECT_EQ(program().activeTitle(), " " + folder.pathOf("a rather long name.text"));
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Files, SaveAsAsksBeforeReplacingAndFailedSavesSayWhy) {
  folder.write("mine.txt", "mine\r\n");
  folder.write("theirs.txt", "theirs\r\n");
  const std::string locked = folder.write("locked.txt", "locked\r\n");
  CreateDirectoryA(folder.pathOf("sub").c_str(), nullptr);
  folder.write("sub\\gone.txt", "gone\r\n");
  ASSERT_TRUE(start("mine.txt locked.txt sub\\gone.txt", 3));

  // Save As onto another file: Cancel at "Replace" keeps it, OK replaces it.
  activate("mine.txt");
  ASSERT_NE(program().activeTitle().find("mine.txt"), std::string::npos);
  program().command(numberOf("SaveFileAs"));
  ASSERT_TRUE(chooseFile(program(), "Save As", folder.pathOf("theirs.txt")));
  EXPECT_EQ(answerBox(program(), IDCANCEL), "Replace " + folder.pathOf("theirs.txt") + "?");
  program().settle();
  EXPECT_EQ(folder.read("theirs.txt"), "theirs\r\n");
  program().command(numberOf("SaveFileAs"));
  ASSERT_TRUE(chooseFile(program(), "Save As", folder.pathOf("theirs.txt")));
  EXPECT_EQ(answerBox(program(), IDOK), "Replace " + folder.pathOf("theirs.txt") + "?");
  ASSERT_TRUE(waitFor([&] { return folder.read("theirs.txt") == "mine\r\n"; }));
  EXPECT_NE(program().activeTitle().find("theirs.txt"), std::string::npos);

  // A file made read-only after it was opened: the message names the condition and the file stays as it was.
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  activate("locked.txt");
  program().type("x");
  program().command(numberOf("SaveFile"));
  EXPECT_EQ(answerBox(program(), IDOK),
            "Error: File is read-only, save the changes to a different file or close the file and discard the "
            "changes.");
  EXPECT_EQ(folder.read("locked.txt"), "locked\r\n");
  EXPECT_EQ(program().activeTitle().rfind("*", 0), 0u) << "the document stays modified";

  // A file whose folder went away.
  activate("gone.txt");
  ASSERT_TRUE(MoveFileA(folder.pathOf("sub").c_str(), folder.pathOf("moved").c_str()));
  program().type("y");
  program().command(numberOf("SaveFile"));
  EXPECT_EQ(answerBox(program(), IDOK), "Error saving file.");
  EXPECT_EQ(program().activeTitle().rfind("*", 0), 0u);

  program().kill();
  SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(folder.pathOf("moved\\gone.txt").c_str());
  RemoveDirectoryA(folder.pathOf("moved").c_str());
}

TEST_F(OSK32Files, ReloadTakesTheFileFromDiskAndCopyToWritesAWholeCopy) {
  folder.write("r.txt", "one\r\ntwo\r\n");
  folder.write("old.txt", "old copy\r\n");
  ASSERT_TRUE(start("r.txt", 1));
  HWND editor = program().activeEditor();
  ASSERT_EQ(ask(editor, ECD_GET_LINE_COUNT), 2);

  folder.write("r.txt", "one\r\ntwo\r\nthree\r\n");
  program().command(numberOf("ReloadFile"));
  ASSERT_TRUE(waitFor([&] { return ask(editor, ECD_GET_LINE_COUNT) == 3; }));
  EXPECT_EQ(program().status(), "Reloaded " + folder.pathOf("r.txt"));

  // With changes, reloading asks first; No keeps them.
  program().type("new ");
  folder.write("r.txt", "1\r\n");
  program().command(numberOf("ReloadFile"));
  EXPECT_EQ(answerBox(program(), IDNO), "Reloading this file will lose all changes. Do you wish to continue?");
  EXPECT_EQ(ask(editor, ECD_GET_LINE_COUNT), 3);
  program().command(numberOf("ReloadFile"));
  EXPECT_EQ(answerBox(program(), IDYES), "Reloading this file will lose all changes. Do you wish to continue?");
  ASSERT_TRUE(waitFor([&] { return ask(editor, ECD_GET_LINE_COUNT) == 1; }));

  // Copy To onto the open file is refused; onto another file it replaces that file whole.
  program().press({{VK_HOME, false, true}});
  program().type("copied ");
  program().command(numberOf("CopyToFile"));
  ASSERT_TRUE(chooseFile(program(), "Copy To", folder.pathOf("r.txt")));
  EXPECT_EQ(answerBox(program(), IDOK), "Cannot write to a file which is currently loaded");
  program().command(numberOf("CopyToFile"));
  ASSERT_TRUE(chooseFile(program(), "Copy To", folder.pathOf("old.txt")));
  EXPECT_EQ(answerBox(program(), IDOK), "Replace " + folder.pathOf("old.txt") + "?");
  ASSERT_TRUE(waitFor([&] { return folder.read("old.txt") == "copied 1\r\n"; })) << folder.read("old.txt");
  program().kill();
}

TEST_F(OSK32Files, PasteFromFileInsertsItsLinesAndFileInformationCountsThem) {
  folder.write("main.txt", "first\r\nlast\r\n");
  folder.write("part.txt", "pasted one\nsecond\tpasted line\r\n");
  ASSERT_TRUE(start("main.txt", 1));
  HWND editor = program().activeEditor();
  program().press({{VK_DOWN}});
  program().command(numberOf("PasteFromFile"));
  ASSERT_TRUE(chooseFile(program(), "Paste From", folder.pathOf("part.txt")));
  ASSERT_TRUE(waitFor([&] { return ask(editor, ECD_GET_LINE_COUNT) == 4; }));

  HWND dialog = openDialog(program(), "FileInformation", "File Information");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(windowText(GetDlgItem(dialog, 9001)), "main.txt");
  EXPECT_EQ(windowText(GetDlgItem(dialog, 9003)), "CRLF");
  EXPECT_EQ(windowText(GetDlgItem(dialog, 9004)), "4");
  EXPECT_EQ(windowText(GetDlgItem(dialog, 9005)), "7");
  EXPECT_EQ(windowText(GetDlgItem(dialog, 9006)), "38");
  EXPECT_EQ(windowText(GetDlgItem(dialog, 9007)), "47");
  ASSERT_TRUE(program().answer(dialog, IDOK));

  program().press({{'S', false, true}});
  // Tabs become spaces as they go in (the TabsAsSpaces default).
  const std::string expected = "first\r\npasted one\r\nsecond  pasted line\r\nlast\r\n";
  EXPECT_TRUE(waitFor([&] { return folder.read("main.txt") == expected; })) << folder.read("main.txt");
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Files, TheWindowListActivatesTheChosenDocument) {
  std::string names;
  for (int i = 1; i <= 10; ++i) {
    const std::string name = "w" + std::to_string(i) + ".txt";
    folder.write(name, name + "\r\n");
    names += name + " ";
  }
  ASSERT_TRUE(start(names, 10));
  PostMessageA(program().frame(), WM_COMMAND, 20009, 0);
  HWND list = program().waitForDialog("Select File");
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, IDOK))) << "OK waits for a choice";
  ASSERT_TRUE(choose(list, 1053, " " + folder.pathOf("w3.txt"), false));
  EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(list, IDOK)) != FALSE; }));
  ASSERT_TRUE(program().answer(list, IDOK));
  EXPECT_TRUE(waitFor([&] { return program().activeTitle() == " " + folder.pathOf("w3.txt"); }))
      << program().activeTitle();
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Files, EscDuringTheSaveOfALargeFileLeavesTheOldFileWhole) {
  const std::string big = folder.writeLines("big.txt", 400000);
  const std::string before = folder.read("big.txt");
  ASSERT_TRUE(start("big.txt", 1));
  program().type("changed ");
  ASSERT_EQ(program().activeTitle().rfind("*", 0), 0u);

  // Esc is held while the save runs: its first progress step sees it.
  escapeKey(true);
  PostMessageA(program().frame(), WM_COMMAND, MAKEWPARAM(numberOf("SaveFile"), 0), 0);
  HWND box = program().waitForDialog("OSK");
  escapeKey(false);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(answerBox(program(), IDOK), "Save has been aborted. The file on disk is incomplete.");
  EXPECT_TRUE(folder.read("big.txt") == before) << "the file on disk changed";
  EXPECT_EQ(program().activeTitle().rfind("*", 0), 0u) << "the document stays modified";
  program().kill();
}

TEST_F(OSK32Files, CloseAllStopsAtCancelOnTheSecondModifiedFile) {
  folder.write("first.txt", "first\r\n");
  folder.write("second.txt", "second\r\n");
  folder.write("third.txt", "third\r\n");
  ASSERT_TRUE(start("third.txt second.txt first.txt", 3));
  // Both changed; first.txt active, second.txt next in MDI order, third.txt last.
  activate("second.txt");
  program().type("b");
  activate("first.txt");
  program().type("a");

  program().command(numberOf("CloseAllFiles"));
  const std::string question1 = answerBox(program(), IDNO);
  const std::string question2 = answerBox(program(), IDCANCEL);
  EXPECT_NE(question1.find("Save changes to file"), std::string::npos) << question1;
  EXPECT_NE(question2.find("Save changes to file"), std::string::npos) << question2;
  EXPECT_NE(question1, question2);
  ASSERT_TRUE(waitFor([&] { return program().documents().size() == 2; }));
  EXPECT_EQ(folder.read("first.txt"), "first\r\n");
  EXPECT_EQ(folder.read("second.txt"), "second\r\n");
  program().kill();
}

TEST_F(OSK32Files, TheHistoryKeepsTheFifteenNewestFiles) {
  std::string names;
  for (int i = 1; i <= 16; ++i) {
    const std::string name = "h" + std::to_string(i) + ".txt";
    folder.write(name, name + "\r\n");
    names += name + " ";
  }
  ASSERT_TRUE(start(names, 16));
  ASSERT_TRUE(program().close());
  const std::string ini = folder.pathOf("osk.ini");
  EXPECT_NE(iniValue(ini, "History", "0").find("h16.txt"), std::string::npos) << iniValue(ini, "History", "0");
  EXPECT_NE(iniValue(ini, "History", "14").find("h2.txt"), std::string::npos) << iniValue(ini, "History", "14");
  for (int n = 0; n < 15; ++n) {
    EXPECT_EQ(iniValue(ini, "History", std::to_string(n).c_str()).find("\\h1.txt"), std::string::npos) << n;
  }

  // The third entry, opened from the history's menu item, moves to the top.
  ASSERT_TRUE(start(""));
  program().command(15002);
  ASSERT_TRUE(program().waitForDocuments(1));
  EXPECT_NE(program().activeTitle().find("h14.txt"), std::string::npos) << program().activeTitle();
  ASSERT_TRUE(program().close());
  EXPECT_NE(iniValue(ini, "History", "0").find("h14.txt"), std::string::npos) << iniValue(ini, "History", "0");
  EXPECT_NE(iniValue(ini, "History", "1").find("h16.txt"), std::string::npos);
}

}  // namespace
}  // namespace osk::drive
