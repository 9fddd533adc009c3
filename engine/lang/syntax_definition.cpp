#include "engine/lang/syntax_definition.h"

#include <algorithm>
#include <cstring>

#include "engine/lang/syntax_data.h"

namespace osk::syntax {

namespace {

// Follows a chain at most this many steps: more records than that cannot fit in the block.
constexpr int kMaxChain = static_cast<int>(kMaxDataSize / kEslbSize) + 1;

bool Inside(const std::vector<uint8_t>& bytes, uint32_t offset, uint32_t size) {
  return offset >= kHeaderSize && offset <= bytes.size() && size <= bytes.size() - offset;
}

std::string ReadCounted(const std::vector<uint8_t>& bytes, uint32_t lengthAt, uint32_t textAt) {
  const uint32_t length = std::min<uint32_t>(ReadU32(bytes, lengthAt), kBlockStringMax);
  return std::string(reinterpret_cast<const char*>(bytes.data() + textAt), length);
}

void MarkStart(DecodedDefinition& d, const std::string& start, bool matchCase) {
  if (start.empty()) {
    for (uint8_t& k : d.charClass) k |= DecodedDefinition::kBlockStart;
    return;
  }
  const uint8_t c = static_cast<uint8_t>(start[0]);
  d.charClass[c] |= DecodedDefinition::kBlockStart;
  if (!matchCase) {
    d.charClass[FoldCase(c)] |= DecodedDefinition::kBlockStart;
    if (c >= 'a' && c <= 'z') d.charClass[c - 32] |= DecodedDefinition::kBlockStart;
  }
}

std::string Folded(std::string_view word) {
  std::string out(word);
  for (char& c : out) c = static_cast<char>(FoldCase(static_cast<uint8_t>(c)));
  return out;
}

}  // namespace

bool WordTable::add(std::string_view word, Entry entry) {
  if (word.empty()) return false;
  if (!seen_.emplace(word).second) return false;
  pending_.emplace_back(std::string(word), entry);
  return true;
}

bool WordTable::place(size_t size, uint64_t seed, bool probe) {
  slots_.assign(size, Slot());
  tails_.clear();
  mask_ = size - 1;
  seed_ = seed;
  probing_ = probe;
  for (const auto& [word, entry] : pending_) {
    const uint64_t head = PackHead(word);
    size_t at = Index(head, word.size());
    while (slots_[at].length != 0) {
      if (!probe) return false;
      at = (at + 1) & mask_;
    }
    Slot& slot = slots_[at];
    slot.head = head;
    slot.length = static_cast<uint32_t>(word.size());
    slot.entry = entry;
    slot.tail = static_cast<uint32_t>(tails_.size());
    if (word.size() > 8) tails_.append(word, 8, std::string::npos);
  }
  return true;
}

void WordTable::seal() {
  seen_.clear();
  count_ = pending_.size();
  size_t size = 1;
  while (size < pending_.size() * 4) size *= 2;
  // A few sizes and seeds nearly always give every word of a language's lists a slot of its own; lists of
  // thousands of words are left to share.
  bool placed = false;
  for (size_t grown = 0; grown < 4 && pending_.size() <= 1024 && !placed; ++grown, size *= 2) {
    for (uint64_t seed = 0; seed < 32 && !placed; ++seed) placed = place(size, seed * 0xD6E8FEB86659FD93ull, false);
  }
  if (!placed) place(size, 0, true);
  pending_.clear();
  pending_.shrink_to_fit();
}

bool WordTable::SameTail(const Slot& s, std::string_view word) const {
  return std::memcmp(tails_.data() + s.tail, word.data() + 8, s.length - 8) == 0;
}

int32_t DecodedDefinition::FoldedKeywordColour(std::string_view word, const WordTable::Entry* best) const {
  if (word.size() > longestWord) return best != nullptr ? best->colour : -1;
  char folded[kKeywordMax];
  for (size_t i = 0; i < word.size(); ++i) folded[i] = static_cast<char>(FoldCase(static_cast<uint8_t>(word[i])));
  const std::string_view f(folded, word.size());
  const WordTable::Entry* e = foldedWords.find(f, PackHead(f));
  if (e != nullptr && (best == nullptr || e->list < best->list)) best = e;
  return best != nullptr ? best->colour : -1;
}

bool DecodeDefinition(const std::vector<uint8_t>& bytes, uint32_t offset, DecodedDefinition& d) {
  if (!Inside(bytes, offset, kDefinitionSize)) return false;
  d = DecodedDefinition();
  d.offset = offset;

  const uint32_t mlb = ReadU32(bytes, offset + kDefMlb);
  if (mlb != 0 && Inside(bytes, mlb, kMlbSize)) {
    d.hasMlb = true;
    d.mlbColour = static_cast<int32_t>(ReadU32(bytes, mlb));
    d.mlb.start = ReadCounted(bytes, mlb + 4, mlb + 8);
    d.mlb.end = ReadCounted(bytes, mlb + 16, mlb + 20);
    if (d.mlb.start.empty() || d.mlb.end.empty()) d.hasMlb = false;
    if (d.hasMlb) MarkStart(d, d.mlb.start, true);
  }

  uint32_t at = ReadU32(bytes, offset + kDefFirstSlb);
  for (int steps = 0; at != 0 && steps < kMaxChain && Inside(bytes, at, kSlbSize); ++steps) {
    SingleLineBlock b;
    b.colour = static_cast<int32_t>(ReadU32(bytes, at + 4));
    b.text.start = ReadCounted(bytes, at + 8, at + 12);
    b.text.end = ReadCounted(bytes, at + 20, at + 24);
    b.matchCase = ReadU32(bytes, at + 32) != 0;
    MarkStart(d, b.text.start, b.matchCase);
    d.slbs.push_back(std::move(b));
    at = ReadU32(bytes, at);
  }

  at = ReadU32(bytes, offset + kDefFirstEslb);
  for (int steps = 0; at != 0 && steps < kMaxChain && Inside(bytes, at, kEslbSize); ++steps) {
    EscapedBlock b;
    b.colour = static_cast<int32_t>(ReadU32(bytes, at + 4));
    b.escape = bytes[at + 8];
    b.start = bytes[at + 9];
    b.end = bytes[at + 10];
    d.charClass[b.start] |= DecodedDefinition::kBlockStart;
    d.eslbs.push_back(b);
    at = ReadU32(bytes, at);
  }

  const uint32_t kwChars = ReadU32(bytes, offset + kDefKeywordChars);
  const uint32_t kwCount = ReadU32(bytes, offset + kDefKeywordCharCount);
  if (kwChars != 0 && Inside(bytes, kwChars, kwCount)) {
    for (uint32_t i = 0; i < kwCount; ++i) d.charClass[bytes[kwChars + i]] |= DecodedDefinition::kWordChar;
  }

  at = ReadU32(bytes, offset + kDefFirstKeywords);
  for (int list = 0; at != 0 && list < kMaxChain && Inside(bytes, at, kKeywordsHead); ++list) {
    const bool matchCase = ReadU32(bytes, at + 4) != 0;
    const WordTable::Entry entry{list, static_cast<int32_t>(ReadU32(bytes, at + 8))};
    uint32_t p = at + kKeywordsHead;
    while (p < bytes.size() && bytes[p] != 0) {
      const uint32_t length = bytes[p];
      if (length > bytes.size() - p - 1) break;
      std::string word(reinterpret_cast<const char*>(bytes.data() + p + 1), length);
      d.longestWord = std::max<size_t>(d.longestWord, length);
      if (matchCase) {
        d.exactWords.add(word, entry);
      } else {
        d.foldedWords.add(Folded(word), entry);
      }
      p += 1 + length;
    }
    at = ReadU32(bytes, at);
  }

  at = ReadU32(bytes, offset + kDefFirstKeychars);
  for (int steps = 0; at != 0 && steps < kMaxChain && Inside(bytes, at, kKeycharsHead); ++steps) {
    KeyChars k;
    k.colour = static_cast<int32_t>(ReadU32(bytes, at + 4));
    const uint32_t count = ReadU32(bytes, at + 8);
    if (Inside(bytes, at + kKeycharsHead, count)) {
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t c = bytes[at + kKeycharsHead + i];
        k.chars.set(c);
        d.charClass[c] |= DecodedDefinition::kBlockStart;
      }
    }
    d.keychars.push_back(k);
    at = ReadU32(bytes, at);
  }
  d.charClass[0] = 0;   // a NUL in the text neither starts a block nor belongs to a word
  for (int c = 1; c < 256 && d.startCharCount <= 4; ++c) {
    if ((d.charClass[c] & DecodedDefinition::kBlockStart) != 0 && d.startCharCount++ < 4) d.startChars[d.startCharCount - 1] = static_cast<char>(c);
  }
  for (int i = d.startCharCount; i > 0 && i < 4; ++i) d.startChars[i] = d.startChars[0];
  d.exactWords.seal();
  d.foldedWords.seal();
  return true;
}

}  // namespace osk::syntax
