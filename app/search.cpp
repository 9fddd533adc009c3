#include "app/search.h"

#include <algorithm>
#include <vector>

#include "app/word_pattern.h"
#include "engine/edit_api.h"
#include "engine/lang/regex_api.h"

namespace osk::app {
namespace {

constexpr int32_t kMaxColumns = 1024;
constexpr int32_t kBookmarkBit = 1;
constexpr uint32_t kStepEvery = 64;   // matches between two looks at Esc during repeated work

SearchFailedHook& failedHook() {
  static SearchFailedHook hook = nullptr;
  return hook;
}

std::string lineText(int32_t line) {
  char text[kMaxColumns + 1] = {};
  if (GetLine(line, text) == 0) return {};
  return text;
}

// A compiled pattern or substitution that is freed with its scope.
class Pattern {
 public:
  Pattern(const std::string& text, bool regex) : handle_(CompileRE(text.c_str(), regex ? 1 : 0)) {}
  ~Pattern() { DestroyRE(handle_); }
  Pattern(const Pattern&) = delete;
  Pattern& operator=(const Pattern&) = delete;
  HCOMPILEDRE get() const { return handle_; }

 private:
  HCOMPILEDRE handle_;
};

class Substitution {
 public:
  Substitution(const std::string& text, bool regex) : handle_(CompileGS(text.c_str(), regex ? 1 : 0)) {}
  ~Substitution() { DestroyGS(handle_); }
  Substitution(const Substitution&) = delete;
  Substitution& operator=(const Substitution&) = delete;
  HCOMPILEDGS get() const { return handle_; }
  // The replacement for the matcher's last match.
  std::string expand() const {
    char out[kMaxColumns + 1] = {};
    if (GetSubsString(handle_, out) == 0) return {};
    return out;
  }

 private:
  HCOMPILEDGS handle_;
};

TextPosition caretPosition() {
  TextPosition p;
  GetCaretCol(&p.line, &p.column);
  return p;
}

TextPosition endOfText() {
  const int32_t last = std::max(1, GetLineCount());
  return {last, GetLineLen(last) + 1};
}

void selectMatch(const SearchMatch& m, bool forward) {
  if (QueryMark()) UnMark();
  AnchorMark(1, m.line, forward ? m.column : m.end());
  UpdateMark(m.line, forward ? m.end() : m.column);
  if (m.line > 3) SetEdWindowScroll(m.line - 3, 1);
  ScrollToView();
  UpdateDisplay();
}

}  // namespace

EditedField insertFragment(std::string_view text, int32_t selStart, int32_t selEnd, std::string_view fragment) {
  const auto size = static_cast<int32_t>(text.size());
  selStart = std::clamp(selStart, 0, size);
  selEnd = std::clamp(selEnd, selStart, size);
  EditedField out{std::string(text.substr(0, static_cast<std::size_t>(selStart))) +
                      std::string(text.substr(static_cast<std::size_t>(selEnd))),
                  selStart};
  for (const char ch : fragment) {
    const auto code = static_cast<unsigned char>(ch);
    if (code == 0xF0) {
      out.caret = std::max(0, out.caret - 1);
    } else if (code == 0xF1) {
      out.caret = 0;
    } else if (code == 0xF2) {
      out.caret = static_cast<int32_t>(out.text.size());
    } else if (out.text.size() < kMaxSearchChars) {
      out.text.insert(out.text.begin() + out.caret, ch);
      ++out.caret;
    }
  }
  return out;
}

std::string findHelperFragment(int item) {
  static const char* const fragments[] = {
      ".", "[]\xF0", "[^]\xF0", "\xF1^", "\xF2$\xF0", "*", "+", "?", "()\xF0", "\\t", "\\f",
  };
  if (item < 0 || item >= static_cast<int>(std::size(fragments))) return {};
  return fragments[item];
}

std::string replaceHelperFragment(int item) {
  if (item < 0 || item > 9) return {};
  return std::string("\\") + static_cast<char>('0' + item);
}

std::string firstArgument(std::string_view parameter) {
  const std::size_t begin = parameter.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  parameter.remove_prefix(begin);
  if (parameter.front() == '"') {
    parameter.remove_prefix(1);
    return std::string(parameter.substr(0, parameter.find('"')));
  }
  return std::string(parameter.substr(0, parameter.find_first_of(" \t")));
}

void setSearchFailedHook(SearchFailedHook hook) { failedHook() = hook; }

void searchFailed() {
  if (failedHook() != nullptr) failedHook()();
}

int32_t replaceInLine(const SearchMatch& match, const std::string& expansion) {
  return replaceInLine(match, expansion, lineText(match.line));
}

int32_t replaceInLine(const SearchMatch& match, const std::string& expansion, const std::string& line) {
  const std::size_t first = std::min<std::size_t>(static_cast<std::size_t>(match.column - 1), line.size());
  const std::size_t after = std::min<std::size_t>(static_cast<std::size_t>(match.end() - 1), line.size());
  std::string out = line.substr(0, first) + expansion;
  if (out.size() >= static_cast<std::size_t>(kMaxColumns)) {
    out.resize(kMaxColumns);
  } else {
    out += line.substr(after);
    if (out.size() > static_cast<std::size_t>(kMaxColumns)) out.resize(kMaxColumns);
  }
  ReplaceLine(match.line, out.c_str());
  return static_cast<int32_t>(std::min<std::size_t>(first + expansion.size(), kMaxColumns)) + 1;
}

// Where one operation stands: the window it began in, the pass it is in and the next position to search from.
struct SearchSession::Walk {
  enum Stage { kFirst, kOthers, kWrapped, kDone };
  Stage stage = kFirst;
  bool forward = true;
  bool skipReadOnly = false;
  bool useArea = false;
  bool stopAtOrigin = false;
  OskWindow first = nullptr;
  OskWindow current = nullptr;
  TextPosition pos;
  TextPosition origin;
};

SearchSession::SearchSession(SearchHost& host, const WordPattern& words) : host_(host), words_(words) {}

void SearchSession::takeArea() {
  found_.reset();
  area_.reset();
  areaMatched_ = false;
  areaWindow_ = GetCurEdWindow();
  if (areaWindow_ == nullptr || !QueryMark()) return;
  SearchArea a;
  a.markType = QueryMarkType();
  QueryMarkStart(&a.start.line, &a.start.column);
  QueryMarkEnd(&a.end.line, &a.end.column);
  if (selected_ && selected_->window == areaWindow_ && a.markType == 1 &&
      a.start == TextPosition{selected_->match.line, selected_->match.column} &&
      a.end == TextPosition{selected_->match.line, selected_->match.end()}) {
    return;
  }
  if (a.markType == 2) {
    a.start.column = 1;
    a.end.column = kMaxColumns + 1;
  } else if (a.markType == 3) {
    EcdCaretState state{};
    StoreCaretState(&state);
    a.firstCell = std::min(state.firstCell, state.secondCell);
    a.lastCell = std::max(state.firstCell, state.secondCell);
    a.start.column = ColFromCell(a.start.line, a.firstCell);
    a.end.column = ColFromCell(a.end.line, a.lastCell);
  } else if (a.markType != 1) {
    return;
  }
  StoreCaretState(&areaSelection_);
  area_ = a;
}

void SearchSession::dropArea() {
  area_.reset();
  areaMatched_ = false;
}

bool SearchSession::selectionIsFound() const {
  if (!found_ || GetCurEdWindow() != found_->window || !QueryMark() || QueryMarkType() != 1) return false;
  // Found with another text or other options, it is not what Replace would replace.
  if (found_->text != text || found_->regEx != options.regEx || found_->matchCase != options.matchCase) return false;
  TextPosition a, b;
  QueryMarkStart(&a.line, &a.column);
  QueryMarkEnd(&b.line, &b.column);
  const SearchMatch& m = found_->match;
  return a == TextPosition{m.line, m.column} && b == TextPosition{m.line, m.end()};
}

void SearchSession::lineRange(int32_t line, int32_t& lo, int32_t& hi) const {
  lo = 1;
  hi = kMaxColumns + 1;
  if (!area_) return;
  if (area_->markType == 1) {
    if (line == area_->start.line) lo = area_->start.column;
    if (line == area_->end.line) hi = area_->end.column;
  } else if (area_->markType == 3) {
    lo = ColFromCell(line, area_->firstCell);
    hi = ColFromCell(line, area_->lastCell);
  }
}

bool SearchSession::acceptable(const Walk& walk, const std::string& line, const SearchMatch& m) const {
  if (walk.useArea) {
    int32_t lo = 0, hi = 0;
    lineRange(m.line, lo, hi);
    if (m.column < lo || m.end() > hi) return false;
  }
  if (walk.stopAtOrigin && m.line == walk.origin.line) {
    if (walk.forward ? m.column >= walk.origin.column : m.end() <= walk.origin.column) return false;
  }
  if (options.wholeWord && !options.regEx) {
    for (const WordSpan& w : words_.words(line)) {
      if (w.column == m.column) return w.length == m.length;
      if (w.column > m.column) break;
    }
    return false;
  }
  return true;
}

// Tries the pattern on one line start by start, within the columns the area allows, from the engine column `from`.
bool SearchSession::searchLine(const Walk& walk, void* pattern, int32_t lineNumber, const std::string& line,
                               int32_t from, SearchMatch& match) const {
  int32_t lo = 1, hi = kMaxColumns + 1;
  if (walk.useArea) lineRange(lineNumber, lo, hi);
  lo = std::max(lo, 1);
  hi = std::min<int32_t>(hi, static_cast<int32_t>(line.size()) + 1);
  if (lo >= hi) return false;
  // Cut only where the area demands it, so that anchors keep their meaning on the whole line.
  const std::string piece = line.substr(static_cast<std::size_t>(lo - 1), static_cast<std::size_t>(hi - lo));
  const int32_t size = static_cast<int32_t>(piece.size());
  auto* compiled = static_cast<HCOMPILEDRE>(pattern);
  const int32_t matchCase = options.matchCase ? 1 : 0;
  if (walk.forward) {
    for (int32_t c = std::max(0, from + 1 - lo); c < size;) {
      int32_t col = c, len = 0;
      if (!HitTest(compiled, piece.c_str(), 1, matchCase, &col, &len)) return false;
      const SearchMatch m{lineNumber, lo + col, len};
      if (acceptable(walk, line, m)) {
        // The whole-word test ran the word pattern: match again so the substitution sees this match.
        if (options.wholeWord && !options.regEx) HitTest(compiled, piece.c_str(), 1, matchCase, &col, &len);
        match = m;
        return true;
      }
      c = col + 1;
    }
  } else {
    for (int32_t c = std::min(size - 1, from + 1 - lo); c >= 0;) {
      int32_t col = c, len = 0;
      if (!HitTest(compiled, piece.c_str(), 0, matchCase, &col, &len)) return false;
      const SearchMatch m{lineNumber, lo + col - len + 1, len};
      if (acceptable(walk, line, m)) {
        if (options.wholeWord && !options.regEx) HitTest(compiled, piece.c_str(), 0, matchCase, &col, &len);
        match = m;
        return true;
      }
      c = col - 1;
    }
  }
  return false;
}

// One buffer, from the walk's position to the end of the file, of the area, or of the wrapped pass.
bool SearchSession::searchPass(Walk& walk, void* pattern, SearchMatch& match, bool& aborted) {
  const int32_t lines = GetLineCount();
  if (lines <= 0) return false;
  if (walk.skipReadOnly && IsReadOnly()) return false;
  const bool forward = walk.forward;
  int32_t limit = forward ? lines : 1;
  if (walk.useArea && area_) limit = forward ? std::min(limit, area_->end.line) : std::max(limit, area_->start.line);
  if (walk.stopAtOrigin) limit = forward ? std::min(limit, walk.origin.line) : std::max(limit, walk.origin.line);
  int32_t line = std::clamp(walk.pos.line, 1, lines);
  int32_t col = forward ? walk.pos.column - 1 : walk.pos.column - 2;
  if (col < 0) {
    if (forward) {
      col = 0;
    } else {
      --line;
      col = kMaxColumns;
    }
  }
  const bool plainWords = options.wholeWord && !options.regEx;
  auto* compiled = static_cast<HCOMPILEDRE>(pattern);
  // The engine's line search matches lines with their tabs expanded and answers in display cells: here it skips
  // the lines without a match, and a line that holds a tab is matched again as stored. A pattern that could match
  // a tab itself (a tab, ".", a class, an escape) might miss such a line there: it is matched line by line.
  const bool locate =
      text.find('\t') == std::string::npos && !(options.regEx && text.find_first_of(".[\\") != std::string::npos);
  // The rest of a line the search starts inside (after a replacement, most often) is matched here, as stored;
  // the engine's search then takes whole lines only.
  if (col != (forward ? 0 : kMaxColumns) && (forward ? line <= limit : line >= limit)) {
    heldText_ = lineText(line);
    heldLine_ = line;
    if (searchLine(walk, pattern, line, heldText_, col, match)) return true;
    line += forward ? 1 : -1;
    col = forward ? 0 : kMaxColumns;
  }
  while (forward ? line <= limit : line >= limit) {
    int32_t l = line, c = col, len = 0, stopped = 0;
    if (locate) {
      if (!LineHitTest(compiled, forward ? 1 : 0, options.matchCase ? 1 : 0, 1, limit, &l, &c, &len, &stopped)) {
        aborted = stopped != 0;
        return false;
      }
    } else if (l % 256 == 0 && host_.stopRequested(l)) {
      aborted = true;
      return false;
    }
    heldText_ = lineText(l);
    heldLine_ = l;
    const std::string& lineHeld = heldText_;
    if (locate && lineHeld.find('\t') == std::string::npos) {   // cells are columns here
      const SearchMatch m{l, forward ? c + 1 : c - len + 2, len};
      const bool quick = !plainWords && !walk.useArea && !(walk.stopAtOrigin && l == walk.origin.line);
      if (quick || acceptable(walk, lineHeld, m)) {
        if (plainWords) {   // the word test ran the word pattern; match the line again for the substitution
          int32_t again = c, length = 0;
          HitTest(compiled, lineHeld.c_str(), forward ? 1 : 0, options.matchCase ? 1 : 0, &again, &length);
        }
        match = m;
        return true;
      }
    }
    if (searchLine(walk, pattern, l, lineHeld, col, match)) return true;
    if (locate && host_.stopRequested(l)) {
      aborted = true;
      return false;
    }
    line = forward ? l + 1 : l - 1;
    col = forward ? 0 : kMaxColumns;
  }
  return false;
}

bool SearchSession::nextMatch(Walk& walk, void* pattern, SearchMatch& match, bool& aborted) {
  while (walk.stage != Walk::kDone) {
    if (searchPass(walk, pattern, match, aborted)) return true;
    if (aborted) return false;
    if (walk.stage == Walk::kFirst && walk.useArea) {
      if (!host_.continueBeyondArea()) break;
      const SearchArea a = *area_;
      dropArea();
      walk.useArea = false;
      walk.pos = walk.forward ? a.end : a.start;
      continue;
    }
    if (walk.stage == Walk::kWrapped) break;
    if (options.scope == 2) {
      OskWindow next = host_.adjacentDocument(walk.current, walk.forward);
      if (next != nullptr && next != walk.first) {
        walk.current = next;
        host_.activate(next);
        walk.stage = Walk::kOthers;
        walk.pos = walk.forward ? TextPosition{1, 1} : endOfText();
        continue;
      }
    }
    if (options.scope == 0) break;
    if (walk.current != walk.first) {
      walk.current = walk.first;
      host_.activate(walk.first);
    }
    walk.stage = Walk::kWrapped;
    walk.stopAtOrigin = true;
    walk.pos = walk.forward ? TextPosition{1, 1} : endOfText();
  }
  walk.stage = Walk::kDone;
  return false;
}

SearchReport SearchSession::findNext(std::optional<bool> forward) {
  SearchReport report;
  if (text.empty()) return report;
  Pattern pattern(text, options.regEx);
  if (pattern.get() == nullptr) {
    text.clear();
    report.outcome = SearchOutcome::kInvalidPattern;
    return report;
  }
  OskWindow editor = GetCurEdWindow();   // none: a buffer without window is searched alone
  if (editor == nullptr && GetCurBuffer() == nullptr) {
    report.outcome = SearchOutcome::kNoDocument;
    return report;
  }
  host_.beginWork("Searching (Esc to abort)");
  EcdCaretState saved{};
  StoreCaretState(&saved);
  Walk walk;
  walk.forward = forward.value_or(options.forward);
  walk.first = walk.current = editor;
  walk.useArea = area_ && areaWindow_ == editor;
  walk.pos = walk.useArea && !areaMatched_ ? (walk.forward ? area_->start : area_->end) : caretPosition();
  if (!(walk.useArea && !areaMatched_) && QueryMark() && QueryMarkType() == 1) {
    // Beside a selected text, whichever end the caret is at, so that a change of direction does not find the
    // same match again.
    TextPosition first, last;
    QueryMarkStart(&first.line, &first.column);
    QueryMarkEnd(&last.line, &last.column);
    walk.pos = walk.forward ? last : first;
  }
  walk.origin = walk.pos;
  const bool hadArea = area_.has_value();
  SearchMatch m;
  bool aborted = false;
  if (nextMatch(walk, pattern.get(), m, aborted)) {
    selectMatch(m, walk.forward);
    found_ = Found{GetCurEdWindow(), m, walk.forward, text, options.regEx, options.matchCase};
    selected_ = found_;
    if (walk.useArea) areaMatched_ = true;
    report.outcome = SearchOutcome::kFound;
    report.count = 1;
  } else {
    if (GetCurEdWindow() != editor) host_.activate(editor);
    if (editor != nullptr) SetCurEdWindow(editor);
    RestoreCaretState(hadArea && areaWindow_ == editor ? &areaSelection_ : &saved);
    UpdateDisplay();
    if (hadArea) takeArea();
    found_.reset();
    report.outcome = aborted ? SearchOutcome::kAborted : SearchOutcome::kNotFound;
    if (!aborted) searchFailed();
  }
  host_.endWork();
  return report;
}

SearchReport SearchSession::replace() {
  SearchReport report;
  if (!selectionIsFound() || IsReadOnly()) return report;
  Pattern pattern(text, options.regEx);
  if (pattern.get() == nullptr) {
    text.clear();
    report.outcome = SearchOutcome::kInvalidPattern;
    return report;
  }
  Substitution substitution(replacement, options.regEx);
  if (substitution.get() == nullptr) {
    report.outcome = SearchOutcome::kInvalidSubstitution;
    return report;
  }
  const Found f = *found_;
  const std::string line = lineText(f.match.line);
  int32_t col = f.match.column - 1, len = 0;
  HitTest(pattern.get(), line.c_str(), 1, options.matchCase ? 1 : 0, &col, &len);
  StartOp();
  UnMark();
  const int32_t after = replaceInLine(f.match, substitution.expand());
  EndOp();
  if (area_ && area_->markType == 1 && area_->end.line == f.match.line && area_->end.column >= f.match.end()) {
    area_->end.column += after - f.match.end();
  }
  SetCaretCol(f.match.line, f.forward ? after : f.match.column);
  found_.reset();
  const SearchReport next = findNext(f.forward);
  report = next;
  report.count = 1;
  if (next.outcome == SearchOutcome::kNotFound) UpdateDisplay();
  return report;
}

SearchReport SearchSession::replaceAll() { return repeat(Repeat::kReplace); }
SearchReport SearchSession::count() { return repeat(Repeat::kCount); }
SearchReport SearchSession::bookmark() { return repeat(Repeat::kBookmark); }

SearchReport SearchSession::repeat(Repeat what) {
  SearchReport report;
  if (text.empty()) return report;
  Pattern pattern(text, options.regEx);
  if (pattern.get() == nullptr) {
    text.clear();
    report.outcome = SearchOutcome::kInvalidPattern;
    return report;
  }
  std::optional<Substitution> substitution;
  if (what == Repeat::kReplace) {
    substitution.emplace(replacement, options.regEx);
    if (substitution->get() == nullptr) {
      report.outcome = SearchOutcome::kInvalidSubstitution;
      return report;
    }
  }
  OskWindow editor = GetCurEdWindow();   // none: a buffer without window is searched alone
  if (editor == nullptr && GetCurBuffer() == nullptr) {
    report.outcome = SearchOutcome::kNoDocument;
    return report;
  }
  host_.beginWork(what == Repeat::kReplace ? "Replacing (Esc to abort)" : "Searching (Esc to abort)");
  EcdCaretState saved{};
  StoreCaretState(&saved);
  const bool hadArea = area_.has_value();
  const bool forward = options.forward;
  std::vector<OskWindow> grouped;   // windows whose buffer has an undo group open
  auto group = [&](OskWindow window) {
    if (what == Repeat::kCount || std::find(grouped.begin(), grouped.end(), window) != grouped.end()) return;
    StartOp();
    grouped.push_back(window);
  };
  OskWindow lastWindow = nullptr;
  TextPosition lastEnd;

  if (what == Repeat::kReplace && selectionIsFound() && !IsReadOnly()) {
    const SearchMatch m = found_->match;
    const std::string line = lineText(m.line);
    int32_t col = m.column - 1, len = 0;
    HitTest(pattern.get(), line.c_str(), 1, options.matchCase ? 1 : 0, &col, &len);
    group(editor);
    UnMark();
    const int32_t after = replaceInLine(m, substitution->expand());
    SetCaretCol(m.line, forward ? after : m.column);
    lastWindow = editor;
    lastEnd = {m.line, after};
    ++report.count;
  }
  found_.reset();

  Walk walk;
  walk.forward = forward;
  walk.skipReadOnly = what == Repeat::kReplace;
  walk.first = walk.current = editor;
  walk.useArea = area_ && areaWindow_ == editor;
  walk.pos = walk.useArea && !areaMatched_ ? (forward ? area_->start : area_->end) : caretPosition();
  walk.origin = walk.pos;
  SearchMatch m;
  bool aborted = false;
  uint32_t matches = 0;
  while (nextMatch(walk, pattern.get(), m, aborted)) {
    ++matches;
    if (what == Repeat::kReplace) {
      const std::string expansion = substitution->expand();
      group(walk.current);
      // The search read the line it matched in; nothing has changed it since.
      const int32_t after = heldLine_ == m.line ? replaceInLine(m, expansion, heldText_) : replaceInLine(m, expansion);
      const int32_t shift = after - m.end();
      if (walk.current == walk.first && walk.origin.line == m.line && walk.origin.column >= m.end()) {
        walk.origin.column += shift;
      }
      if (walk.useArea && area_ && area_->markType == 1 && area_->end.line == m.line &&
          area_->end.column >= m.end()) {
        area_->end.column += shift;
      }
      walk.pos = forward ? TextPosition{m.line, after} : TextPosition{m.line, m.column};
      lastWindow = walk.current;
      lastEnd = {m.line, after};
      ++report.count;
    } else {
      if (what == Repeat::kBookmark && GetLineProp(m.line, kBookmarkBit) == 0) {
        group(walk.current);
        SetLineProp(m.line, kBookmarkBit);
      }
      walk.pos = forward ? TextPosition{m.line, m.end()} : TextPosition{m.line, m.column};
      ++report.count;
    }
    if (matches % kStepEvery == 0 && host_.stopRequested(m.line)) {
      aborted = true;
      break;
    }
  }
  const OskWindow reached = GetCurEdWindow();
  for (OskWindow window : grouped) {
    if (window != nullptr) SetCurEdWindow(window);
    EndOp();
  }
  if (reached != nullptr) SetCurEdWindow(reached);

  if (what == Repeat::kReplace && lastWindow != nullptr) {
    if (GetCurEdWindow() != lastWindow) host_.activate(lastWindow);
    if (lastWindow != nullptr) SetCurEdWindow(lastWindow);
    if (QueryMark()) UnMark();
    SetCaretCol(lastEnd.line, lastEnd.column);
    ScrollToView();
    if (hadArea) takeArea();
  } else {
    if (GetCurEdWindow() != editor) host_.activate(editor);
    if (editor != nullptr) SetCurEdWindow(editor);
    RestoreCaretState(hadArea && areaWindow_ == editor ? &areaSelection_ : &saved);
    if (hadArea) takeArea();
  }
  UpdateDisplay();
  host_.endWork();
  if (aborted) {
    report.outcome = SearchOutcome::kAborted;
  } else {
    report.outcome = report.count > 0 ? SearchOutcome::kFound : SearchOutcome::kNotFound;
    if (report.count == 0) searchFailed();
  }
  return report;
}

}  // namespace osk::app
