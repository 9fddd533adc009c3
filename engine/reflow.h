// Reflow: a paragraph's words refilled between the left and right margins, in display cells.
//
// Paragraphs are separated by lines that are empty, hold only blanks, or start (after blanks) with a form feed.
// The first line of a paragraph starts at left margin + first offset, the others at the left margin; with auto
// margin the first line keeps its indentation and the others take the second line's, and the right margin moves
// out to at least 4 cells beyond both. A word longer than the room is cut at the right margin. Runs of spaces
// become one; trailing blanks go. All changes of one reflow are one undo group; the insertion point follows its
// character. Margins that leave no room (left margin, or left margin plus first offset, at or beyond the right
// margin) fail with 1630 and change nothing.
#pragma once

#include <cstdint>

#include "engine/buffer.h"
#include "engine/undo.h"

namespace osk {

enum class ReflowMode {
  kExplicit,   // a range of lines, paragraph after paragraph
  kTyping,     // the paragraph at the insertion point, after typing or deleting in it
  kNewLine,    // after a new line: from the insertion point's line to the paragraph's end
  kJoin,       // the paragraph at the insertion point and, past one empty line after it, the next one
};

// Reflows lines `first` to `last` (explicit mode) or the paragraph at `at` (other modes). In join mode `first` is
// the line whose end is joined: when it ends its paragraph, one empty line after it is taken away.
// A caption shows a gauge in explicit mode; Esc stops after the current paragraph.
Status reflow(Buffer& buffer, ReflowMode mode, int32_t first, int32_t last, TextPos& at,
              const char* caption = nullptr);

// The explicit reflow of the paragraph at the insertion point (its start to its end).
Status reflowParagraph(Buffer& buffer, TextPos& at, const char* caption = nullptr);

// True for a paragraph separator line.
bool isSeparator(std::string_view line);

}  // namespace osk
