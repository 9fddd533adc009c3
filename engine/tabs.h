// Tab expansion: display cells of text, and conversions between character columns and display cells.
//
// A tab at 0-based cell p advances to the next multiple of the tab length. Tab lengths outside 1 to 32 count as 1.
// Columns and cells are 1-based. Beyond a line's end a column and a cell grow one for one (virtual space). Widths
// are not capped here; callers compare them against the 1024-cell limit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace osk {

constexpr int32_t kMaxLineCells = 1024;

// Cells advanced by a tab that starts at 0-based cell `cell`.
int32_t tabAdvance(int32_t cell, int32_t tabLength);

// Display width of `text` in cells.
int32_t expandedWidth(std::string_view text, int32_t tabLength);

// `text` with every tab replaced by spaces up to the next tab stop.
std::string expandTabs(std::string_view text, int32_t tabLength);

// Length of the longest prefix of `text` whose characters all end within `cells` cells.
int32_t truncatedLength(std::string_view text, int32_t cells, int32_t tabLength);

// The column of the character covering `cell`; beyond the end the column grows with the cell.
int32_t columnFromCell(std::string_view text, int32_t cell, int32_t tabLength);

// The cell where the character of `column` starts; beyond the end the cell grows with the column.
int32_t cellFromColumn(std::string_view text, int32_t column, int32_t tabLength);

}  // namespace osk
