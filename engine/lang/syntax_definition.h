// One language definition of the syntax data, decoded once into tables that make colouring a line cheap: the
// multi-line block, the single-line and escaped blocks and key characters in statement order, the keyword
// character set and the keyword lists.
//
// Decoding follows the record chains with a bound on every step, so a damaged block gives a shorter definition,
// never a read outside it. Letters are folded only in ASCII, as everywhere in the engine.
#pragma once

#include <array>
#include <bitset>
#include <string_view>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace osk::syntax {

struct BlockString {
  std::string start;
  std::string end;
};

struct SingleLineBlock {
  int32_t colour = 0;
  BlockString text;
  bool matchCase = true;
};

struct EscapedBlock {
  int32_t colour = 0;
  uint8_t escape = 0;
  uint8_t start = 0;
  uint8_t end = 0;
};

struct KeyChars {
  int32_t colour = 0;
  std::bitset<256> chars;
};

// The first eight bytes of a word packed little-endian into one number, zero beyond the word.
inline uint64_t PackHead(std::string_view word) {
  uint64_t head = 0;
  const size_t n = word.size() < 8 ? word.size() : 8;
  for (size_t i = 0; i < n; ++i) head |= static_cast<uint64_t>(static_cast<uint8_t>(word[i])) << (8 * i);
  return head;
}

// Keywords in a hash table keyed by a word's packed head and length, built once all words are known so that every
// word sits in the slot its hash names: a lookup is one hash and one comparison of two numbers (and, for words
// longer than eight bytes, of the rest). Should no such table be found, colliding words go to the next free slots.
class WordTable {
 public:
  struct Entry {
    int32_t list = -1;
    int32_t colour = 0;
  };
  WordTable() : slots_(1) {}
  // Adds `word` unless present (the first one stays); false when it was there already. Call seal() after the last.
  bool add(std::string_view word, Entry entry);
  void seal();
  const Entry* find(std::string_view word, uint64_t head) const {
    size_t at = Index(head, word.size());
    for (;;) {
      const Slot& s = slots_[at];
      if (s.head == head && s.length == word.size() && (s.length <= 8 || SameTail(s, word))) return &s.entry;
      if (!probing_ || s.length == 0) return nullptr;
      at = (at + 1) & mask_;
    }
  }
  // The colour of `word`, or -1; without a branch on the outcome where every word has a slot of its own.
  int32_t colourOf(std::string_view word, uint64_t head) const {
    if (probing_ || word.size() > 8) {
      const Entry* e = find(word, head);
      return e != nullptr ? e->colour : -1;
    }
    const Slot& s = slots_[Index(head, word.size())];
    return s.head == head && s.length == word.size() ? s.entry.colour : -1;
  }
  bool empty() const { return count_ == 0; }
  size_t size() const { return count_; }

 private:
  struct Slot {
    uint64_t head = 0;
    uint32_t length = 0;   // 0: empty slot
    uint32_t tail = 0;     // offset in tails_ of the bytes beyond the first eight
    Entry entry;
  };
  size_t Index(uint64_t head, size_t length) const {
    const uint64_t h = (head ^ (static_cast<uint64_t>(length) << 56) ^ seed_) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 32) & mask_;
  }
  bool SameTail(const Slot& s, std::string_view word) const;
  bool place(size_t size, uint64_t seed, bool probe);

  std::vector<std::pair<std::string, Entry>> pending_;   // while adding
  std::unordered_set<std::string> seen_;
  size_t count_ = 0;
  std::vector<Slot> slots_;
  std::string tails_;
  size_t mask_ = 0;
  uint64_t seed_ = 0;
  bool probing_ = false;
};

struct DecodedDefinition {
  uint32_t offset = 0;
  bool hasMlb = false;
  int32_t mlbColour = 0;
  BlockString mlb;
  std::vector<SingleLineBlock> slbs;
  std::vector<EscapedBlock> eslbs;
  std::vector<KeyChars> keychars;
  // Word -> colour of the first list in statement order that holds it: exact words of the lists that compare
  // with case, and lower-cased words of those that do not, each with the list's position so the earlier wins.
  WordTable exactWords;
  WordTable foldedWords;
  size_t longestWord = 0;
  // Per character: kWordChar when it belongs to keywords, kBlockStart when a block may start at it (any other cell
  // needs no block test).
  static constexpr uint8_t kWordChar = 1;
  static constexpr uint8_t kBlockStart = 2;
  std::array<uint8_t, 256> charClass{};
  // The characters at which a block may start when there are at most four of them (the first repeated to fill
  // four); startCharCount above four when there are more.
  char startChars[4] = {};
  int startCharCount = 0;

  // The colour of the keyword `word`, or -1. `head` is PackHead(word) when the caller has it already.
  int32_t KeywordColour(std::string_view word) const { return KeywordColour(word, PackHead(word)); }
  int32_t KeywordColour(std::string_view word, uint64_t head) const {
    if (foldedWords.empty()) return exactWords.colourOf(word, head);
    return FoldedKeywordColour(word, exactWords.find(word, head));
  }


  // The lookup for definitions with lists that ignore case; `exact` is the exact-case finding.
  int32_t FoldedKeywordColour(std::string_view word, const WordTable::Entry* exact) const;
};

// Decodes the definition record at `offset`; false when it is not one.
bool DecodeDefinition(const std::vector<uint8_t>& bytes, uint32_t offset, DecodedDefinition& out);

inline uint8_t FoldCase(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c; }

}  // namespace osk::syntax
