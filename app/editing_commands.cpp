#include "app/editing_commands.h"

#include <algorithm>
#include <string>

#include "app/word_pattern.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr int32_t kMaxColumns = 1024;
constexpr int32_t kMarkNormal = 1;
constexpr int32_t kMarkLine = 2;
constexpr int32_t kMarkColumn = 3;

struct Pos {
  int32_t line = 0;
  int32_t column = 0;
};

bool haveTarget() { return GetCurEdWindow() != nullptr; }

Pos caret() {
  Pos p;
  GetCaretCol(&p.line, &p.column);
  return p;
}

std::string lineText(int32_t line) {
  char text[kMaxColumns + 1] = {};
  if (GetLine(line, text) == 0) return {};
  return text;
}

int32_t lineCount() { return GetLineCount(); }

int32_t endColumn(int32_t line) { return GetLineLen(line) + 1; }

// One undo step around a command's changes.
class UndoStep {
 public:
  UndoStep() { StartOp(); }
  ~UndoStep() { EndOp(); }
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;
};

// Puts the caret at `to`, clearing or extending the mark, then brings it into view.
void placeCaret(Pos from, Pos to, bool extend) {
  if (!extend) {
    if (QueryMark()) UnMark();
    SetCaretCol(to.line, to.column);
  } else {
    const int32_t type = QueryMark() ? QueryMarkType() : 0;
    if (type == 0) {
      AnchorMark(kMarkNormal, from.line, from.column);
      UpdateMark(to.line, to.column);
    } else if (type == kMarkLine) {
      UpdateMark(to.line, 0);
    } else {
      UpdateMark(to.line, to.column);
    }
    SetCaretCol(to.line, to.column);
  }
  ScrollToView();
  UpdateDisplay();
}

// The column on `line` that shows the same display cell as `column` does on `fromLine`.
int32_t sameCell(int32_t fromLine, int32_t column, int32_t line) {
  const int32_t cell = CellFromCol(fromLine, column);
  const int32_t target = ColFromCell(line, std::max(1, cell));
  return std::max(1, target);
}

struct Window {
  int32_t lines = 1, cells = 1, top = 1, left = 1;
};

Window window() {
  Window w;
  GetEdWindowSize(&w.lines, &w.cells);
  GetEdWindowScroll(&w.top, &w.left);
  w.lines = std::max(1, w.lines);
  w.cells = std::max(1, w.cells);
  w.top = std::max(1, w.top);
  w.left = std::max(1, w.left);
  return w;
}

void scrollTo(int32_t top, int32_t left) {
  top = std::clamp(top, 1, std::max(1, lineCount()));
  left = std::clamp(left, 1, kMaxColumns);
  SetEdWindowScroll(top, left);
}

// The start of the word left of `at`, crossing to the end of the previous line at column 1.
Pos wordLeftOf(Pos at, const WordPattern& words) {
  while (true) {
    if (at.column > 1) {
      int32_t best = 1;
      for (const WordSpan& w : words.words(lineText(at.line))) {
        if (w.column < at.column) best = w.column;
      }
      return {at.line, best};
    }
    if (at.line <= 1) return at;
    --at.line;
    at.column = endColumn(at.line);
    // A line without words left of its end is passed over, like a blank line.
    const auto found = words.words(lineText(at.line));
    if (!found.empty()) return {at.line, found.back().column};
  }
}

Pos wordRightOf(Pos at, const WordPattern& words) {
  const int32_t last = lineCount();
  for (bool first = true; at.line <= last; first = false) {
    for (const WordSpan& w : words.words(lineText(at.line))) {
      if (!first || w.column > at.column) return {at.line, w.column};
    }
    if (at.line == last) return {at.line, endColumn(at.line)};
    ++at.line;
    at.column = 0;
  }
  return at;
}

}  // namespace

bool moveCaret(CaretMove move, bool extend, const WordPattern& words, const EditingOptions& options) {
  if (!haveTarget()) return false;
  const Pos from = caret();
  const int32_t last = std::max(1, lineCount());
  Pos to = from;
  const Window w = window();
  switch (move) {
    case CaretMove::kUp:
    case CaretMove::kDown: {
      const bool up = move == CaretMove::kUp;
      const int32_t boost = std::clamp(options.vScrollBoost, 0, 10);
      if (boost > 0) {
        if (up && from.line <= w.top && w.top > 1) scrollTo(w.top - boost, w.left);
        if (!up && from.line >= w.top + w.lines - 1 && w.top + w.lines - 1 < last) {
          scrollTo(std::min(w.top + boost, std::max(1, last - w.lines + 1)), w.left);
        }
      }
      to.line = std::clamp(from.line + (up ? -1 : 1), 1, last);
      to.column = sameCell(from.line, from.column, to.line);
      break;
    }
    case CaretMove::kLeft:
      to.column = std::max(1, from.column - 1);
      break;
    case CaretMove::kRight:
      to.column = std::min(kMaxColumns + 1, from.column + 1);
      break;
    case CaretMove::kPageUp:
    case CaretMove::kPageDown: {
      const int32_t step = move == CaretMove::kPageUp ? -w.lines : w.lines;
      scrollTo(w.top + step, w.left);
      to.line = std::clamp(from.line + step, 1, last);
      to.column = sameCell(from.line, from.column, to.line);
      break;
    }
    case CaretMove::kPageLeft:
    case CaretMove::kPageRight: {
      const int32_t step = move == CaretMove::kPageLeft ? -w.cells : w.cells;
      scrollTo(w.top, w.left + step);
      to.column = std::clamp(from.column + step, 1, kMaxColumns + 1);
      break;
    }
    case CaretMove::kHome:
      to.column = 1;
      break;
    case CaretMove::kEnd:
      to.column = endColumn(from.line);
      break;
    case CaretMove::kFirstLine:
      to = {1, 1};
      break;
    case CaretMove::kLastLine:
      to = {last, endColumn(last)};
      break;
    case CaretMove::kWordLeft:
      to = wordLeftOf(from, words);
      break;
    case CaretMove::kWordRight:
      to = wordRightOf(from, words);
      break;
    case CaretMove::kWordEnd: {
      WordSpan word{};
      if (!words.wordAt(lineText(from.line), from.column, word)) return false;
      to.column = word.end();
      break;
    }
  }
  placeCaret(from, to, extend);
  return true;
}

bool scrollView(ViewScroll scroll) {
  if (!haveTarget()) return false;
  const Pos at = caret();
  const Window w = window();
  switch (scroll) {
    case ViewScroll::kCentre:
    case ViewScroll::kCaretToMiddle:
      scrollTo(at.line - w.lines / 2, w.left);
      break;
    case ViewScroll::kCaretToTop:
      scrollTo(at.line, w.left);
      break;
    case ViewScroll::kCaretToBottom:
      scrollTo(at.line - w.lines + 1, w.left);
      break;
    case ViewScroll::kUp:
    case ViewScroll::kDown:
    case ViewScroll::kLeft:
    case ViewScroll::kRight: {
      const int32_t dy = scroll == ViewScroll::kUp ? -1 : scroll == ViewScroll::kDown ? 1 : 0;
      const int32_t dx = scroll == ViewScroll::kLeft ? -1 : scroll == ViewScroll::kRight ? 1 : 0;
      scrollTo(w.top + dy, w.left + dx);
      // The caret is pulled back inside the window, keeping its cell where it can.
      const Window now = window();
      const int32_t line = std::clamp(at.line, now.top, std::max(now.top, now.top + now.lines - 1));
      int32_t cell = CellFromCol(at.line, at.column);
      cell = std::clamp(cell, now.left, std::max(now.left, now.left + now.cells - 1));
      if (line != at.line || cell != CellFromCol(at.line, at.column)) SetCaretCell(line, cell);
      break;
    }
  }
  UpdateDisplay();
  return true;
}

bool selectAll() {
  if (!haveTarget() || lineCount() == 0) return false;
  const int32_t last = lineCount();
  AnchorMark(kMarkNormal, 1, 1);
  UpdateMark(last, endColumn(last));
  ScrollToView();
  return true;
}

bool deleteMarkedText() {
  if (!QueryMark()) return false;
  const int32_t type = QueryMarkType();
  Pos start, end;
  QueryMarkStart(&start.line, &start.column);
  QueryMarkEnd(&end.line, &end.column);
  if (type == kMarkLine) {
    UnMark();
    DeleteLines(start.line, end.line - start.line + 1);
    const int32_t line = std::clamp(start.line, 1, std::max(1, lineCount()));
    SetCaretCol(line, 1);
    return true;
  }
  if (type == kMarkColumn) {
    // The mark covers the same cells on every line; each line loses the characters shown in them.
    const int32_t fromCell = CellFromCol(start.line, start.column);
    const int32_t toCell = CellFromCol(end.line, end.column);
    UnMark();
    for (int32_t line = start.line; line <= end.line; ++line) {
      std::string text = lineText(line);
      const int32_t from = ColFromCell(line, fromCell);
      const int32_t to = ColFromCell(line, toCell);
      if (from > static_cast<int32_t>(text.size())) continue;
      const auto count = static_cast<size_t>(std::max(0, std::min(to, static_cast<int32_t>(text.size()) + 1) - from));
      text.erase(static_cast<size_t>(from - 1), count);
      ReplaceLine(line, text.c_str());
    }
    SetCaretCol(start.line, ColFromCell(start.line, fromCell));
    return true;
  }
  // A stream mark: the end column is the first character after the mark.
  UnMark();
  const std::string first = lineText(start.line);
  const std::string last = lineText(end.line);
  std::string joined = first.substr(0, std::min(first.size(), static_cast<size_t>(start.column - 1)));
  if (static_cast<size_t>(end.column - 1) < last.size()) joined += last.substr(static_cast<size_t>(end.column - 1));
  if (joined.size() > static_cast<size_t>(kMaxColumns)) joined.resize(kMaxColumns);
  ReplaceLine(start.line, joined.c_str());
  if (end.line > start.line) DeleteLines(start.line + 1, end.line - start.line);
  SetCaretCol(start.line, start.column);
  return true;
}

void reflowIfWrapping() {
  if (GetWordWrap()) Reflow("Reflowing (Esc to abort)");
}

bool newLine(const EditingOptions& options) {
  if (!haveTarget()) return false;
  bool done = false;
  {
    UndoStep step;
    if (QueryMark()) deleteMarkedText();
    const Pos before = caret();
    const std::string broken = lineText(before.line);
    done = NewLine() != 0;
    if (done && !GetWordWrap()) {
      if (options.autoIndentOnNewline) {
        const size_t firstText = broken.find_first_not_of(" \t");
        const int32_t indent = firstText == std::string::npos
                                   ? CellFromCol(before.line, before.column)
                                   : CellFromCol(before.line, static_cast<int32_t>(firstText) + 1);
        const Pos now = caret();
        if (GetInsertMode() && GetLineLen(now.line) > 0 && indent > 1) {
          const std::string text = std::string(static_cast<size_t>(indent - 1), ' ') + lineText(now.line);
          ReplaceLine(now.line, text.substr(0, kMaxColumns).c_str());
        }
        SetCaretCell(now.line, std::max(1, indent));
      }
      if (options.autoScrollOnNewline) {
        const Window w = window();
        if (caret().line - w.top > w.lines / 2) scrollTo(w.top + 1, w.left);
      }
    }
  }
  ScrollToView();
  return done;
}

bool deleteForward() {
  if (!haveTarget()) return false;
  if (QueryMark()) {
    UndoStep step;
    deleteMarkedText();
    reflowIfWrapping();
    ScrollToView();
    return true;
  }
  const bool done = DeleteChar() != 0;
  ScrollToView();
  return done;
}

bool backspace() {
  if (!haveTarget()) return false;
  const Pos at = caret();
  if (IsReadOnly()) {
    if (at.column > 1) SetCaretCol(at.line, at.column - 1);
    ScrollToView();
    return at.column > 1;
  }
  if (QueryMark()) return deleteForward();
  if (GetLineLen(at.line) == 0 && at.column > 1) {
    const int32_t tab = std::max(1, GetTabLength());
    SetCaretCol(at.line, ((at.column - 2) / tab) * tab + 1);
    ScrollToView();
    return true;
  }
  const bool done = BackSpaceChar() != 0;
  ScrollToView();
  return done;
}

bool deleteCaretLine() {
  if (!haveTarget()) return false;
  if (QueryMark()) UnMark();
  const Pos at = caret();
  const bool done = DeleteLine(at.line) != 0;
  ScrollToView();
  return done;
}

bool deleteToEndOfLine() {
  if (!haveTarget()) return false;
  if (QueryMark()) UnMark();
  const Pos at = caret();
  const std::string text = lineText(at.line);
  if (static_cast<size_t>(at.column - 1) >= text.size()) return true;
  const bool done = ReplaceLine(at.line, text.substr(0, static_cast<size_t>(at.column - 1)).c_str()) != 0;
  SetCaretCol(at.line, at.column);
  return done;
}

bool deleteWord(bool left, const WordPattern& words) {
  if (!haveTarget()) return false;
  const Pos from = caret();
  const Pos to = left ? wordLeftOf(from, words) : wordRightOf(from, words);
  if (to.line == from.line && to.column == from.column) return false;
  {
    UndoStep step;
    UnMark();
    AnchorMark(kMarkNormal, from.line, from.column);
    UpdateMark(to.line, to.column);
    deleteMarkedText();
    reflowIfWrapping();
  }
  ScrollToView();
  return true;
}

}  // namespace osk::app
