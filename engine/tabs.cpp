#include "engine/tabs.h"

namespace osk {

namespace {

int32_t validTab(int32_t tabLength) { return (tabLength >= 1 && tabLength <= 32) ? tabLength : 1; }

// The advance of each character, walking the text once.
template <typename Visit>
void walkCells(std::string_view text, int32_t tabLength, Visit&& visit) {
  const int32_t tab = validTab(tabLength);
  int32_t cell = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int32_t width = text[i] == '\t' ? tab - cell % tab : 1;
    if (!visit(i, cell, width)) return;
    cell += width;
  }
}

}  // namespace

int32_t tabAdvance(int32_t cell, int32_t tabLength) {
  const int32_t tab = validTab(tabLength);
  return tab - (cell < 0 ? 0 : cell) % tab;
}

int32_t expandedWidth(std::string_view text, int32_t tabLength) {
  int32_t total = 0;
  walkCells(text, tabLength, [&](std::size_t, int32_t cell, int32_t width) {
    total = cell + width;
    return true;
  });
  return total;
}

std::string expandTabs(std::string_view text, int32_t tabLength) {
  std::string out;
  out.reserve(text.size());
  walkCells(text, tabLength, [&](std::size_t i, int32_t, int32_t width) {
    if (text[i] == '\t') {
      out.append(static_cast<std::size_t>(width), ' ');
    } else {
      out.push_back(text[i]);
    }
    return true;
  });
  return out;
}

int32_t truncatedLength(std::string_view text, int32_t cells, int32_t tabLength) {
  int32_t length = 0;
  walkCells(text, tabLength, [&](std::size_t i, int32_t cell, int32_t width) {
    if (cell + width > cells) return false;
    length = static_cast<int32_t>(i) + 1;
    return true;
  });
  return length;
}

int32_t columnFromCell(std::string_view text, int32_t cell, int32_t tabLength) {
  if (cell < 1) return 1;
  const int32_t want = cell - 1;
  int32_t column = -1;
  int32_t end = 0;
  walkCells(text, tabLength, [&](std::size_t i, int32_t at, int32_t width) {
    end = at + width;
    if (want < at + width) {
      column = static_cast<int32_t>(i) + 1;
      return false;
    }
    return true;
  });
  if (column > 0) return column;
  return static_cast<int32_t>(text.size()) + 1 + (want - end);
}

int32_t cellFromColumn(std::string_view text, int32_t column, int32_t tabLength) {
  if (column < 1) return 1;
  const auto index = static_cast<std::size_t>(column - 1);
  if (index >= text.size()) return expandedWidth(text, tabLength) + 1 + static_cast<int32_t>(index - text.size());
  return expandedWidth(text.substr(0, index), tabLength) + 1;
}

}  // namespace osk
