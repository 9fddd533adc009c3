#include "app/clip_drag.h"

#include <algorithm>

namespace osk::app {

DropPoint dropAfterRemoval(const DragSource& s, DropPoint drop) {
  switch (s.kind) {
    case ClipKind::kLine:
      if (s.lastLine < drop.line) drop.line = std::max(1, drop.line - (s.lastLine - s.firstLine + 1));
      break;
    case ClipKind::kColumn:
      if (drop.line >= s.firstLine && drop.line <= s.lastLine && s.endCell <= drop.cell) {
        drop.cell = std::max(1, drop.cell - (s.endCell - s.firstCell));
      }
      break;
    case ClipKind::kStream:
      if (s.firstLine == s.lastLine) {
        if (drop.line == s.firstLine && s.endCell <= drop.cell) drop.cell = std::max(1, drop.cell - (s.endCell - s.firstCell));
      } else if (drop.line == s.lastLine && s.endCell <= drop.cell) {
        // What followed the mark on its last line now follows its first cell on its first line.
        drop = {s.firstLine, std::max(1, s.firstCell + (drop.cell - s.endCell))};
      } else if (drop.line > s.lastLine) {
        drop.line = std::max(1, drop.line - (s.lastLine - s.firstLine));
      }
      break;
  }
  return drop;
}

}  // namespace osk::app
