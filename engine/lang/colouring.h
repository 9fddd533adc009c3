// Syntax colouring of lines: splits a line's display cells into plain, selected and coloured runs by a language
// definition, and keeps the two block bits of every line (0x4000 contains-end, 0x8000 leaves-open) that carry the
// multi-line block from line to line.
//
// A line starts inside the multi-line block when the nearest line above it that carries either bit carries
// leaves-open. A line's bits depend on its own text only, so an edit rescans just the edited line; the repaint
// rule then says how far down the colours of other lines can have changed.
// Columns are 1-based display cells, at most 1024. Runs cover the requested columns without gap; cells beyond the
// line's text are plain, or in the colour of a block left open at the end of the line. A first column outside 1 to
// 1024 gives no runs; a line outside the buffer gives the engine's "command failed" code (-16) and no runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ecd_types.h"
#include "engine/lang/syntax_definition.h"

namespace osk {
class LineStore;
class LineProperties;
}

namespace osk::syntax {

constexpr uint32_t kContainsEnd = 0x4000;
constexpr uint32_t kLeavesOpen = 0x8000;
constexpr uint32_t kBlockBits = kContainsEnd | kLeavesOpen;
constexpr int32_t kMaxCells = 1024;

enum class RunKind : int32_t { kPlain = 0, kSelected = 1, kSyntax = 2 };

struct ColourRun {
  int32_t firstCell = 1;   // 1-based
  int32_t length = 0;      // in cells
  RunKind kind = RunKind::kPlain;
  int32_t colour = 0;      // colour index for kSyntax
};

// A stretch of selected cells [first, last], 1-based and inclusive; first 0 when nothing is selected.
struct CellSelection {
  int32_t first = 0;
  int32_t last = 0;
};

// Coloured stretches of one line, as 0-based [start, end) over its cells, in order and not overlapping.
struct Stretch {
  int32_t start;
  int32_t end;
  int32_t colour;
};

struct LineScan {
  std::vector<Stretch> stretches;
  bool openAtEnd = false;     // the last stretch is a block that runs to the end of the line
};

// Splits `cells` by `definition` (null: nothing is coloured); `startsInside` opens the line in the multi-line
// block.
void ScanLine(const DecodedDefinition* definition, std::string_view cells, bool startsInside, LineScan& out);

// Turns a scan into runs over [firstColumn, lastColumn] with the selection laid over it.
void MakeRuns(const LineScan& scan, int32_t textCells, int32_t firstColumn, int32_t lastColumn,
              CellSelection selection, std::vector<ColourRun>& runs);

// The block bits of a line's text; 0 for a definition without a multi-line block.
uint32_t BlockBits(const DecodedDefinition* definition, std::string_view text);

bool StartsInside(const LineProperties& properties, int32_t line);

// Clears every line's block bits and computes them again for `definition` (null: just cleared).
void RecomputeBlockBits(LineStore& store, const DecodedDefinition* definition);

// What the windows must repaint after block bits changed: nothing, lines first..first+count-1, or (everything)
// the whole window.
struct Repaint {
  bool needed = false;
  bool everything = false;
  int32_t first = 0;
  int32_t count = 0;
  // The wParam and lParam of buffer notice 2028: the number of lines and the first, or 0 and 0 for the whole
  // window.
  int32_t noticeCount() const { return everything ? 0 : count; }
  int32_t noticeFirst() const { return everything ? 0 : first; }
};

// Recomputes the bits of `line` from its stored text, stores them, and says whether the lines below it change
// colour.
Repaint UpdateLineBits(LineStore& store, const DecodedDefinition* definition, int32_t line);
// The same for `count` lines from `first` (after they were inserted or replaced); the repaints are merged.
Repaint UpdateLinesBits(LineStore& store, const DecodedDefinition* definition, int32_t first, int32_t count);

// The runs of buffer line `line`: its text with tabs expanded by `tabLength` (0: as stored), split into runs
// over [firstColumn, lastColumn]. `cells` receives the expanded text. Returns 0 or -16.
int32_t ColourStoreLine(LineStore& store, const DecodedDefinition* definition, int32_t tabLength, int32_t line,
                        int32_t firstColumn, int32_t lastColumn, CellSelection selection, std::string& cells,
                        std::vector<ColourRun>& runs);

// Colours lines one after another, as ColourStoreLine does, but carries the multi-line block state from a line to
// the next instead of looking it up: lines asked in order cost their scan only. The store must not change while
// one is in use.
class LineColourer {
 public:
  LineColourer(LineStore& store, const DecodedDefinition* definition, int32_t tabLength);
  // Colours buffer line `line`, whose text is `text`.
  void colour(int32_t line, std::string_view text, int32_t firstColumn, int32_t lastColumn,
              CellSelection selection = {});
  // The line's cells (tabs expanded) and runs, valid until the next call.
  std::string_view cells() const { return cells_; }
  const std::vector<ColourRun>& runs() const { return runs_; }

 private:
  LineStore& store_;
  const DecodedDefinition* definition_;
  int32_t tabLength_;
  int32_t nextLine_ = 0;
  bool inside_ = false;
  size_t pair_ = 0;
  size_t pairCount_ = 0;
  char expanded_[kMaxCells + 1];
  std::string_view cells_;
  LineScan scan_;
  std::vector<ColourRun> runs_;
};

// What the colour functions need of a buffer; the engine answers for a buffer handle, or false for an unknown one.
struct SyntaxBufferView {
  LineStore* store = nullptr;
  int32_t tabLength = 0;       // 0: tabs are kept as spaces
  uint32_t definition = 0;     // offset of the buffer's definition record, 0: not coloured
};
using SyntaxBufferProvider = bool (*)(HEDBUFFER buffer, SyntaxBufferView& view);
void SetSyntaxBufferProvider(SyntaxBufferProvider provider);
bool SyntaxBuffer(HEDBUFFER buffer, SyntaxBufferView& view);

// GetCellLineColours: 96 everywhere, then per cell 98 for plain text or the colour index. 0 or an engine code.
int32_t CellLineColours(HEDBUFFER buffer, int32_t line, uint8_t* cells);

}  // namespace osk::syntax
