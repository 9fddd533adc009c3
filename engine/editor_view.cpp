#include "engine/editor_view.h"

#include <algorithm>

namespace osk {

void EditorView::setClientSize(int32_t width, int32_t height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
}

void EditorView::setMetrics(int32_t cellWidth, int32_t lineHeight) {
  cellWidth_ = std::max(1, cellWidth);
  lineHeight_ = std::max(1, lineHeight);
}

void EditorView::setPosition(int32_t topLine, int32_t leftCell) {
  topLine_ = std::clamp(topLine, 1, std::max(1, lineCount_));
  leftCell_ = std::clamp(leftCell, 1, kMaxCells);
}

int32_t EditorView::gutterCellsFor(int32_t lineCount, bool lineNumbers) {
  if (!lineNumbers) return 1;
  int32_t digits = 0;
  for (int64_t n = lineCount; n > 0; n /= 10) ++digits;
  return 2 + digits;
}

int32_t EditorView::gutterCells() const {
  return leftCell_ == 1 ? gutterCellsFor(lineCount_, lineNumbers_) : 0;
}

int32_t EditorView::visibleLines() const { return height_ / lineHeight_; }

int32_t EditorView::visibleCells() const { return std::max(0, (width_ - textOrigin()) / cellWidth_); }

ScrollBarValues EditorView::verticalBar(bool on) const {
  ScrollBarValues v;
  if (!on) return v;
  const int32_t scale = verticalScale();
  v.maximum = std::max(0, lineCount_ - 1) / scale;
  v.position = (topLine_ - 1) / scale;
  return v;
}

ScrollBarValues EditorView::horizontalBar(bool on) const {
  ScrollBarValues v;
  if (!on) return v;
  v.maximum = kMaxCells - 1;
  v.position = leftCell_ - 1;
  return v;
}

int32_t EditorView::verticalTarget(ScrollRequest request, int32_t thumb) const {
  if (lineCount_ <= 1) return topLine_;
  const int32_t page = std::max(1, visibleLines());
  int32_t top = topLine_;
  switch (request) {
    case ScrollRequest::kLineBack: top -= 1; break;
    case ScrollRequest::kLineForward: top += 1; break;
    case ScrollRequest::kPageBack: top -= page; break;
    case ScrollRequest::kPageForward: top += page; break;
    case ScrollRequest::kThumbTrack: top = static_cast<int32_t>(static_cast<int64_t>(thumb) * verticalScale()) + 1; break;
    case ScrollRequest::kThumbPosition: break;
    case ScrollRequest::kStart: top = 1; break;
    case ScrollRequest::kEnd: top = lineCount_; break;
  }
  return std::clamp(top, 1, lineCount_);
}

int32_t EditorView::horizontalTarget(ScrollRequest request, int32_t thumb) const {
  const int32_t page = std::max(1, visibleCells());
  int32_t left = leftCell_;
  switch (request) {
    case ScrollRequest::kLineBack: left -= 1; break;
    case ScrollRequest::kLineForward: left += 1; break;
    case ScrollRequest::kPageBack: left -= page; break;
    case ScrollRequest::kPageForward: left += page; break;
    case ScrollRequest::kThumbTrack:
    case ScrollRequest::kThumbPosition: left = std::min(thumb, kMaxCells - 1) + 1; break;
    case ScrollRequest::kStart: left = 1; break;
    case ScrollRequest::kEnd: left = kMaxCells; break;
  }
  return std::clamp(left, 1, kMaxCells);
}

void EditorView::caretIntoView(int32_t caretLine, int32_t caretCell, int32_t& top, int32_t& left) const {
  top = topLine_;
  left = leftCell_;
  if (lineCount_ == 0 || caretLine <= 0) {
    top = 1;
    left = 1;
    return;
  }
  const int32_t lines = std::max(1, visibleLines());
  if (caretLine < topLine_) {
    top = caretLine;
  } else if (caretLine >= topLine_ + lines) {
    top = caretLine - lines + 1;
  }
  const int32_t cells = std::max(1, visibleCells());
  if (caretCell < leftCell_) {
    left = std::max(1, caretCell - cells / 4);
  } else if (caretCell >= leftCell_ + cells) {
    left = caretCell - 3 * cells / 4 + 2;
  }
  top = std::clamp(top, 1, std::max(1, lineCount_));
  left = std::clamp(left, 1, kMaxCells);
}

bool EditorView::canMoveContents(int32_t top, int32_t left) const {
  const int64_t lines = visibleLines(), cells = visibleCells();
  const int64_t dl = top > topLine_ ? top - topLine_ : topLine_ - top;
  const int64_t dc = left > leftCell_ ? left - leftCell_ : leftCell_ - left;
  return (dl + 1) * 3 < lines * 2 && (dc + 1) * 3 < cells * 2;
}

HitResult EditorView::hitTest(int32_t x, int32_t y, bool clamp, bool snap, bool insertMode) const {
  HitResult hit;
  if (lineCount_ == 0) return hit;
  int64_t line = y < 0 ? 1 : topLine_ + static_cast<int64_t>(y) / lineHeight_;
  if (line < 1) line = 1;
  if (line > lineCount_) {
    if (!clamp) return hit;
    line = lineCount_;
  }
  hit.line = static_cast<int32_t>(line);
  int32_t distance = x - textOrigin();
  if (distance < 0 && gutterCells() > 0) {
    hit.cell = 0;
    hit.ok = true;
    return hit;
  }
  if (insertMode && snap) distance += cellWidth_ / 2;
  int64_t cell = leftCell_ + (distance < 0 ? 0 : distance / cellWidth_);
  if (cell < 1) cell = 1;
  if (cell > kMaxCells) {
    if (!clamp) return hit;
    cell = kMaxCells;
  }
  hit.cell = static_cast<int32_t>(cell);
  hit.ok = true;
  return hit;
}

PixelRect EditorView::cellRect(int32_t line, int32_t cell) const {
  PixelRect r;
  r.left = (cell - leftCell_) * cellWidth_ + textOrigin();
  r.top = (line - topLine_) * lineHeight_;
  r.right = r.left + cellWidth_;
  r.bottom = r.top + lineHeight_;
  return r;
}

void EditorView::caretPoint(int32_t line, int32_t cell, int32_t& x, int32_t& y) const {
  const bool visible = line >= topLine_ && line < topLine_ + std::max(1, visibleLines()) + 1 &&
                       cell >= leftCell_ && cell <= leftCell_ + visibleCells();
  if (!visible) {
    x = y = kCaretHidden;
    return;
  }
  x = (cell - leftCell_) * cellWidth_ + textOrigin();
  y = (line - topLine_) * lineHeight_;
}

PixelRect EditorView::lineFromCell(int32_t line, int32_t cell) const {
  PixelRect r;
  r.left = cell <= 0 ? 0 : (cell - leftCell_) * cellWidth_ + textOrigin();
  r.top = (line - topLine_) * lineHeight_;
  r.right = width_;
  r.bottom = r.top + lineHeight_;
  r.left = std::max(0, r.left - 4);
  r.right += 4;
  return r;
}

std::vector<PaintSegment> lineSegments(const Mark& mark, int32_t line, bool bookmarked, int32_t leftCell,
                                       int32_t count) {
  std::vector<PaintSegment> out;
  const int32_t first = std::max(1, leftCell);
  const int32_t last = std::min<int64_t>(kMaxCells, static_cast<int64_t>(first) + std::max(0, count) - 1);
  if (last < first) return out;
  const PaintRole rest = bookmarked ? PaintRole::kBookmark : PaintRole::kNormal;
  int32_t from = 0, to = -1;
  if (!mark.cellsOn(line, from, to)) to = -1;
  from = std::max(from, first);
  to = std::min(to, last);
  if (to < from) {
    out.push_back({first, last - first + 1, rest});
    return out;
  }
  if (from > first) out.push_back({first, from - first, rest});
  out.push_back({from, to - from + 1, PaintRole::kSelected});
  if (to < last) out.push_back({to + 1, last - to, rest});
  return out;
}

}  // namespace osk
