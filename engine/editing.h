// The editing primitives of a buffer: typing, new line, delete, backspace, strings, and whole-line changes, each
// at an insertion point (line, column, 1-based) that it moves with the text.
//
// Every change is recorded for undo: a run of typing or deleting on one line becomes one group when it closes; each
// other primitive is one group, or joins the group its caller opened. A line holds at most 1024 characters and
// 1024 cells; a change that would pass either is refused with 1652 and changes nothing; typing or deleting at
// column 1024 or beyond is 1619. Read-only buffers refuse every change with 1624. Character code 0 is never
// typed. Typing into an empty buffer first makes its first line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/buffer.h"
#include "engine/undo.h"

namespace osk {

Status writeChar(Buffer& buffer, int32_t ch, TextPos& at);
Status newLine(Buffer& buffer, TextPos& at);
Status deleteChar(Buffer& buffer, TextPos& at);
// 1619 when the insertion point lies more than one column past the line's end (virtual space): no text changes.
Status backspace(Buffer& buffer, TextPos& at);
// A carriage return, a line feed, or the pair of them makes one new line. Stops at the first failure.
Status writeString(Buffer& buffer, std::string_view text, TextPos& at);

// Inserts a line after `after` (0: before the first). The text is taken up to its first line end and 1024
// characters (tabs expanded in tabs-as-spaces mode); wider than 1024 cells is 1611; `after` outside the text 1612.
Status insertLine(Buffer& buffer, int32_t after, const char* text, TextPos& at);
Status deleteLines(Buffer& buffer, int32_t first, int32_t count, TextPos& at);
// Replaces a line's text, prepared as for insertLine; the line keeps the low 16 bits of its property bits.
Status replaceLine(Buffer& buffer, int32_t line, const char* text);
// Appends line + 1 to `line`, with the bits of both.
Status joinLine(Buffer& buffer, int32_t line);
// Sets and clears property bits of a line, recorded for undo in a writable buffer; a bookmark change repaints it.
Status changeLineBits(Buffer& buffer, int32_t line, uint32_t set, uint32_t clear);

std::string getLine(Buffer& buffer, int32_t line);
std::string getExpandedLine(Buffer& buffer, int32_t line);
int32_t lineLength(Buffer& buffer, int32_t line);
// Cell and column of a line with the buffer's tab length; 1 for a line outside the text.
int32_t cellFromCol(Buffer& buffer, int32_t line, int32_t column);
int32_t colFromCell(Buffer& buffer, int32_t line, int32_t cell);

// True when word wrap is on with margins that leave room to wrap.
bool wrapping(const Buffer& buffer);

// Opens an undo group for one primitive unless its caller has one open; closes it and refreshes the buffer's
// undo state when it goes.
class EditGroup {
 public:
  EditGroup(Buffer& buffer, TextPos start) : buffer_(buffer), mine_(buffer.history().beginImplicit(start)) {}
  ~EditGroup() {
    if (mine_) buffer_.history().endImplicit(end);
    buffer_.refreshHistoryState();
  }
  EditGroup(const EditGroup&) = delete;
  EditGroup& operator=(const EditGroup&) = delete;
  TextPos end;

 private:
  Buffer& buffer_;
  bool mine_;
};

}  // namespace osk
