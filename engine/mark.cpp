#include "engine/mark.h"

#include <algorithm>

#include "engine/buffer.h"
#include "engine/ecd_api.h"
#include "engine/editing.h"
#include "engine/tabs.h"

namespace osk {

namespace {

bool before(const MarkEnd& a, const MarkEnd& b) {
  return a.line != b.line ? a.line < b.line : a.cell < b.cell;
}

void repaint(Buffer& b, const std::vector<CellRange>& ranges) {
  for (const CellRange& r : ranges) b.notify(ECDB_INVALIDATE_RANGE, 0, reinterpret_cast<intptr_t>(&r));
}

// Clamps a requested end as the mark operations do; the cell follows the column.
MarkEnd clampEnd(Buffer& b, int32_t type, int32_t line, int32_t column) {
  MarkEnd e;
  e.line = std::clamp(line, 1, std::max(1, b.lineCount()));
  e.column = column <= 0 || type == kMarkLine ? 1 : column;
  if (type == kMarkStream) e.column = std::min(e.column, lineLength(b, e.line) + 1);
  e.column = std::min(e.column, kMaxLineCells);
  e.cell = std::min(cellFromCol(b, e.line, e.column), kMaxLineCells);
  return e;
}

}  // namespace

bool Mark::empty() const {
  switch (type) {
    case kMarkStream: return anchor.line == update.line && anchor.cell == update.cell;
    case kMarkColumn: return anchor.cell == update.cell;
    case kMarkLine: return false;
    default: return true;
  }
}

const MarkEnd& Mark::first() const { return before(update, anchor) ? update : anchor; }
const MarkEnd& Mark::last() const { return before(update, anchor) ? anchor : update; }

bool Mark::cellsOn(int32_t line, int32_t& from, int32_t& to) const {
  if (!present() || empty()) return false;
  const int32_t top = std::min(anchor.line, update.line), bottom = std::max(anchor.line, update.line);
  if (line < top || line > bottom) return false;
  switch (type) {
    case kMarkLine:
      from = 1;
      to = kMaxLineCells;
      return true;
    case kMarkColumn:
      // The cell of each end is the boundary before it: the rectangle holds the cells between the two.
      from = std::min(anchor.cell, update.cell);
      to = std::max(anchor.cell, update.cell) - 1;
      return to >= from;
    default: {
      const MarkEnd& a = first();
      const MarkEnd& z = last();
      from = line == a.line ? a.cell : 1;
      to = line == z.line ? z.cell - 1 : kMaxLineCells;
      return to >= from;
    }
  }
}

bool Mark::covers(int32_t line, int32_t cell) const {
  int32_t from = 0, to = 0;
  return cellsOn(line, from, to) && cell >= from && cell <= to;
}

std::vector<CellRange> markDisplayRanges(const Mark& m) {
  std::vector<CellRange> out;
  const int32_t top = std::min(m.anchor.line, m.update.line), bottom = std::max(m.anchor.line, m.update.line);
  switch (m.type) {
    case kMarkColumn:
      out.push_back({top, std::min(m.anchor.cell, m.update.cell), bottom, std::max(m.anchor.cell, m.update.cell)});
      break;
    case kMarkLine: out.push_back({top, 0, bottom, 0}); break;
    case kMarkStream: {
      const MarkEnd& a = m.first();
      const MarkEnd& z = m.last();
      if (a.line == z.line) {
        out.push_back({a.line, a.cell, a.line, z.cell});
        break;
      }
      out.push_back({a.line, a.cell, a.line, kMaxLineCells});
      if (z.line - a.line > 1) out.push_back({a.line + 1, 0, z.line - 1, 0});
      out.push_back({z.line, 1, z.line, z.cell});
      break;
    }
    default: break;
  }
  return out;
}

bool checkMark(Buffer& b) {
  Mark& m = b.mark();
  if (m.present() && m.empty()) m = Mark();
  b.setMarkState(m.present());
  return m.present();
}

void unMark(Buffer& b) {
  Mark& m = b.mark();
  if (m.present()) repaint(b, markDisplayRanges(m));
  m = Mark();
  b.setMarkState(false);
}

TextPos anchorMark(Buffer& b, int32_t type, int32_t line, int32_t column) {
  unMark(b);
  b.flushLine();
  if (type < kMarkStream || type > kMarkColumn || b.lineCount() == 0) {
    return {b.lineCount() == 0 ? 0 : std::clamp(line, 1, b.lineCount()), std::max(column, 1)};
  }
  Mark& m = b.mark();
  m.type = type;
  m.anchor = m.update = clampEnd(b, type, line, column);
  if (type == kMarkLine) repaint(b, markDisplayRanges(m));
  // Not dropped yet while empty: the update end is about to move.
  b.setMarkState(!m.empty());
  return {m.anchor.line, m.anchor.column};
}

TextPos updateMark(Buffer& b, int32_t line, int32_t column, bool* ok) {
  Mark& m = b.mark();
  if (ok != nullptr) *ok = m.present();
  if (!m.present()) return {line, column};
  const MarkEnd old = m.update;
  const MarkEnd now = clampEnd(b, m.type, line, column);
  if (m.type == kMarkColumn) {
    // A column mark's rectangle changes width on every line it spans: repaint the old and the new one.
    std::vector<CellRange> ranges = markDisplayRanges(m);
    m.update = now;
    std::vector<CellRange> fresh = markDisplayRanges(m);
    ranges.insert(ranges.end(), fresh.begin(), fresh.end());
    repaint(b, ranges);
  } else {
    m.update = now;
    // Only the lines between the old and the new moving end change.
    const int32_t from = std::min(old.line, now.line), to = std::max(old.line, now.line);
    if (!(old == now)) repaint(b, {CellRange{from, 0, to, 0}});
  }
  // An update back onto the anchor empties the mark; it is dropped when next looked at.
  b.setMarkState(!m.empty());
  return {now.line, now.column};
}

bool markStart(Buffer& b, TextPos& out) {
  if (!checkMark(b)) return false;
  const Mark& m = b.mark();
  if (m.type == kMarkColumn) {
    const int32_t line = std::min(m.anchor.line, m.update.line);
    out = {line, colFromCell(b, line, std::min(m.anchor.cell, m.update.cell))};
  } else {
    out = {m.first().line, m.type == kMarkLine ? 1 : m.first().column};
  }
  return true;
}

bool markEnd(Buffer& b, TextPos& out) {
  if (!checkMark(b)) return false;
  const Mark& m = b.mark();
  if (m.type == kMarkColumn) {
    const int32_t line = std::max(m.anchor.line, m.update.line);
    out = {line, colFromCell(b, line, std::max(m.anchor.cell, m.update.cell))};
  } else {
    out = {m.last().line, m.last().column};
  }
  return true;
}

void markLinesInserted(Mark& m, int32_t after, int32_t count) {
  if (!m.present()) return;
  for (MarkEnd* e : {&m.anchor, &m.update}) {
    if (e->line > after) e->line += count;
  }
}

void markLinesDeleted(Mark& m, int32_t first, int32_t count) {
  if (!m.present()) return;
  for (MarkEnd* e : {&m.anchor, &m.update}) {
    if (e->line >= first + count) {
      e->line -= count;
    } else if (e->line >= first) {
      e->line = std::max(1, first - 1);
    }
  }
}

}  // namespace osk
