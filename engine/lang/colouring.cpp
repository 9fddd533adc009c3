#include "engine/lang/colouring.h"

#include <algorithm>
#include <cstring>

#include "engine/lang/buffer_search.h"
#include "engine/lang/syntax_data.h"
#include "engine/store/line_store.h"

namespace osk::syntax {

namespace {

constexpr size_t npos = std::string_view::npos;

bool SameAt(std::string_view text, size_t pos, std::string_view word, bool matchCase) {
  if (word.size() > text.size() - pos) return false;
  if (matchCase) return std::memcmp(text.data() + pos, word.data(), word.size()) == 0;
  for (size_t i = 0; i < word.size(); ++i) {
    if (FoldCase(static_cast<uint8_t>(text[pos + i])) != FoldCase(static_cast<uint8_t>(word[i]))) return false;
  }
  return true;
}

size_t Find(std::string_view text, std::string_view word, size_t from, bool matchCase) {
  if (matchCase) return text.find(word, from);
  if (word.empty()) return from <= text.size() ? from : npos;
  const uint8_t lower = FoldCase(static_cast<uint8_t>(word[0]));
  const uint8_t upper = (lower >= 'a' && lower <= 'z') ? static_cast<uint8_t>(lower - 32) : lower;
  for (size_t i = from; i + word.size() <= text.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(text[i]);
    if ((c == lower || c == upper) && SameAt(text, i, word, false)) return i;
  }
  return npos;
}

struct Block {
  size_t end = 0;         // just past the block
  int32_t colour = 0;
  bool toLineEnd = false; // no end was found: the block runs past the end of the line
  bool multiLine = false;
};

// Recognises a block at `pos`: the multi-line block, single-line blocks, escaped blocks, key characters, in
// that order.
bool RecogniseBlock(const DecodedDefinition& d, std::string_view s, size_t pos, Block& b) {
  const size_t n = s.size();
  if (d.hasMlb && SameAt(s, pos, d.mlb.start, true)) {
    const size_t e = s.find(d.mlb.end, pos + d.mlb.start.size());
    b = Block{e == npos ? n : e + d.mlb.end.size(), d.mlbColour, e == npos, true};
    return true;
  }
  for (const SingleLineBlock& slb : d.slbs) {
    if (!SameAt(s, pos, slb.text.start, slb.matchCase)) continue;
    const size_t e = slb.text.end.empty() ? npos : Find(s, slb.text.end, pos + slb.text.start.size(), slb.matchCase);
    b = Block{e == npos ? n : e + slb.text.end.size(), slb.colour, e == npos, false};
    return true;
  }
  const uint8_t c = static_cast<uint8_t>(s[pos]);
  for (const EscapedBlock& eslb : d.eslbs) {
    if (c != eslb.start) continue;
    size_t q = pos + 1;
    size_t end = npos;
    while (q < n) {
      const uint8_t ch = static_cast<uint8_t>(s[q]);
      if (eslb.escape != 0 && ch == eslb.escape) {
        // An escape that is also the end character escapes only by doubling ('it''s').
        if (eslb.escape != eslb.end || (q + 1 < n && static_cast<uint8_t>(s[q + 1]) == eslb.end)) {
          q += 2;
          continue;
        }
      }
      if (ch == eslb.end) {
        end = q + 1;
        break;
      }
      ++q;
    }
    b = Block{end == npos ? n : end, eslb.colour, end == npos, false};
    return true;
  }
  for (const KeyChars& k : d.keychars) {
    if (k.chars.test(c)) {
      b = Block{pos + 1, k.colour, false, false};
      return true;
    }
  }
  return false;
}

}  // namespace

void ScanLine(const DecodedDefinition* d, std::string_view s, bool startsInside, LineScan& out) {
  out.stretches.clear();
  out.openAtEnd = false;
  if (d == nullptr) return;
  const size_t n = s.size();
  size_t pos = 0;
  if (startsInside && d->hasMlb) {
    const size_t e = s.find(d->mlb.end);
    if (e == npos) {
      out.stretches.push_back({0, static_cast<int32_t>(n), d->mlbColour});
      out.openAtEnd = true;
      return;
    }
    pos = e + d->mlb.end.size();
    out.stretches.push_back({0, static_cast<int32_t>(pos), d->mlbColour});
  }
  while (pos < n) {
    const uint8_t c = static_cast<uint8_t>(s[pos]);
    if (d->mayStartBlock[c]) {
      Block b;
      if (RecogniseBlock(*d, s, pos, b)) {
        out.stretches.push_back({static_cast<int32_t>(pos), static_cast<int32_t>(b.end), b.colour});
        if (b.toLineEnd) {
          out.openAtEnd = true;
          return;
        }
        pos = b.end;
        continue;
      }
    }
    if (d->hasKeywordChars && d->keywordChars.test(c)) {
      size_t q = pos + 1;
      while (q < n && d->keywordChars.test(static_cast<uint8_t>(s[q]))) ++q;
      const int32_t colour = d->KeywordColour(s.substr(pos, q - pos));
      if (colour >= 0) out.stretches.push_back({static_cast<int32_t>(pos), static_cast<int32_t>(q), colour});
      pos = q;
      continue;
    }
    ++pos;
  }
}

void MakeRuns(const LineScan& scan, int32_t textCells, int32_t firstColumn, int32_t lastColumn,
              CellSelection selection, std::vector<ColourRun>& runs) {
  runs.clear();
  if (firstColumn < 1 || firstColumn > kMaxCells) return;
  lastColumn = std::min(lastColumn, kMaxCells);
  if (lastColumn < firstColumn) return;
  const int32_t from = firstColumn - 1;   // 0-based, [from, to)
  const int32_t to = lastColumn;

  auto add = [&](int32_t start, int32_t end, RunKind kind, int32_t colour) {
    start = std::max(start, from);
    end = std::min(end, to);
    if (end <= start) return;
    // The selection lies over everything else.
    if (selection.first > 0 && selection.last >= selection.first) {
      const int32_t s0 = selection.first - 1;
      const int32_t s1 = selection.last;
      if (s0 < end && s1 > start) {
        if (start < s0) runs.push_back({start + 1, s0 - start, kind, colour});
        const int32_t a = std::max(start, s0);
        const int32_t b = std::min(end, s1);
        runs.push_back({a + 1, b - a, RunKind::kSelected, 0});
        if (b < end) runs.push_back({b + 1, end - b, kind, colour});
        return;
      }
    }
    runs.push_back({start + 1, end - start, kind, colour});
  };

  int32_t at = 0;
  for (size_t i = 0; i < scan.stretches.size(); ++i) {
    const Stretch& s = scan.stretches[i];
    if (s.start > at) add(at, s.start, RunKind::kPlain, 0);
    const bool last = i + 1 == scan.stretches.size();
    add(s.start, last && scan.openAtEnd ? to : s.end, RunKind::kSyntax, s.colour);
    at = last && scan.openAtEnd ? to : s.end;
  }
  (void)textCells;
  if (at < to) add(at, to, RunKind::kPlain, 0);

  // Neighbouring selected pieces of different syntax runs become one run.
  size_t w = 0;
  for (size_t r = 0; r < runs.size(); ++r) {
    if (w > 0 && runs[r].kind == RunKind::kSelected && runs[w - 1].kind == RunKind::kSelected) {
      runs[w - 1].length += runs[r].length;
    } else {
      runs[w++] = runs[r];
    }
  }
  runs.resize(w);
}

uint32_t BlockBits(const DecodedDefinition* d, std::string_view s) {
  if (d == nullptr || !d->hasMlb) return 0;
  uint32_t bits = 0;
  if (s.find(d->mlb.end) != npos) bits |= kContainsEnd;
  if (s.find(d->mlb.start) == npos) return bits;
  size_t pos = 0;
  while (pos < s.size()) {
    Block b;
    if (d->mayStartBlock[static_cast<uint8_t>(s[pos])] && RecogniseBlock(*d, s, pos, b)) {
      if (b.toLineEnd) {
        if (b.multiLine) bits |= kLeavesOpen;
        break;
      }
      pos = b.end;
    } else {
      ++pos;
    }
  }
  return bits;
}

bool StartsInside(const LineProperties& properties, int32_t line) {
  uint32_t bits = 0;
  return properties.previous(line, kBlockBits, &bits) != 0 && (bits & kLeavesOpen) != 0;
}

void RecomputeBlockBits(LineStore& store, const DecodedDefinition* d) {
  LineProperties& props = store.properties();
  std::vector<int32_t> marked;
  for (const LineProperties::Pair& p : props.pairs()) {
    if (p.bits & kBlockBits) marked.push_back(p.line);
  }
  for (int32_t line : marked) props.clear(line, kBlockBits);
  if (d == nullptr || !d->hasMlb) return;
  const int32_t lines = store.lineCount();
  for (int32_t line = 1; line <= lines; ++line) {
    const uint32_t bits = BlockBits(d, store.peekLine(line));
    if (bits != 0) props.set(line, bits);
  }
}

namespace {

// Whether lines below an edited line change colour, by how its two bits changed and whether it starts inside the
// block. Rows: leaves-open, columns: contains-end; each as absent 0, removed 1, added 2, kept 3.
constexpr bool kRepaintOutside[4][4] = {
    {false, false, false, false},
    {true, true, true, true},
    {true, true, true, true},
    {false, false, false, false},
};
constexpr bool kRepaintInside[4][4] = {
    {false, true, true, false},
    {false, false, true, true},
    {false, true, false, true},
    {false, false, false, false},
};

int Change(uint32_t before, uint32_t after, uint32_t bit) {
  return ((before & bit) ? 1 : 0) | ((after & bit) ? 2 : 0);
}

}  // namespace

Repaint UpdateLineBits(LineStore& store, const DecodedDefinition* d, int32_t line) {
  Repaint r;
  if (line < 1 || line > store.lineCount()) return r;
  LineProperties& props = store.properties();
  const uint32_t before = props.get(line, kBlockBits);
  const uint32_t after = BlockBits(d, store.peekLine(line));
  if (before == after) return r;
  const int open = Change(before, after, kLeavesOpen);
  const int end = Change(before, after, kContainsEnd);
  const bool below = StartsInside(props, line) ? kRepaintInside[open][end] : kRepaintOutside[open][end];
  if (below) {
    int32_t last = props.next(line, kContainsEnd);
    if (last == 0) last = store.lineCount();
    r.needed = true;
    r.first = line;
    r.count = last - line + 1;
    if (r.count >= 31) r.everything = true;
  }
  if (before & ~after) props.clear(line, before & ~after);
  if (after & ~before) props.set(line, after & ~before);
  return r;
}

Repaint UpdateLinesBits(LineStore& store, const DecodedDefinition* d, int32_t first, int32_t count) {
  // Top down, so each line's start state comes from final bits above it. Lines below the batch can change only
  // down to the first line after the batch that holds the end string.
  Repaint merged;
  const int32_t lastInBatch = std::min(first + count - 1, store.lineCount());
  for (int32_t line = std::max(first, 1); line <= lastInBatch; ++line) {
    const Repaint r = UpdateLineBits(store, d, line);
    if (r.needed && !merged.needed) {
      merged.needed = true;
      merged.first = line;
    }
  }
  if (!merged.needed) return merged;
  int32_t last = store.properties().next(lastInBatch, kContainsEnd);
  if (last == 0) last = store.lineCount();
  merged.count = last - merged.first + 1;
  merged.everything = merged.count >= 31;
  return merged;
}

int32_t ColourStoreLine(LineStore& store, const DecodedDefinition* d, int32_t tabLength, int32_t line,
                        int32_t firstColumn, int32_t lastColumn, CellSelection selection, std::string& cells,
                        std::vector<ColourRun>& runs) {
  runs.clear();
  cells.clear();
  if (line < 1 || line > store.lineCount()) return -16;
  const std::string_view text = store.peekLine(line);
  if (tabLength > 0 && text.find('\t') != npos) {
    char expanded[kMaxCells + 1];
    const int32_t length = ExpandTabs(text, tabLength, expanded);
    cells.assign(expanded, static_cast<size_t>(length));
  } else {
    cells.assign(text.substr(0, kMaxCells));
  }
  // One scan reused line after line: the engine colours on one thread, and painting asks line by line.
  static LineScan scan;
  const bool inside = d != nullptr && d->hasMlb && StartsInside(store.properties(), line);
  ScanLine(d, cells, inside, scan);
  MakeRuns(scan, static_cast<int32_t>(cells.size()), firstColumn, lastColumn, selection, runs);
  return 0;
}

namespace {
SyntaxBufferProvider gProvider = nullptr;
}

void SetSyntaxBufferProvider(SyntaxBufferProvider provider) { gProvider = provider; }

bool SyntaxBuffer(HEDBUFFER buffer, SyntaxBufferView& view) {
  view = SyntaxBufferView();
  return gProvider != nullptr && gProvider(buffer, view) && view.store != nullptr;
}

int32_t CellLineColours(HEDBUFFER buffer, int32_t line, uint8_t* out) {
  if (out == nullptr) return -3;
  std::memset(out, 96, kMaxCells);
  SyntaxBufferView view;
  if (!SyntaxBuffer(buffer, view)) return -20;
  const DecodedDefinition* d = DefinitionAt(view.definition);
  std::string cells;
  std::vector<ColourRun> runs;
  const int32_t code =
      ColourStoreLine(*view.store, d, view.tabLength, line, 1, kMaxCells, CellSelection{}, cells, runs);
  if (code != 0) return code;
  for (const ColourRun& r : runs) {
    const uint8_t value = r.kind == RunKind::kSyntax ? static_cast<uint8_t>(r.colour) : 98;
    std::memset(out + r.firstCell - 1, value, static_cast<size_t>(r.length));
  }
  return 0;
}

}  // namespace osk::syntax
