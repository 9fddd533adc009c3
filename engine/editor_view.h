// The geometry of an editor window: cell grid, line-number gutter, visible extent, scroll positions and scroll bar
// values, scroll requests, scroll-to-caret, hit testing and cell rectangles. Plain arithmetic on pixels, cells and
// lines; the Win32 window procedure feeds it the client size and font metrics and turns its answers into GDI calls.
//
// Lines and cells are 1-based. The top line ranges from 1 to the line count (the last line may stand at the top);
// the left cell from 1 to 1024. The gutter shows only while the left cell is 1.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/mark.h"

namespace osk {

constexpr int32_t kMaxCells = 1024;
constexpr int32_t kCaretHidden = -50;

enum class ScrollRequest { kLineBack, kLineForward, kPageBack, kPageForward, kThumbTrack, kThumbPosition, kStart, kEnd };

struct ScrollBarValues {
  int32_t maximum = 0;    // range is 0 to maximum; 0 when the bar is off
  int32_t position = 0;
};

struct PixelRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct HitResult {
  bool ok = false;
  int32_t line = 0;
  int32_t cell = 0;   // 0: the gutter
};

class EditorView {
 public:
  // Inputs from the window.
  void setClientSize(int32_t width, int32_t height);
  void setMetrics(int32_t cellWidth, int32_t lineHeight);
  void setLineCount(int32_t lines) { lineCount_ = lines; }
  void setShowLineNumbers(bool on) { lineNumbers_ = on; }
  void setItalic(bool italic) { italic_ = italic; }

  int32_t topLine() const { return topLine_; }
  int32_t leftCell() const { return leftCell_; }
  int32_t lineCount() const { return lineCount_; }
  int32_t cellWidth() const { return cellWidth_; }
  int32_t lineHeight() const { return lineHeight_; }
  // Stores a scroll position, kept within range.
  void setPosition(int32_t topLine, int32_t leftCell);

  // Gutter width in cells while it shows (0 when the left cell is not 1).
  int32_t gutterCells() const;
  static int32_t gutterCellsFor(int32_t lineCount, bool lineNumbers);
  int32_t textOrigin() const { return gutterCells() * cellWidth_; }
  int32_t visibleLines() const;
  int32_t visibleCells() const;

  int32_t verticalScale() const { return lineCount_ / 32767 + 1; }
  ScrollBarValues verticalBar(bool on) const;
  ScrollBarValues horizontalBar(bool on) const;

  // The top line a vertical request leads to (the current one when it changes nothing or the text has at most
  // one line); `thumb` is the scroll bar position for the thumb requests.
  int32_t verticalTarget(ScrollRequest request, int32_t thumb) const;
  int32_t horizontalTarget(ScrollRequest request, int32_t thumb) const;
  // The scroll position that brings the caret into view.
  void caretIntoView(int32_t caretLine, int32_t caretCell, int32_t& top, int32_t& left) const;
  // True when a move to (top, left) is short enough to scroll the window contents instead of repainting.
  bool canMoveContents(int32_t top, int32_t left) const;

  HitResult hitTest(int32_t x, int32_t y, bool clamp, bool snap, bool insertMode) const;
  PixelRect cellRect(int32_t line, int32_t cell) const;
  // The caret's pixel position, or (-50, -50) outside the visible area.
  void caretPoint(int32_t line, int32_t cell, int32_t& x, int32_t& y) const;
  // The rectangle to invalidate for one line from a cell on (cell 0: from x 0), widened by 4 pixels each side.
  PixelRect lineFromCell(int32_t line, int32_t cell) const;

 private:
  int32_t width_ = 0, height_ = 0;
  int32_t cellWidth_ = 8, lineHeight_ = 16;
  int32_t lineCount_ = 0;
  int32_t topLine_ = 1, leftCell_ = 1;
  bool lineNumbers_ = false;
  bool italic_ = false;
};

// What a run of cells of a text line is painted with. kSyntax: unselected text on an unmarked line in the syntax
// colour `colour` (an index into the syntax colour table), while colouring is on.
enum class PaintRole { kNormal, kSelected, kBookmark, kSyntax };

struct PaintSegment {
  int32_t firstCell = 1;
  int32_t cells = 0;
  PaintRole role = PaintRole::kNormal;
  int32_t colour = 0;
  bool operator==(const PaintSegment&) const = default;
};

// Splits cells `leftCell` to `leftCell + count - 1` of `line` into runs of one role: the mark's cells selected,
// the rest bookmarked on a bookmarked line, else normal. Cells past 1024 are not painted.
std::vector<PaintSegment> lineSegments(const Mark& mark, int32_t line, bool bookmarked, int32_t leftCell,
                                       int32_t count);

}  // namespace osk
