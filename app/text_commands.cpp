#include "app/text_commands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/word_pattern.h"
#include "engine/edit_api.h"
#include "engine/lang/colour_api.h"

namespace osk::app {
namespace {

constexpr int32_t kMaxColumns = 1024;
constexpr int32_t kMarkNormal = 1;
constexpr int32_t kMarkLine = 2;
constexpr int32_t kMarkColumn = 3;
// Marks over more lines than this show the gauge while they are walked.
constexpr int32_t kGaugeLines = 100;

bool writableTarget() { return GetCurEdWindow() != nullptr && !IsReadOnly(); }

std::string lineText(int32_t line) {
  char text[kMaxColumns + 1] = {};
  if (GetLine(line, text) == 0) return {};
  return text;
}

std::string expandedLine(int32_t line) {
  char text[kMaxColumns + 1] = {};
  if (GetExpandedLine(line, text) == 0) return {};
  return text;
}

class UndoStep {
 public:
  UndoStep() { StartOp(); }
  ~UndoStep() { EndOp(); }
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;
};

// The caret and mark as they were, put back when the command ends.
class KeepCaret {
 public:
  KeepCaret() { StoreCaretState(&state_); }
  ~KeepCaret() { RestoreCaretState(&state_); }
  KeepCaret(const KeepCaret&) = delete;
  KeepCaret& operator=(const KeepCaret&) = delete;

 private:
  EcdCaretState state_{};
};

// The progress gauge of a long command; shown only when asked for. step() is true once the user pressed Esc.
class Gauge {
 public:
  Gauge(bool show, int32_t first, int32_t count, const std::string& caption) {
    if (show) start(first, count, caption);
  }
  // Shows a gauge that was not shown at first.
  void start(int32_t first, int32_t count, const std::string& caption) {
    if (shown_) return;
    shown_ = true;
    InitGauge(first, count, caption.c_str());
  }
  ~Gauge() {
    if (shown_) DestroyGauge();
  }
  Gauge(const Gauge&) = delete;
  Gauge& operator=(const Gauge&) = delete;
  bool step(int32_t at) { return shown_ && UpdateGauge(at) != 0; }

 private:
  bool shown_ = false;
};

// The mark as the walk sees it: its lines, and the piece of each line it covers.
struct MarkRange {
  int32_t type = 0;
  int32_t firstLine = 0, firstColumn = 0;
  int32_t lastLine = 0, lastColumn = 0;   // the column after the mark (stream marks)
  int32_t leftCell = 0, rightCell = 0;    // column marks: the cells from left up to, not including, right
};

bool currentMark(MarkRange& m) {
  if (!QueryMark()) return false;
  m.type = QueryMarkType();
  QueryMarkStart(&m.firstLine, &m.firstColumn);
  QueryMarkEnd(&m.lastLine, &m.lastColumn);
  if (m.type == kMarkColumn) {
    EcdCaretState s{};
    StoreCaretState(&s);
    m.leftCell = std::min(s.firstCell, s.secondCell);
    m.rightCell = std::max(s.firstCell, s.secondCell);
  }
  return m.firstLine >= 1 && m.lastLine >= m.firstLine;
}

// The columns [from, to) of `line` that the mark covers, clamped to the line's text.
void pieceOf(const MarkRange& m, int32_t line, size_t length, size_t& from, size_t& to) {
  int32_t first = 1, after = static_cast<int32_t>(length) + 1;
  if (m.type == kMarkColumn) {
    first = ColFromCell(line, m.leftCell);
    after = ColFromCell(line, m.rightCell);
  } else if (m.type == kMarkNormal) {
    if (line == m.firstLine) first = m.firstColumn;
    if (line == m.lastLine) after = m.lastColumn;
  }
  const auto clampColumn = [&](int32_t c) { return static_cast<size_t>(std::clamp(c, 1, static_cast<int32_t>(length) + 1) - 1); };
  from = clampColumn(first);
  to = std::max(from, clampColumn(after));
}

// Visits each line of the mark with its piece; `action` changes the text and answers whether it did, and changed
// lines are written back. The gauge runs for long marks and Esc stops the walk.
template <class Action>
void walkMark(const MarkRange& m, const char* verb, Action action) {
  const int32_t lines = m.lastLine - m.firstLine + 1;
  Gauge gauge(lines > kGaugeLines, m.firstLine, lines, std::string(verb) + " (Esc to abort)");
  for (int32_t line = m.firstLine; line <= m.lastLine; ++line) {
    std::string text = lineText(line);
    size_t from = 0, to = 0;
    pieceOf(m, line, text.size(), from, to);
    if (action(text, line, from, to)) ReplaceLine(line, text.substr(0, kMaxColumns).c_str());
    if (gauge.step(line)) break;
  }
}

size_t firstNonBlank(std::string_view text, size_t from) {
  while (from < text.size() && (text[from] == ' ' || text[from] == '\t')) ++from;
  return from;
}

bool isSeparator(std::string_view text) {
  const size_t first = firstNonBlank(text, 0);
  return first == text.size() || text[first] == '\f';
}

// The lines of the mark, or the caret line as a line mark when there is none.
MarkRange markOrCaretLine() {
  MarkRange m;
  if (currentMark(m)) return m;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  m.type = kMarkLine;
  m.firstLine = m.lastLine = line;
  m.firstColumn = 1;
  return m;
}

void changeCaseOf(std::string& piece, CaseChange change, const WordPattern& words) {
  for (char& c : piece) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(change == CaseChange::kUpper ? std::toupper(u) : std::tolower(u));
  }
  if (change != CaseChange::kCapitalise) return;
  for (const WordSpan& w : words.words(piece)) {
    char& c = piece[static_cast<size_t>(w.column - 1)];
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
}

constexpr std::string_view kBrackets = "<>()[]{}";

}  // namespace

int32_t outdentWidth(std::string_view line, size_t from, int32_t tabLength) {
  const size_t text = firstNonBlank(line, from);
  if (text >= line.size() || text == from) return 0;
  if (line[text - 1] == '\t') return 1;
  // The cell of the last blank decides how far back the previous tab stop lies.
  int32_t cell = 0;
  const int32_t tab = std::max(1, tabLength);
  for (size_t i = 0; i < text; ++i) cell = line[i] == '\t' ? (cell / tab + 1) * tab : cell + 1;
  const int32_t most = (cell - 1) % tab + 1;
  int32_t count = 0;
  for (size_t i = text; i > from && line[i - 1] == ' ' && count < most; --i) ++count;
  return count;
}

std::optional<char> fillCharacter(std::string_view parameter) {
  if (parameter.size() >= 2 && parameter.front() == '"' && parameter.back() == '"') {
    parameter = parameter.substr(1, parameter.size() - 2);
  }
  if (parameter.empty()) return std::nullopt;
  return parameter.front();
}

std::optional<int32_t> gotoLine(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1) return std::nullopt;
  return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX));
}

BracketResult matchBracket() {
  if (GetCurEdWindow() == nullptr) return BracketResult::kNotABracket;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  const int32_t cell = CellFromCol(line, column);
  std::string text = expandedLine(line);
  if (cell < 1 || cell > static_cast<int32_t>(text.size())) return BracketResult::kNotABracket;
  const char start = text[static_cast<size_t>(cell - 1)];
  const size_t kind = kBrackets.find(start);
  if (start == 0 || kind == std::string_view::npos) return BracketResult::kNotABracket;
  const bool forward = kind % 2 == 0;
  const char partner = kBrackets[forward ? kind + 1 : kind - 1];

  // Without syntax colours every cell has the same class.
  const HEDBUFFER buffer = GetCurBuffer();
  std::array<uint8_t, kMaxColumns> colours{};
  const auto colourLine = [&](int32_t l) {
    if (GetCellLineColours(buffer, l, colours.data()) != 0) colours.fill(98);
  };
  colourLine(line);
  const uint8_t cls = colours[static_cast<size_t>(cell - 1)];

  const int32_t last = GetLineCount();
  const int32_t from = line;
  // The gauge comes up only once the search has gone a long way, so a near match shows none.
  Gauge gauge(false, 0, 0, {});
  int32_t depth = 0;
  int32_t at = cell - 1;   // 0-based index of the cell being looked at
  for (int32_t scanned = 0; line >= 1 && line <= last; ++scanned) {
    for (at += forward ? 1 : -1; at >= 0 && at < static_cast<int32_t>(text.size()); at += forward ? 1 : -1) {
      const char c = text[static_cast<size_t>(at)];
      if ((c != start && c != partner) || colours[static_cast<size_t>(at)] != cls) continue;
      if (c == start) {
        ++depth;
      } else if (depth-- == 0) {
        UnMark();
        SetCaretCell(line, at + 1);
        ScrollToView();
        UpdateDisplay();
        return BracketResult::kMoved;
      }
    }
    if (scanned == kGaugeLines) gauge.start(0, forward ? last - from + 1 : from, "Searching (Esc to abort)");
    if (gauge.step(scanned)) break;
    line += forward ? 1 : -1;
    if (line < 1 || line > last) break;
    text = expandedLine(line);
    colourLine(line);
    at = forward ? -1 : static_cast<int32_t>(text.size());
  }
  return BracketResult::kNotFound;
}

bool changeCase(CaseChange change, const WordPattern& words) {
  if (!writableTarget()) return false;
  if (!QueryMark()) {
    int32_t line = 0, column = 0;
    GetCaretCol(&line, &column);
    WordSpan word{};
    if (!words.wordAt(lineText(line), column, word)) return false;
    AnchorMark(kMarkNormal, line, word.column);
    UpdateMark(line, word.end());
  }
  MarkRange m;
  if (!currentMark(m)) return false;
  const char* verb = change == CaseChange::kCapitalise ? "Capitalising"
                     : change == CaseChange::kUpper    ? "Uppercasing"
                                                       : "Lowercasing";
  KeepCaret caret;
  UndoStep step;
  walkMark(m, verb, [&](std::string& text, int32_t, size_t from, size_t to) {
    if (from >= to) return false;
    std::string piece = text.substr(from, to - from);
    changeCaseOf(piece, change, words);
    if (text.compare(from, to - from, piece) == 0) return false;
    text.replace(from, to - from, piece);
    return true;
  });
  return true;
}

bool fillMark(char fill) {
  if (!writableTarget()) return false;
  MarkRange m;
  if (!currentMark(m)) return false;
  KeepCaret caret;
  UndoStep step;
  if (m.type == kMarkColumn) {
    const auto left = static_cast<size_t>(std::max(1, m.leftCell) - 1);
    const auto right = static_cast<size_t>(std::min(kMaxColumns + 1, m.rightCell) - 1);
    const int32_t lines = m.lastLine - m.firstLine + 1;
    Gauge gauge(lines > kGaugeLines, m.firstLine, lines, "Filling (Esc to abort)");
    for (int32_t line = m.firstLine; line <= m.lastLine; ++line) {
      std::string text = expandedLine(line);
      if (text.size() < right) text.resize(right, ' ');
      if (right > left) text.replace(left, right - left, right - left, fill);
      ReplaceLine(line, text.c_str());
      if (gauge.step(line)) break;
    }
    return true;
  }
  walkMark(m, "Filling", [&](std::string& text, int32_t, size_t from, size_t to) {
    if (from >= to) return false;
    text.replace(from, to - from, to - from, fill);
    return true;
  });
  return true;
}

bool indentLines(bool outdent) {
  if (!writableTarget()) return false;
  MarkRange m = markOrCaretLine();
  if (m.firstLine < 1) return false;
  // A stream mark that ends at column 1 holds nothing of its last line, and that line is left as it is.
  if (m.type == kMarkNormal && m.lastColumn == 1 && m.lastLine > m.firstLine) --m.lastLine;
  const int32_t tab = std::max(1, GetTabLength());
  KeepCaret caret;
  UndoStep step;
  walkMark(m, outdent ? "Outdenting" : "Indenting", [&](std::string& text, int32_t, size_t from, size_t) {
    const size_t start = m.type == kMarkColumn ? from : 0;
    const size_t first = firstNonBlank(text, start);
    if (text.empty() || first >= text.size()) return false;
    if (!outdent) {
      if (text.size() >= static_cast<size_t>(kMaxColumns)) return false;
      text.insert(first, 1, '\t');
      return true;
    }
    const int32_t width = outdentWidth(text, start, tab);
    if (width == 0) return false;
    text.erase(first - static_cast<size_t>(width), static_cast<size_t>(width));
    return true;
  });
  return true;
}

bool reflowText() {
  if (!writableTarget()) return false;
  static constexpr char kCaption[] = "Reflowing (Esc to abort)";
  UndoStep step;
  MarkRange m;
  if (currentMark(m)) {
    // A stream mark that ends at column 1 does not reach into its last line.
    int32_t last = m.type == kMarkNormal && m.lastColumn == 1 && m.lastLine > m.firstLine ? m.lastLine - 1 : m.lastLine;
    UnMark();
    const int32_t lines = last - m.firstLine + 1;
    Gauge gauge(lines > kGaugeLines, m.firstLine, lines, kCaption);
    int32_t line = m.firstLine;
    while (line <= last && line <= GetLineCount()) {
      if (isSeparator(lineText(line))) {
        ++line;
        continue;
      }
      const int32_t before = GetLineCount();
      SetCaretCol(line, 1);
      Reflow(nullptr);
      last += GetLineCount() - before;
      int32_t end = line;
      while (end < GetLineCount() && !isSeparator(lineText(end + 1))) ++end;
      line = end + 1;
      if (gauge.step(std::min(line, last))) break;
    }
  } else {
    Reflow(kCaption);
  }
  ScrollToView();
  return true;
}

bool expandTabs() {
  if (!writableTarget()) return false;
  const int32_t tabsAsSpaces = GetTabsAsSpaces();
  SetTabsAsSpaces(0);
  bool opened = false;
  {
    KeepCaret caret;
    const int32_t count = GetLineCount();
    Gauge gauge(count > kGaugeLines, 0, count, "Expanding Tabs (Esc to abort)");
    for (int32_t line = 1; line <= count; ++line) {
      if (lineText(line).find('\t') != std::string::npos) {
        // The undo step opens with the first change, so a file without tabs leaves none.
        if (!opened) StartOp();
        opened = true;
        ReplaceLine(line, expandedLine(line).c_str());
      }
      if (line % 25 == 0 && gauge.step(line)) break;
    }
  }
  if (opened) EndOp();
  SetTabsAsSpaces(tabsAsSpaces);
  UpdateDisplay();
  return true;
}

bool swapCharacters() {
  if (!writableTarget()) return false;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  std::string text = lineText(line);
  if (column < 1 || static_cast<size_t>(column) >= text.size()) return false;
  std::swap(text[static_cast<size_t>(column - 1)], text[static_cast<size_t>(column)]);
  {
    UndoStep step;
    ReplaceLine(line, text.c_str());
  }
  SetCaretCol(line, column);
  return true;
}

bool goToLine(int32_t line) {
  if (GetCurEdWindow() == nullptr || line < 1) return false;
  if (QueryMark()) UnMark();
  SetCaretCol(std::clamp(line, 1, std::max(1, GetLineCount())), 1);
  ScrollToView();
  UpdateDisplay();
  return true;
}

}  // namespace osk::app
