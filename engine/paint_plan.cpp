#include "engine/paint_plan.h"

#include <algorithm>

#include "engine/buffer.h"
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
    rows.push_back(std::move(r));
  }
  return rows;
}

}  // namespace osk
