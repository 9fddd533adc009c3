// The Find and Replace dialogs of the real program, filled in and pressed as a user does; what the search found
// is read from the editor (its caret cell and mark) and from the files it saves.
#include <gtest/gtest.h>

#include "engine/ecd_api.h"
#include "scenario_helpers.h"

namespace osk::drive {
namespace {

constexpr int kFindText = 7001;
constexpr int kReplaceText = 7003;
constexpr int kScope = 7005;
constexpr int kDirection = 7006;
constexpr int kRegEx = 7008;
constexpr int kWholeWord = 7009;
constexpr int kFindNext = 7010;
constexpr int kCount = 7011;
constexpr int kBookmark = 7012;
constexpr int kReplace = 7014;
constexpr int kReplaceAll = 7015;

// Ticks a check box as the user's click does: its state, then the dialog's notice.
void tick(HWND dialog, int id) {
  SendMessageTimeoutA(control(dialog, id), BM_SETCHECK, BST_CHECKED, 0, SMTO_NORMAL, 5000, nullptr);
  click(dialog, id);
}

// The caret's display cell, which after a forward match is the cell after it.
LRESULT caretCell(HWND editor) { return ask(editor, ECD_GET_CARET); }

class SearchScenario : public Scenario {
 protected:
  // Starts the program on the files and opens a search dialog by its command.
  HWND startWithDialog(const std::string& arguments, size_t documents, const char* command = "Find") {
    if (!start(arguments, documents)) return nullptr;
    program().command(numberOf(command));
    return program().waitForDialog(command);
  }
  // Presses a button and answers the message box it brings with OK; gives the box's text.
  std::string pressForBox(HWND dialog, int button) {
    postClick(dialog, button);
    return answerBox(program(), IDOK, 10s);
  }
};

TEST_F(SearchScenario, FindForwardBackwardAndWrapWithinTheFile) {
  folder.write("a.txt", "one two\r\nthree one\r\nfour\r\n");
  HWND dialog = startWithDialog("a.txt", 1);
  ASSERT_NE(dialog, nullptr);
  HWND editor = program().activeEditor();
  setText(dialog, kFindText, "one");
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 4; }, 5s)) << caretCell(editor);
  EXPECT_EQ(ask(editor, ECD_HAS_MARK), 0);   // the match is selected
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 10; }, 5s)) << caretCell(editor);
  EXPECT_EQ(pressForBox(dialog, kFindNext), "No match found within scope.");
  EXPECT_EQ(caretCell(editor), 10);   // the selection stays

  ASSERT_TRUE(choose(dialog, kScope, "Wrap Within File", true));
  click(dialog, kFindNext);   // from the end round to the first line
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 4; }, 5s)) << caretCell(editor);
  ASSERT_TRUE(choose(dialog, kDirection, "Backward", true));
  click(dialog, kFindNext);   // backward from the first match wraps to the last one, caret before it
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 7; }, 5s)) << caretCell(editor);
}

TEST_F(SearchScenario, ASelectedAreaIsSearchedAloneUntilTheUserGoesOn) {
  folder.write("s.txt", "key\r\n key\r\n  key\r\n   key\r\n");
  ASSERT_TRUE(start("s.txt", 1));
  program().press({{VK_DOWN, true}, {VK_DOWN, true}});   // Shift+Down twice: the first two lines
  HWND editor = program().activeEditor();
  ASSERT_EQ(ask(editor, ECD_HAS_MARK), 0);
  HWND dialog = openDialog(program(), "Find", "Find");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, kFindText, "key");
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 4; }, 5s)) << caretCell(editor);
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 5; }, 5s)) << caretCell(editor);
  postClick(dialog, kFindNext);   // the area holds no more: the question
  EXPECT_EQ(answerBox(program(), IDYES, 10s),
            "Finished searching the selected area. Do you want to continue the search?");
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 6; }, 5s)) << caretCell(editor);   // on beyond it
}

TEST_F(SearchScenario, WrapAcrossThreeFilesBackward) {
  folder.write("a.txt", "needle in a\r\n");
  folder.write("b.txt", "no\r\n");
  folder.write("c.txt", "nothing here\r\nxx needle\r\n");
  HWND dialog = startWithDialog("a.txt b.txt c.txt", 3);
  ASSERT_NE(dialog, nullptr);
  const std::string first = program().activeTitle();
  setText(dialog, kFindText, "needle");
  ASSERT_TRUE(choose(dialog, kScope, "Wrap Across Files", true));
  ASSERT_TRUE(choose(dialog, kDirection, "Backward", true));
  click(dialog, kFindNext);
  // The active document has its caret at the start: the previous windows are searched from their end.
  EXPECT_TRUE(waitFor([&] { return program().activeTitle() != first; }, 5s));
  const std::string second = program().activeTitle();
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return program().activeTitle() != second; }, 5s));
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return program().activeTitle() == second; }, 5s)) << program().activeTitle();
}

TEST_F(SearchScenario, WholeWordsCountAndBookmark) {
  folder.write("w.txt", "#ifdef x_if\r\nif (a) if\r\niffy\r\n");
  HWND dialog = startWithDialog("w.txt", 1);
  ASSERT_NE(dialog, nullptr);
  HWND editor = program().activeEditor();
  setText(dialog, kFindText, "if");
  EXPECT_EQ(pressForBox(dialog, kCount), "5 matches found");
  tick(dialog, kWholeWord);
  EXPECT_EQ(pressForBox(dialog, kCount), "2 matches found");
  EXPECT_TRUE(waitFor([&] { return program().status() == "2 matches found"; }, 5s)) << program().status();
  EXPECT_EQ(pressForBox(dialog, kBookmark), "2 matches found");   // and their one line has a bookmark
  click(dialog, kFindNext);
  EXPECT_TRUE(waitFor([&] { return caretCell(editor) == 3; }, 5s)) << caretCell(editor);   // "if (" on line 2
}

TEST_F(SearchScenario, ReplaceOneThenReplaceAllSwapsGroupsAndOneUndoRestores) {
  folder.write("r.txt", "aabbb and ab\r\nnone\r\nnone\r\n");
  HWND dialog = startWithDialog("r.txt", 1, "Replace");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, kFindText, "none");
  setText(dialog, kReplaceText, "some");
  click(dialog, kFindNext);
  click(dialog, kReplace);   // the found match only, and the next one is found
  program().command(numberOf("SaveFile"));
  const std::string text = "aabbb and ab\r\nsome\r\nnone\r\n";
  EXPECT_TRUE(waitFor([&] { return folder.read("r.txt") == text; })) << folder.read("r.txt");
  tick(dialog, kRegEx);
  ASSERT_TRUE(choose(dialog, kScope, "Wrap Within File", true));   // from the caret on line 3 round to line 1
  setText(dialog, kFindText, "(a+)(b+)");
  setText(dialog, kReplaceText, "\\2\\1");
  EXPECT_EQ(pressForBox(dialog, kReplaceAll), "Replaced 2 occurence(s).");
  program().command(numberOf("SaveFile"));
  EXPECT_TRUE(waitFor([&] { return folder.read("r.txt") == "bbbaa and ba\r\nsome\r\nnone\r\n"; }))
      << folder.read("r.txt");
  program().command(numberOf("Undo"));
  program().command(numberOf("SaveFile"));
  EXPECT_TRUE(waitFor([&] { return folder.read("r.txt") == text; })) << folder.read("r.txt");
}

// Esc while Replace All works through a large file: the work stops with its message, the dialog stays open (the
// Esc is not taken as its Cancel too), and one Undo gives the whole file back.
TEST_F(SearchScenario, EscStopsALongReplaceAllAndOneUndoRestoresTheFile) {
  std::string text;
  for (int i = 0; i < 600000; ++i) text += "x and x\r\n";
  folder.write("big.txt", text);
  HWND dialog = startWithDialog("big.txt", 1, "Replace");
  ASSERT_NE(dialog, nullptr);
  setText(dialog, kFindText, "x");
  setText(dialog, kReplaceText, "yy");
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kReplaceAll, BN_CLICKED),
               reinterpret_cast<LPARAM>(control(dialog, kReplaceAll)));
  ASSERT_TRUE(waitFor([&] { return !childrenOfClass(program().statusBar(), "gauge").empty(); }, 30s))
      << "no gauge while replacing";
  escapeKey(true);
  HWND box = program().waitForDialog("OSK", 30s);
  escapeKey(false);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(messageBoxText(box), "Operation Aborted.");
  program().answer(box, IDOK);
  // What was replaced before the Esc is reported next.
  if (HWND count = program().waitForDialog("OSK", 5s)) {
    EXPECT_EQ(messageBoxText(count).rfind("Replaced ", 0), 0u) << messageBoxText(count);
    program().answer(count, IDOK);
  }
  EXPECT_TRUE(IsWindow(dialog) && (GetWindowLongPtrA(dialog, GWL_STYLE) & WS_VISIBLE) != 0)
      << "the Esc closed the Replace dialog too";
  program().command(numberOf("Undo"));
  program().command(numberOf("SaveFile"));
  EXPECT_TRUE(waitFor([&] { return folder.read("big.txt") == text; }, 30s)) << "one Undo did not restore the file";
}

TEST_F(SearchScenario, AnInvalidExpressionIsReportedAndCleared) {
  folder.write("i.txt", "text\r\n");
  HWND dialog = startWithDialog("i.txt", 1);
  ASSERT_NE(dialog, nullptr);
  tick(dialog, kRegEx);
  setText(dialog, kFindText, "(ab");
  EXPECT_EQ(pressForBox(dialog, kFindNext), "Invalid search expression");
  EXPECT_TRUE(waitFor([&] { return windowText(control(dialog, kFindText)).empty(); }, 5s));
}

}  // namespace
}  // namespace osk::drive
