#include "app/file_transfer.h"

#include <algorithm>
#include <cstdint>

#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr int32_t kMarkLine = 2;
constexpr int32_t kMarkColumn = 3;

std::string lineText(int32_t line) {
  char text[1025] = {};
  if (!GetLine(line, text)) return {};
  return std::string(text, static_cast<std::size_t>(std::max(0, GetLineLen(line))));
}

}  // namespace

std::vector<TextPiece> markedPieces() {
  std::vector<TextPiece> pieces;
  if (GetCurEdWindow() == nullptr || !QueryMark()) return pieces;
  const int32_t type = QueryMarkType();
  int32_t firstLine = 0, firstColumn = 0, lastLine = 0, lastColumn = 0;
  QueryMarkStart(&firstLine, &firstColumn);
  QueryMarkEnd(&lastLine, &lastColumn);
  if (type == kMarkColumn) {
    const int32_t fromCell = std::min(CellFromCol(firstLine, firstColumn), CellFromCol(lastLine, lastColumn));
    const int32_t toCell = std::max(CellFromCol(firstLine, firstColumn), CellFromCol(lastLine, lastColumn));
    for (int32_t line = firstLine; line <= lastLine; ++line) {
      const std::string text = lineText(line);
      const auto from = static_cast<std::size_t>(std::max(1, ColFromCell(line, fromCell)) - 1);
      const auto to = static_cast<std::size_t>(std::max(1, ColFromCell(line, toCell)) - 1);
      const std::string cells = from < text.size() ? text.substr(from, std::min(to, text.size()) - from) : std::string();
      pieces.push_back({cells, true});
    }
    return pieces;
  }
  if (type == kMarkLine) {
    for (int32_t line = firstLine; line <= lastLine; ++line) pieces.push_back({lineText(line), true});
    return pieces;
  }
  for (int32_t line = firstLine; line <= lastLine; ++line) {
    const std::string text = lineText(line);
    const std::size_t firstIndex = static_cast<std::size_t>(std::max(1, firstColumn) - 1);
    const auto from = line == firstLine ? std::min(firstIndex, text.size()) : 0;
    const auto to = line == lastLine ? std::min(static_cast<std::size_t>(std::max(1, lastColumn) - 1), text.size())
                                     : text.size();
    pieces.push_back({text.substr(from, to > from ? to - from : 0), line != lastLine});
  }
  return pieces;
}

std::string markedOpenName() {
  if (GetCurEdWindow() == nullptr || !QueryMark() || QueryMarkType() == kMarkLine) return {};
  const std::vector<TextPiece> pieces = markedPieces();
  if (pieces.size() != 1) return {};
  const std::string& text = pieces.front().text;
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  std::string name = text.substr(first, last - first + 1);
  return name.size() < 99 ? name : std::string();
}

}  // namespace osk::app
