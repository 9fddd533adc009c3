// The geometry of a document window's panes: up to four editor panes in a 2 x 2 grid, divided by a horizontal and a
// vertical split bar, each bar kept as a fraction of the client size in units of 1/16384 (0: no such bar).
//
// Limits: a client of size 0 (a minimised or not yet sized window) gives pixel 0 for every fraction and fraction 0
// for every pixel, never a division by zero. A bar closer than 7 pixels to the top or left edge collapses the split
// so that the panes beyond it take its place; a bar at or beyond the far edge removes the panes beyond it.
#pragma once

#include <array>
#include <cstdint>

namespace osk::app {

inline constexpr int32_t kSplitUnits = 16384;
inline constexpr int32_t kSplitMiddle = kSplitUnits / 2;
inline constexpr int kSplitBarThickness = 6;
inline constexpr int kSplitStep = 10;   // pixels a bar moves for SplitUpLeft / SplitDownRight

// Panes in the order NextPane visits them; editor child ids are the index + 1.
enum class Pane : int { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3 };
inline constexpr int kPaneCount = 4;

inline int paneEditorId(Pane pane) { return static_cast<int>(pane) + 1; }
inline int paneHorizontalScrollId(Pane pane) { return 10 + 2 * static_cast<int>(pane); }
inline int paneVerticalScrollId(Pane pane) { return 11 + 2 * static_cast<int>(pane); }
inline int paneColumn(Pane pane) { return static_cast<int>(pane) & 1; }
inline int paneRow(Pane pane) { return static_cast<int>(pane) >> 1; }
// The pane that owns a scroll bar control by its id, or -1 for an id that is not a pane's scroll bar.
int paneOfScrollId(int id);

// (f x size + 8192) / 16384, in 64 bits; 0 for a size of 0 or less.
int32_t fractionToPixel(int32_t fraction, int32_t size);
// (size / 2 + p x 16384) / size, clamped to 0 .. 16384; 0 for a size of 0 or less.
int32_t pixelToFraction(int32_t pixel, int32_t size);

struct PaneRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const PaneRect&) const = default;
};

// Which split bars the window has. `horizontal` is the bar across the window (panes above and below it),
// `vertical` the bar down it (panes left and right of it).
struct SplitFractions {
  int32_t horizontal = 0;
  int32_t vertical = 0;
  bool operator==(const SplitFractions&) const = default;
};

struct PaneLayout {
  SplitFractions fractions;   // after collapsing: a bar that went is 0
  int horizontalBar = -1;     // pixel of the bar's far edge (panes below start there), -1 without a bar
  int verticalBar = -1;
  // A bar dragged to the top (left) edge went: the lower (right) panes move into the places of the upper (left).
  bool lowerPanesMoveUp = false;
  bool rightPanesMoveLeft = false;
  std::array<bool, kPaneCount> present{};
  std::array<PaneRect, kPaneCount> panes{};
  PaneRect horizontalBarRect;   // empty without a bar
  PaneRect verticalBarRect;
};

PaneLayout layOutPanes(int width, int height, SplitFractions fractions);

// Message 1524's request: bit 1 split with a vertical bar, bit 2 with a horizontal bar, bit 4 remove the vertical
// bar, bit 8 remove the horizontal one; `pixel` places a new bar (0: the middle).
inline constexpr uint32_t kSplitAddVertical = 1;
inline constexpr uint32_t kSplitAddHorizontal = 2;
inline constexpr uint32_t kSplitRemoveVertical = 4;
inline constexpr uint32_t kSplitRemoveHorizontal = 8;
SplitFractions applySplitRequest(SplitFractions now, uint32_t request, int32_t pixel, int width, int height);
// The request that toggles one bar, as SplitWindowHorizontally (horizontal) and SplitWindowVertically do.
uint32_t toggleSplitRequest(SplitFractions now, bool horizontalBar);
// Every existing bar moves `pixels` (negative: up and left); fractions stop at 0 and at the full size.
SplitFractions moveSplitBars(SplitFractions now, int pixels, int width, int height);

// Which bars a point of the client lies on: none, the horizontal bar, the vertical bar, or their crossing.
enum class SplitHit { kNone, kHorizontal, kVertical, kBoth };
SplitHit hitSplitBar(const PaneLayout& layout, int x, int y);

// The pane after `from` in the order top-left, top-right, bottom-left, bottom-right among those present, back to
// the first after the last; top-left when none is present or `from` is out of range.
Pane nextPane(const std::array<bool, kPaneCount>& present, Pane from);

// Where a pane's editor and its scroll bars go inside its rectangle. Only the right column of panes carries
// vertical scroll bars and only the bottom row horizontal ones while the panes scroll together; scroll bars
// shrink when the pane is smaller than they are.
struct PanePlacement {
  PaneRect editor;
  PaneRect verticalScroll;     // empty: none
  PaneRect horizontalScroll;
  bool hasVerticalScroll = false;
  bool hasHorizontalScroll = false;
};
struct ScrollBarChoice {
  bool vertical = true;     // the VertScroll setting
  bool horizontal = true;   // the HorzScroll setting
  bool synced = false;      // the panes scroll together
  int verticalWidth = 16;   // system sizes
  int horizontalHeight = 16;
};
PanePlacement placePane(const PaneLayout& layout, Pane pane, const ScrollBarChoice& choice);

}  // namespace osk::app
