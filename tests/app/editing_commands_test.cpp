// The caret, scroll and deletion commands on an editor window of the engine, as a user runs them by keys.
#include "app/editing_commands.h"

#include "app/shell_settings.h"
#include "app/word_pattern.h"
#include "engine/view_fixture.h"

namespace osk::test {
namespace {

using app::CaretMove;

class EditingCommandsTest : public ViewTest {
 protected:
  void caretAt(int32_t line, int32_t column) { ASSERT_EQ(SetCaretCol(line, column), 1); }
  std::pair<int32_t, int32_t> caret() {
    int32_t line = 0, column = 0;
    GetCaretCol(&line, &column);
    return {line, column};
  }
  bool move(CaretMove m, bool shift = false) { return app::moveCaret(m, shift, words, options); }

  app::WordPattern words;
  app::EditingOptions options;
};

TEST_F(EditingCommandsTest, VerticalMovesKeepTheDisplayCellAcrossTabs) {
  showing("\tabc\nabcdefghijk\nxy\n");
  caretAt(1, 2);   // after the tab: cell 9
  EXPECT_TRUE(move(CaretMove::kDown));
  EXPECT_EQ(caret(), std::make_pair(2, 9));
  EXPECT_TRUE(move(CaretMove::kDown));   // the short line keeps the cell, past its end
  EXPECT_EQ(caret().first, 3);
  EXPECT_TRUE(move(CaretMove::kUp));
  EXPECT_TRUE(move(CaretMove::kUp));
  EXPECT_TRUE(move(CaretMove::kUp));     // clamped at line 1
  EXPECT_EQ(caret(), std::make_pair(1, 2));
}

TEST_F(EditingCommandsTest, WordMovesFollowTheWordPatternAcrossLines) {
  showing("int main(void) {\n\n  return x_1;\n");
  caretAt(1, 1);
  move(CaretMove::kWordRight);
  EXPECT_EQ(caret(), std::make_pair(1, 5));
  move(CaretMove::kWordRight);
  EXPECT_EQ(caret(), std::make_pair(1, 10));
  move(CaretMove::kWordRight);   // the blank line holds no word
  EXPECT_EQ(caret(), std::make_pair(3, 3));
  move(CaretMove::kWordRight);
  EXPECT_EQ(caret(), std::make_pair(3, 10));   // x_1 is one word
  move(CaretMove::kWordLeft);
  EXPECT_EQ(caret(), std::make_pair(3, 3));
  move(CaretMove::kWordLeft);   // the line's start first, then the last word of a line above
  EXPECT_EQ(caret(), std::make_pair(3, 1));
  move(CaretMove::kWordLeft);
  EXPECT_EQ(caret(), std::make_pair(1, 10));
  EXPECT_TRUE(move(CaretMove::kWordEnd));
  EXPECT_EQ(caret(), std::make_pair(1, 14));
  caretAt(2, 1);
  EXPECT_FALSE(move(CaretMove::kWordEnd));   // no word: the caller beeps

  ASSERT_TRUE(words.set(app::wordPatternFromValue("#[a-z]+#").value_or("")));
  caretAt(3, 3);
  move(CaretMove::kWordRight);
  EXPECT_EQ(caret(), std::make_pair(3, 10));   // "x" alone now
  EXPECT_FALSE(words.set(app::wordPatternFromValue("[a-z]+").value_or("")));   // not enclosed: the old one stays
  EXPECT_FALSE(words.set("("));
  EXPECT_EQ(words.text(), "[a-z]+");
}

TEST_F(EditingCommandsTest, ShiftExtendsAMarkAndAPlainMoveClearsIt) {
  showing("alpha\nbeta\ngamma\n");
  caretAt(1, 2);
  move(CaretMove::kRight, true);
  move(CaretMove::kDown, true);
  ASSERT_EQ(QueryMarkType(), 1);
  int32_t l = 0, c = 0;
  QueryMarkStart(&l, &c);
  EXPECT_EQ(std::make_pair(l, c), std::make_pair(1, 2));
  QueryMarkEnd(&l, &c);
  EXPECT_EQ(std::make_pair(l, c), std::make_pair(2, 3));

  ASSERT_TRUE(app::deleteForward());
  EXPECT_EQ(line(1), "ata");
  EXPECT_EQ(line(2), "gamma");
  EXPECT_EQ(QueryMark(), 0);
  EXPECT_EQ(UndoOp(nullptr), 1);   // one step
  EXPECT_EQ(line(1), "alpha");
  EXPECT_EQ(line(2), "beta");

  AnchorMark(2, 1, 1);
  move(CaretMove::kDown, true);   // a line mark follows the line
  EXPECT_EQ(QueryMarkType(), 2);
  move(CaretMove::kHome);
  EXPECT_EQ(QueryMark(), 0);
}

TEST_F(EditingCommandsTest, ColumnAndLineMarksDeleteWhatTheyCover) {
  showing("abcdef\nab\nabcdef\nlast\n");
  AnchorMark(3, 1, 2);   // cells 2 and 3: each end is the boundary before its cell
  UpdateMark(3, 4);
  ASSERT_TRUE(app::deleteForward());
  EXPECT_EQ(line(1), "adef");
  EXPECT_EQ(line(2), "a");
  EXPECT_EQ(line(3), "adef");
  AnchorMark(2, 2, 1);
  UpdateMark(3, 1);
  ASSERT_TRUE(app::deleteForward());
  EXPECT_EQ(GetLineCount(), 2);
  EXPECT_EQ(line(1), "adef");
  EXPECT_EQ(line(2), "last");
}

TEST_F(EditingCommandsTest, BackspaceOnAnEmptyLineStepsToTheTabStop) {
  showing("x\n\nabc\n");
  caretAt(2, 12);
  EXPECT_TRUE(app::backspace());
  EXPECT_EQ(caret(), std::make_pair(2, 9));
  EXPECT_TRUE(app::backspace());
  EXPECT_EQ(caret(), std::make_pair(2, 1));
  caretAt(3, 3);
  EXPECT_TRUE(app::backspace());
  EXPECT_EQ(line(3), "ac");
}

TEST_F(EditingCommandsTest, NewLineIndentsLikeTheBrokenLine) {
  showing("    if (x) {\n");
  caretAt(1, 13);
  ASSERT_TRUE(app::newLine(options));
  EXPECT_EQ(caret(), std::make_pair(2, 5));
  caretAt(1, 9);   // breaking inside the text carries it over, indented
  ASSERT_TRUE(app::newLine(options));
  EXPECT_EQ(line(1), "    if (");
  EXPECT_EQ(line(2), "    x) {");
  EXPECT_EQ(caret(), std::make_pair(2, 5));
  options.autoIndentOnNewline = false;
  ASSERT_TRUE(app::newLine(options));
  EXPECT_EQ(caret(), std::make_pair(3, 1));
}

TEST_F(EditingCommandsTest, DeletionsAndSelectAll) {
  showing("one two three\nsecond\n");
  caretAt(1, 9);
  EXPECT_TRUE(app::deleteWord(true, words));
  EXPECT_EQ(line(1), "one three");
  EXPECT_TRUE(app::deleteWord(false, words));   // at 'three': the next word starts on line 2
  EXPECT_EQ(GetLineCount(), 1);
  EXPECT_EQ(line(1), "one second");
  caretAt(1, 4);
  EXPECT_TRUE(app::deleteToEndOfLine());
  EXPECT_EQ(line(1), "one");
  EXPECT_TRUE(app::selectAll());
  EXPECT_EQ(QueryMarkType(), 1);
  EXPECT_TRUE(app::deleteCaretLine());
  EXPECT_EQ(QueryMark(), 0);
}

TEST_F(EditingCommandsTest, PagingMovesTheWindowAndTheCaretTogether) {
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\n";
  showing(text);
  caretAt(5, 1);
  move(CaretMove::kPageDown);
  int32_t top = 0, left = 0;
  GetEdWindowScroll(&top, &left);
  EXPECT_EQ(caret().first, 25);
  EXPECT_EQ(top, 21);
  move(CaretMove::kLastLine);
  EXPECT_EQ(caret(), std::make_pair(100, 9));
  ASSERT_TRUE(app::scrollView(app::ViewScroll::kCentre));
  GetEdWindowScroll(&top, &left);
  EXPECT_EQ(top, 90);
  SetCurEdWindow(nullptr);
  EXPECT_FALSE(move(CaretMove::kUp));   // no editor window: nothing to do
}

}  // namespace
}  // namespace osk::test
