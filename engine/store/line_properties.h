// The line property table: pairs {line, bits}, sorted by line, one pair per line with any bit set.
//
// Bit 0 is the bookmark; bits 0x4000 and 0x8000 belong to syntax colouring; the rest are the owner's. A pair whose
// bits fall to zero is removed. The table holds at most 2097151 pairs; a set that would exceed that, or that cannot
// grow the table, changes nothing. Line numbers are 1-based.
#pragma once

#include <cstdint>
#include <vector>

namespace osk {

class LineProperties {
 public:
  static constexpr std::size_t kMaxPairs = 2097151;

  struct Pair {
    int32_t line;
    uint32_t bits;
  };

  // Returns true when the line's bits changed.
  bool set(int32_t line, uint32_t bits);
  bool clear(int32_t line, uint32_t bits);
  // Replaces the line's bits wholesale; true when they changed.
  bool assign(int32_t line, uint32_t bits);
  uint32_t get(int32_t line, uint32_t mask = 0xFFFFFFFFu) const;

  // Nearest line after (before) `line` whose bits meet `mask`; 0 when there is none.
  int32_t next(int32_t line, uint32_t mask, uint32_t* bits = nullptr) const;
  int32_t previous(int32_t line, uint32_t mask, uint32_t* bits = nullptr) const;

  // Replaces the bits under `mask` of lines `first` to `last` with those of `fresh` (sorted by line, inside that
  // range, bits inside `mask`); other bits and lines are kept. One pass over the table, however many lines change.
  // False, with nothing changed, when the table would pass its limit or cannot grow.
  // `fresh` is taken (when the table holds nothing else it becomes the table), and left as it was on failure.
  bool replaceBits(int32_t first, int32_t last, uint32_t mask, std::vector<Pair>&& fresh);

  // Clears the bits under `mask` of lines `first` to `last` in place; pairs left without bits go. One pass over
  // the range and the pairs after it; never fails.
  void clearBits(int32_t first, int32_t last, uint32_t mask);

  // Lines were inserted after line `after`: later pairs move down by `count`.
  void linesInserted(int32_t after, int32_t count);
  // Lines `first` to `first + count - 1` were deleted: their pairs go, later pairs move up.
  void linesDeleted(int32_t first, int32_t count);
  // Drops every pair beyond `lastLine`.
  void truncate(int32_t lastLine);

  std::size_t size() const { return pairs_.size(); }
  // The index in pairs() of the first pair at or after `line`; size() when there is none.
  std::size_t indexOf(int32_t line) const { return static_cast<std::size_t>(lowerBound(line) - pairs_.begin()); }
  const std::vector<Pair>& pairs() const { return pairs_; }
  void clearAll() { pairs_.clear(); }

 private:
  std::vector<Pair>::iterator lowerBound(int32_t line);
  std::vector<Pair>::const_iterator lowerBound(int32_t line) const;
  std::vector<Pair> pairs_;
};

}  // namespace osk
