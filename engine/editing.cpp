#include "engine/editing.h"

#include <algorithm>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/reflow.h"
#include "engine/tabs.h"

namespace osk {

namespace {

constexpr Status kColumnLimit = static_cast<Status>(1619);
constexpr Status kTooWide = static_cast<Status>(1611);

bool insertMode(const Buffer& b) { return b.has(kStateInsert); }
bool tabsAsSpaces(const Buffer& b) { return b.has(kStateTabsAsSpaces); }

int32_t width(const Buffer& b, std::string_view text) {
  return tabsAsSpaces(b) ? static_cast<int32_t>(text.size()) : expandedWidth(text, b.tabLength());
}

bool fits(const Buffer& b, std::string_view text) {
  return text.size() <= static_cast<std::size_t>(kMaxLineLength) && width(b, text) <= kMaxLineCells;
}

// A line's text as editing sees it: tabs expanded in tabs-as-spaces mode.
std::string editText(Buffer& b, int32_t line) {
  std::string_view stored = b.store().peekLine(line);
  return tabsAsSpaces(b) ? expandTabs(stored, b.tabLength()) : std::string(stored);
}

// Text given for a whole line: up to its first line end and 1024 characters, tabs expanded in tabs-as-spaces mode.
Status prepareLine(const Buffer& b, const char* text, std::string& out) {
  std::string_view v = text != nullptr ? std::string_view(text) : std::string_view();
  v = v.substr(0, std::min(v.find_first_of("\r\n"), v.size()));
  v = v.substr(0, std::min<std::size_t>(v.size(), kMaxLineLength));
  out = tabsAsSpaces(b) ? expandTabs(v, b.tabLength()) : std::string(v);
  if (expandedWidth(out, b.tabLength()) > kMaxLineCells || out.size() > static_cast<std::size_t>(kMaxLineLength)) {
    return kTooWide;
  }
  return Status::kOk;
}

// Spaces that a tab typed at column `column` of line `line` becomes in tabs-as-spaces mode.
int32_t tabSpaces(Buffer& b, int32_t line, int32_t column) {
  if (b.option(ECD_OPT_AUTO_TAB_TO_LAST_LINE) && line > 1) {
    const std::string prev = editText(b, line - 1);
    if (prev.size() > static_cast<std::size_t>(column)) {
      std::size_t i = static_cast<std::size_t>(column - 1);
      while (i < prev.size() && prev[i] != ' ' && prev[i] != '\t') ++i;
      while (i < prev.size() && (prev[i] == ' ' || prev[i] == '\t')) ++i;
      if (i < prev.size()) return static_cast<int32_t>(i) + 1 - column;
    }
  }
  const int32_t tab = b.tabLength();
  return tab - (column - 1) % tab;
}

void reflowAfterEdit(Buffer& b, ReflowMode mode, TextPos& at) {
  if (wrapping(b)) reflow(b, mode, 0, 0, at);
}

// Makes the first line of an empty buffer, so that typing has a line to go to.
Status ensureFirstLine(Buffer& b, TextPos& at) {
  if (b.lineCount() > 0) return Status::kOk;
  if (at.line > 1) return Status::kBadLine;
  EditGroup group(b, TextPos{1, 1});
  Status s = b.history().insertLines(0, {std::string_view()});
  if (s != Status::kOk) return s;
  b.notify(ECDB_LINES_INSERTED, 1, 0);
  at.line = 1;
  group.end = at;
  return Status::kOk;
}

// Joins line `line + 1` onto `line` padded to `column - 1`, as one group.
Status joinAt(Buffer& b, int32_t line, int32_t column, TextPos& at) {
  std::string head = editText(b, line);
  if (head.size() < static_cast<std::size_t>(column - 1)) head.append(static_cast<std::size_t>(column - 1) - head.size(), ' ');
  const std::string joined = head + editText(b, line + 1);
  if (!fits(b, joined)) return Status::kLineTooLong;
  const uint32_t bits = b.store().properties().get(line) | b.store().properties().get(line + 1);
  b.releaseLine();
  EditGroup group(b, at);
  Status s = b.history().changeLine(line, joined, bits);
  if (s == Status::kOk) s = b.history().deleteLines(line + 1, 1);
  if (s != Status::kOk) return s;
  b.notify(ECDB_LINES_DELETED, 1, line + 1);
  b.notify(ECDB_REPAINT_LINE_FROM, 1, line);
  group.end = at;
  return Status::kOk;
}

// In word wrap, joining line `line` with the next is the paragraph's business: within a paragraph the reflow
// decides where its lines break, and at a paragraph's end it takes one empty line away to join the next
// paragraph. A separator line itself is joined as plain text.
bool joinsByReflow(Buffer& b, int32_t line) {
  if (!wrapping(b) || line >= b.lineCount()) return false;
  if (isSeparator(b.store().peekLine(line))) return false;
  const std::string_view next = b.store().peekLine(line + 1);
  if (!isSeparator(next)) return true;
  return next.empty() && line + 1 < b.lineCount() && !isSeparator(b.store().peekLine(line + 2));
}

// Starts or continues a run of `kind` at (line, column): true when the run continues.
bool continuesRun(Buffer& b, int32_t kind, int32_t line, int32_t column) {
  const TypingRun& run = b.typingRun();
  const LineBuffer& lb = b.lineBuffer();
  return run.kind == kind && run.line == line && run.column == column && lb.line == line && lb.pending;
}

void startRun(Buffer& b, int32_t kind, int32_t line, int32_t column) {
  b.typingRun() = TypingRun{kind, line, column, column};
}

}  // namespace

bool wrapping(const Buffer& b) {
  return b.wordWrap() && b.leftMargin() > 0 && b.rightMargin() <= kMaxLineLength &&
         b.rightMargin() - b.leftMargin() >= 4;
}

Status writeChar(Buffer& b, int32_t ch, TextPos& at) {
  if (b.readOnly()) return Status::kReadOnly;
  const char c = static_cast<char>(ch & 0xFF);
  // Code 0 would end the line early wherever the text is handed on as a string.
  if (c == '\0' || c == '\r' || c == '\n') return Status::kCommandFailed;
  Status s = ensureFirstLine(b, at);
  if (s != Status::kOk) return s;
  const int32_t line = at.line;
  const int32_t column = std::max(at.column, 1);
  if (line < 1 || line > b.lineCount()) return Status::kBadLine;
  const bool continues = continuesRun(b, TypingRun::kTyping, line, column);
  if (!continues) {
    b.flushLine();
    if (column >= kMaxLineLength) return kColumnLimit;
    s = b.loadLine(line);
    if (s != Status::kOk) return s;
  }
  if (column >= kMaxLineLength) return kColumnLimit;
  LineBuffer& lb = b.lineBuffer();
  std::string text = lb.text;
  const auto index = static_cast<std::size_t>(column - 1);
  if (text.size() < index) text.append(index - text.size(), ' ');
  int32_t count = 1;
  char put = c;
  if (c == '\t' && tabsAsSpaces(b)) {
    count = tabSpaces(b, line, column);
    put = ' ';
  }
  if (insertMode(b)) {
    text.insert(index, static_cast<std::size_t>(count), put);
  } else {
    if (index < text.size()) {
      text[index] = put;
    } else {
      text.push_back(put);
    }
    if (count > 1) text.insert(index + 1, static_cast<std::size_t>(count - 1), put);
  }
  if (!fits(b, text)) return Status::kLineTooLong;
  if (!continues) startRun(b, TypingRun::kTyping, line, column);
  lb.text = std::move(text);
  b.lineBufferEdited();
  at.column = column + count;
  b.typingRun().column = at.column;
  b.notify(ECDB_REPAINT_LINE_FROM, static_cast<uintptr_t>(column), line);
  reflowAfterEdit(b, ReflowMode::kTyping, at);
  return Status::kOk;
}

Status newLine(Buffer& b, TextPos& at) {
  if (b.readOnly()) return Status::kReadOnly;
  b.flushLine();
  Status s = ensureFirstLine(b, at);
  if (s != Status::kOk) return s;
  const int32_t line = at.line;
  const int32_t column = std::max(at.column, 1);
  if (line < 1 || line > b.lineCount()) return Status::kBadLine;
  if (!insertMode(b)) {
    at = line < b.lineCount() ? TextPos{line + 1, 1} : TextPos{line, 1};
    return Status::kOk;
  }
  std::string text;
  if (column > 1) {
    s = b.loadLine(line);
    if (s != Status::kOk) return s;
    text = b.lineBuffer().text;
  }
  const uint32_t bits = b.store().properties().get(line);
  b.releaseLine();
  {
    EditGroup group(b, TextPos{line, column});
    if (column == 1) {
      s = b.history().insertLines(line - 1, {std::string_view()});
      if (s == Status::kOk) b.notify(ECDB_LINES_INSERTED, 1, line - 1);
    } else if (static_cast<std::size_t>(column) >= text.size() + 1) {
      s = b.history().insertLines(line, {std::string_view()});
      if (s == Status::kOk) b.notify(ECDB_LINES_INSERTED, 1, line);
    } else {
      const std::string head = text.substr(0, static_cast<std::size_t>(column - 1));
      const std::string tail = text.substr(static_cast<std::size_t>(column - 1));
      s = b.history().changeLine(line, head, bits);
      if (s == Status::kOk) s = b.history().insertLines(line, {tail});
      if (s == Status::kOk) {
        b.notify(ECDB_REPAINT_LINE_FROM, static_cast<uintptr_t>(column), line);
        b.notify(ECDB_LINES_INSERTED, 1, line);
      }
    }
    if (s != Status::kOk) return s;
    at = TextPos{line + 1, 1};
    group.end = at;
  }
  reflowAfterEdit(b, ReflowMode::kNewLine, at);
  return Status::kOk;
}

Status deleteChar(Buffer& b, TextPos& at) {
  if (b.readOnly()) return Status::kReadOnly;
  const int32_t line = at.line;
  const int32_t column = std::max(at.column, 1);
  if (line < 1 || line > b.lineCount()) return Status::kBadLine;
  const bool continues = continuesRun(b, TypingRun::kDeleting, line, column);
  if (!continues) {
    b.flushLine();
    if (column >= kMaxLineLength) return kColumnLimit;
    Status s = b.loadLine(line);
    if (s != Status::kOk) return s;
  }
  LineBuffer& lb = b.lineBuffer();
  if (static_cast<std::size_t>(column) <= lb.text.size()) {
    if (!continues) startRun(b, TypingRun::kDeleting, line, column);
    lb.text.erase(static_cast<std::size_t>(column - 1), 1);
    b.lineBufferEdited();
    b.notify(ECDB_REPAINT_LINE_FROM, static_cast<uintptr_t>(column), line);
    reflowAfterEdit(b, ReflowMode::kTyping, at);
    return Status::kOk;
  }
  if (line == b.lineCount()) return Status::kLineTooLong;
  if (joinsByReflow(b, line)) {
    b.releaseLine();
    return reflow(b, ReflowMode::kJoin, line, 0, at);
  }
  Status s = joinAt(b, line, column, at);
  if (s == Status::kOk) reflowAfterEdit(b, ReflowMode::kTyping, at);
  return s;
}

Status backspace(Buffer& b, TextPos& at) {
  if (b.readOnly()) return Status::kReadOnly;
  const int32_t line = at.line;
  const int32_t column = std::max(at.column, 1);
  if (line < 1 || line > b.lineCount()) return Status::kBadLine;
  const bool continues = continuesRun(b, TypingRun::kBackspacing, line, column);
  if (!continues) {
    b.flushLine();
    Status s = b.loadLine(line);
    if (s != Status::kOk) return s;
  }
  LineBuffer& lb = b.lineBuffer();
  // Past the line's end there is nothing to delete: the caret only steps one column back.
  if (static_cast<std::size_t>(column) > lb.text.size() + 1) {
    at.column = column - 1;
    return Status::kOk;
  }
  if (column >= 2) {
    if (!continues) startRun(b, TypingRun::kBackspacing, line, column);
    lb.text.erase(static_cast<std::size_t>(column - 2), 1);
    b.lineBufferEdited();
    at.column = column - 1;
    b.typingRun().column = at.column;
    b.notify(ECDB_REPAINT_LINE_FROM, static_cast<uintptr_t>(at.column), line);
    reflowAfterEdit(b, ReflowMode::kTyping, at);
    return Status::kOk;
  }
  if (line == 1) return Status::kLineTooLong;
  if (joinsByReflow(b, line - 1)) {
    b.releaseLine();
    return reflow(b, ReflowMode::kJoin, line - 1, 0, at);
  }
  const auto prevLength = static_cast<int32_t>(editText(b, line - 1).size());
  TextPos joined{line - 1, prevLength + 1};
  Status s = joinAt(b, line - 1, prevLength + 1, joined);
  if (s != Status::kOk) return s;
  at = joined;
  reflowAfterEdit(b, ReflowMode::kTyping, at);
  return Status::kOk;
}

Status writeString(Buffer& b, std::string_view text, TextPos& at) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    Status s;
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      s = newLine(b, at);
    } else {
      s = writeChar(b, static_cast<unsigned char>(text[i]), at);
    }
    if (s != Status::kOk) return s;
  }
  return Status::kOk;
}

Status insertLine(Buffer& b, int32_t after, const char* text, TextPos& at) {
  if (b.readOnly()) return Status::kReadOnly;
  if (after < 0 || after > b.lineCount()) return Status::kBadLine;
  std::string prepared;
  Status s = prepareLine(b, text, prepared);
  if (s != Status::kOk) return s;
  b.releaseLine();
  EditGroup group(b, at);
  s = b.history().insertLines(after, {prepared});
  if (s != Status::kOk) return s;
  b.notify(ECDB_LINES_INSERTED, 1, after);
  if (at.line > after) ++at.line;
  if (at.line < 1) at = TextPos{1, 1};
  group.end = at;
  return Status::kOk;
}

Status deleteLines(Buffer& b, int32_t first, int32_t count, TextPos& at) {
  if (b.readOnly()) return Status::kReadOnly;
  if (first < 1 || first > b.lineCount()) return Status::kBadLine;
  count = std::min(count, b.lineCount() - first + 1);
  if (count <= 0) return Status::kOk;
  b.releaseLine();
  EditGroup group(b, at);
  Status s = b.history().deleteLines(first, count);
  if (s != Status::kOk) return s;
  b.notify(ECDB_LINES_DELETED, static_cast<uintptr_t>(count), first);
  if (at.line >= first + count) {
    at.line -= count;
  } else if (at.line >= first) {
    at.line = std::min(first, b.lineCount());
    at.column = 1;
  }
  if (b.lineCount() == 0) at = TextPos{0, 1};
  group.end = at;
  return Status::kOk;
}

Status replaceLine(Buffer& b, int32_t line, const char* text) {
  if (b.readOnly()) return Status::kReadOnly;
  if (line < 1 || line > b.lineCount()) return Status::kBadLine;
  std::string prepared;
  Status s = prepareLine(b, text, prepared);
  if (s != Status::kOk) return s;
  b.releaseLine();
  EditGroup group(b, TextPos{line, 1});
  s = b.history().changeLine(line, prepared, b.store().properties().get(line) & 0xFFFFu);
  if (s != Status::kOk) return s;
  b.notify(ECDB_REPAINT_LINES, 1, line);
  group.end = TextPos{line, 1};
  return Status::kOk;
}

Status joinLine(Buffer& b, int32_t line) {
  if (b.readOnly()) return Status::kReadOnly;
  if (line < 1 || line >= b.lineCount()) return Status::kBadLine;
  TextPos at{line, static_cast<int32_t>(editText(b, line).size()) + 1};
  return joinAt(b, line, 1, at);
}

Status changeLineBits(Buffer& b, int32_t line, uint32_t set, uint32_t clear) {
  if (line < 1 || line > b.lineCount()) return Status::kBadLine;
  const uint32_t old = b.store().properties().get(line);
  // The block bits belong to the colouring, which reads them from the text; an owner cannot set or clear them.
  const uint32_t bits = (((old & ~clear) | set) & ~kTextDerivedBits) | (old & kTextDerivedBits);
  if (bits == old) return Status::kOk;
  if (b.readOnly()) {
    b.store().properties().assign(line, bits);
  } else {
    b.releaseLine();
    EditGroup group(b, TextPos{line, 1});
    const std::string text(b.store().peekLine(line));
    Status s = b.history().changeLine(line, text, bits);
    if (s != Status::kOk) return s;
    group.end = TextPos{line, 1};
  }
  if ((old ^ bits) & 1u) b.notify(ECDB_REPAINT_LINE_FROM, 1, line);
  return Status::kOk;
}

std::string getLine(Buffer& b, int32_t line) { return std::string(b.store().peekLine(line)); }

std::string getExpandedLine(Buffer& b, int32_t line) { return expandTabs(b.store().peekLine(line), b.tabLength()); }

int32_t lineLength(Buffer& b, int32_t line) { return static_cast<int32_t>(b.store().peekLine(line).size()); }

int32_t cellFromCol(Buffer& b, int32_t line, int32_t column) {
  if (line < 1 || line > b.lineCount()) return 1;
  return cellFromColumn(b.store().peekLine(line), column, b.tabLength());
}

int32_t colFromCell(Buffer& b, int32_t line, int32_t cell) {
  if (line < 1 || line > b.lineCount()) return 1;
  return columnFromCell(b.store().peekLine(line), cell, b.tabLength());
}

}  // namespace osk
