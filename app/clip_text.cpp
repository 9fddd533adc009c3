#include "app/clip_text.h"

#include <algorithm>
#include <vector>

#include "app/clip_block.h"
#include "app/editing_commands.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr int32_t kMaxColumns = 1024;
constexpr int32_t kMarkLine = 2;
constexpr int32_t kMarkColumn = 3;
constexpr int32_t kMarkNormal = 1;
constexpr int32_t kGaugeLines = 100;      // marks over this many lines show the gauge
constexpr size_t kGaugeBytes = 4096;      // pastes over this many bytes show the gauge
constexpr int32_t kGaugeEvery = 25;       // lines between gauge steps

std::string lineText(int32_t line) {
  char text[kMaxColumns + 1] = {};
  if (GetLine(line, text) == 0) return {};
  return text;
}

std::string expandedText(int32_t line) {
  char text[kMaxColumns + 1] = {};
  if (GetExpandedLine(line, text) == 0) return {};
  return text;
}

std::string slice(const std::string& text, int32_t from, int32_t to) {
  // 1-based, `to` exclusive; positions past the end give what is there.
  const auto size = static_cast<int32_t>(text.size());
  from = std::clamp(from, 1, size + 1);
  to = std::clamp(to, from, size + 1);
  return text.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from));
}

// Closes the gauge it opened, however the walk ends.
class GaugeScope {
 public:
  GaugeScope(bool shown, int32_t count, const std::string& caption) : shown_(shown) {
    if (shown_) InitGauge(0, count, caption.c_str());
  }
  ~GaugeScope() {
    if (shown_) DestroyGauge();
  }
  GaugeScope(const GaugeScope&) = delete;
  GaugeScope& operator=(const GaugeScope&) = delete;
  // True when Esc asks to stop.
  bool step(int32_t done) { return shown_ && UpdateGauge(done) != 0; }

 private:
  bool shown_;
};

// Appends the marked text to `block` (null: a new block). The result is null when memory ran out or Esc stopped
// the walk; the block is then freed.
TakenText walkMark(HGLOBALTEXT block, const char* verb) {
  TakenText taken;
  const int32_t type = QueryMarkType();
  taken.kind = clipKindOfMark(type);
  int32_t firstLine = 0, firstColumn = 0, lastLine = 0, lastColumn = 0;
  QueryMarkStart(&firstLine, &firstColumn);
  QueryMarkEnd(&lastLine, &lastColumn);
  const int32_t fromCell = type == kMarkColumn ? CellFromCol(firstLine, firstColumn) : 0;
  const int32_t toCell = type == kMarkColumn ? CellFromCol(lastLine, lastColumn) : 0;

  if (block == nullptr) block = AddGlobalLine(nullptr, nullptr, 2);
  if (block == nullptr) {
    taken.outOfMemory = true;
    return taken;
  }
  const int32_t count = lastLine - firstLine + 1;
  GaugeScope gauge(count > kGaugeLines, count, std::string(verb != nullptr ? verb : "") + " (Esc to abort)");
  for (int32_t line = firstLine; line <= lastLine; ++line) {
    std::string piece;
    bool lineEnd = line < lastLine;
    if (type == kMarkLine) {
      piece = lineText(line);
      lineEnd = true;
    } else if (type == kMarkColumn) {
      piece = slice(expandedText(line), fromCell, toCell);
    } else {
      const std::string text = lineText(line);
      const int32_t from = line == firstLine ? firstColumn : 1;
      const int32_t to = line == lastLine ? lastColumn : static_cast<int32_t>(text.size()) + 1;
      piece = slice(text, from, to);
    }
    block = AddGlobalLine(block, piece.c_str(), lineEnd ? 1 : 2);
    if (block == nullptr) {
      taken.outOfMemory = true;
      return taken;
    }
    if ((line - firstLine + 1) % kGaugeEvery == 0 && gauge.step(line - firstLine + 1)) {
      releaseBlock(block);
      taken.aborted = true;
      return taken;
    }
  }
  taken.block = block;
  return taken;
}

struct Piece {
  std::string text;
  bool lineEnd = false;
};

std::vector<Piece> piecesOf(HGLOBALTEXT block, size_t& bytes) {
  std::vector<Piece> pieces;
  bytes = 0;
  char text[kMaxColumns + 1] = {};
  for (int32_t r = GetFirstGlobalLine(block, text); r != 0; r = GetNextGlobalLine(text)) {
    pieces.push_back({text, r == 1});
    bytes += pieces.back().text.size() + 2;
    if (r == 2) break;
  }
  return pieces;
}

// Inserts `piece` at display cell `cell` of `line` (created when missing), the line written back expanded. False
// when the result had to be cut at 1024 characters.
bool typeAtCell(int32_t line, int32_t cell, const std::string& piece) {
  while (GetLineCount() < line) InsertLine(GetLineCount(), nullptr);
  std::string text = expandedText(line);
  if (static_cast<int32_t>(text.size()) < cell - 1) text.resize(static_cast<size_t>(cell - 1), ' ');
  text.insert(static_cast<size_t>(cell - 1), piece);
  const bool fits = text.size() <= static_cast<size_t>(kMaxColumns);
  if (!fits) text.resize(kMaxColumns);
  ReplaceLine(line, text.c_str());
  return fits;
}

// Types `piece` at the caret; false when the line could not take all of it and was cut at 1024 characters.
bool typeAtCaret(const std::string& piece) {
  if (piece.empty()) return true;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  if (GetLineLen(line) + static_cast<int32_t>(piece.size()) < kMaxColumns &&
      column + static_cast<int32_t>(piece.size()) <= kMaxColumns) {
    return WriteString(piece.c_str()) != 0;
  }
  std::string text = lineText(line);
  if (static_cast<int32_t>(text.size()) < column - 1) text.resize(static_cast<size_t>(column - 1), ' ');
  text.insert(static_cast<size_t>(column - 1), piece);
  text.resize(kMaxColumns);
  ReplaceLine(line, text.c_str());
  SetCaretCol(line, std::min(kMaxColumns, column + static_cast<int32_t>(piece.size())));
  return false;
}

}  // namespace

ClipKind clipKindOfMark(int32_t markType) {
  return markType == kMarkLine ? ClipKind::kLine : markType == kMarkColumn ? ClipKind::kColumn : ClipKind::kStream;
}

TakenText takeMarkedText(bool remove, const char* verb) {
  if (GetCurEdWindow() == nullptr || !QueryMark()) return {};
  TakenText taken = walkMark(nullptr, verb);
  if (taken.block != nullptr && remove) deleteMarkedText();
  return taken;
}

TakenText appendMarkedText(HGLOBALTEXT base) {
  if (GetCurEdWindow() == nullptr || !QueryMark() || base == nullptr) return {};
  HGLOBALTEXT copy = CopyGlobalLine(base);
  if (copy == nullptr) {
    TakenText taken;
    taken.outOfMemory = true;
    return taken;
  }
  TakenText taken = walkMark(copy, "Copying");
  taken.kind = ClipKind::kStream;   // appended text is plain text
  return taken;
}

PasteResult pasteText(HGLOBALTEXT block, ClipKind kind, const PasteOptions& options) {
  if (GetCurEdWindow() == nullptr || IsReadOnly()) return PasteResult::kRefused;
  size_t bytes = 0;
  const std::vector<Piece> pieces = piecesOf(block, bytes);
  if (pieces.empty()) return PasteResult::kNothing;

  const int32_t insertMode = GetInsertMode();
  SetInsertMode(1);
  StartOp();
  if (QueryMark()) deleteMarkedText();
  if (GetLineCount() == 0) {
    InsertLine(0, nullptr);
    SetCaretCol(1, 1);
  }
  int32_t startLine = 0, startColumn = 0;
  GetCaretCol(&startLine, &startColumn);
  const int32_t cell = CellFromCol(startLine, startColumn);

  bool aborted = false, cut = false;
  int32_t target = startLine;
  int32_t endLine = startLine, endColumn = startColumn;   // after the pasted text
  {
    GaugeScope gauge(bytes > kGaugeBytes, static_cast<int32_t>(std::min<size_t>(bytes, INT32_MAX)),
                     options.caption != nullptr ? options.caption : "");
    size_t done = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
      const Piece& p = pieces[i];
      if (kind == ClipKind::kColumn) {
        cut |= !typeAtCell(target, cell, p.text);
        endLine = target;
        endColumn = ColFromCell(target, cell + static_cast<int32_t>(p.text.size()));
        if (p.lineEnd) ++target;
      } else if (kind == ClipKind::kLine) {
        InsertLine(target - 1, p.text.c_str());
        ++target;
        endLine = target;
        endColumn = 1;
      } else if (!p.lineEnd) {
        SetCaretCol(target, i == 0 ? startColumn : endColumn);
        cut |= !typeAtCaret(p.text);
        GetCaretCol(&endLine, &endColumn);
      } else if (i == 0 && startColumn > 1) {
        // Typed in at the caret and the line broken after it.
        const std::string text = lineText(target);
        std::string head = text.substr(0, std::min(text.size(), static_cast<size_t>(startColumn - 1)));
        head.resize(static_cast<size_t>(startColumn - 1), ' ');
        head += p.text;
        if (head.size() > static_cast<size_t>(kMaxColumns)) {
          head.resize(kMaxColumns);
          cut = true;
        }
        const std::string tail = text.size() >= static_cast<size_t>(startColumn) ? text.substr(startColumn - 1) : "";
        ReplaceLine(target, head.c_str());
        InsertLine(target, tail.c_str());
        ++target;
        endLine = target;
        endColumn = 1;
      } else {
        InsertLine(target - 1, p.text.c_str());
        ++target;
        endLine = target;
        endColumn = i == 0 ? startColumn : 1;
      }
      done += p.text.size() + 2;
      if ((i + 1) % kGaugeEvery == 0 && gauge.step(static_cast<int32_t>(std::min<size_t>(done, INT32_MAX)))) {
        aborted = i + 1 < pieces.size();
        break;
      }
    }
  }
  SetCaretCol(endLine, endColumn);
  if (GetWordWrap() && kind != ClipKind::kLine) {
    AnchorMark(kMarkNormal, startLine, startColumn);
    UpdateMark(endLine, endColumn);
    Reflow("Reflowing (Esc to abort)");
    UnMark();
    Reflow("Reflowing (Esc to abort)");
  }
  EndOp();
  SetInsertMode(insertMode);
  if (!options.caretAfterPaste) SetCaretCol(startLine, startColumn);
  ScrollToView();
  if (aborted) return PasteResult::kAborted;
  return cut ? PasteResult::kTooLong : PasteResult::kPasted;
}

std::string clipPreview(HGLOBALTEXT block) {
  std::string text;
  if (block != nullptr) {
    char line[kMaxColumns + 1] = {};
    for (int32_t r = GetFirstGlobalLine(block, line); r != 0 && text.size() < kClipPreviewLength;
         r = GetNextGlobalLine(line)) {
      if (!text.empty()) text += ' ';
      text += line;
      if (r == 2) break;
    }
  }
  text.resize(kClipPreviewLength, ' ');
  return text;
}

}  // namespace osk::app
