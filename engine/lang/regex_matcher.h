// Matches a compiled pattern against one line, forwards or backwards, and holds the state of the last match: a
// copy of the matched line and the ten match slots that substitutions expand.
//
// Positions are 0-based columns. A forward search tries each start from `col` to the line's end; a backward search
// tries each start from `col` (clamped to the last character) down to column 0, matching leftwards, and reports in
// `col` the match's LAST character. A match is never empty: where only an empty match is possible the search moves
// on. A null or malformed pattern, a null text, an empty line, a line over 1024 characters or a negative `col` never
// match, nor does a forward search with `col` at or past the end.
// The matcher allocates nothing. Patterns that would backtrack exponentially are cut short by remembering which
// (node, position) pairs already failed, so a match attempt costs at most nodes x positions x line length steps.
// After a failed attempt the slots are cleared and the line copy is empty.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/lang/compiled_nodes.h"

namespace osk::regex {

struct MatchSlot {
  int32_t start = 0;
  int32_t length = 0;
};

class Matcher {
 public:
  Matcher();

  // Decodes a pattern for the following MatchPrepared calls. False for a null or malformed block.
  bool Prepare(const uint8_t* pattern, bool matchCase);
  // Matches the prepared pattern. With singlePosition only the start `col` itself is tried.
  bool MatchPrepared(std::string_view line, bool forward, bool singlePosition, int32_t& col, int32_t& len);
  // Prepare and MatchPrepared in one.
  bool Match(const uint8_t* pattern, std::string_view line, bool forward, bool matchCase, int32_t& col,
             int32_t& len);

  // Slot 0 is the whole match, 1 to 9 the groups by the order of their opening parentheses.
  const MatchSlot& Slot(int index) const { return slots_[index]; }
  // The line of the last successful match (empty after a failed attempt).
  std::string_view LastLine() const { return {line_ + 1, static_cast<size_t>(lineLength_)}; }
  // The prepared pattern's nodes in order, Start first and End last.
  int NodeCount() const { return opCount_; }

 private:
  struct Op {
    NodeKind kind;
    Quantifier quantifier;
    uint8_t ch;          // QuantifiedChar: the character; Literal: its first character
    uint8_t chOther;     // the same in the other case when folding, else equal to ch
    int16_t group;       // GroupOpen, GroupClose: the group number
    int16_t classIndex;  // CharClass: its bitmap
    int16_t memo;        // quantified items: their row of failed positions, -1 for none
    uint32_t count;
    const uint8_t* data;
  };
  using ClassBitmap = std::array<uint64_t, 4>;
  static constexpr int kMemoColumns = kMaxLineLength + 2;
  static constexpr int kMemoWords = (kMemoColumns + 63) / 64;

  bool Accepts(const Op& op, uint8_t c) const;
  bool SameRun(const uint8_t* text, const uint8_t* pattern, uint32_t count) const;
  bool Forward(int index, int32_t pos);
  bool Backward(int index, int32_t pos);
  bool KnownFailure(int memo, int32_t column) const;
  void RecordFailure(int memo, int32_t column);
  void NewAttempt();
  void Succeed(std::string_view line);
  void Fail();

  std::array<Op, kMaxNodes + 1> ops_{};
  std::array<ClassBitmap, kMaxNodes> classes_{};
  int opCount_ = 0;
  bool prepared_ = false;
  bool matchCase_ = true;

  const uint8_t* text_ = nullptr;
  int32_t length_ = 0;
  int32_t start_ = 0;
  std::array<int32_t, kMatchSlots> groupEnd_{};
  std::array<MatchSlot, kMatchSlots> slots_{};

  // Per quantified item, a bit per position where the rest of the pattern failed; a row is valid only for the
  // attempt that last cleared it, so a new attempt costs nothing until a row is used.
  std::array<std::array<uint64_t, kMemoWords>, kMaxNodes> failed_{};
  std::array<uint16_t, kMaxNodes> rowAttempt_{};
  uint16_t attempt_ = 0;

  char line_[kMaxLineLength + 2] = {};   // zero sentinel, the line, zero terminator
  int32_t lineLength_ = 0;
};

// The one matcher that the exported functions and the buffer search share.
Matcher& ProcessMatcher();

}  // namespace osk::regex
