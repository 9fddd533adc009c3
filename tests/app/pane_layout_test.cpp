#include "app/pane_layout.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

TEST(SplitFractions, RoundTripThroughPixelsAndNeverDivideByZero) {
  EXPECT_EQ(fractionToPixel(kSplitMiddle, 401), 201);   // rounded
  EXPECT_EQ(fractionToPixel(kSplitUnits, 300), 300);
  EXPECT_EQ(pixelToFraction(150, 300), kSplitMiddle);
  for (int size : {7, 100, 333, 1080}) {
    for (int pixel = 0; pixel <= size; pixel += 7) {
      EXPECT_NEAR(fractionToPixel(pixelToFraction(pixel, size), size), pixel, 1) << size << " " << pixel;
    }
  }
  // A window whose client has no size yet.
  EXPECT_EQ(fractionToPixel(kSplitMiddle, 0), 0);
  EXPECT_EQ(pixelToFraction(120, 0), 0);
  EXPECT_EQ(pixelToFraction(120, -5), 0);
  // Pixels beyond the window clamp rather than give fractions past the whole.
  EXPECT_EQ(pixelToFraction(5000, 100), kSplitUnits);
  EXPECT_EQ(pixelToFraction(-40, 100), 0);
  // Large screens do not overflow 32 bits.
  EXPECT_EQ(fractionToPixel(kSplitUnits, 200000), 200000);
}

TEST(PaneLayoutGrid, FourPanesAroundTwoBarsSixPixelsThick) {
  const PaneLayout l = layOutPanes(400, 300, {kSplitMiddle, kSplitMiddle});
  EXPECT_EQ(l.horizontalBar, 150);
  EXPECT_EQ(l.verticalBar, 200);
  EXPECT_EQ(l.present, (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(l.panes[0], (PaneRect{0, 0, 194, 144}));
  EXPECT_EQ(l.panes[1], (PaneRect{200, 0, 400, 144}));
  EXPECT_EQ(l.panes[2], (PaneRect{0, 150, 194, 300}));
  EXPECT_EQ(l.panes[3], (PaneRect{200, 150, 400, 300}));
  EXPECT_EQ(l.horizontalBarRect, (PaneRect{0, 144, 400, 150}));
  EXPECT_EQ(l.verticalBarRect, (PaneRect{194, 0, 200, 300}));
  EXPECT_EQ(hitSplitBar(l, 10, 146), SplitHit::kHorizontal);
  EXPECT_EQ(hitSplitBar(l, 196, 10), SplitHit::kVertical);
  EXPECT_EQ(hitSplitBar(l, 197, 147), SplitHit::kBoth);
  EXPECT_EQ(hitSplitBar(l, 100, 100), SplitHit::kNone);

  const PaneLayout one = layOutPanes(400, 300, {});
  EXPECT_EQ(one.present, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(one.panes[0], (PaneRect{0, 0, 400, 300}));
  EXPECT_EQ(hitSplitBar(one, 197, 147), SplitHit::kNone);
}

TEST(PaneLayoutGrid, ABarAtTheNearEdgeCollapsesOntoTheFarPanesAndAtTheFarEdgeDropsThem) {
  // Dragged to within 6 pixels of the top: the lower pane takes the place of the upper one.
  PaneLayout l = layOutPanes(400, 300, {pixelToFraction(6, 300), 0});
  EXPECT_EQ(l.fractions.horizontal, 0);
  EXPECT_TRUE(l.lowerPanesMoveUp);
  EXPECT_EQ(l.present, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(l.panes[0], (PaneRect{0, 0, 400, 300}));
  // Seven pixels still split.
  EXPECT_EQ(layOutPanes(400, 300, {pixelToFraction(7, 300), 0}).horizontalBar, 7);

  l = layOutPanes(400, 300, {kSplitMiddle, pixelToFraction(3, 400)});
  EXPECT_TRUE(l.rightPanesMoveLeft);
  EXPECT_FALSE(l.lowerPanesMoveUp);
  EXPECT_EQ(l.present, (std::array<bool, 4>{true, false, true, false}));

  l = layOutPanes(400, 300, {kSplitUnits, kSplitMiddle});
  EXPECT_FALSE(l.lowerPanesMoveUp);
  EXPECT_EQ(l.fractions.horizontal, 0);
  EXPECT_EQ(l.present, (std::array<bool, 4>{true, true, false, false}));
  EXPECT_EQ(l.panes[0].bottom, 300);
}

TEST(PaneLayoutGrid, AnUnsizedWindowKeepsItsSplits) {
  const PaneLayout l = layOutPanes(0, 0, {kSplitMiddle, kSplitMiddle});
  EXPECT_EQ(l.fractions, (SplitFractions{kSplitMiddle, kSplitMiddle}));
  EXPECT_EQ(l.present, (std::array<bool, 4>{true, true, true, true}));
}

TEST(SplitRequests, ToggleAddsInTheMiddleAndRemoves) {
  SplitFractions f;
  uint32_t request = toggleSplitRequest(f, true);
  EXPECT_EQ(request, kSplitAddHorizontal);
  f = applySplitRequest(f, request, 0, 400, 300);
  EXPECT_EQ(f, (SplitFractions{kSplitMiddle, 0}));
  f = applySplitRequest(f, toggleSplitRequest(f, false), 0, 400, 300);
  EXPECT_EQ(f, (SplitFractions{kSplitMiddle, kSplitMiddle}));
  request = toggleSplitRequest(f, true);
  EXPECT_EQ(request, kSplitRemoveHorizontal);
  f = applySplitRequest(f, request, 0, 400, 300);
  EXPECT_EQ(f, (SplitFractions{0, kSplitMiddle}));
  // A pixel position places the bar; in an unsized window the bar still goes to the middle.
  EXPECT_EQ(applySplitRequest({}, kSplitAddHorizontal, 75, 400, 300).horizontal, pixelToFraction(75, 300));
  EXPECT_EQ(applySplitRequest({}, kSplitAddVertical, 75, 0, 0).vertical, kSplitMiddle);
}

TEST(SplitRequests, StepsMoveExistingBarsOnlyAndCanPushThemOut) {
  SplitFractions f{kSplitMiddle, 0};
  f = moveSplitBars(f, -kSplitStep, 400, 300);
  EXPECT_EQ(f.vertical, 0);
  EXPECT_EQ(fractionToPixel(f.horizontal, 300), 140);
  for (int i = 0; i < 20; ++i) f = moveSplitBars(f, -kSplitStep, 400, 300);
  EXPECT_GT(f.horizontal, 0);
  const PaneLayout l = layOutPanes(400, 300, f);
  EXPECT_TRUE(l.lowerPanesMoveUp);
  EXPECT_EQ(l.fractions.horizontal, 0);
}

TEST(PaneOrder, NextPaneVisitsThePresentPanesAndComesBack) {
  const std::array<bool, 4> all{true, true, true, true};
  Pane p = Pane::kTopLeft;
  std::array<int, 4> seen{};
  for (int i = 0; i < 4; ++i) {
    p = nextPane(all, p);
    seen[static_cast<size_t>(i)] = paneEditorId(p);
  }
  EXPECT_EQ(seen, (std::array<int, 4>{2, 3, 4, 1}));
  const std::array<bool, 4> twoRows{true, false, true, false};
  EXPECT_EQ(nextPane(twoRows, Pane::kTopLeft), Pane::kBottomLeft);
  EXPECT_EQ(nextPane(twoRows, Pane::kBottomLeft), Pane::kTopLeft);
  EXPECT_EQ(nextPane({true, false, false, false}, Pane::kTopLeft), Pane::kTopLeft);
  EXPECT_EQ(nextPane(all, static_cast<Pane>(9)), Pane::kTopLeft);
}

TEST(PaneScrollBars, SyncedPanesShareTheRightColumnAndBottomRow) {
  const PaneLayout l = layOutPanes(400, 300, {kSplitMiddle, kSplitMiddle});
  ScrollBarChoice synced{.synced = true};
  EXPECT_FALSE(placePane(l, Pane::kTopLeft, synced).hasVerticalScroll);
  EXPECT_FALSE(placePane(l, Pane::kTopLeft, synced).hasHorizontalScroll);
  EXPECT_TRUE(placePane(l, Pane::kTopRight, synced).hasVerticalScroll);
  EXPECT_TRUE(placePane(l, Pane::kBottomLeft, synced).hasHorizontalScroll);
  const PanePlacement br = placePane(l, Pane::kBottomRight, synced);
  EXPECT_EQ(br.editor, (PaneRect{200, 150, 384, 284}));
  EXPECT_EQ(br.verticalScroll, (PaneRect{384, 150, 400, 284}));
  EXPECT_EQ(br.horizontalScroll, (PaneRect{200, 284, 384, 300}));
  // Not synced: every pane has both; turned off in the settings: none.
  EXPECT_TRUE(placePane(l, Pane::kTopLeft, {}).hasVerticalScroll);
  EXPECT_FALSE(placePane(l, Pane::kTopLeft, {.vertical = false, .horizontal = false}).hasHorizontalScroll);
  // A pane narrower than a scroll bar gives it all its width.
  const PaneLayout thin = layOutPanes(20, 300, {});
  const PanePlacement p = placePane(thin, Pane::kTopLeft, {.verticalWidth = 30});
  EXPECT_EQ(p.editor.width(), 0);
  EXPECT_EQ(p.verticalScroll.width(), 20);
  EXPECT_EQ(paneOfScrollId(15), 2);
  EXPECT_EQ(paneOfScrollId(9), -1);
  EXPECT_EQ(paneOfScrollId(18), -1);
}

}  // namespace
}  // namespace osk::app
