// The mark (selection) of a buffer: its three types, its anchor and update ends, when it is empty, what it covers
// on screen, and the operations that set, move and drop it.
//
// A buffer has at most one mark; every window showing the buffer shows it. Lines are clamped into 1 to the line
// count; a column of 0 or less becomes 1, a line mark's column is always 1, and a stream mark's column is limited
// to the line's length + 1. A stream or column mark whose ends share a cell (and, for a stream mark, a line) is
// empty and is dropped when next looked at; a line mark is never empty. Cells are computed with the buffer's tab
// length when an end is set. On an empty buffer no mark can be set.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/undo.h"

namespace osk {

class Buffer;

enum MarkType : int32_t { kMarkNone = 0, kMarkStream = 1, kMarkLine = 2, kMarkColumn = 3 };

struct MarkEnd {
  int32_t line = 0;
  int32_t column = 0;
  int32_t cell = 0;
  bool operator==(const MarkEnd&) const = default;
};

struct Mark {
  int32_t type = kMarkNone;
  MarkEnd anchor;
  MarkEnd update;

  bool present() const { return type != kMarkNone; }
  bool empty() const;
  // The first and last end in text order (stream and line marks).
  const MarkEnd& first() const;
  const MarkEnd& last() const;
  // The selected cells of `line`, from `from` to `to` inclusive (to = 1024 for whole lines and line ends); false
  // when the line holds no selected cell.
  bool cellsOn(int32_t line, int32_t& from, int32_t& to) const;
  bool covers(int32_t line, int32_t cell) const;
};

// A range to repaint: lines first to last, cells first to last (cells 0: the whole width).
struct CellRange {
  int32_t firstLine = 0;
  int32_t firstCell = 0;
  int32_t lastLine = 0;
  int32_t lastCell = 0;
  bool operator==(const CellRange&) const = default;
};

// The ranges a mark occupies on screen; none for no mark.
std::vector<CellRange> markDisplayRanges(const Mark& mark);

// The operations. Each keeps buffer state bit 9 and notice 2044 in step with "a non-empty mark exists" and sends
// notice 2032 for what must be repainted. anchor/update return the clamped position for the caret.
TextPos anchorMark(Buffer& buffer, int32_t type, int32_t line, int32_t column);
// Without a mark nothing happens and the requested position comes back unchanged, ok false.
TextPos updateMark(Buffer& buffer, int32_t line, int32_t column, bool* ok = nullptr);
void unMark(Buffer& buffer);
// Drops an empty mark; true when a non-empty mark remains.
bool checkMark(Buffer& buffer);
// The mark's start and end in text order; a column mark gives its top and bottom lines with the columns covering
// its leftmost and rightmost cells. False without a (non-empty) mark.
bool markStart(Buffer& buffer, TextPos& out);
bool markEnd(Buffer& buffer, TextPos& out);
// Keeps the mark's ends on their text when lines are inserted after `after` or deleted from `first`.
void markLinesInserted(Mark& mark, int32_t after, int32_t count);
void markLinesDeleted(Mark& mark, int32_t first, int32_t count);

}  // namespace osk
