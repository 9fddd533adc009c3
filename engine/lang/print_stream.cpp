#include "engine/lang/print_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/gauge.h"
#include "engine/store/line_store.h"

namespace osk::print {

namespace {

int32_t validTab(int32_t tabLength) { return (tabLength >= 1 && tabLength <= 32) ? tabLength : 1; }

std::string expandCells(std::string_view text, int32_t tabLength, bool tabsAsSpaces) {
  const int32_t tab = validTab(tabLength);
  std::string cells;
  cells.reserve(text.size());
  for (char c : text) {
    if (c != '\t') {
      cells.push_back(c);
    } else if (tabsAsSpaces) {
      cells.push_back(' ');
    } else {
      cells.append(static_cast<std::size_t>(tab - static_cast<int32_t>(cells.size()) % tab), ' ');
    }
  }
  return cells;
}

bool isBlank(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first == std::string_view::npos || text[first] == '\f';
}

// Indentation in columns: a space is one, a tab moves to the next multiple of the tab length.
int32_t indentOf(std::string_view text, int32_t tabLength) {
  const int32_t tab = validTab(tabLength);
  int32_t column = 0;
  for (char c : text) {
    if (c == ' ') {
      ++column;
    } else if (c == '\t') {
      column = (column / tab + 1) * tab;
    } else {
      break;
    }
  }
  return column;
}

// Gathers output in a fixed buffer of 1024 bytes, making room before every append.
class StreamWriter {
 public:
  explicit StreamWriter(const ByteSink& sink) : sink_(sink) {}

  void append(const char* data, std::size_t size) {
    if (used_ + size > sizeof(buffer_)) flush();
    if (size > sizeof(buffer_)) {
      pass(data, size);
      return;
    }
    std::memcpy(buffer_ + used_, data, size);
    used_ += size;
  }
  void append(std::string_view text) { append(text.data(), text.size()); }
  void number(const char* tag, int32_t value) {
    char text[32];
    const int n = std::snprintf(text, sizeof(text), "%s%ld ", tag, static_cast<long>(value));
    append(text, static_cast<std::size_t>(n));
  }
  void segmentText(std::string_view cells) {
    for (char c : cells) {
      if (c == '\x1A') continue;
      if (c == '\\' || c == '{' || c == '}') {
        const char escaped[2] = {'\\', c};
        append(escaped, 2);
      } else {
        append(&c, 1);
      }
    }
  }
  void flush() {
    if (used_ > 0) pass(buffer_, used_);
    used_ = 0;
  }
  bool failed() const { return failed_; }

 private:
  void pass(const char* data, std::size_t size) {
    if (!failed_ && !sink_(data, size)) failed_ = true;
  }

  const ByteSink& sink_;
  char buffer_[1024];
  std::size_t used_ = 0;
  bool failed_ = false;
};

struct Run {
  int32_t first;   // 1-based cell
  int32_t end;     // exclusive
  int32_t colour;
};

// The runs of a line over cells 1 to width: the provider's spans in order, plain text in every gap.
void lineRuns(const PrintOptions& options, int32_t line, const std::string& cells, std::vector<Run>& runs) {
  runs.clear();
  const auto width = static_cast<int32_t>(cells.size());
  std::vector<ColourSpan> spans;
  if (options.colours) options.colours(line, cells, spans);
  std::stable_sort(spans.begin(), spans.end(),
                   [](const ColourSpan& a, const ColourSpan& b) { return a.cell < b.cell; });
  int32_t next = 1;
  for (const ColourSpan& span : spans) {
    const int32_t first = std::max(span.cell, next);
    const int32_t end = std::min<int64_t>(static_cast<int64_t>(span.cell) + span.length, width + 1);
    if (end <= first) continue;
    if (first > next) runs.push_back({next, first, -1});
    runs.push_back({first, end, span.colour});
    next = end;
  }
  if (next <= width) runs.push_back({next, width + 1, -1});
}

}  // namespace

int32_t cellOfColumn(std::string_view text, int32_t column, int32_t tabLength, bool tabsAsSpaces) {
  if (column < 1) return 1;
  const auto inside = static_cast<std::size_t>(std::min<int64_t>(column - 1, static_cast<int64_t>(text.size())));
  const auto width = static_cast<int32_t>(expandCells(text.substr(0, inside), tabLength, tabsAsSpaces).size());
  return width + 1 + (column - 1 - static_cast<int32_t>(inside));
}

int32_t writePrintStream(LineStore& store, const PrintRange& range, const PrintOptions& options,
                         const ByteSink& sink) {
  StreamWriter out(sink);
  const int32_t lines = store.lineCount();
  int32_t first = 1, last = lines;
  int32_t startLine = range.startLine, endLine = range.endLine;
  int32_t startCell = range.startCell, endCell = range.endCell;
  if (range.kind != RangeKind::kNone) {
    const bool reversed = startLine > endLine || (startLine == endLine && startCell > endCell);
    if (range.kind == RangeKind::kStream && reversed) std::swap(startCell, endCell);
    if (startLine > endLine) std::swap(startLine, endLine);
    if (range.kind == RangeKind::kColumn && startCell > endCell) std::swap(startCell, endCell);
    first = std::clamp(startLine, 1, std::max(lines, 1));
    last = std::clamp(endLine, first, std::max(lines, 1));
  }
  if (lines == 0) first = 1, last = 0;
  out.number("\\num", last - first + 1);

  // The gauge counts from the first line through the number of lines; its steps are line numbers.
  Gauge gauge(options.gauge, options.caption, first, last - first + 1);
  std::string text, next, cells;
  std::vector<Run> runs;
  bool paragraphStarts = true;   // the next non-blank line starts a paragraph
  bool previousBlank = true;     // no paragraph is open yet
  for (int32_t line = first; line <= last; ++line) {
    if (gauge.step(line)) {
      out.flush();
      return kAborted;
    }
    store.getLine(line, text);
    const bool blank = isBlank(text);
    if (blank) {
      if (!previousBlank) out.append("\\pare \r\n");
      out.append("\\para \r\n");
      paragraphStarts = true;
      previousBlank = true;
      continue;
    }
    if (paragraphStarts) {
      const int32_t indent = indentOf(text, options.tabLength);
      int32_t margin = indent;
      if (line < last && store.getLine(line + 1, next) && !isBlank(next)) margin = indentOf(next, options.tabLength);
      out.append("\\parl ");
      out.number("\\fli", indent);
      out.number("\\lma", margin);
      paragraphStarts = false;
    }
    previousBlank = false;

    int32_t low = 1, high = INT32_MAX;
    if (range.kind == RangeKind::kColumn) {
      low = startCell;
      high = endCell;
    } else if (range.kind == RangeKind::kStream) {
      if (line == first) low = startCell;
      if (line == last) high = endCell;
    }
    cells = expandCells(text, options.tabLength, options.tabsAsSpaces);
    lineRuns(options, line, cells, runs);
    for (const Run& run : runs) {
      const int32_t code = (run.colour >= 0 && options.colourSyntax) ? 4 + run.colour : 0;
      out.number("\\seg", code);
      const int32_t from = std::max(run.first, low), to = std::min(run.end, high);
      if (to > from) out.segmentText(std::string_view(cells).substr(static_cast<std::size_t>(from - 1),
                                                                    static_cast<std::size_t>(to - from)));
    }
    out.append("\\line \r\n");
    if (out.failed()) return kWriteFailed;
  }
  out.flush();
  return out.failed() ? kWriteFailed : 0;
}

int32_t writePrintStreamFile(LineStore& store, const PrintRange& range, const PrintOptions& options,
                             const char* path) {
  if (path == nullptr || *path == '\0') return kCannotCreate;
  std::FILE* file = std::fopen(path, "w+b");
  if (file == nullptr) return kCannotCreate;
  int32_t result = writePrintStream(store, range, options, [file](const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file) == size;
  });
  if (std::fclose(file) != 0 && result == 0) result = kWriteFailed;
  return result;
}

}  // namespace osk::print
