#include "app/pane_layout.h"

#include <algorithm>

namespace osk::app {
namespace {

constexpr int kCollapseDistance = 7;

PaneRect rect(int left, int top, int right, int bottom) {
  return PaneRect{left, top, std::max(left, right), std::max(top, bottom)};
}

// A bar's pixel, or -1 when the bar goes; `collapsed` tells that it went at the near edge.
int settleBar(int32_t& fraction, int size, bool& collapsed) {
  collapsed = false;
  if (fraction <= 0) {
    fraction = 0;
    return -1;
  }
  const int pixel = fractionToPixel(fraction, size);
  if (pixel < kCollapseDistance) {
    collapsed = true;
    fraction = 0;
    return -1;
  }
  if (pixel >= size) {
    fraction = 0;
    return -1;
  }
  return pixel;
}

}  // namespace

int paneOfScrollId(int id) { return id >= 10 && id <= 17 ? (id - 10) / 2 : -1; }

int32_t fractionToPixel(int32_t fraction, int32_t size) {
  if (size <= 0) return 0;
  return static_cast<int32_t>((static_cast<int64_t>(fraction) * size + kSplitUnits / 2) / kSplitUnits);
}

int32_t pixelToFraction(int32_t pixel, int32_t size) {
  if (size <= 0) return 0;
  const int64_t fraction = (static_cast<int64_t>(size / 2) + static_cast<int64_t>(pixel) * kSplitUnits) / size;
  return static_cast<int32_t>(std::clamp<int64_t>(fraction, 0, kSplitUnits));
}

PaneLayout layOutPanes(int width, int height, SplitFractions fractions) {
  PaneLayout layout;
  layout.fractions = fractions;
  if (width <= 0 || height <= 0) {
    // Nothing to measure yet (a minimised or unsized window): the splits stay as they are.
    layout.present[0] = true;
    layout.present[1] = fractions.vertical > 0;
    layout.present[2] = fractions.horizontal > 0;
    layout.present[3] = layout.present[1] && layout.present[2];
    return layout;
  }
  layout.verticalBar = settleBar(layout.fractions.vertical, width, layout.rightPanesMoveLeft);
  layout.horizontalBar = settleBar(layout.fractions.horizontal, height, layout.lowerPanesMoveUp);
  const bool vertical = layout.verticalBar >= 0;
  const bool horizontal = layout.horizontalBar >= 0;
  const int leftRight = vertical ? layout.verticalBar - kSplitBarThickness : width;
  const int topBottom = horizontal ? layout.horizontalBar - kSplitBarThickness : height;
  layout.present = {true, vertical, horizontal, vertical && horizontal};
  layout.panes[0] = rect(0, 0, leftRight, topBottom);
  if (vertical) layout.panes[1] = rect(layout.verticalBar, 0, width, topBottom);
  if (horizontal) layout.panes[2] = rect(0, layout.horizontalBar, leftRight, height);
  if (vertical && horizontal) layout.panes[3] = rect(layout.verticalBar, layout.horizontalBar, width, height);
  if (horizontal) {
    layout.horizontalBarRect = rect(0, layout.horizontalBar - kSplitBarThickness, width, layout.horizontalBar);
  }
  if (vertical) layout.verticalBarRect = rect(layout.verticalBar - kSplitBarThickness, 0, layout.verticalBar, height);
  return layout;
}

SplitFractions applySplitRequest(SplitFractions now, uint32_t request, int32_t pixel, int width, int height) {
  SplitFractions next = now;
  if (request & kSplitRemoveVertical) next.vertical = 0;
  if (request & kSplitRemoveHorizontal) next.horizontal = 0;
  if (request & kSplitAddVertical) {
    next.vertical = pixel > 0 ? pixelToFraction(pixel, width) : kSplitMiddle;
    if (next.vertical == 0) next.vertical = kSplitMiddle;
  }
  if (request & kSplitAddHorizontal) {
    next.horizontal = pixel > 0 ? pixelToFraction(pixel, height) : kSplitMiddle;
    if (next.horizontal == 0) next.horizontal = kSplitMiddle;
  }
  return next;
}

uint32_t toggleSplitRequest(SplitFractions now, bool horizontalBar) {
  if (horizontalBar) return now.horizontal > 0 ? kSplitRemoveHorizontal : kSplitAddHorizontal;
  return now.vertical > 0 ? kSplitRemoveVertical : kSplitAddVertical;
}

SplitFractions moveSplitBars(SplitFractions now, int pixels, int width, int height) {
  auto move = [pixels](int32_t fraction, int size) -> int32_t {
    if (fraction <= 0 || size <= 0) return fraction;
    const int moved = std::clamp(fractionToPixel(fraction, size) + pixels, 0, size);
    // A bar moved onto the near edge keeps a fraction of its own, so that the layout removes it as a drag would.
    return std::max<int32_t>(pixelToFraction(moved, size), 1);
  };
  return SplitFractions{move(now.horizontal, height), move(now.vertical, width)};
}

SplitHit hitSplitBar(const PaneLayout& layout, int x, int y) {
  const bool onHorizontal = layout.horizontalBar >= 0 && y >= layout.horizontalBarRect.top &&
                            y < layout.horizontalBarRect.bottom;
  const bool onVertical = layout.verticalBar >= 0 && x >= layout.verticalBarRect.left &&
                          x < layout.verticalBarRect.right;
  if (onHorizontal && onVertical) return SplitHit::kBoth;
  if (onHorizontal) return SplitHit::kHorizontal;
  if (onVertical) return SplitHit::kVertical;
  return SplitHit::kNone;
}

Pane nextPane(const std::array<bool, kPaneCount>& present, Pane from) {
  const int start = static_cast<int>(from);
  if (start < 0 || start >= kPaneCount) return Pane::kTopLeft;
  for (int step = 1; step <= kPaneCount; ++step) {
    const int candidate = (start + step) % kPaneCount;
    if (present[static_cast<size_t>(candidate)]) return static_cast<Pane>(candidate);
  }
  return Pane::kTopLeft;
}

PanePlacement placePane(const PaneLayout& layout, Pane pane, const ScrollBarChoice& choice) {
  PanePlacement placement;
  const PaneRect area = layout.panes[static_cast<size_t>(pane)];
  const bool rightColumn = paneColumn(pane) == 1 || !layout.present[1];
  const bool bottomRow = paneRow(pane) == 1 || !layout.present[2];
  placement.hasVerticalScroll = choice.vertical && (!choice.synced || rightColumn);
  placement.hasHorizontalScroll = choice.horizontal && (!choice.synced || bottomRow);
  const int barWidth = placement.hasVerticalScroll ? std::min(choice.verticalWidth, area.width()) : 0;
  const int barHeight = placement.hasHorizontalScroll ? std::min(choice.horizontalHeight, area.height()) : 0;
  placement.editor = rect(area.left, area.top, area.right - barWidth, area.bottom - barHeight);
  if (placement.hasVerticalScroll) {
    placement.verticalScroll = rect(area.right - barWidth, area.top, area.right, area.bottom - barHeight);
  }
  if (placement.hasHorizontalScroll) {
    placement.horizontalScroll = rect(area.left, area.bottom - barHeight, area.right - barWidth, area.bottom);
  }
  return placement;
}

}  // namespace osk::app
