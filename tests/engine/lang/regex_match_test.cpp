// Matching one line through HitTest: directions, quantifiers, classes, anchors, folding and the limits.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "engine/lang/regex_api.h"
#include "engine/lang/regex_matcher.h"

namespace {

struct Hit {
  bool found;
  int32_t col;
  int32_t len;
  bool operator==(const Hit&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Hit& hit) {
  return os << (hit.found ? "hit at " : "miss ") << hit.col << " len " << hit.len;
}

constexpr Hit kMiss{false, 0, 0};

// Searches `text` for `pattern` from `col`; a miss leaves col and len as the caller's zeros.
Hit Search(const std::string& pattern, const std::string& text, int32_t col, bool forward = true,
           bool matchCase = true, int32_t regex = 1) {
  HCOMPILEDRE re = CompileRE(pattern.c_str(), regex);
  EXPECT_NE(re, nullptr) << "pattern " << pattern;
  int32_t column = col;
  int32_t len = 0;
  const bool found = HitTest(re, text.c_str(), forward, matchCase, &column, &len) == 1;
  DestroyRE(re);
  return found ? Hit{true, column, len} : kMiss;
}

TEST(RegexMatch, ForwardFindsTheFirstMatchFromTheStartColumn) {
  EXPECT_EQ(Search("one", "one two one", 0), (Hit{true, 0, 3}));
  EXPECT_EQ(Search("one", "one two one", 1), (Hit{true, 8, 3}));
  EXPECT_EQ(Search("one", "one two one", 9), kMiss);
  EXPECT_EQ(Search("t.o", "one two one", 0), (Hit{true, 4, 3}));
}

TEST(RegexMatch, BackwardReportsTheLastCharacterOfTheMatch) {
  EXPECT_EQ(Search("one", "one two one", 10, false), (Hit{true, 10, 3}));
  EXPECT_EQ(Search("one", "one two one", 9, false), (Hit{true, 2, 3}));
  // A start column at or past the end starts at the last character.
  EXPECT_EQ(Search("one", "one two one", 500, false), (Hit{true, 10, 3}));
  EXPECT_EQ(Search("w", "one two one", 4, false), kMiss);
}

TEST(RegexMatch, EmptyMatchesNeverCount) {
  EXPECT_EQ(Search("a*", "bbb", 0), kMiss);
  EXPECT_EQ(Search("x?", "abc", 0), kMiss);
  EXPECT_EQ(Search("x*", "abxxc", 0), (Hit{true, 2, 2}));
  EXPECT_EQ(Search("x*", "abxxc", 4, false), (Hit{true, 3, 2}));
  EXPECT_EQ(Search("a*", "aaa", 0), (Hit{true, 0, 3}));
}

TEST(RegexMatch, QuantifiersAreGreedyAndGiveBack) {
  EXPECT_EQ(Search("abc+", "xabccc", 0), (Hit{true, 1, 5}));
  EXPECT_EQ(Search("a.*b", "a1b2b3", 0), (Hit{true, 0, 5}));
  EXPECT_EQ(Search("a.*b", "a1b2b3", 5, false), (Hit{true, 4, 5}));
  EXPECT_EQ(Search("x+y", "xxy", 0), (Hit{true, 0, 3}));
  EXPECT_EQ(Search("colou?r", "color colour", 1), (Hit{true, 6, 6}));
  EXPECT_EQ(Search("(ab)+", "abab", 0), (Hit{true, 0, 2}));
}

TEST(RegexMatch, AnchorsTieTheMatchToTheLineEnds) {
  EXPECT_EQ(Search("^abc", "abcabc", 0), (Hit{true, 0, 3}));
  EXPECT_EQ(Search("^abc", "abcabc", 1), kMiss);
  EXPECT_EQ(Search("^abc", "xabc", 0), kMiss);
  EXPECT_EQ(Search("abc$", "abcabc", 0), (Hit{true, 3, 3}));
  EXPECT_EQ(Search("abc$", "abcabc", 5, false), (Hit{true, 5, 3}));
  EXPECT_EQ(Search("abc$", "abcabc", 4, false), kMiss);
  EXPECT_EQ(Search("^abc", "abcabc", 5, false), (Hit{true, 2, 3}));
  EXPECT_EQ(Search("a^b", "xa^b", 0), (Hit{true, 1, 3}));
  EXPECT_EQ(Search("^.*$", "whole line", 0), (Hit{true, 0, 10}));
}

TEST(RegexMatch, ClassesMatchEntriesRangesAndNegation) {
  EXPECT_EQ(Search("[-a]+", "b-a-c", 0), (Hit{true, 1, 3}));
  EXPECT_EQ(Search("[^]x", "ax", 0), (Hit{true, 0, 2}));
  EXPECT_EQ(Search("[]x", "ax x", 0), kMiss);
  EXPECT_EQ(Search("[0-9]+", "abc 1234 d", 0), (Hit{true, 4, 4}));
  EXPECT_EQ(Search("[^ ]+", "  word  ", 0), (Hit{true, 2, 4}));
  EXPECT_EQ(Search("[abc", "xxbc", 0), (Hit{true, 2, 1}));
  EXPECT_EQ(Search("[a-]", "x-", 0), (Hit{true, 1, 1}));
}

TEST(RegexMatch, HighBytesOrderBelowAsciiInRanges) {
  // Ranges compare signed bytes: \xe9 (-23) lies between \x80 (-128) and space.
  EXPECT_EQ(Search("[\x80- ]", "ab\xe9", 0), (Hit{true, 2, 1}));
  EXPECT_EQ(Search("[\x80- ]", "abc", 0), kMiss);
}

TEST(RegexMatch, CaseFoldingCoversAsciiLettersOnly) {
  EXPECT_EQ(Search("hello", "Say HeLLo", 0, true, false), (Hit{true, 4, 5}));
  EXPECT_EQ(Search("hello", "Say HeLLo", 0, true, true), kMiss);
  EXPECT_EQ(Search("[A-Z]+", "abc", 0, true, false), (Hit{true, 0, 3}));
  EXPECT_EQ(Search("[^a]", "A", 0, true, false), kMiss);
  EXPECT_EQ(Search("X*", "axxX", 0, true, false), (Hit{true, 1, 3}));
  EXPECT_EQ(Search("\xe9", "\xc9", 0, true, false), kMiss);
  EXPECT_EQ(Search("[", "{", 0, true, false, 0), kMiss);
}

TEST(RegexMatch, PlainTextHasNoSpecialCharacters) {
  EXPECT_EQ(Search("a.*b", "xa.*b", 0, true, true, 0), (Hit{true, 1, 4}));
  EXPECT_EQ(Search("a.*b", "xaab", 0, true, true, 0), kMiss);
}

TEST(RegexMatch, LineLengthLimitAndBadArguments) {
  const std::string longest(1024, 'a');
  EXPECT_EQ(Search("a$", longest, 0), (Hit{true, 1023, 1}));
  EXPECT_EQ(Search("a", longest + "a", 0), kMiss);
  EXPECT_EQ(Search("a", "", 0), kMiss);
  EXPECT_EQ(Search("a", "abc", -1), kMiss);
  EXPECT_EQ(Search("a", "abc", -1, false), kMiss);
  EXPECT_EQ(Search("c", "abc", 3), kMiss);

  int32_t col = 0, len = 0;
  EXPECT_EQ(HitTest(nullptr, "abc", 1, 1, &col, &len), 0);
  HCOMPILEDRE re = CompileRE("b", 1);
  EXPECT_EQ(HitTest(re, nullptr, 1, 1, &col, &len), 0);
  EXPECT_EQ(HitTest(re, "abc", 1, 1, nullptr, &len), 0);
  EXPECT_EQ(HitTest(re, "abc", 1, 1, &col, nullptr), 0);
  DestroyRE(re);
}

TEST(RegexMatch, GroupsAreNumberedByOpeningParenthesisInBothDirections) {
  HCOMPILEDRE re = CompileRE("((a+)x(b*))c", 1);
  osk::regex::Matcher& matcher = osk::regex::ProcessMatcher();
  for (bool forward : {true, false}) {
    int32_t col = forward ? 0 : 9, len = 0;
    ASSERT_EQ(HitTest(re, "zaaxbbcz", forward, 1, &col, &len), 1);
    EXPECT_EQ(matcher.Slot(0).start, 1);
    EXPECT_EQ(matcher.Slot(0).length, 6);
    EXPECT_EQ(matcher.Slot(1).start, 1);
    EXPECT_EQ(matcher.Slot(1).length, 5);
    EXPECT_EQ(matcher.Slot(2).start, 1);
    EXPECT_EQ(matcher.Slot(2).length, 2);
    EXPECT_EQ(matcher.Slot(3).start, 4);
    EXPECT_EQ(matcher.Slot(3).length, 2);
    EXPECT_EQ(matcher.Slot(4).length, 0);
  }
  DestroyRE(re);
}

TEST(RegexMatch, PathologicalBacktrackingStaysBounded) {
  // Without remembering failed positions this is about 1024^5 steps.
  HCOMPILEDRE re = CompileRE(".*.*.*.*.*z", 1);
  const std::string line(1024, 'a');
  const auto before = std::chrono::steady_clock::now();
  int32_t col = 0, len = 0;
  EXPECT_EQ(HitTest(re, line.c_str(), 1, 1, &col, &len), 0);
  col = 1023;
  EXPECT_EQ(HitTest(re, line.c_str(), 0, 1, &col, &len), 0);
  // Many quantifiers: each one's failed positions are remembered, not just the first few.
  std::string many;
  for (int i = 0; i < 100; ++i) many += "a*";
  HCOMPILEDRE manyRe = CompileRE((many + "z").c_str(), 1);
  col = 0;
  EXPECT_EQ(HitTest(manyRe, line.c_str(), 1, 1, &col, &len), 0);
  DestroyRE(manyRe);
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(20));
  DestroyRE(re);
}

TEST(RegexMatch, FailedMatchClearsTheSlots) {
  HCOMPILEDRE re = CompileRE("(b)", 1);
  osk::regex::Matcher& matcher = osk::regex::ProcessMatcher();
  int32_t col = 0, len = 0;
  ASSERT_EQ(HitTest(re, "abc", 1, 1, &col, &len), 1);
  EXPECT_EQ(matcher.LastLine(), "abc");
  col = 0;
  ASSERT_EQ(HitTest(re, "xyz", 1, 1, &col, &len), 0);
  EXPECT_EQ(matcher.Slot(0).length, 0);
  EXPECT_EQ(matcher.Slot(1).length, 0);
  EXPECT_EQ(matcher.LastLine(), "");
  DestroyRE(re);
}

TEST(RegexMatch, SinglePositionTriesOnlyTheStartColumn) {
  auto owned = std::make_unique<osk::regex::Matcher>();
  osk::regex::Matcher& matcher = *owned;
  uint8_t* re = reinterpret_cast<uint8_t*>(CompileRE("ab", 1));
  ASSERT_TRUE(matcher.Prepare(re, true));
  int32_t col = 1, len = 0;
  EXPECT_FALSE(matcher.MatchPrepared("xxab", true, true, col, len));
  col = 2;
  EXPECT_TRUE(matcher.MatchPrepared("xxab", true, true, col, len));
  col = 2;
  EXPECT_FALSE(matcher.MatchPrepared("xxab", false, true, col, len));
  col = 3;
  EXPECT_TRUE(matcher.MatchPrepared("xxab", false, true, col, len));
  EXPECT_EQ(len, 2);
  DestroyRE(reinterpret_cast<HCOMPILEDRE>(re));
}

}  // namespace
