#include "services/bars/bar_layout.h"

#include <algorithm>

namespace osk {

ButtonLayout layoutButtons(const std::vector<bool>& separators, bool large, bool vertical, bool wrap, int32_t length) {
  const ButtonSize size = buttonSize(large);
  // Work in "along" and "across" so one loop serves both directions.
  const int32_t along = vertical ? size.height : size.width;
  const int32_t across = vertical ? size.width : size.height;
  const int32_t room = std::max<int32_t>(length - 2 * kBarBorder, along);
  ButtonLayout layout;
  int32_t pos = 0, line = 0, longest = 0;
  bool gap = false;
  for (size_t i = 0; i < separators.size(); ++i) {
    if (separators[i]) {
      gap = pos > 0;
      continue;
    }
    int32_t start = pos + (gap ? kSeparatorGap : 0);
    if (wrap && pos > 0 && start + along > room) {
      ++line;
      start = 0;
    }
    gap = false;
    const int32_t a = kBarBorder + start, c = kBarBorder + line * across;
    BarRect r = vertical ? BarRect{c, a, c + across, a + along} : BarRect{a, c, a + along, c + across};
    layout.buttons.push_back({static_cast<int32_t>(i), r});
    pos = start + along;
    longest = std::max(longest, pos);
  }
  const int32_t lines = line + 1;
  const int32_t alongTotal = std::max(longest, along) + 2 * kBarBorder;
  const int32_t acrossTotal = lines * across + 2 * kBarBorder;
  layout.width = vertical ? acrossTotal : alongTotal;
  layout.height = vertical ? alongTotal : acrossTotal;
  return layout;
}

int32_t buttonAt(const ButtonLayout& layout, int32_t x, int32_t y) {
  for (const PlacedButton& b : layout.buttons)
    if (x >= b.rect.left && x < b.rect.right && y >= b.rect.top && y < b.rect.bottom) return b.element;
  return -1;
}

std::vector<DockPlace> dockBars(std::span<const DockRequest> bars, uint8_t& edges, BarRect& rem) {
  std::vector<DockPlace> places(bars.size());
  for (size_t i = 0; i < bars.size(); ++i) {
    const DockRequest& bar = bars[i];
    if (!bar.shown || bar.floating || !bar.thickness) continue;
    DockPlace& p = places[i];
    p.docked = true;
    if (!bar.vertical) {
      const int32_t h = bar.thickness(rem.width());
      p.rect.left = rem.left - ((edges & kEdgeLeft) ? 2 : 0);
      p.rect.right = rem.right + ((edges & kEdgeRight) ? 2 : 0);
      if (!bar.botRight) {
        p.rect.top = rem.top - ((edges & kEdgeTop) ? 2 : 0);
        p.rect.bottom = p.rect.top + h;
        rem.top = std::min(p.rect.bottom, rem.bottom);
        edges |= kEdgeTop;
      } else {
        p.rect.bottom = rem.bottom + ((edges & kEdgeBottom) ? 2 : 0);
        p.rect.top = p.rect.bottom - h;
        rem.bottom = std::max(p.rect.top, rem.top);
        edges |= kEdgeBottom;
      }
    } else {
      const int32_t w = bar.thickness(rem.height());
      p.rect.top = rem.top - ((edges & kEdgeTop) ? 2 : 0);
      p.rect.bottom = rem.bottom + ((edges & kEdgeBottom) ? 2 : 0);
      if (!bar.botRight) {
        p.rect.left = rem.left - ((edges & kEdgeLeft) ? 2 : 0);
        p.rect.right = p.rect.left + w;
        rem.left = std::min(p.rect.right, rem.right);
        edges |= kEdgeLeft;
      } else {
        p.rect.right = rem.right + ((edges & kEdgeRight) ? 2 : 0);
        p.rect.left = p.rect.right - w;
        rem.right = std::max(p.rect.left, rem.left);
        edges |= kEdgeRight;
      }
    }
  }
  return places;
}

size_t seqNoInsertPosition(std::span<const int32_t> seqNos, int32_t seqNo) {
  for (size_t i = 0; i < seqNos.size(); ++i)
    if (seqNos[i] > seqNo) return i;
  return seqNos.size();
}

BarRect floatingFrameRect(const BarRect& current, int32_t clientWidth, int32_t clientHeight, FrameExtra extra,
                          const BarRect& screen) {
  const int32_t w = clientWidth + extra.width, h = clientHeight + extra.height;
  int32_t left = current.left, top = current.top;
  if (left + w > screen.right) left = screen.right - w;
  if (top + h > screen.bottom) top = screen.bottom - h;
  left = std::max(left, screen.left);
  top = std::max(top, screen.top);
  return {left, top, left + w, top + h};
}

DropTarget dropTarget(const BarRect& client, int32_t x, int32_t y, int32_t margin) {
  DropTarget t;
  if (x < client.left || x >= client.right || y < client.top || y >= client.bottom) return t;
  const int32_t distances[4] = {y - client.top, client.bottom - 1 - y, x - client.left, client.right - 1 - x};
  int best = 0;
  for (int i = 1; i < 4; ++i)
    if (distances[i] < distances[best]) best = i;
  if (distances[best] > margin) return t;
  t.floating = false;
  t.vertical = best >= 2;
  t.botRight = best == 1 || best == 3;
  return t;
}

}  // namespace osk
