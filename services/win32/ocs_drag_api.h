// Dragging marked text with OLE drag and drop. OCS_DoDragDrop runs the drag; the frame of the services instance
// decides where text may land and does the moving and pasting, through these messages:
//   2224 the drag entered a window, 2226 it moves over one: lParam points to an OcsDragRecord (block zero); the
//        answer is 1 when the text may be dropped at that point, else 0;
//   2225 the drag left, or ended without a drop;
//   2228 take the dragged text: wParam 1 to move it (the source loses it), 0 to copy it; the answer is a new global
//        text block with the text, or 0;
//   2227 drop: lParam points to an OcsDragRecord with the block to paste (zero when the drop was not accepted);
//        the block stays the services', which free it afterwards.
#pragma once

#include "engine/ecd_types.h"
#include "services/ocs_config_api.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  OCS_DRAG_ENTER = 2224,
  OCS_DRAG_LEAVE = 2225,
  OCS_DRAG_OVER = 2226,
  OCS_DRAG_DROP = 2227,
  OCS_DRAG_TAKE = 2228,
};

// Drop kinds.
enum { OCS_DRAG_TEXT = 0, OCS_DRAG_COLUMN = 1, OCS_DRAG_LINES = 2 };

typedef struct OcsDragRecord {
  int32_t x, y;     // the point, in screen coordinates
  int32_t kind;     // OCS_DRAG_TEXT, OCS_DRAG_COLUMN or OCS_DRAG_LINES
  void* block;      // the global text block being dropped (2227 only)
} OcsDragRecord;

// Drags the marked text of the frame's editor: the text format and, for kind 1, "OSK: Column Mark", for kind 2
// "OSK: LineMark". Copy is allowed always, move when moveAllowed is non-zero; the result is 1 when the drop ended
// as a move, else 0. A drop that already took the text as a move (message 2228 with wParam 1) has moved it: the
// caller removes the source only when no such message came.
int32_t OSK_CALL OCS_DoDragDrop(HOCSINSTANCE instance, int32_t kind, int32_t moveAllowed);

#ifdef __cplusplus
}
#endif
