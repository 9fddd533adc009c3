// The paint plan of an editor window: for each visible row, what it shows (a text line, the end-of-file line, or
// nothing), its gutter label, its visible cells and the colour runs over them. The window layer draws the plan;
// nothing here touches a device.
//
// Rows are 0-based from the top of the view. A text line's cells are its tab-expanded text padded with spaces to
// the view's width, never past cell 1024. The row after the last line shows "------- EOF -------"; an empty
// buffer shows it on row 0. Rows further down are blank. The work per row does not depend on where in the text
// the view stands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/editor_view.h"

namespace osk {

class Buffer;

struct PaintRow {
  enum class Kind { kText, kEndOfFile, kBlank };
  Kind kind = Kind::kBlank;
  int32_t line = 0;
  bool bookmarked = false;
  std::string gutter;     // gutter cells (empty while the gutter is hidden), the label right-aligned
  std::string cells;      // the visible cells from the left cell on
  std::vector<PaintSegment> segments;
};

// Plans rows `firstRow` to `lastRow` of `view` showing `buffer`. While syntax highlighting is on and the buffer
// has a definition, the normal cells of a line that is not bookmarked are split into syntax-coloured segments;
// selected cells and bookmarked lines keep their own colours.
std::vector<PaintRow> planRows(Buffer& buffer, const EditorView& view, int32_t firstRow, int32_t lastRow,
                               bool lineNumbers);

}  // namespace osk
