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
#include <unordered_map>
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

struct DecodedDefinition {
  uint32_t offset = 0;
  bool hasMlb = false;
  int32_t mlbColour = 0;
  BlockString mlb;
  std::vector<SingleLineBlock> slbs;
  std::vector<EscapedBlock> eslbs;
  std::vector<KeyChars> keychars;
  std::bitset<256> keywordChars;
  bool hasKeywordChars = false;
  // Word -> colour of the first list in statement order that holds it: exact words of the lists that compare
  // with case, and lower-cased words of those that do not, each with the list's position so the earlier wins.
  struct Entry {
    int32_t list;
    int32_t colour;
  };
  struct WordHash {
    using is_transparent = void;
    size_t operator()(std::string_view word) const noexcept { return std::hash<std::string_view>{}(word); }
  };
  using WordMap = std::unordered_map<std::string, Entry, WordHash, std::equal_to<>>;
  WordMap exactWords;
  WordMap foldedWords;
  size_t longestWord = 0;
  // Cheap refusals before any hashing: first characters (both cases for lists without case) and lengths of words.
  std::bitset<256> wordFirstChars;
  std::bitset<256> wordLengths;
  // Characters at which some block may start; any other cell needs no block test.
  std::array<bool, 256> mayStartBlock{};

  // The colour of the keyword `word`, or -1.
  int32_t KeywordColour(std::string_view word) const;
};

// Decodes the definition record at `offset`; false when it is not one.
bool DecodeDefinition(const std::vector<uint8_t>& bytes, uint32_t offset, DecodedDefinition& out);

inline uint8_t FoldCase(uint8_t c) { return (c >= 'A' && c <= 'Z') ? static_cast<uint8_t>(c + 32) : c; }

}  // namespace osk::syntax
