// The program driven as a user drives it: keys through the keyboard, menu items by their command numbers, the
// questions it asks answered by their buttons, and what it leaves in files and in its settings file.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/ecd_api.h"
#include "scenario_helpers.h"
#include "services/dialogs/dialog_ids.h"

namespace osk::drive {
namespace {

class OSK32Shell : public Scenario {};

TEST_F(OSK32Shell, StartsWithMenusAndStatusBarAndWritesItsSettingsOnExit) {
  ASSERT_TRUE(start(""));
  HWND frame = program().frame();
  // Another process's menu cannot be read here; that the frame has one is what shows.
  ASSERT_TRUE(waitFor([&] { return GetMenu(frame) != nullptr; }));
  HWND status = program().statusBar();
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(IsWindowVisible(status));
  // It takes the bottom strip of the frame, below the documents.
  RECT bar{}, client{}, frameClient{};
  GetWindowRect(status, &bar);
  GetWindowRect(program().mdiClient(), &client);
  GetClientRect(frame, &frameClient);
  EXPECT_GT(bar.bottom - bar.top, 10);
  EXPECT_LE(client.bottom, bar.top) << "the documents cover the status bar";
  // Menu help: a highlighted item puts its help text in the status bar.
  PostMessageA(frame, WM_MENUSELECT, MAKEWPARAM(15000, MF_STRING | MF_HILITE), reinterpret_cast<LPARAM>(GetMenu(frame)));
  EXPECT_TRUE(waitFor([&] { return program().status() == "Reload selected file"; }, 5s)) << program().status();
  PostMessageA(frame, WM_MENUSELECT, MAKEWPARAM(numberOf("Exit"), MF_STRING | MF_HILITE),
               reinterpret_cast<LPARAM>(GetMenu(frame)));
  EXPECT_TRUE(waitFor([&] {
    const std::string help = program().status();
    return !help.empty() && help != "Reload selected file";
  }, 5s));

  program().command(numberOf("Exit"));
  ASSERT_TRUE(program().waitForEnd());
  EXPECT_EQ(program().exitCode(), 0u);
  const std::string ini = program().settingsFile();
  EXPECT_EQ(iniValue(ini, "Flags", "ShowStatBar"), "1");
  EXPECT_EQ(iniValue(ini, "Flags", "TabLen"), "8");
  EXPECT_EQ(iniValue(ini, "Config", "ConfigFile"), "");
  EXPECT_EQ(iniValue(ini, "State", "1"), "");   // no documents: an empty session
}

TEST_F(OSK32Shell, KeysTypeAndMoveAndTheSaveKeySaves) {
  folder.write("a.txt", "alpha\r\nbeta\r\n");
  ASSERT_TRUE(start("a.txt", 1));

  program().press({{VK_DOWN}, {VK_END}});
  program().type("!");
  program().press({{VK_HOME, false, true}});   // Ctrl+Home: the first line
  program().type("> ");
  program().press({{VK_RIGHT, true}, {VK_RIGHT, true}});   // Shift+Right twice marks "al"
  program().type("A");                                      // typing replaces the mark
  EXPECT_TRUE(waitFor([&] { return program().activeTitle().rfind("*", 0) == 0; })) << program().activeTitle();
  program().press({{'S', false, true}});                    // Ctrl+S
  EXPECT_TRUE(waitFor([&] { return folder.read("a.txt") == "> Apha\r\nbeta!\r\n"; })) << folder.read("a.txt");
  EXPECT_TRUE(waitFor([&] { return program().status().find("Written") == 0; })) << program().status();
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Shell, ADisabledCommandDoesNotRun) {
  folder.write("r.txt", "one\r\ntwo\r\nthree\r\n");
  ASSERT_TRUE(start("/r1 r.txt", 1));
  HWND editor = program().activeEditor();
  ASSERT_EQ(ask(editor, ECD_GET_LINE_COUNT), 3);
  // DeleteLine needs a writable document: in a read-only one its key and its menu number do nothing.
  program().press({{'D', false, true}});
  program().command(numberOf("DeleteLine"));
  EXPECT_EQ(ask(editor, ECD_GET_LINE_COUNT), 3);
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Shell, ExitAsksAboutChangesAndCancelKeepsEverything) {
  folder.write("keep.txt", "text\r\n");
  ASSERT_TRUE(start("keep.txt", 1));
  program().type("new ");

  // Cancel: the program stays with its document and writes no session.
  const std::string question = "Save changes to file " + folder.pathOf("keep.txt") + " ?";
  program().command(numberOf("Exit"));
  EXPECT_EQ(answerBox(program(), IDCANCEL), question);
  program().settle();
  EXPECT_FALSE(program().hasEnded());
  EXPECT_EQ(program().documents().size(), 1u);
  EXPECT_EQ(iniValue(program().settingsFile(), "State", "1"), "<missing>");

  // No: the program ends and the file is as it was.
  program().command(numberOf("Exit"));
  EXPECT_EQ(answerBox(program(), IDNO), question);
  ASSERT_TRUE(program().waitForEnd());
  EXPECT_EQ(folder.read("keep.txt"), "text\r\n");
  EXPECT_NE(iniValue(program().settingsFile(), "State", "1").find("keep.txt"), std::string::npos);

  // Yes: the change is saved on the way out.
  ASSERT_TRUE(start("keep.txt", 1));
  program().type("saved ");
  program().command(numberOf("Exit"));
  EXPECT_EQ(answerBox(program(), IDYES), question);
  ASSERT_TRUE(program().waitForEnd());
  EXPECT_EQ(folder.read("keep.txt"), "saved text\r\n");
}

TEST_F(OSK32Shell, TheSessionIsWrittenAtExitAndRestoredOnRequest) {
  folder.writeLines("one.txt", 20);
  folder.writeLines("two.txt", 5);
  ASSERT_TRUE(start("one.txt two.txt", 2));
  program().press({{VK_DOWN}, {VK_DOWN}, {VK_RIGHT}});
  ASSERT_TRUE(program().close());
  const std::string ini = folder.pathOf("osk.ini");
  // The lines follow the windows' MDI order, the active one first.
  const std::string lines = iniValue(ini, "State", "1") + "|" + iniValue(ini, "State", "2");
  EXPECT_NE(lines.find("one.txt\" 1 1 0 0"), std::string::npos) << lines;
  EXPECT_NE(lines.find("two.txt\" 2 3 0 0"), std::string::npos) << lines;   // column 2 of line 3
  EXPECT_EQ(iniValue(ini, "State", "3"), "");

  ASSERT_TRUE(start(""));
  program().command(numberOf("RestoreSession"));
  ASSERT_TRUE(program().waitForDocuments(2));
  std::vector<std::string> titles;
  for (HWND document : program().documents()) titles.push_back(windowText(document));
  EXPECT_NE(std::find(titles.begin(), titles.end(), " " + folder.pathOf("one.txt")), titles.end());
  EXPECT_NE(std::find(titles.begin(), titles.end(), " " + folder.pathOf("two.txt")), titles.end());
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Shell, ATabLengthSetInTheOptionsDialogHoldsAfterARestart) {
  ASSERT_TRUE(start(""));
  HWND dialog = openDialog(program(), "Configuration", "Options");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, IDC_OPT_TAB_LEN, "4");
  ASSERT_TRUE(program().answer(dialog, IDOK));
  // The settings are written as soon as the dialog's choices are applied.
  EXPECT_TRUE(waitFor([&] { return iniValue(program().settingsFile(), "Flags", "TabLen") == "4"; }));
  program().command(numberOf("NewFile"));
  ASSERT_TRUE(program().waitForDocuments(1));
  EXPECT_EQ(ask(program().activeEditor(), ECD_GET_TAB_LENGTH), 4);
  ASSERT_TRUE(program().close());
  ASSERT_TRUE(start(""));
  program().command(numberOf("NewFile"));
  ASSERT_TRUE(program().waitForDocuments(1));
  EXPECT_EQ(ask(program().activeEditor(), ECD_GET_TAB_LENGTH), 4);
  EXPECT_TRUE(program().close());
}

TEST_F(OSK32Shell, AKeyBoundWithCustomiseIsInForceAfterARestart) {
  ASSERT_TRUE(start(""));
  HWND dialog = openDialog(program(), "Customise", "Customise");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(choose(dialog, IDC_CUST_CONTEXT, "None", true));
  setText(dialog, IDC_CUST_KEY, "Ctrl+Q");
  ASSERT_TRUE(choose(dialog, IDC_CUST_COMMAND, "Exit", true));
  click(dialog, IDC_CUST_BIND);
  setText(dialog, IDC_CUST_SAVE_NAME, "mykeys");
  click(dialog, IDC_CUST_SAVE);
  ASSERT_TRUE(program().answer(dialog, IDOK));
  ASSERT_TRUE(program().close());
  const std::string configFile = iniValue(folder.pathOf("osk.ini"), "Config", "ConfigFile");
  EXPECT_NE(configFile.find("mykeys"), std::string::npos) << configFile;

  ASSERT_TRUE(start(""));
  program().press({{'Q', false, true}});
  EXPECT_TRUE(program().waitForEnd()) << "Ctrl+Q did not end the program";
  DeleteFileA((programFolder() + "mykeys.cfg").c_str());
}

// An extension library listed in the settings: its commands are offered by Run Command, can be bound to a key with
// Customise, and the key then changes the text.
TEST_F(OSK32Shell, AnExtensionCommandRunsFromAKeyBoundWithCustomise) {
  folder.write("osk.ini", "[Extended]\r\nExtDLL0=" + programFolder() + "OSKSAMPL.dll\r\n");
  folder.write("list.txt", "pear\r\napple\r\nfig\r\n");
  ASSERT_TRUE(start("list.txt", 1));

  HWND run = openDialog(program(), "RunCommand", "Run Command");
  ASSERT_NE(run, nullptr);
  EXPECT_TRUE(holds(run, IDC_RUN_LIST, "SortMarkedLines", false)) << "Run Command does not offer the library's command";
  ASSERT_TRUE(program().answer(run, IDCANCEL));

  HWND dialog = openDialog(program(), "Customise", "Customise");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(choose(dialog, IDC_CUST_CONTEXT, "Focus on Editor Window", true));
  setText(dialog, IDC_CUST_KEY, "Ctrl+J");
  ASSERT_TRUE(choose(dialog, IDC_CUST_COMMAND, "SortMarkedLines", true));
  click(dialog, IDC_CUST_BIND);
  // OK asks whether to save the changed configuration; No keeps the binding for this session only.
  postClick(dialog, IDOK);
  EXPECT_EQ(answerBox(program(), IDNO), "Save the changes to this configuration?");
  ASSERT_TRUE(waitFor([&] { return !IsWindow(dialog); }));

  program().press({{'J', false, true}, {'S', false, true}});   // Ctrl+J sorts, Ctrl+S saves
  EXPECT_TRUE(waitFor([&] { return folder.read("list.txt") == "apple\r\nfig\r\npear\r\n"; }))
      << folder.read("list.txt");
  EXPECT_TRUE(program().close());
}

// The library's own menu joins the frame's menu bar: its popup opened with its mnemonic and its first item chosen
// with the keyboard runs the library's command.
TEST_F(OSK32Shell, AnExtensionCommandRunsFromTheLibrarysMenu) {
  folder.write("osk.ini", "[Extended]\r\nExtDLL0=" + programFolder() + "OSKSAMPL.dll\r\n");
  folder.write("list.txt", "pear\r\napple\r\nfig\r\n");
  ASSERT_TRUE(start("list.txt", 1));
  program().press({{'A', false, false, true}, {'S'}});   // Alt+A: "Sample Tools"; S: "Sort Marked Lines"
  program().press({{'S', false, true}});
  EXPECT_TRUE(waitFor([&] { return folder.read("list.txt") == "apple\r\nfig\r\npear\r\n"; }))
      << folder.read("list.txt");
  EXPECT_TRUE(program().close());
}

// The frame as a user first sees it, with a document, the tool bars and the File menu open: kept as a picture
// beside the tests.
TEST_F(OSK32Shell, PictureOfTheFrameWithItsMenuOpen) {
  folder.write("welcome.txt", "int main(void) {\r\n    return 0;   /* nothing to do */\r\n}\r\n");
  ASSERT_TRUE(start("welcome.txt", 1));
  program().press({{'F', false, false, true}});   // Alt+F
  const bool menuOpen = waitFor([&] { return !topLevelWindows(program().id(), "#32768").empty(); }, 5s);
  EXPECT_TRUE(menuOpen);
  EXPECT_TRUE(saveScreen(programFolder() + "osk32_frame.bmp"));
  program().press({{VK_ESCAPE}, {VK_ESCAPE}});
  EXPECT_TRUE(program().close());
}

}  // namespace
}  // namespace osk::drive
