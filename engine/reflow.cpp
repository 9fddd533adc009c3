#include "engine/reflow.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/ecd_api.h"
#include "engine/editing.h"
#include "engine/gauge.h"
#include "engine/tabs.h"

namespace osk {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

struct Margins {
  int32_t first;   // cell where a paragraph's first line starts
  int32_t other;   // cell where its other lines start
  int32_t right;   // last cell a line may use
};

class Filler {
 public:
  explicit Filler(const Buffer& b) : spaces_(b.has(kStateTabsAsSpaces)), tab_(b.tabLength()) {}

  int32_t width(std::string_view s) const {
    return spaces_ ? static_cast<int32_t>(s.size()) : expandedWidth(s, tab_);
  }

  static std::size_t indentLength(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && blank(s[i])) ++i;
    return i;
  }

  // Runs of two or more spaces become one; trailing blanks go.
  static std::string collapse(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == ' ' && !out.empty() && out.back() == ' ') continue;
      out.push_back(s[i]);
    }
    while (!out.empty() && blank(out.back())) out.pop_back();
    return out;
  }

  // The line re-indented to start at cell `margin`, its text collapsed.
  std::string indent(std::string_view line, int32_t margin, bool keepIndent) const {
    const std::size_t lead = indentLength(line);
    std::string head(line.substr(0, lead));
    if (!keepIndent && width(head) != margin - 1) head.assign(static_cast<std::size_t>(std::max(margin - 1, 0)), ' ');
    return head + collapse(line.substr(lead));
  }

  // Fills `lines` (one paragraph, or its tail) between the margins. `startsParagraph`: the first line is the
  // paragraph's first.
  std::vector<std::string> fill(const std::vector<std::string>& lines, bool startsParagraph, const Margins& m,
                                bool autoMargin) const {
    std::vector<std::string> out;
    const int32_t right = m.right;
    std::string work = indent(lines[0], startsParagraph ? m.first : m.other, autoMargin && startsParagraph);
    std::size_t next = 1;
    for (;;) {
      while (width(work) > right) {
        const std::size_t marginPos = indentLength(work);
        const auto cellR = static_cast<std::size_t>(columnFromCell(work, right, spaces_ ? 1 : tab_) - 1);
        std::size_t brk = std::string::npos;
        for (std::size_t j = std::min(cellR, work.size() - 1); j > marginPos; --j) {
          if (work[j] == ' ') {
            while (j - 1 > marginPos && work[j - 1] == ' ') --j;
            brk = j;
            break;
          }
          if (work[j] == '\t') {
            brk = j;
            break;
          }
        }
        if (brk == std::string::npos) brk = std::max(cellR, marginPos + 1);
        std::string head = work.substr(0, brk);
        while (!head.empty() && blank(head.back())) head.pop_back();
        std::string_view rest = std::string_view(work).substr(brk);
        rest.remove_prefix(indentLength(rest));
        out.push_back(head);
        work = std::string(static_cast<std::size_t>(m.other - 1), ' ') + collapse(rest);
      }
      if (next >= lines.size()) break;
      std::string_view following = lines[next];
      following.remove_prefix(indentLength(following));
      const std::string appended = collapse(following);
      const std::string sep = (!work.empty() && work.back() == '\t') ? "" : " ";
      const std::size_t wordEnd = std::min(appended.find_first_of(" \t"), appended.size());
      if (width(work + sep + appended.substr(0, wordEnd)) > right) {
        out.push_back(work);
        work = indent(lines[next], m.other, false);
      } else {
        work += sep + appended;
      }
      ++next;
    }
    out.push_back(work);
    return out;
  }

 private:
  bool spaces_;
  int32_t tab_;
};

// Where the insertion point lies among a paragraph's words: after `nonBlanks` non-blank characters, and whether a
// blank (or a line break) lies between them and the point.
struct Anchor {
  int64_t nonBlanks = 0;
  bool afterBlank = false;
};

Anchor anchorOf(const std::vector<std::string>& lines, int32_t firstLine, TextPos at) {
  Anchor a;
  const auto row = static_cast<std::size_t>(at.line - firstLine);
  for (std::size_t r = 0; r < row; ++r) {
    for (char c : lines[r]) a.nonBlanks += blank(c) ? 0 : 1;
  }
  const std::string& line = lines[row];
  const auto upto = std::min<std::size_t>(static_cast<std::size_t>(std::max(at.column - 1, 0)), line.size());
  for (std::size_t i = 0; i < upto; ++i) a.nonBlanks += blank(line[i]) ? 0 : 1;
  if (at.column - 1 > static_cast<int32_t>(line.size())) {
    a.afterBlank = true;
  } else if (upto > 0) {
    a.afterBlank = blank(line[upto - 1]);
  } else {
    a.afterBlank = row > 0;
  }
  return a;
}

TextPos placeAnchor(const std::vector<std::string>& lines, int32_t firstLine, const Anchor& a) {
  int64_t seen = 0;
  for (std::size_t r = 0; r < lines.size(); ++r) {
    const std::string& line = lines[r];
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (blank(line[i])) continue;
      if (seen == a.nonBlanks) {
        // The point lies before this character: directly before it, or after the blank before it.
        return TextPos{firstLine + static_cast<int32_t>(r), static_cast<int32_t>(i) + 1};
      }
      ++seen;
      if (seen == a.nonBlanks && !a.afterBlank) {
        return TextPos{firstLine + static_cast<int32_t>(r), static_cast<int32_t>(i) + 2};
      }
    }
    if (seen == a.nonBlanks && a.afterBlank && r + 1 == lines.size()) {
      return TextPos{firstLine + static_cast<int32_t>(r), static_cast<int32_t>(line.size()) + 2};
    }
  }
  const std::string& last = lines.back();
  return TextPos{firstLine + static_cast<int32_t>(lines.size()) - 1, static_cast<int32_t>(last.size()) + 1};
}

class Reflower {
 public:
  Reflower(Buffer& b, TextPos& at) : b_(b), at_(at), filler_(b) {}

  bool separator(int32_t line) { return isSeparator(b_.store().peekLine(line)); }

  Margins margins(int32_t first, int32_t last, bool startsParagraph) {
    if (!b_.autoMargin()) {
      return Margins{std::max(b_.leftMargin() + b_.firstOffset(), 1), b_.leftMargin(), b_.rightMargin()};
    }
    const std::string_view one = b_.store().peekLine(first);
    const int32_t firstIndent = filler_.width(one.substr(0, Filler::indentLength(one))) + 1;
    int32_t otherIndent = firstIndent;
    if (first < last) {
      const std::string_view two = b_.store().peekLine(first + 1);
      otherIndent = filler_.width(two.substr(0, Filler::indentLength(two))) + 1;
    }
    if (!startsParagraph) otherIndent = firstIndent;
    int32_t right = b_.rightMargin();
    if (startsParagraph && right < 5) right = 5;
    right = std::max({right, firstIndent + 4, otherIndent + 4});
    right = std::min(right, kMaxLineCells);
    return Margins{firstIndent, otherIndent, right};
  }

  // Refills lines `first` to `last`; returns the change in the line count.
  Status fill(int32_t first, int32_t last, bool startsParagraph, int32_t& delta) {
    std::vector<std::string> lines;
    for (int32_t l = first; l <= last; ++l) lines.emplace_back(b_.store().peekLine(l));
    const Margins m = margins(first, last, startsParagraph);
    std::vector<std::string> out = filler_.fill(lines, startsParagraph, m, b_.autoMargin());
    for (const std::string& s : out) {
      if (s.size() > static_cast<std::size_t>(kMaxLineLength)) return Status::kLineTooLong;
    }
    delta = 0;
    // Nothing to change: the typing run stays open, so typing in a filled paragraph keeps one undo group.
    if (out == lines) return Status::kOk;
    b_.releaseLine();
    const bool caretInside = at_.line >= first && at_.line <= last;
    Anchor anchor;
    if (caretInside) anchor = anchorOf(lines, first, at_);
    const std::size_t common = std::min(lines.size(), out.size());
    for (std::size_t i = 0; i < common; ++i) {
      if (lines[i] == out[i]) continue;
      const int32_t line = first + static_cast<int32_t>(i);
      Status s = b_.history().changeLine(line, out[i], b_.store().properties().get(line));
      if (s != Status::kOk) return s;
      b_.notify(ECDB_REPAINT_LINES, 1, line);
    }
    const int32_t after = first + static_cast<int32_t>(common) - 1;
    if (out.size() > common) {
      std::vector<std::string_view> extra(out.begin() + static_cast<std::ptrdiff_t>(common), out.end());
      Status s = b_.history().insertLines(after, extra);
      if (s != Status::kOk) return s;
      b_.notify(ECDB_LINES_INSERTED, extra.size(), after);
    } else if (lines.size() > common) {
      const auto gone = static_cast<int32_t>(lines.size() - common);
      Status s = b_.history().deleteLines(after + 1, gone);
      if (s != Status::kOk) return s;
      b_.notify(ECDB_LINES_DELETED, static_cast<uintptr_t>(gone), after + 1);
    }
    delta = static_cast<int32_t>(out.size()) - static_cast<int32_t>(lines.size());
    if (caretInside) {
      at_ = placeAnchor(out, first, anchor);
    } else if (at_.line > last) {
      at_.line += delta;
    }
    return Status::kOk;
  }

  bool startsParagraph(int32_t line) { return line == 1 || separator(line - 1); }

  int32_t paragraphEnd(int32_t line, int32_t limit) {
    while (line < limit && !separator(line + 1)) ++line;
    return line;
  }

  // The single-paragraph modes look at most this far from the insertion point, so that typing in a text with no
  // blank lines costs the same whatever its size.
  static constexpr int32_t kReach = 1000;

  int32_t paragraphStart(int32_t line) {
    const int32_t stop = std::max(1, line - kReach);
    while (line > stop && !separator(line - 1)) --line;
    return line;
  }

 private:
  Buffer& b_;
  TextPos& at_;
  Filler filler_;
};

}  // namespace

bool isSeparator(std::string_view line) {
  const std::size_t i = Filler::indentLength(line);
  return i == line.size() || line[i] == '\f';
}

Status reflow(Buffer& b, ReflowMode mode, int32_t first, int32_t last, TextPos& at, const char* caption) {
  if (b.readOnly()) return Status::kReadOnly;
  const int32_t left = b.leftMargin();
  const int32_t right = b.rightMargin();
  if (!b.autoMargin() && (left >= right || left + b.firstOffset() >= right)) return Status::kBadMargin;
  if (b.lineCount() == 0) return Status::kOk;
  // An explicit reflow is a command of its own: it closes the typing run. The single-paragraph modes close it
  // only when they change something.
  if (mode == ReflowMode::kExplicit) b.releaseLine();
  Reflower r(b, at);
  EditGroup group(b, at);
  Status s = Status::kOk;
  if (mode == ReflowMode::kExplicit) {
    first = std::clamp(first, 1, b.lineCount());
    last = std::clamp(last, first, b.lineCount());
    const int32_t total = last - first + 1;
    const int32_t every = total <= 100 ? 5 : total / 50;
    Gauge gauge(b.gaugeCallbacks(), caption, first, total);
    int32_t line = first;
    int32_t nextStep = every;
    while (line <= last && s == Status::kOk) {
      if (r.separator(line)) {
        ++line;
        continue;
      }
      const int32_t end = r.paragraphEnd(line, last);
      int32_t delta = 0;
      s = r.fill(line, end, r.startsParagraph(line), delta);
      last += delta;
      const int32_t done = end + delta - first + 1;
      line = end + delta + 1;
      if (done >= nextStep) {
        nextStep = done + every;
        // Steps are positions from the first line, as the start told the gauge.
        if (gauge.step(static_cast<int64_t>(first) + done)) break;
      }
    }
  } else {
    int32_t line = std::clamp(at.line, 1, b.lineCount());
    if (r.separator(line)) {
      if (mode == ReflowMode::kNewLine) {
        at.column = r.startsParagraph(line) ? std::max(b.leftMargin() + b.firstOffset(), 1) : b.leftMargin();
      }
      group.end = at;
      return Status::kOk;
    }
    int32_t start = mode == ReflowMode::kNewLine ? line : r.paragraphStart(line);
    const int32_t reach = std::min(b.lineCount(), line + Reflower::kReach);
    int32_t end = r.paragraphEnd(line, reach);
    // Joining at a paragraph's end takes the empty line after it away, so the next paragraph joins on.
    if (mode == ReflowMode::kJoin && first >= end && end + 2 <= b.lineCount() &&
        b.store().peekLine(end + 1).empty()) {
      b.releaseLine();
      s = b.history().deleteLines(end + 1, 1);
      if (s == Status::kOk) {
        b.notify(ECDB_LINES_DELETED, 1, end + 1);
        if (at.line > end + 1) --at.line;
        end = r.paragraphEnd(end, std::min(b.lineCount(), end + Reflower::kReach));
      }
    }
    int32_t delta = 0;
    if (s == Status::kOk) s = r.fill(start, end, r.startsParagraph(start), delta);
  }
  group.end = at;
  return s;
}

Status reflowParagraph(Buffer& b, TextPos& at, const char* caption) {
  if (b.lineCount() == 0) return reflow(b, ReflowMode::kExplicit, 1, 1, at, caption);
  const int32_t line = std::clamp(at.line, 1, b.lineCount());
  int32_t first = line;
  while (first > 1 && !isSeparator(b.store().peekLine(first - 1))) --first;
  int32_t last = line;
  while (last < b.lineCount() && !isSeparator(b.store().peekLine(last + 1))) ++last;
  return reflow(b, ReflowMode::kExplicit, first, last, at, caption);
}

}  // namespace osk
