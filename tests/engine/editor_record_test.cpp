// Editor windows without a platform: caret placement and clamping, the caret moving with the text in every window
// of a buffer, the saved view, focus and marks, scroll synchronisation and DC scrolling, hit tests against the
// mark, and the plain-named functions on window, buffer and missing targets.
#include <gtest/gtest.h>

#include "engine/mark.h"
#include "view_fixture.h"

namespace osk::test {
namespace {

class EditorRecordTest : public ViewTest {};

TEST_F(EditorRecordTest, CaretRequestsOutsideTheTextAreClampedAndReported) {
  FakeRecord& w = showing("first\nsecond\nthird\n");
  EXPECT_EQ(w.placeCaret(0, 4), ECD_ERR_RANGE_SNAP);
  EXPECT_EQ(w.caretLine, 1);
  EXPECT_EQ(w.caretColumn, 4);
  EXPECT_EQ(count(ECDN_LINE_CLAMPED), 1);
  EXPECT_EQ(count(ECDN_COLUMN_CLAMPED), 0);
  notes.clear();
  EXPECT_EQ(w.placeCaret(9, 2000), ECD_ERR_RANGE_SNAP);
  EXPECT_EQ(w.caretLine, 3);
  EXPECT_EQ(w.caretColumn, 1024);
  EXPECT_EQ(w.caretCell, 1024);
  EXPECT_EQ(count(ECDN_LINE_CLAMPED), 1);
  EXPECT_EQ(count(ECDN_COLUMN_CLAMPED), 1);
  // Every placement reports line and cell.
  ASSERT_GE(count(ECDN_CARET), 1);
  EXPECT_EQ(notes.back().code, ECDN_CARET);
  EXPECT_EQ(notes.back().caret[0], 3);
  EXPECT_EQ(notes.back().caret[1], 1024);
  // SetCaretCol on line 0 of a non-empty buffer lands on line 1.
  notes.clear();
  EXPECT_EQ(SetCaretCol(0, 1), 0);
  EXPECT_EQ(w.caretLine, 1);
  EXPECT_EQ(count(ECDN_LINE_CLAMPED), 1);
}

TEST_F(EditorRecordTest, CaretIsShownOnlyInsideTheView) {
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\n";
  FakeRecord& w = showing(text);
  ASSERT_EQ(SetCaretCol(3, 5), 1);
  EXPECT_EQ(w.caretX, 8 * (1 + 4));   // one gutter cell, then four cells
  EXPECT_EQ(w.caretY, 2 * 16);
  ASSERT_EQ(SetCaretCol(60, 1), 1);
  EXPECT_EQ(w.caretX, kCaretHidden);
  EXPECT_EQ(w.caretY, kCaretHidden);
  ASSERT_EQ(ScrollToView(), 1);
  EXPECT_EQ(w.view.topLine(), 60 - 20 + 1);
  EXPECT_EQ(w.caretY, 19 * 16);
}

TEST_F(EditorRecordTest, TypingIntoAnEmptyBufferMakesLineOneAndLeavesTheCaretAtColumnTwo) {
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open("", 0, &h), 0);
  FakeRecord& w = newWindow();
  w.attach(buffer(h), 0);
  EXPECT_EQ(w.caretLine, 0);
  ASSERT_EQ(SetCurEdWindow(w.window()), 1);
  EXPECT_EQ(WriteChar('x'), 1);
  EXPECT_EQ(GetLineCount(), 1);
  EXPECT_EQ(w.caretLine, 1);
  EXPECT_EQ(w.caretColumn, 2);
  EXPECT_EQ(line(1), "x");
}

TEST_F(EditorRecordTest, NewLineInAnEmptyBufferOnlyMakesTheFirstLine) {
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open("", 0, &h), 0);
  ASSERT_EQ(SetCurBuffer(h), 1);
  EXPECT_EQ(NewLine(), 0);
  EXPECT_EQ(GetLineCount(), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(GetCaretCol(&line, &column), 1);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(column, 1);
}

TEST_F(EditorRecordTest, OtherWindowsCaretsMoveWithInsertedAndDeletedLines) {
  HEDBUFFER h = nullptr;
  FakeRecord& typing = showing("one\ntwo\n\tthree\nfour\nfive\n", &h);
  FakeRecord& other = newWindow();
  other.attach(buffer(h), 0);
  other.placeCaret(4, 3);
  // Typing window splits line 2: the other caret, below, moves down one line.
  ASSERT_EQ(SetCaretCol(2, 2), 1);
  ASSERT_EQ(NewLine(), 1);
  EXPECT_EQ(typing.caretLine, 3);
  EXPECT_EQ(typing.caretColumn, 1);
  EXPECT_EQ(other.caretLine, 5);
  EXPECT_EQ(other.caretColumn, 3);
  // Deleting the lines holding the other caret: it goes to the line before and keeps its cell (cell 3 is inside
  // the tab of "\tthree", so the column becomes 1).
  other.placeCaret(4, 1);
  EXPECT_EQ(other.caretCell, 1);
  other.placeCaret(5, 3);
  ASSERT_EQ(DeleteLines(5, 2), 1);
  EXPECT_EQ(other.caretLine, 4);
  EXPECT_EQ(other.caretCell, 3);
  EXPECT_EQ(other.caretColumn, 1);
  // Deleting everything leaves both carets on line 0... except that a buffer keeps no line: the count drops.
  ASSERT_EQ(DeleteLines(1, GetLineCount()), 1);
  EXPECT_EQ(other.caretLine, 0);
  EXPECT_EQ(typing.caretLine, 0);
}

TEST_F(EditorRecordTest, NoticesReachOnlyWindowsStillShowingTheBuffer) {
  HEDBUFFER h = nullptr;
  FakeRecord& first = showing("a\nb\n", &h);
  FakeRecord& second = newWindow();
  second.attach(buffer(h), 0);
  destroy(first);
  notes.clear();
  ASSERT_EQ(ECD_flBufferMessage(h, ECD_SET_MODIFIED, 0, 0), 0);
  ASSERT_EQ(count(ECDN_MODIFIED), 1);
  EXPECT_EQ(notes.back().window, second.window());
  // The destroyed window was the current target: nothing is acted on now.
  EXPECT_EQ(GetCurBuffer(), nullptr);
  EXPECT_EQ(WriteChar('x'), 0);
}

TEST_F(EditorRecordTest, SavedViewBringsBackCaretAndScrollForTheNextWindow) {
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "\tentry " + std::to_string(i) + "\n";
  HEDBUFFER h = nullptr;
  FakeRecord& w = showing(text, &h);
  w.scrollTo(120, 1);
  ASSERT_EQ(SetCaretCol(130, 3), 1);   // cell 10
  w.detach();
  FakeRecord& again = newWindow();
  again.attach(buffer(h), 0);
  EXPECT_EQ(again.view.topLine(), 120);
  EXPECT_EQ(again.caretLine, 130);
  EXPECT_EQ(again.caretCell, 10);
  // A buffer target takes its position from the saved view too.
  again.detach();
  ASSERT_EQ(SetCurBuffer(h), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(GetCaretCol(&line, &column), 1);
  EXPECT_EQ(line, 130);
  EXPECT_EQ(column, 3);
  int32_t top = 0, left = 0;
  ASSERT_EQ(GetEdWindowScroll(&top, &left), 1);
  EXPECT_EQ(top, 120);
  int32_t lines = 0, cells = 0;
  ASSERT_EQ(GetEdWindowSize(&lines, &cells), 1);
  EXPECT_EQ(lines, 10);
  EXPECT_EQ(cells, 10);
}

TEST_F(EditorRecordTest, FocusDropsLineAndColumnMarksLeftBehindButKeepsStreamMarks) {
  FakeRecord& w = showing("alpha\nbeta\ngamma\ndelta\n");
  ASSERT_EQ(AnchorMark(kMarkLine, 1, 1), 1);
  ASSERT_EQ(UpdateMark(3, 1), 1);
  w.focusGained();
  EXPECT_EQ(QueryMarkType(), kMarkLine);   // caret at the moving end: kept
  ASSERT_EQ(SetCaretCol(4, 2), 1);
  w.focusGained();
  EXPECT_EQ(QueryMarkType(), kMarkNone);
  ASSERT_EQ(AnchorMark(kMarkColumn, 1, 1), 1);
  ASSERT_EQ(UpdateMark(2, 3), 1);
  ASSERT_EQ(SetCaretCol(2, 2), 1);
  w.focusGained();
  EXPECT_EQ(QueryMarkType(), kMarkNone);
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 1), 1);
  ASSERT_EQ(UpdateMark(2, 3), 1);
  ASSERT_EQ(SetCaretCol(4, 1), 1);
  w.focusGained();
  EXPECT_EQ(QueryMarkType(), kMarkStream);
}

TEST_F(EditorRecordTest, ScrollSynchronisationMovesOnlyTheSameGroup) {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += "row\n";
  HEDBUFFER h = nullptr;
  FakeRecord& a = showing(text, &h);
  FakeRecord& b = newWindow();
  FakeRecord& c = newWindow();
  b.attach(buffer(h), 0);
  c.attach(buffer(h), 0);
  for (FakeRecord* r : {&a, &b, &c}) r->flags |= kEdVSync | kEdHSync;
  a.vGroup = b.vGroup = 1;
  c.vGroup = 2;
  a.scrollTo(50, 1);
  EXPECT_EQ(b.view.topLine(), 50);
  EXPECT_EQ(c.view.topLine(), 1);
  // The horizontal groups are all 0: every window follows the left cell.
  a.scrollTo(50, 30);
  EXPECT_EQ(b.view.leftCell(), 30);
  EXPECT_EQ(c.view.leftCell(), 30);
}

TEST_F(EditorRecordTest, ScrollingRepaintsWholeUnlessDcScrollingCanMoveTheContents) {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += "row\n";
  FakeRecord& w = showing(text);
  w.wholeRepaints = 0;
  w.scrollTo(5, 1);
  EXPECT_EQ(w.wholeRepaints, 1);
  EXPECT_TRUE(w.moves.empty());
  EcdSystemOptions o{};
  o.word[ECD_OPT_DC_SCROLLING] = 1;
  ECD_fvSetSystemOptions(&o);
  w.scrollTo(8, 1);
  ASSERT_EQ(w.moves.size(), 1u);
  EXPECT_EQ(w.moves[0], std::make_pair(0, -3 * 16));
  // A jump of a page or more repaints whole.
  w.scrollTo(40, 1);
  EXPECT_EQ(w.moves.size(), 1u);
  EXPECT_EQ(w.wholeRepaints, 2);
  // One cell right hides the one-cell gutter: the text moves by the cell and the gutter's width.
  w.scrollTo(40, 2);
  ASSERT_EQ(w.moves.size(), 2u);
  EXPECT_EQ(w.moves[1], std::make_pair(-2 * 8, 0));
  w.scrollTo(40, 1);
  EXPECT_EQ(w.moves[2], std::make_pair(2 * 8, 0));
  // Scrolling never moves the caret.
  EXPECT_EQ(w.caretLine, 1);
}

TEST_F(EditorRecordTest, HitTestsTellGutterMarkAndText) {
  FakeRecord& w = showing("0123456789\nabcdefghij\n");
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 3), 1);
  ASSERT_EQ(UpdateMark(1, 6), 1);
  int32_t line = 0, cell = 0, where = -1;
  ASSERT_EQ(CharFromPos(3, 5, 0, &line, &cell, 0, &where), 1);
  EXPECT_EQ(cell, 0);
  EXPECT_EQ(where, 2);
  ASSERT_EQ(CharFromPos(8 + 8 * 3 + 1, 5, 0, &line, &cell, 0, &where), 1);   // cell 4, inside cells 3 to 5
  EXPECT_EQ(line, 1);
  EXPECT_EQ(cell, 4);
  EXPECT_EQ(where, 1);
  ASSERT_EQ(CharFromPos(8 + 8 * 5 + 1, 5, 0, &line, &cell, 0, &where), 1);   // cell 6: the mark ends before it
  EXPECT_EQ(where, 0);
  // Below the text: fails without clamp, gives the last line with it.
  EXPECT_EQ(CharFromPos(20, 16 * 5, 0, &line, &cell, 0, &where), 0);
  ASSERT_EQ(CharFromPos(20, 16 * 5, 1, &line, &cell, 0, &where), 1);
  EXPECT_EQ(line, 2);
  tagRECT* none = nullptr;
  EXPECT_EQ(GetCellRect(1, 1, none), 0);
  int32_t rect[4] = {};
  ASSERT_EQ(GetCellRect(2, 3, reinterpret_cast<tagRECT*>(rect)), 1);
  EXPECT_EQ(rect[0], 8 + 2 * 8);
  EXPECT_EQ(rect[1], 16);
  (void)w;
}

TEST_F(EditorRecordTest, WithoutATargetEveryFunctionDoesNothing) {
  HEDBUFFER h = nullptr;
  FakeRecord& w = showing("keep me\n", &h);
  (void)w;
  ASSERT_EQ(SetCurEdWindow(nullptr), 0);
  char text[1025] = "unchanged";
  EXPECT_EQ(GetCurBuffer(), nullptr);
  EXPECT_EQ(WriteChar('x'), 0);
  EXPECT_EQ(WriteString("abc"), 0);
  EXPECT_EQ(NewLine(), 0);
  EXPECT_EQ(DeleteChar(), 0);
  EXPECT_EQ(BackSpaceChar(), 0);
  EXPECT_EQ(InsertLine(0, "x"), 0);
  EXPECT_EQ(DeleteLine(1), 0);
  EXPECT_EQ(ReplaceLine(1, "x"), 0);
  EXPECT_EQ(StartOp(), 0);
  EXPECT_EQ(UndoOp(nullptr), 0);
  EXPECT_EQ(AnchorMark(kMarkLine, 1, 1), 0);
  EXPECT_EQ(SetTabLength(4), 0);
  EXPECT_EQ(GetLine(1, text), 0);
  EXPECT_STREQ(text, "unchanged");
  EXPECT_EQ(GetLineCount(), 0);
  EXPECT_EQ(GetEdWindowSize(nullptr, nullptr), 0);
  EXPECT_EQ(CharFromPos(0, 0, 1, nullptr, nullptr, 0, nullptr), 0);
  EXPECT_EQ(SetLineProp(1, 1), 0);
  ASSERT_EQ(SetCurBuffer(h), 1);
  EXPECT_EQ(line(1), "keep me");
  EXPECT_EQ(GetModified(), 0);
  EXPECT_EQ(GetTabLength(), 8);
}

TEST_F(EditorRecordTest, BufferTargetEditsAtTheBufferPositionAndWritesItBack) {
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open(write("b.txt", "hello\nworld\n"), ECD_OPEN_READ, &h), 0);
  ASSERT_EQ(SetCurBuffer(h), 1);
  EXPECT_EQ(GetCurEdWindow(), nullptr);
  ASSERT_EQ(SetCaretCol(2, 6), 1);
  ASSERT_EQ(WriteString("s!"), 1);
  EXPECT_EQ(line(2), "worlds!");
  int32_t l = 0, c = 0;
  ASSERT_EQ(GetCaretCol(&l, &c), 1);
  EXPECT_EQ(l, 2);
  EXPECT_EQ(c, 8);
  ASSERT_EQ(StartOp(), 1);
  ASSERT_EQ(BackSpaceChar(), 1);
  ASSERT_EQ(JoinLine(1), 1);
  ASSERT_EQ(EndOp(), 1);
  EXPECT_EQ(GetLineCount(), 1);
  ASSERT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(GetLineCount(), 2);
  EXPECT_EQ(line(2), "worlds!");
  // A group made under a mark gives the mark back on undo, for a buffer target too.
  ASSERT_EQ(AnchorMark(kMarkLine, 1, 1), 1);
  ASSERT_EQ(UpdateMark(2, 1), 1);
  ASSERT_EQ(StartOp(), 1);
  ASSERT_EQ(DeleteLines(1, 2), 1);
  ASSERT_EQ(EndOp(), 1);
  EXPECT_EQ(QueryMark(), 0);
  ASSERT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(QueryMarkType(), kMarkLine);
  ASSERT_EQ(GetCaretCol(&l, &c), 1);
  EXPECT_EQ(l, 2);
  // Names: the buffer is found by its displayed name, with or without the modified star.
  char name[262] = {};
  ASSERT_EQ(GetModifiedName(name), 1);
  EXPECT_EQ(name[0], '*');
  EXPECT_EQ(GetBufferFromName(name), h);
  HEDBUFFER untitled = nullptr;
  ASSERT_EQ(open("", 0, &untitled), 0);
  const std::string untitledName = "Untitled: " + std::to_string(buffer(untitled)->untitledNumber());
  EXPECT_EQ(GetBufferFromName(untitledName.c_str()), untitled);
  EXPECT_EQ(EnumBuffers(nullptr), h);
  EXPECT_EQ(EnumBuffers(h), untitled);
  EXPECT_EQ(EnumBuffers(untitled), nullptr);
}

TEST_F(EditorRecordTest, UndoInAWindowPutsCaretAndMarkBack) {
  FakeRecord& w = showing("one two three\nfour\n");
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 5), 1);
  ASSERT_EQ(UpdateMark(1, 8), 1);
  ASSERT_EQ(StartOp(), 1);
  ASSERT_EQ(ReplaceLine(1, "one three"), 1);
  ASSERT_EQ(EndOp(), 1);
  UnMark();
  ASSERT_EQ(SetCaretCol(2, 1), 1);
  ASSERT_EQ(w.undo(nullptr), 0);
  EXPECT_EQ(line(1), "one two three");
  EXPECT_EQ(QueryMarkType(), kMarkStream);
  int32_t l = 0, c = 0;
  ASSERT_EQ(QueryMarkStart(&l, &c), 1);
  EXPECT_EQ(c, 5);
  EXPECT_EQ(w.caretLine, 1);
  EXPECT_EQ(w.caretColumn, 8);
}

TEST_F(EditorRecordTest, EventCallbackRunsWithTheReceivingWindowAndRestoresTheTarget) {
  HEDBUFFER h = nullptr;
  FakeRecord& a = showing("first\n", &h);
  HEDBUFFER other = nullptr;
  ASSERT_EQ(open(write("o.txt", "other\n"), ECD_OPEN_READ, &other), 0);
  ASSERT_EQ(SetCurBuffer(other), 1);
  static int32_t typed = 0;
  Engine::instance().eventCallback = [](EcdEventRecord* e) -> int32_t {
    typed += e->code == 13 ? NewLine() : WriteChar(e->code);
    return 1;
  };
  a.placeCaret(1, 6);
  ASSERT_EQ(a.typeString("!\r\n?"), 0);
  Engine::instance().eventCallback = nullptr;
  EXPECT_EQ(typed, 3);
  ASSERT_EQ(SetCurEdWindow(a.window()), 1);
  EXPECT_EQ(line(1), "first!");
  EXPECT_EQ(line(2), "?");
  // The outer target, a buffer, is current again... after SetCurEdWindow above it is the window; check the
  // restore directly:
  ASSERT_EQ(SetCurBuffer(other), 1);
  a.deliverChar('z', 'z', 0);
  EXPECT_EQ(GetCurBuffer(), other);
  EXPECT_EQ(GetCurEdWindow(), nullptr);
}

}  // namespace
}  // namespace osk::test

namespace osk::test {
namespace {

TEST_F(EditorRecordTest, PrintStreamOfTheMarkOnlyHoldsTheMarkedLines) {
  FakeRecord& w = showing("alpha\nbeta\ngamma\ndelta\n");
  ASSERT_EQ(AnchorMark(kMarkLine, 2, 1), 1);
  ASSERT_EQ(UpdateMark(3, 1), 1);
  const std::string file = path("print.stream");
  struct {
    const char* caption;
    const char* fileName;
    int32_t selectionOnly;
  } request{nullptr, file.c_str(), 1};
  ASSERT_EQ(w.printStream(&request), 0);
  const std::string marked = read(file);
  EXPECT_NE(marked.find("\\num2 "), std::string::npos);
  EXPECT_NE(marked.find("beta"), std::string::npos);
  EXPECT_EQ(marked.find("alpha"), std::string::npos);
  request.selectionOnly = 0;
  ASSERT_EQ(w.printStream(&request), 0);
  EXPECT_NE(read(file).find("\\num4 "), std::string::npos);
}

}  // namespace
}  // namespace osk::test

namespace osk::test {
namespace {

TEST_F(EditorRecordTest, ReloadDropsTheMarkAndSaysSo) {
  HEDBUFFER h = nullptr;
  showing("one\ntwo\nthree\n", &h);
  ASSERT_EQ(AnchorMark(kMarkLine, 1, 1), 1);
  ASSERT_EQ(UpdateMark(3, 1), 1);
  notes.clear();
  write("text.txt", "new\n");
  ASSERT_EQ(ECD_flBufferMessage(h, ECD_RELOAD, 0, 0), 100);
  EXPECT_EQ(QueryMarkType(), kMarkNone);
  ASSERT_EQ(count(ECDN_MARK), 1);
  for (const OwnerNote& n : notes) {
    if (n.code == ECDN_MARK) EXPECT_EQ(n.lParam, 0);
  }
}

TEST_F(EditorRecordTest, BufferClosedInsideTheEventCallbackIsNotTheTargetAfterIt) {
  FakeRecord& w = showing("typed here\n");
  HEDBUFFER other = nullptr;
  ASSERT_EQ(open(write("gone.txt", "soon closed\n"), ECD_OPEN_READ, &other), 0);
  ASSERT_EQ(SetCurBuffer(other), 1);
  static HEDBUFFER closing = nullptr;
  closing = other;
  Engine::instance().eventCallback = [](EcdEventRecord*) -> int32_t { return ECD_flCloseBuffer(closing) == 0; };
  EXPECT_EQ(w.deliverChar('x', 'x', 0), 1);
  Engine::instance().eventCallback = nullptr;
  EXPECT_EQ(GetCurBuffer(), nullptr);
  EXPECT_EQ(WriteChar('y'), 0);
}

}  // namespace
}  // namespace osk::test
