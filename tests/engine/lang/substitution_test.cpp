// Compiling replacement texts and expanding them with the groups of the last match.
#include <gtest/gtest.h>

#include <string>

#include "engine/lang/regex_api.h"

namespace {

// Matches `pattern` on `line`, then expands `replacement`; "<no match>" or "<refused>" when a step fails.
std::string Replace(const char* pattern, const char* line, const char* replacement, int32_t regex = 1) {
  HCOMPILEDRE re = CompileRE(pattern, 1);
  HCOMPILEDGS gs = CompileGS(replacement, regex);
  std::string result;
  int32_t col = 0, len = 0;
  char out[1025];
  if (gs == nullptr) {
    result = "<refused>";
  } else if (HitTest(re, line, 1, 1, &col, &len) != 1) {
    result = "<no match>";
  } else {
    EXPECT_EQ(GetSubsString(gs, out), 1);
    result = out;
  }
  DestroyRE(re);
  DestroyGS(gs);
  return result;
}

TEST(Substitution, GroupReferencesExpandTheLastMatch) {
  EXPECT_EQ(Replace("(a+)(b+)", "xaabbb", "\\2-\\1"), "bbb-aa");
  EXPECT_EQ(Replace("(a+)(b+)", "xaabbb", "\\0"), "aabbb");
  EXPECT_EQ(Replace("(a+)(b+)", "xaabbb", "[\\1\\1]"), "[aaaa]");
  // A group the pattern does not have contributes nothing.
  EXPECT_EQ(Replace("(a+)", "xaab", "<\\5>"), "<>");
}

TEST(Substitution, EscapesAndPlainText) {
  EXPECT_EQ(Replace("a", "a", "x\\ty\\fz\\\\\\n"), "x\ty\fz\\n");
  EXPECT_EQ(Replace("a", "a", "end\\"), "end");
  EXPECT_EQ(Replace("(a)", "a", "\\1\\t", 0), "\\1\\t");
  EXPECT_EQ(Replace("a", "a", ""), "");
}

TEST(Substitution, ExpansionStopsAt1024Characters) {
  const std::string line(1000, 'w');
  EXPECT_EQ(Replace("w+", line.c_str(), "\\0\\0"), std::string(1024, 'w'));
  const std::string longText(3000, 'r');
  EXPECT_EQ(Replace("w", "w", longText.c_str()), std::string(1024, 'r'));
}

TEST(Substitution, ExpandsTheMatchOfABackwardSearch) {
  HCOMPILEDRE re = CompileRE("(o)(n)e", 1);
  HCOMPILEDGS gs = CompileGS("\\2\\1", 1);
  int32_t col = 10, len = 0;
  ASSERT_EQ(HitTest(re, "one two onE one", 0, 0, &col, &len), 1);
  char out[1025];
  ASSERT_EQ(GetSubsString(gs, out), 1);
  EXPECT_STREQ(out, "no");
  EXPECT_EQ(col, 10);
  DestroyRE(re);
  DestroyGS(gs);
}

TEST(Substitution, AfterAFailedMatchGroupsAreEmpty) {
  HCOMPILEDRE re = CompileRE("(x)", 1);
  HCOMPILEDGS gs = CompileGS("<\\0\\1>", 1);
  int32_t col = 0, len = 0;
  ASSERT_EQ(HitTest(re, "axb", 1, 1, &col, &len), 1);
  col = 0;
  ASSERT_EQ(HitTest(re, "abc", 1, 1, &col, &len), 0);
  char out[1025];
  ASSERT_EQ(GetSubsString(gs, out), 1);
  EXPECT_STREQ(out, "<>");
  DestroyRE(re);
  DestroyGS(gs);
}

TEST(Substitution, RefusesHandlesThatAreNotSubstitutions) {
  char out[1025] = "untouched";
  EXPECT_EQ(GetSubsString(nullptr, out), 0);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(DestroyGS(nullptr), 0);
  // A block whose first node is not Start.
  alignas(4) uint8_t bogus[64] = {};
  bogus[4] = 8;   // last node offset 8
  bogus[8] = 3;   // a Literal where Start belongs
  EXPECT_EQ(GetSubsString(reinterpret_cast<HCOMPILEDGS>(bogus), out), 0);
  EXPECT_STREQ(out, "untouched");
  // A null text is the empty replacement.
  HCOMPILEDGS empty = CompileGS(nullptr, 1);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GetSubsString(empty, out), 1);
  EXPECT_STREQ(out, "");
  DestroyGS(empty);
}

}  // namespace
