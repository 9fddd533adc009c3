// Marks: clamping of their ends, empty marks, display ranges, text-order queries, caret states across a tab length
// change, the paint plan of a line, and a randomized check of what a stream mark covers against a model.
#include <gtest/gtest.h>

#include <random>

#include "engine/editor_view.h"
#include "engine/mark.h"
#include "view_fixture.h"

namespace osk::test {
namespace {

class MarkTest : public ViewTest {};

TEST_F(MarkTest, StreamAnchorBeyondTheLineEndStopsAfterItsLastCharacter) {
  FakeRecord& w = showing("short line\nsecond\n");
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 50), 1);
  ASSERT_EQ(UpdateMark(2, 3), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(QueryMarkAnchor(&line, &column), 1);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(column, 11);
  // The caret follows the moving end.
  EXPECT_EQ(w.caretLine, 2);
  EXPECT_EQ(w.caretColumn, 3);
  // A column mark may stand in virtual space; lines clamp into the text.
  ASSERT_EQ(AnchorMark(kMarkColumn, 9, 50), 1);
  ASSERT_EQ(UpdateMark(-4, 0), 1);
  ASSERT_EQ(QueryMarkAnchor(&line, &column), 1);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(column, 50);
  ASSERT_EQ(QueryMarkUpdate(&line, &column), 1);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(column, 1);
}

TEST_F(MarkTest, MarkEndingWhereItBeganIsDroppedAndNeverReported) {
  FakeRecord& w = showing("alpha beta\ngamma\n");
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 3), 1);
  ASSERT_EQ(UpdateMark(1, 3), 1);
  EXPECT_EQ(QueryMark(), 0);
  EXPECT_EQ(QueryMarkType(), kMarkNone);
  for (const OwnerNote& n : notes) {
    if (n.code == ECDN_MARK) EXPECT_EQ(n.lParam, 0);
  }
  // Moving away and back makes it non-empty and then empty again: 1134 with 1, then with 0.
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 3), 1);
  notes.clear();
  ASSERT_EQ(UpdateMark(2, 2), 1);
  EXPECT_EQ(QueryMark(), 1);
  ASSERT_EQ(count(ECDN_MARK), 1);
  notes.clear();
  ASSERT_EQ(UpdateMark(1, 3), 1);   // back onto the anchor: empty again
  ASSERT_EQ(count(ECDN_MARK), 1);
  for (const OwnerNote& n : notes) {
    if (n.code == ECDN_MARK) EXPECT_EQ(n.lParam, 0);
  }
  EXPECT_EQ(QueryMark(), 0);
  EXPECT_EQ(UpdateMark(2, 1), 0);   // looking at it dropped it: nothing left to update
  EXPECT_FALSE(buffer(GetCurBuffer())->has(kStateMark));
  (void)w;
}

TEST_F(MarkTest, LineMarkOnOneLineIsAMarkAndStartsAtColumnOne) {
  showing("one\ntwo\nthree\n");
  ASSERT_EQ(AnchorMark(kMarkLine, 2, 3), 1);
  EXPECT_EQ(QueryMark(), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(QueryMarkStart(&line, &column), 1);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(ECD_flBufferMessage(GetCurBuffer(), ECD_HAS_MARK, 0, 0), 0);
}

TEST_F(MarkTest, DisplayRangesFollowTheMarkType) {
  Mark stream;
  stream.type = kMarkStream;
  stream.anchor = {5, 4, 7};
  stream.update = {2, 3, 3};
  EXPECT_EQ(markDisplayRanges(stream),
            (std::vector<CellRange>{{2, 3, 2, 1024}, {3, 0, 4, 0}, {5, 1, 5, 7}}));
  Mark column = stream;
  column.type = kMarkColumn;
  EXPECT_EQ(markDisplayRanges(column), (std::vector<CellRange>{{2, 3, 5, 7}}));
  Mark lines = stream;
  lines.type = kMarkLine;
  EXPECT_EQ(markDisplayRanges(lines), (std::vector<CellRange>{{2, 0, 5, 0}}));
}

TEST_F(MarkTest, QueriesGiveTextOrderAndColumnMarksTheirCoveringColumns) {
  showing("\tab\nxy\tz\nplain text\n", nullptr, 4);
  // Stream mark made backwards: start and end come in text order.
  ASSERT_EQ(AnchorMark(kMarkStream, 3, 6), 1);
  ASSERT_EQ(UpdateMark(1, 2), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(QueryMarkStart(&line, &column), 1);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(column, 2);
  ASSERT_EQ(QueryMarkEnd(&line, &column), 1);
  EXPECT_EQ(line, 3);
  EXPECT_EQ(column, 6);
  // Column mark from cell 3 to cell 6 of lines 1 to 2: on line 1 the tab covers cells 1 to 4.
  ASSERT_EQ(AnchorMark(kMarkColumn, 2, 3), 1);   // "xy" then the tab starting at cell 3
  ASSERT_EQ(UpdateMark(1, 3), 1);                // line 1, column 3 is 'b' at cell 6
  ASSERT_EQ(QueryMarkStart(&line, &column), 1);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(column, 1);   // cell 3 of line 1 is inside its tab
  ASSERT_EQ(QueryMarkEnd(&line, &column), 1);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(column, 5);   // "xy\tz" ends at cell 5: cell 6 is the column after it
}

TEST_F(MarkTest, CaretStateSurvivesATabLengthChangeOnTheSameCell) {
  FakeRecord& w = showing("\tx = 1;\n\t\ty = 2;\n");
  ASSERT_EQ(SetCaretCol(2, 3), 1);   // 'y', after two tabs: cell 17
  EXPECT_EQ(w.caretCell, 17);
  EcdCaretState state{};
  EXPECT_EQ(StoreCaretState(&state), 17);
  ASSERT_EQ(SetTabLength(4), 1);
  ASSERT_EQ(RestoreCaretState(&state), 1);
  // Cell 17 with tabs of 4 lies in virtual space past "\t\ty = 2;" (cells 1 to 14).
  EXPECT_EQ(w.caretCell, 17);
  EXPECT_EQ(w.caretLine, 2);
  // With a mark both ends come back by cell.
  ASSERT_EQ(SetTabLength(8), 1);
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 2), 1);   // cell 9
  ASSERT_EQ(UpdateMark(2, 3), 1);                // cell 17
  EXPECT_EQ(StoreCaretState(&state), 17);
  EXPECT_EQ(state.markType, kMarkStream);
  EXPECT_EQ(state.firstCell, 9);
  UnMark();
  ASSERT_EQ(SetTabLength(2), 1);
  ASSERT_EQ(RestoreCaretState(&state), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(QueryMarkAnchor(&line, &column), 1);
  EXPECT_EQ(CellFromCol(line, column), 9);
}

TEST_F(MarkTest, MarkKeepsToItsTextWhenLinesMoveAbove) {
  showing("a\nb\nc\nd\ne\n");
  ASSERT_EQ(AnchorMark(kMarkLine, 3, 1), 1);
  ASSERT_EQ(UpdateMark(4, 1), 1);
  ASSERT_EQ(InsertLine(0, "new first"), 1);
  int32_t line = 0, column = 0;
  ASSERT_EQ(QueryMarkStart(&line, &column), 1);
  EXPECT_EQ(line, 4);
  ASSERT_EQ(DeleteLines(1, 2), 1);
  ASSERT_EQ(QueryMarkStart(&line, &column), 1);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(this->line(line), "c");
  // Deleting every line takes the mark with it.
  ASSERT_EQ(DeleteLines(1, GetLineCount()), 1);
  EXPECT_EQ(QueryMarkType(), kMarkNone);
  EXPECT_FALSE(buffer(GetCurBuffer())->has(kStateMark));
}

TEST_F(MarkTest, PaintPlanSplitsALineIntoNormalSelectedAndBookmarkRuns) {
  Mark m;
  m.type = kMarkStream;
  m.anchor = {3, 5, 5};
  m.update = {4, 2, 2};
  // Line 3: cells 1-4 plain, 5 onwards selected to the right edge of the view.
  EXPECT_EQ(lineSegments(m, 3, false, 1, 10),
            (std::vector<PaintSegment>{{1, 4, PaintRole::kNormal}, {5, 6, PaintRole::kSelected}}));
  // Line 4, bookmarked: cell 1 selected, the rest in bookmark colours.
  EXPECT_EQ(lineSegments(m, 4, true, 1, 10),
            (std::vector<PaintSegment>{{1, 1, PaintRole::kSelected}, {2, 9, PaintRole::kBookmark}}));
  // Scrolled right past the selection; and a view reaching past cell 1024 stops there.
  EXPECT_EQ(lineSegments(m, 4, false, 20, 10), (std::vector<PaintSegment>{{20, 10, PaintRole::kNormal}}));
  EXPECT_EQ(lineSegments(Mark(), 1, false, 1020, 100), (std::vector<PaintSegment>{{1020, 5, PaintRole::kNormal}}));
  // A column mark selects the same cells on every line it spans, tabs or not.
  Mark col;
  col.type = kMarkColumn;
  col.anchor = {2, 1, 3};
  col.update = {5, 9, 7};
  EXPECT_EQ(lineSegments(col, 5, false, 1, 8),
            (std::vector<PaintSegment>{{1, 2, PaintRole::kNormal}, {3, 4, PaintRole::kSelected}, {7, 2, PaintRole::kNormal}}));
  EXPECT_EQ(lineSegments(col, 6, false, 1, 8), (std::vector<PaintSegment>{{1, 8, PaintRole::kNormal}}));
}

TEST_F(MarkTest, StreamCoverageMatchesATextOrderModel) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 2000; ++round) {
    Mark m;
    m.type = kMarkStream;
    std::uniform_int_distribution<int32_t> lines(1, 6), cells(1, 12);
    m.anchor = {lines(random), 0, cells(random)};
    m.update = {lines(random), 0, cells(random)};
    // Model: a position is selected when it lies at or after the first end and before the last, in text order.
    auto key = [](int32_t l, int32_t c) { return static_cast<int64_t>(l) * 10000 + c; };
    const int64_t a = key(m.anchor.line, m.anchor.cell), u = key(m.update.line, m.update.cell);
    const int64_t lo = std::min(a, u), hi = std::max(a, u);
    for (int32_t l = 1; l <= 6; ++l) {
      for (int32_t c = 1; c <= 14; ++c) {
        const bool model = key(l, c) >= lo && key(l, c) < hi;
        ASSERT_EQ(m.covers(l, c), model) << "round " << round << " line " << l << " cell " << c;
      }
    }
  }
}

}  // namespace
}  // namespace osk::test
