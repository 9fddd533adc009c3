#include "engine/paint_plan.h"

#include <algorithm>

#include "engine/buffer.h"
#include "engine/lang/colouring.h"
#include "engine/lang/syntax_data.h"
#include "engine/tabs.h"

namespace osk {

namespace {

constexpr char kEndOfFile[] = "------- EOF -------";

std::string gutterLabel(int32_t line, int32_t width, bool lineNumbers) {
  std::string label = lineNumbers ? std::to_string(line) + ":" : std::string();
  if (static_cast<int32_t>(label.size()) < width) label.insert(0, static_cast<std::size_t>(width) - label.size(), ' ');
  return label;
}

// Cells `left` to `left + count - 1` of `text`, padded with spaces and stopping at cell 1024.
std::string visibleCells(std::string_view text, int32_t left, int32_t count) {
  const int32_t room = std::max(0, std::min(count, kMaxCells - left + 1));
  std::string out;
  out.reserve(static_cast<std::size_t>(room));
  if (static_cast<int32_t>(text.size()) >= left) {
    out.assign(text.substr(static_cast<std::size_t>(left - 1), static_cast<std::size_t>(room)));
  }
  out.resize(static_cast<std::size_t>(room), ' ');
  return out;
}

// Lays the syntax runs of `line` over the normal segments of `segments`.
std::vector<PaintSegment> colourSegments(Buffer& buffer, const syntax::DecodedDefinition* definition, int32_t line,
                                         const std::vector<PaintSegment>& segments) {
  if (segments.empty()) return segments;
  const int32_t first = segments.front().firstCell;
  const int32_t last = segments.back().firstCell + segments.back().cells - 1;
  std::string cells;
  std::vector<syntax::ColourRun> runs;
  const int32_t tab = buffer.has(kStateTabsAsSpaces) ? 0 : buffer.tabLength();
  if (syntax::ColourStoreLine(buffer.store(), definition, tab, line, first, last, syntax::CellSelection{}, cells,
                              runs) != 0) {
    return segments;
  }
  std::vector<PaintSegment> out;
  std::size_t r = 0;
  for (const PaintSegment& s : segments) {
    if (s.role != PaintRole::kNormal) {
      out.push_back(s);
      continue;
    }
    const int32_t end = s.firstCell + s.cells;
    int32_t at = s.firstCell;
    while (at < end) {
      while (r < runs.size() && runs[r].firstCell + runs[r].length <= at) ++r;
      PaintSegment piece{at, end - at, PaintRole::kNormal, 0};
      if (r < runs.size() && runs[r].firstCell > at) piece.cells = std::min(end, runs[r].firstCell) - at;
      if (r < runs.size() && runs[r].firstCell <= at) {
        piece.cells = std::min(end, runs[r].firstCell + runs[r].length) - at;
        if (runs[r].kind == syntax::RunKind::kSyntax) {
          piece.role = PaintRole::kSyntax;
          piece.colour = runs[r].colour;
        }
      }
      // Neighbouring pieces of one colour make one segment.
      if (!out.empty() && out.back().role == piece.role && out.back().colour == piece.colour &&
          out.back().firstCell + out.back().cells == piece.firstCell) {
        out.back().cells += piece.cells;
      } else {
        out.push_back(piece);
      }
      at += piece.cells;
    }
  }
  return out;
}

}  // namespace

std::vector<PaintRow> planRows(Buffer& buffer, const EditorView& view, int32_t firstRow, int32_t lastRow,
                               bool lineNumbers) {
  std::vector<PaintRow> rows;
  const int32_t lines = buffer.lineCount();
  const int32_t gutter = view.gutterCells();
  // One cell more than fits, so a partly visible last cell is painted too.
  const int32_t count = view.visibleCells() + 1;
  const int32_t left = view.leftCell();
  LineStore& store = buffer.store();
  const syntax::DecodedDefinition* definition =
      buffer.option(ECD_OPT_SYNTAX_HIGHLIGHT) ? syntax::DefinitionAt(buffer.syntaxDefinition()) : nullptr;
  for (int32_t row = std::max(0, firstRow); row <= lastRow; ++row) {
    PaintRow r;
    const int64_t line = static_cast<int64_t>(view.topLine()) + row;
    if (line > lines + 1) {
      rows.push_back(std::move(r));
      continue;
    }
    r.line = static_cast<int32_t>(line);
    if (line == lines + 1) {
      r.kind = PaintRow::Kind::kEndOfFile;
      if (gutter > 0) r.gutter.assign(static_cast<std::size_t>(gutter), ' ');
      r.cells = visibleCells(kEndOfFile, left, count);
      r.segments.push_back({left, static_cast<int32_t>(r.cells.size()), PaintRole::kNormal});
      rows.push_back(std::move(r));
      continue;
    }
    r.kind = PaintRow::Kind::kText;
    r.bookmarked = store.properties().get(r.line, 1) != 0;
    if (gutter > 0) r.gutter = gutterLabel(r.line, gutter, lineNumbers);
    const std::string_view stored = store.peekLine(r.line);
    if (buffer.has(kStateTabsAsSpaces) || stored.find('\t') == std::string_view::npos) {
      r.cells = visibleCells(stored, left, count);
    } else {
      r.cells = visibleCells(expandTabs(stored, buffer.tabLength()), left, count);
    }
    r.segments = lineSegments(buffer.mark(), r.line, r.bookmarked, left, static_cast<int32_t>(r.cells.size()));
    if (definition != nullptr && !r.bookmarked) r.segments = colourSegments(buffer, definition, r.line, r.segments);
    rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace osk
