#include "engine/editor_view.h"

#include <gtest/gtest.h>

namespace osk {
namespace {

// A window 800 x 400 pixels with 8 x 16 cells: 25 whole lines.
EditorView view(int32_t lines, bool numbers = false) {
  EditorView v;
  v.setClientSize(800, 400);
  v.setMetrics(8, 16);
  v.setLineCount(lines);
  v.setShowLineNumbers(numbers);
  return v;
}

TEST(EditorView, GutterGrowsWithTheDigitsOfTheLineCountAndGoesWhenScrolledRight) {
  EXPECT_EQ(view(0, true).gutterCells(), 2);
  EXPECT_EQ(view(9, true).gutterCells(), 3);
  EXPECT_EQ(view(10, true).gutterCells(), 4);
  EXPECT_EQ(view(5, false).gutterCells(), 1);
  EXPECT_EQ(EditorView::gutterCellsFor(1000000000, true), 12);
  EditorView v = view(10, true);
  EXPECT_EQ(v.textOrigin(), 32);
  EXPECT_EQ(v.visibleCells(), (800 - 32) / 8);
  v.setPosition(1, v.horizontalTarget(ScrollRequest::kLineForward, 0));
  EXPECT_EQ(v.leftCell(), 2);
  EXPECT_EQ(v.gutterCells(), 0);
  EXPECT_EQ(v.visibleCells(), 100);
}

TEST(EditorView, VerticalRequestsStayWithinTheText) {
  EditorView v = view(100);
  EXPECT_EQ(v.visibleLines(), 25);
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kLineBack, 0), 1);
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kPageForward, 0), 26);
  v.setPosition(90, 1);
  // Page down on the last page leaves the last line at the top.
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kPageForward, 0), 100);
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kEnd, 0), 100);
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kThumbPosition, 5), 90);
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kThumbTrack, 5), 6);
  // A text of one line does not scroll.
  EditorView one = view(1);
  EXPECT_EQ(one.verticalTarget(ScrollRequest::kLineForward, 0), 1);
}

TEST(EditorView, ScrollBarsScaleLongTexts) {
  EditorView v = view(100000);
  EXPECT_EQ(v.verticalScale(), 4);
  v.setPosition(50001, 1);
  ScrollBarValues bar = v.verticalBar(true);
  EXPECT_EQ(bar.maximum, 99999 / 4);
  EXPECT_EQ(bar.position, 12500);
  EXPECT_EQ(v.verticalTarget(ScrollRequest::kThumbTrack, 12500), 50001);
  EXPECT_EQ(v.verticalBar(false).maximum, 0);
  // A horizontal thumb beyond the range scrolls to cell 1024.
  EXPECT_EQ(v.horizontalTarget(ScrollRequest::kThumbPosition, 1200), 1024);
  EXPECT_EQ(v.horizontalBar(true).maximum, 1023);
}

TEST(EditorView, CaretIntoViewFollowsTheQuarterRules) {
  EditorView v = view(1000);
  int32_t top, left;
  v.caretIntoView(30, 5, top, left);
  EXPECT_EQ(top, 6);   // the caret on the last visible line
  EXPECT_EQ(left, 1);
  v.setPosition(100, 200);
  v.caretIntoView(50, 150, top, left);
  EXPECT_EQ(top, 50);
  EXPECT_EQ(left, 150 - 100 / 4);
  v.caretIntoView(120, 400, top, left);
  EXPECT_EQ(top, 100);
  EXPECT_EQ(left, 400 - 3 * 100 / 4 + 2);
  EditorView empty = view(0);
  empty.caretIntoView(0, 1, top, left);
  EXPECT_EQ(top, 1);
  EXPECT_EQ(left, 1);
}

TEST(EditorView, HitTestClampsSnapsAndFindsTheGutter) {
  EditorView v = view(10, true);   // 4-cell gutter, text origin 32
  HitResult h = v.hitTest(10, 20, false, false, true);
  EXPECT_TRUE(h.ok);
  EXPECT_EQ(h.cell, 0);
  EXPECT_EQ(h.line, 2);
  h = v.hitTest(32 + 8 * 3 + 5, 0, false, false, true);
  EXPECT_EQ(h.cell, 4);
  h = v.hitTest(32 + 8 * 3 + 5, 0, false, true, true);   // right half of cell 4 snaps to the boundary after it
  EXPECT_EQ(h.cell, 5);
  h = v.hitTest(32 + 8 * 3 + 5, 0, false, true, false);  // overwrite mode does not snap
  EXPECT_EQ(h.cell, 4);
  EXPECT_FALSE(v.hitTest(40, 16 * 12, false, false, true).ok);   // below the last line
  h = v.hitTest(40, 16 * 12, true, false, true);
  EXPECT_TRUE(h.ok);
  EXPECT_EQ(h.line, 10);
  EXPECT_EQ(v.hitTest(40, -30, false, false, true).line, 1);
  EXPECT_FALSE(view(0).hitTest(40, 0, true, false, true).ok);
  v.setPosition(1, 1000);
  EXPECT_FALSE(v.hitTest(8 * 40, 0, false, false, true).ok);   // past cell 1024
  EXPECT_EQ(v.hitTest(8 * 40, 0, true, false, true).cell, 1024);
}

TEST(EditorView, CellRectanglesAndCaretPosition) {
  EditorView v = view(50, true);   // 4-cell gutter
  PixelRect r = v.cellRect(3, 2);
  EXPECT_EQ(r.left, 8 + 32);
  EXPECT_EQ(r.top, 32);
  EXPECT_EQ(r.right - r.left, 8);
  int32_t x, y;
  v.caretPoint(3, 2, x, y);
  EXPECT_EQ(x, 40);
  EXPECT_EQ(y, 32);
  v.caretPoint(40, 2, x, y);
  EXPECT_EQ(x, kCaretHidden);
  EXPECT_EQ(y, kCaretHidden);
  PixelRect line = v.lineFromCell(2, 0);
  EXPECT_EQ(line.left, 0);
  EXPECT_EQ(line.right, 804);
}

TEST(EditorView, ContentsMoveOnlyForShortScrolls) {
  EditorView v = view(1000);
  EXPECT_TRUE(v.canMoveContents(2, 1));
  EXPECT_FALSE(v.canMoveContents(20, 1));
  EXPECT_FALSE(v.canMoveContents(1, 90));
}

}  // namespace
}  // namespace osk
