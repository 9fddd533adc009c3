// The print stream: a buffer, or a marked part of it, written as the marked-up text that printing lays out on
// pages. Lines are grouped into paragraphs with their indentation, tabs are expanded, and each line is split into
// segments of one colour each.
//
// Stream elements: "\num<N> " once first (the number of lines in the range); "\parl \fli<n> \lma<n> " before the
// first line of a paragraph; "\seg<code> " and the segment's text (code 0 plain, 4 + i syntax colour i);
// "\line " CR LF after a non-blank line; "\pare " CR LF when a blank line follows a non-blank one; "\para " CR LF for
// every blank line. In segment text "\", "{" and "}" gain a backslash and 0x1A is dropped.
// Limits: positions are 1-based; segments are measured in display cells, so a line's tabs never shorten what is
// printed of it; a range is clamped to the text. An empty text writes just "\num0 ".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/engine_context.h"

namespace osk {
class LineStore;
}

namespace osk::print {

// Results beyond the common engine codes.
constexpr int32_t kCannotCreate = -33;
constexpr int32_t kAborted = -34;
constexpr int32_t kWriteFailed = -2;   // the output stopped taking bytes part way

// lParam of the print stream request (editor window message 1066): three words.
struct PrintRequest {
  const char* caption;     // passed to the gauge start callback
  const char* fileName;    // the stream's file, created or truncated
  int32_t selectionOnly;   // non-zero: only the mark, when there is one
};

enum class RangeKind : int32_t { kNone = 0, kStream = 1, kLine = 2, kColumn = 3 };

// What to print. kNone prints every line. Cells are 1-based display cells (tabs expanded):
// kStream leaves out the cells before startCell on startLine and from endCell on on endLine; kLine prints whole
// lines startLine to endLine; kColumn leaves out, on every line, the cells before startCell and from endCell on.
struct PrintRange {
  RangeKind kind = RangeKind::kNone;
  int32_t startLine = 0;
  int32_t startCell = 0;
  int32_t endLine = 0;
  int32_t endCell = 0;
};

// One coloured run of a line: from cell `cell` (1-based) for `length` cells; colour < 0 is plain text, else the
// syntax colour index.
struct ColourSpan {
  int32_t cell = 1;
  int32_t length = 0;
  int32_t colour = -1;
};

// The runs of line `line` whose expanded text is `cells`. Cells it leaves uncovered print as plain text.
using ColourProvider = std::function<void(int32_t line, std::string_view cells, std::vector<ColourSpan>& runs)>;
// Takes the stream's bytes; false when they could not be written.
using ByteSink = std::function<bool(const char* data, std::size_t size)>;

struct PrintOptions {
  int32_t tabLength = 8;
  bool tabsAsSpaces = false;   // a tab character then takes one cell
  bool colourSyntax = false;   // coloured runs get their colour code; otherwise every segment is plain
  ColourProvider colours;      // empty: the whole line is one plain run
  GaugeCallbacks gauge;        // start(first line, line count, caption), step(line) non-zero stops, end()
  const char* caption = nullptr;   // the gauge shows only with a caption
};

// Writes the stream of `range` through `sink`. 0, kAborted when the gauge asked to stop (the lines before stay
// written), kWriteFailed when the sink refused bytes.
int32_t writePrintStream(LineStore& store, const PrintRange& range, const PrintOptions& options,
                         const ByteSink& sink);

// The same into the file `path`, created or truncated: kCannotCreate when it cannot be opened.
int32_t writePrintStreamFile(LineStore& store, const PrintRange& range, const PrintOptions& options,
                             const char* path);

// The display cell where character column `column` of `text` starts (beyond the end, one cell per column).
int32_t cellOfColumn(std::string_view text, int32_t column, int32_t tabLength, bool tabsAsSpaces);

}  // namespace osk::print
