#include "engine/lang/colouring.h"

#include <algorithm>
#include <cstring>

#include "engine/lang/buffer_search.h"
#include "engine/lang/syntax_data.h"
#include "engine/store/byte_scan.h"
#include "engine/store/line_store.h"

namespace osk::syntax {

namespace {

constexpr size_t npos = std::string_view::npos;


// Whether `word` stands in `text` at `pos`; words are a few bytes long, so a plain loop beats a library call.
bool SameAt(std::string_view text, size_t pos, std::string_view word, bool matchCase) {
  if (word.size() > text.size() - pos) return false;
  const char* t = text.data() + pos;
  if (matchCase) {
    for (size_t i = 0; i < word.size(); ++i) {
      if (t[i] != word[i]) return false;
    }
    return true;
  }
  for (size_t i = 0; i < word.size(); ++i) {
    if (FoldCase(static_cast<uint8_t>(t[i])) != FoldCase(static_cast<uint8_t>(word[i]))) return false;
  }
  return true;
}

size_t Find(std::string_view text, std::string_view word, size_t from, bool matchCase) {
  if (word.empty()) return from <= text.size() ? from : npos;
  if (from >= text.size() || word.size() > text.size() - from) return npos;
  uint8_t lower = static_cast<uint8_t>(word[0]);
  uint8_t upper = lower;
  if (!matchCase) {
    lower = FoldCase(lower);
    upper = (lower >= 'a' && lower <= 'z') ? static_cast<uint8_t>(lower - 32) : lower;
  }
  const char* end = text.data() + (text.size() - word.size() + 1);
  for (const char* p = text.data() + from; p < end; ++p) {
    p = FindEitherByte(p, end, static_cast<char>(lower), static_cast<char>(upper));
    if (p == nullptr) return npos;
    const size_t at = static_cast<size_t>(p - text.data());
    if (SameAt(text, at, word, matchCase)) return at;
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
    const size_t e = Find(s, d.mlb.end, pos + d.mlb.start.size(), true);
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
    const char stopA = static_cast<char>(eslb.escape != 0 ? eslb.escape : eslb.end);
    while (q < n) {
      // Only the escape and the end character matter inside the block.
      const char* hit = FindEitherByte(s.data() + q, s.data() + n, stopA, static_cast<char>(eslb.end));
      if (hit == nullptr) break;
      q = static_cast<size_t>(hit - s.data());
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
    if (k.chars[c]) {
      b = Block{pos + 1, k.colour, false, false};
      return true;
    }
  }
  return false;
}

}  // namespace

namespace {

// The stretch of a line that starts inside the multi-line block; false when the block runs past the line's end
// (the scan is then complete).
bool ScanInside(const DecodedDefinition& d, std::string_view s, size_t& pos, LineScan& out) {
  const size_t e = Find(s, d.mlb.end, 0, true);
  if (e == npos) {
    out.stretches.push_back({0, static_cast<int32_t>(s.size()), d.mlbColour});
    out.openAtEnd = true;
    return false;
  }
  pos = e + d.mlb.end.size();
  out.stretches.push_back({0, static_cast<int32_t>(pos), d.mlbColour});
  return true;
}

// A recognised block at `pos` becomes a stretch; true when it runs to the end of the line.
bool AddBlock(const Block& b, size_t pos, LineScan& out) {
  out.stretches.push_back({static_cast<int32_t>(pos), static_cast<int32_t>(b.end), b.colour});
  if (!b.toLineEnd) return false;
  out.openAtEnd = true;
  return true;
}

}  // namespace

void ScanLine(const DecodedDefinition* d, std::string_view s, bool startsInside, LineScan& out) {
  out.stretches.clear();
  out.openAtEnd = false;
  if (d == nullptr) return;
  size_t pos = 0;
  if (startsInside && d->hasMlb && !ScanInside(*d, s, pos, out)) return;
  const size_t n = s.size();
  const uint8_t* cls = d->charClass.data();
  const char* text = s.data();
  while (pos < n) {
    const uint8_t c = static_cast<uint8_t>(text[pos]);
    const uint8_t k = cls[c];
    if (k == 0) {
      ++pos;
      continue;
    }
    if (k & DecodedDefinition::kBlockStart) {
      Block b;
      if (RecogniseBlock(*d, s, pos, b)) {
        if (AddBlock(b, pos, out)) return;
        pos = b.end;
        continue;
      }
    }
    if (k & DecodedDefinition::kWordChar) {
      // The word's first eight bytes are packed on the way for the keyword lookup.
      uint64_t head = c;
      size_t q = pos + 1;
      for (; q < n && (cls[static_cast<uint8_t>(text[q])] & DecodedDefinition::kWordChar) != 0; ++q) {
        if (q - pos < 8) head |= static_cast<uint64_t>(static_cast<uint8_t>(text[q])) << (8 * (q - pos));
      }
      const int32_t colour = d->KeywordColour(s.substr(pos, q - pos), head);
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

  if (selection.first <= 0 || selection.last < selection.first) {
    // Nothing selected, the common case: stretches clipped to the columns, plain text between them.
    runs.reserve(scan.stretches.size() * 2 + 1);
    int32_t at = from;
    const size_t count = scan.stretches.size();
    for (size_t i = 0; i < count; ++i) {
      const Stretch& st = scan.stretches[i];
      if (st.start >= to) break;
      const int32_t end = i + 1 == count && scan.openAtEnd ? to : std::min(st.end, to);
      if (end <= at) continue;
      const int32_t start = std::max(st.start, at);
      if (start > at) runs.push_back({at + 1, start - at, RunKind::kPlain, 0});
      runs.push_back({start + 1, end - start, RunKind::kSyntax, st.colour});
      at = end;
    }
    if (at < to) runs.push_back({at + 1, to - at, RunKind::kPlain, 0});
    return;
  }

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
  // Most lines hold neither string: one pass for their first characters settles them.
  const char* hit = FindEitherByte(s.data(), s.data() + s.size(), d->mlb.start[0], d->mlb.end[0]);
  if (hit == nullptr) return 0;
  const size_t from = static_cast<size_t>(hit - s.data());
  uint32_t bits = 0;
  if (Find(s, d->mlb.end, from, true) != npos) bits |= kContainsEnd;
  if (Find(s, d->mlb.start, from, true) == npos) return bits;
  // The block is left open when a start that no other block hides has no end after it.
  const uint8_t* cls = d->charClass.data();
  const size_t n = s.size();
  size_t pos = 0;
  const bool fewStarts = d->startCharCount >= 1 && d->startCharCount <= 4;
  while (pos < n) {
    if (fewStarts) {
      const char* next = FindAnyOfFour(s.data() + pos, s.data() + n, d->startChars);
      if (next == nullptr) break;
      pos = static_cast<size_t>(next - s.data());
    } else if ((cls[static_cast<uint8_t>(s[pos])] & DecodedDefinition::kBlockStart) == 0) {
      ++pos;
      continue;
    }
    Block b;
    if (!RecogniseBlock(*d, s, pos, b)) {
      ++pos;
    } else if (b.toLineEnd) {
      if (b.multiLine) bits |= kLeavesOpen;
      break;
    } else {
      pos = b.end;
    }
  }
  return bits;
}

bool StartsInside(const LineProperties& properties, int32_t line) {
  uint32_t bits = 0;
  return properties.previous(line, kBlockBits, &bits) != 0 && (bits & kLeavesOpen) != 0;
}

void RecomputeBlockBits(LineStore& store, const DecodedDefinition* d) {
  std::vector<LineProperties::Pair> fresh;
  if (d != nullptr && d->hasMlb) {
    // Room for a pair a line costs address space only; pages are touched as pairs are written.
    fresh.reserve(static_cast<size_t>(store.lineCount()));
    // A line holding neither string has no bits.
    store.forEachLineHolding(d->mlb.start, d->mlb.end, [&](int32_t line, std::string_view text) {
      const uint32_t bits = BlockBits(d, text);
      if (bits != 0) fresh.push_back({line, bits});
      return true;
    });
  }
  LineProperties& props = store.properties();
  if (props.replaceBits(1, std::max(store.lineCount(), 1), kBlockBits, std::move(fresh))) return;
  // No room for a second table: cleared in place, then set line by line.
  props.clearBits(1, std::max(store.lineCount(), 1), kBlockBits);
  for (const LineProperties::Pair& p : fresh) props.set(p.line, p.bits);
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
  first = std::max(first, 1);
  const int32_t lastInBatch = std::min(first + count - 1, store.lineCount());
  if (lastInBatch < first) return merged;
  LineProperties& props = store.properties();
  if (lastInBatch - first < 64) {
    for (int32_t line = first; line <= lastInBatch; ++line) {
      const Repaint r = UpdateLineBits(store, d, line);
      if (r.needed && !merged.needed) {
        merged.needed = true;
        merged.first = line;
      }
    }
  } else {
    // Many lines (a paste, an undone delete): one walk carrying the start state, and one merge into the table.
    std::vector<LineProperties::Pair> fresh;
    const std::vector<LineProperties::Pair>& pairs = props.pairs();
    size_t at = props.indexOf(first);
    bool inside = StartsInside(props, first);
    store.forEachLine(first, lastInBatch, [&](int32_t line, std::string_view text) {
      while (at < pairs.size() && pairs[at].line < line) ++at;
      const uint32_t before = at < pairs.size() && pairs[at].line == line ? pairs[at].bits & kBlockBits : 0;
      const uint32_t after = BlockBits(d, text);
      if (after != 0) fresh.push_back({line, after});
      if (before != after && !merged.needed) {
        const int open = Change(before, after, kLeavesOpen);
        const int end = Change(before, after, kContainsEnd);
        if (inside ? kRepaintInside[open][end] : kRepaintOutside[open][end]) {
          merged.needed = true;
          merged.first = line;
        }
      }
      if (after != 0) inside = (after & kLeavesOpen) != 0;
      return true;
    });
    if (!props.replaceBits(first, lastInBatch, kBlockBits, std::move(fresh))) {
      for (int32_t line = first; line <= lastInBatch; ++line) UpdateLineBits(store, d, line);
    }
  }
  if (!merged.needed) return merged;
  int32_t last = props.next(lastInBatch, kContainsEnd);
  if (last == 0) last = store.lineCount();
  merged.count = last - merged.first + 1;
  merged.everything = merged.count >= 31;
  return merged;
}

LineColourer::LineColourer(LineStore& store, const DecodedDefinition* definition, int32_t tabLength)
    : store_(store), definition_(definition), tabLength_(tabLength) {}

void LineColourer::colour(int32_t line, std::string_view text, int32_t firstColumn, int32_t lastColumn,
                          CellSelection selection) {
  const DecodedDefinition* d = definition_;
  bool inside = false;
  if (d != nullptr && d->hasMlb) {
    const std::vector<LineProperties::Pair>& pairs = store_.properties().pairs();
    if (line != nextLine_ || pairs.size() != pairCount_) {
      inside = StartsInside(store_.properties(), line);
      pair_ = store_.properties().indexOf(line);
      pairCount_ = pairs.size();
    } else {
      inside = inside_;
    }
    // The state the next line starts in: this line's bits, or the same state when it has none.
    while (pair_ < pairs.size() && pairs[pair_].line < line) ++pair_;
    inside_ = inside;
    if (pair_ < pairs.size() && pairs[pair_].line == line && (pairs[pair_].bits & kBlockBits) != 0) {
      inside_ = (pairs[pair_].bits & kLeavesOpen) != 0;
    }
    nextLine_ = line + 1;
  }
  std::string_view cells = text.substr(0, std::min<size_t>(text.size(), kMaxCells));
  if (tabLength_ > 0 && FindByte(text.data(), text.data() + text.size(), '\t') != nullptr) {
    const int32_t length = ExpandTabs(text, tabLength_, expanded_);
    cells = std::string_view(expanded_, static_cast<size_t>(length));
  }
  cells_ = cells;
  ScanLine(d, cells, inside, scan_);
  MakeRuns(scan_, static_cast<int32_t>(cells.size()), firstColumn, lastColumn, selection, runs_);
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
