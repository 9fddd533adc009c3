// Where the buttons of a bar go, and where the bars go around the frame's client area.
//
// Buttons are 24 x 22 pixels (40 x 37 large) and a separator leaves a gap between two buttons; a bar keeps a
// 2-pixel border on each side, so a docked bar is 4 pixels thicker than its buttons need. A horizontal bar lays its
// buttons out in rows, a vertical one in columns; with wrap on, a button that does not fit in the length left
// starts the next row (column), and a separator that would begin one is dropped. Without wrap everything stays in
// one row, however long. A bar without buttons is as thick as one button, so it can still be seen and grabbed.
//
// Docking places the bars in order, each taking a strip off the remaining rectangle: horizontal bars the top (or
// bottom) strip, vertical bars the left (or right) strip, so the first bar is the outermost. Edge flags say which
// edges already hold a bar; a bar reaches 2 pixels further out where a side is taken and is shifted 2 pixels
// outwards at an edge already taken, so that neighbouring bars share one border line. Hidden and floating bars
// take nothing. The remaining rectangle never turns inside out: a strip wider than what is left leaves nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "services/bars/tool_bar_model.h"

namespace osk {

inline constexpr int32_t kBarBorder = 2;
inline constexpr int32_t kSeparatorGap = 8;

enum EdgeFlags : uint8_t {
  kEdgeLeft = 1,
  kEdgeRight = 2,
  kEdgeTop = 4,
  kEdgeBottom = 8,
};

struct ButtonSize {
  int32_t width, height;
};
inline constexpr ButtonSize buttonSize(bool large) { return large ? ButtonSize{40, 37} : ButtonSize{24, 22}; }

struct PlacedButton {
  int32_t element;   // index into the bar's elements
  BarRect rect;      // in the bar's client area, borders included
};

struct ButtonLayout {
  std::vector<PlacedButton> buttons;
  int32_t width = 0;    // what the buttons need, borders included
  int32_t height = 0;
};

// `separators[i]` tells whether element i is a separator. `length` is the bar's outer width (horizontal) or height
// (vertical), borders included.
ButtonLayout layoutButtons(const std::vector<bool>& separators, bool large, bool vertical, bool wrap, int32_t length);
// The element under a point of the bar's client area, -1 for none.
int32_t buttonAt(const ButtonLayout& layout, int32_t x, int32_t y);

// What the docking needs to know of one bar.
struct DockRequest {
  bool shown = true;      // has a window and is visible
  bool floating = false;
  bool vertical = false;
  bool botRight = false;
  // The bar's outer thickness (borders included) for an outer length.
  std::function<int32_t(int32_t length)> thickness;
};

struct DockPlace {
  bool docked = false;    // false: the bar takes nothing and is not moved by the docking
  BarRect rect;
};

// Lays the bars out in the given order inside `remaining`, which shrinks to what is left for the client.
std::vector<DockPlace> dockBars(std::span<const DockRequest> bars, uint8_t& edges, BarRect& remaining);

// Where a bar with sequence number `seqNo` goes in a list ordered by sequence number: before the first greater
// one, after equal ones.
size_t seqNoInsertPosition(std::span<const int32_t> seqNos, int32_t seqNo);

// The frame rectangle of a floating bar: its client fits the buttons, its decoration is `extra` (frame and
// caption), it keeps its top left corner where it can, and stays inside `screen`.
struct FrameExtra {
  int32_t width, height;
};
BarRect floatingFrameRect(const BarRect& current, int32_t clientWidth, int32_t clientHeight, FrameExtra extra,
                          const BarRect& screen);

// Where a bar dragged by the user lands when let go at (x, y): docked at the edge of the frame's client area that
// the point is nearest to, when it is inside that area and within `margin` of the edge; floating otherwise.
struct DropTarget {
  bool floating = true;
  bool vertical = false;
  bool botRight = false;
};
DropTarget dropTarget(const BarRect& client, int32_t x, int32_t y, int32_t margin);

}  // namespace osk
