// Where dragged text lands when it is moved within its own buffer: the source is removed before the text is pasted,
// so a drop point after the source moves back by what was removed. A drop before the source needs no change.
#pragma once

#include <cstdint>

#include "app/clip_text.h"

namespace osk::app {

// The dragged mark as display cells: first and last line, the first cell and the cell just after the mark (on the
// first and last line for stream text, on every line for column text).
struct DragSource {
  ClipKind kind = ClipKind::kStream;
  int32_t firstLine = 0;
  int32_t lastLine = 0;
  int32_t firstCell = 0;
  int32_t endCell = 0;
};

struct DropPoint {
  int32_t line = 0;
  int32_t cell = 0;
};

// The drop point once the source has been removed: a column mark, or stream text, ending before the drop point on
// the drop line moves the point left by its width (not below cell 1); whole lines above the drop line move it up by
// their count (not below line 1); stream text over several lines ending before the drop point takes its lines and,
// on its last line, the cells before its end with it.
DropPoint dropAfterRemoval(const DragSource& source, DropPoint drop);

}  // namespace osk::app
