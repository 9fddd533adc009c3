// The buffer search over a line store: directions, limits, the quick scan key, tabs, progress, and a randomized
// comparison with HitTest run line by line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/lang/buffer_search.h"
#include "engine/lang/regex_api.h"
#include "engine/store/line_store.h"

namespace {

using osk::BufferSearchRequest;
using osk::BufferSearchResult;
using osk::LineStore;

struct Found {
  bool found;
  int32_t line;
  int32_t col;
  int32_t len;
  bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Found& f) {
  return f.found ? os << "line " << f.line << " col " << f.col << " len " << f.len : os << "not found";
}

constexpr Found kNotFound{false, 0, 0, 0};

void Fill(LineStore& store, const std::vector<std::string>& lines) {
  std::vector<std::string_view> views(lines.begin(), lines.end());
  ASSERT_EQ(store.insertLines(0, views), osk::StoreStatus::kOk);
}

struct Search {
  const char* pattern;
  bool forward = true;
  bool matchCase = true;
  int32_t line = 1;
  int32_t col = 0;
  int32_t limit = 0;
  int32_t tabLength = 0;
};

Found SearchIn(LineStore& store, const Search& s) {
  HCOMPILEDRE re = CompileRE(s.pattern, 1);
  EXPECT_NE(re, nullptr) << s.pattern;
  BufferSearchRequest request;
  request.pattern = reinterpret_cast<const uint8_t*>(re);
  request.forward = s.forward;
  request.matchCase = s.matchCase;
  request.startLine = s.line;
  request.startColumn = s.col;
  request.limitLine = s.limit;
  request.tabLength = s.tabLength;
  const BufferSearchResult r = osk::SearchBuffer(store, request, osk::regex::ProcessMatcher());
  DestroyRE(re);
  return r.found ? Found{true, r.line, r.column, r.length} : kNotFound;
}

class BufferSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    Fill(store_, {"first line", "an abc here", "nothing", "abc and abc again", "", "last abc"});
  }
  LineStore store_;
};

TEST_F(BufferSearch, ForwardFindsTheFirstMatchFromTheStart) {
  EXPECT_EQ(SearchIn(store_, {"abc"}), (Found{true, 2, 3, 3}));
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 2, 4}), (Found{true, 4, 0, 3}));
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 4, 1}), (Found{true, 4, 8, 3}));
}

TEST_F(BufferSearch, BackwardFindsTheLastMatchAndReportsItsLastCharacter) {
  EXPECT_EQ(SearchIn(store_, {"abc", false, true, 6, 1000}), (Found{true, 6, 7, 3}));
  EXPECT_EQ(SearchIn(store_, {"abc", false, true, 6, 6}), (Found{true, 4, 10, 3}));
  EXPECT_EQ(SearchIn(store_, {"abc", false, true, 4, 9}), (Found{true, 4, 2, 3}));
}

TEST_F(BufferSearch, TheLimitLineEndsTheSearch) {
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 3, 0, 3}), kNotFound);
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 3, 0, 4}), (Found{true, 4, 0, 3}));
  EXPECT_EQ(SearchIn(store_, {"last", false, true, 5, 0, 1}), kNotFound);
}

TEST_F(BufferSearch, InvalidRequestsFindNothing) {
  // A limit behind the start in the search direction, a start outside the text, a negative column.
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 4, 0, 2}), kNotFound);
  EXPECT_EQ(SearchIn(store_, {"abc", false, true, 2, 0, 4}), kNotFound);
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 7}), kNotFound);
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 0}), kNotFound);
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 1, -1}), kNotFound);
  EXPECT_EQ(SearchIn(store_, {"abc", true, true, 1, 0, 7}), kNotFound);
  LineStore empty;
  EXPECT_EQ(SearchIn(empty, {"abc"}), kNotFound);
}

TEST(BufferSearchKey, PlusCharacterDoesNotJoinWhatFollows) {
  LineStore store;
  Fill(store, {"xy? no", "xxy"});
  EXPECT_EQ(SearchIn(store, {"x+y", true, true, 2}), (Found{true, 2, 0, 3}));
  EXPECT_EQ(SearchIn(store, {"x+y"}), (Found{true, 1, 0, 2}));
  HCOMPILEDRE re = CompileRE("x+y", 1);
  const osk::SearchKey key = osk::PrepareSearchKey(reinterpret_cast<const uint8_t*>(re), true, false);
  EXPECT_EQ(key.text, "x");
  DestroyRE(re);
}

TEST(BufferSearchKey, KeysOfTypicalPatterns) {
  struct Case {
    const char* pattern;
    bool forward;
    const char* key;
    bool wholeLine;
  };
  for (const Case& c : std::vector<Case>{{"abc", true, "abc", false},
                                         {"abc", false, "abc", false},
                                         {"gamma.*delta", true, "gamma", false},
                                         {"gamma.*delta", false, "gamma", true},
                                         {".*abc", true, "abc", true},
                                         {"^abc", true, "abc", true},
                                         {"abc$", false, "abc", true},
                                         {"(ab)(c)", false, "abc", false},
                                         {"a*bc", true, "bc", true},
                                         {"ab+c", true, "ab", false},
                                         {"[xy]", true, "", true}}) {
    HCOMPILEDRE re = CompileRE(c.pattern, 1);
    const osk::SearchKey key = osk::PrepareSearchKey(reinterpret_cast<const uint8_t*>(re), c.forward, false);
    EXPECT_EQ(key.text, c.key) << c.pattern;
    EXPECT_EQ(key.wholeLine, c.wholeLine) << c.pattern << (c.forward ? " forward" : " backward");
    DestroyRE(re);
  }
  HCOMPILEDRE spaced = CompileRE("  ab cd", 1);
  const osk::SearchKey key = osk::PrepareSearchKey(reinterpret_cast<const uint8_t*>(spaced), true, true);
  EXPECT_EQ(key.text, "ab");
  EXPECT_TRUE(key.wholeLine);
  DestroyRE(spaced);
}

TEST(BufferSearchTabs, ExpandedLinesAreMatchedInCells) {
  LineStore store;
  Fill(store, {"\tx", "a\tb"});
  // With a tab length of 4, "a\tb" shows as "a   b": the pattern sees spaces where the tab was.
  EXPECT_EQ(SearchIn(store, {"a   b", true, true, 1, 0, 0, 4}), (Found{true, 2, 0, 5}));
  EXPECT_EQ(SearchIn(store, {"x", true, true, 1, 0, 0, 4}), (Found{true, 1, 4, 1}));
  EXPECT_EQ(SearchIn(store, {"a   b"}), kNotFound);
  EXPECT_EQ(SearchIn(store, {"\\tx"}), (Found{true, 1, 0, 2}));
}

TEST(BufferSearchTabs, ExpansionStopsAt1024Cells) {
  char out[1025];
  EXPECT_EQ(osk::ExpandTabs(std::string(300, '\t'), 8, out), 1024);
  EXPECT_EQ(osk::ExpandTabs("ab\tc", 4, out), 5);
  EXPECT_STREQ(out, "ab  c");
}

TEST(BufferSearchTabs, ExpansionMatchesACellByCellReference) {
  auto reference = [](std::string_view line, int32_t tab) {
    std::string out;
    for (char c : line) {
      if (out.size() >= 1024) break;
      if (c == '\t' && tab > 0) {
        do out += ' '; while (out.size() % static_cast<size_t>(tab) != 0 && out.size() < 1024);
      } else {
        out += c;
      }
    }
    return out;
  };
  std::mt19937 rng(7);
  char out[1025];
  for (int i = 0; i < 2000; ++i) {
    std::string line;
    const size_t length = rng() % 2 ? rng() % 40 : 900 + rng() % 125;
    for (size_t k = 0; k < length; ++k) line += rng() % 5 == 0 ? '\t' : static_cast<char>('a' + rng() % 26);
    const int32_t tab = static_cast<int32_t>(rng() % 33);
    const std::string want = reference(line, tab);
    ASSERT_EQ(osk::ExpandTabs(line, tab, out), static_cast<int32_t>(want.size())) << i;
    ASSERT_EQ(std::string(out), want) << i;
  }
}

struct Progress {
  std::vector<int32_t> lines;
  int32_t abortAt = -1;
  static bool Step(void* context, int32_t line) {
    auto* self = static_cast<Progress*>(context);
    self->lines.push_back(line);
    return self->abortAt >= 0 && static_cast<int32_t>(self->lines.size()) > self->abortAt;
  }
};

TEST(BufferSearchProgress, ReportsRunsAndStopsWhenAsked) {
  LineStore store;
  Fill(store, std::vector<std::string>(1000, "nothing to see"));
  HCOMPILEDRE re = CompileRE("needle", 1);
  Progress progress;
  BufferSearchRequest request;
  request.pattern = reinterpret_cast<const uint8_t*>(re);
  request.progress = Progress::Step;
  request.progressContext = &progress;
  BufferSearchResult r = osk::SearchBuffer(store, request, osk::regex::ProcessMatcher());
  EXPECT_FALSE(r.found);
  EXPECT_FALSE(r.aborted);
  // From the start line on, in order, never more than 256 lines apart, and covering the whole text.
  ASSERT_FALSE(progress.lines.empty());
  EXPECT_EQ(progress.lines.front(), 1);
  for (size_t i = 1; i < progress.lines.size(); ++i) {
    EXPECT_GT(progress.lines[i], progress.lines[i - 1]);
    EXPECT_LE(progress.lines[i] - progress.lines[i - 1], 256);
  }
  EXPECT_GT(progress.lines.back(), 1000 - 256);

  progress = Progress{};
  progress.abortAt = 1;
  r = osk::SearchBuffer(store, request, osk::regex::ProcessMatcher());
  EXPECT_FALSE(r.found);
  EXPECT_TRUE(r.aborted);
  DestroyRE(re);
}

// The engine's side of LineHitTest, played by the test.
LineStore* gTarget = nullptr;
Progress gProgress;
bool TestTarget(osk::SearchTarget& target, bool withProgress) {
  if (gTarget == nullptr) return false;
  target.store = gTarget;
  target.progress = Progress::Step;
  target.progressContext = &gProgress;
  return true;
}

TEST(LineHitTest, SearchesTheCurrentTargetAndFeedsSubstitutions) {
  LineStore store;
  Fill(store, {"one", "two = 2", "three = 3"});
  osk::SetSearchTargetProvider(TestTarget);
  gTarget = &store;
  HCOMPILEDRE re = CompileRE("([a-z]+) = ([0-9])", 1);
  HCOMPILEDGS gs = CompileGS("\\2 == \\1", 1);
  int32_t line = 1, col = 0, len = 0, aborted = 7;
  ASSERT_EQ(LineHitTest(re, 1, 1, 0, 0, &line, &col, &len, &aborted), 1);
  EXPECT_EQ(aborted, 0);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(len, 7);
  char out[1025];
  ASSERT_EQ(GetSubsString(gs, out), 1);
  EXPECT_STREQ(out, "2 == two");

  line = 3;
  col = 100;
  ASSERT_EQ(LineHitTest(re, 0, 1, 0, 0, &line, &col, &len, nullptr), 1);
  EXPECT_EQ(line, 3);
  EXPECT_EQ(col, 8);

  gProgress = Progress{};
  gProgress.abortAt = 0;
  line = 1;
  col = 0;
  EXPECT_EQ(LineHitTest(re, 1, 1, 1, 0, &line, &col, &len, &aborted), 0);
  EXPECT_EQ(aborted, 1);
  EXPECT_EQ(line, 1);

  gTarget = nullptr;
  EXPECT_EQ(LineHitTest(re, 1, 1, 0, 0, &line, &col, &len, &aborted), 0);
  EXPECT_EQ(aborted, 0);
  osk::SetSearchTargetProvider(nullptr);
  DestroyRE(re);
  DestroyGS(gs);
}

// The search must give exactly what HitTest gives line by line.
Found LineByLine(const std::vector<std::string>& lines, HCOMPILEDRE re, const Search& s) {
  const auto n = static_cast<int32_t>(lines.size());
  const int32_t limit = s.limit != 0 ? s.limit : (s.forward ? n : 1);
  if (n == 0 || s.line < 1 || s.line > n || limit < 1 || limit > n || s.col < 0) return kNotFound;
  if (s.forward ? limit < s.line : limit > s.line) return kNotFound;
  for (int32_t l = s.line; s.forward ? l <= limit : l >= limit; l += s.forward ? 1 : -1) {
    std::string text;
    for (char c : lines[static_cast<size_t>(l - 1)]) {
      if (c == '\t' && s.tabLength > 0) {
        text.append(static_cast<size_t>(s.tabLength) - text.size() % static_cast<size_t>(s.tabLength), ' ');
      } else {
        text += c;
      }
    }
    if (text.size() > 1024) text.resize(1024);
    int32_t col = l == s.line ? s.col : (s.forward ? 0 : static_cast<int32_t>(text.size()));
    int32_t len = 0;
    if (HitTest(re, text.c_str(), s.forward, s.matchCase, &col, &len) == 1) return {true, l, col, len};
  }
  return kNotFound;
}

TEST(BufferSearchDifferential, AgreesWithHitTestLineByLine) {
  std::mt19937 rng(5);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const std::string lineChars = "abxXy \t";
  std::vector<std::string> lines;
  for (int i = 0; i < 1500; ++i) {
    std::string line;
    const int length = below(8) == 0 ? 0 : below(40);
    for (int c = 0; c < length; ++c) line += lineChars[static_cast<size_t>(below(static_cast<int>(lineChars.size())))];
    lines.push_back(line);
  }
  // Some long lines, so that a block holds few lines.
  for (int i = 0; i < 20; ++i) lines[static_cast<size_t>(below(1500))] = std::string(900, 'a') + "xy" + std::string(100, 'b');
  LineStore store;
  Fill(store, lines);
  ASSERT_GT(store.blockCount(), 4);

  std::vector<std::string> patterns = {"x+y", "xy", "ab", "a.*b", "^ab", "ab$", "(a)(b+)x", "b*a", "[ab]x", "x",
                                       "a b", " a", "\\ta", "a?b", "xx*y", "[^a]b+", "y$", "^ ", "X",
                                       std::string(33, 'a') + "xy", "a+xy", "(x)(y)", "b+"};
  const std::string patternChars = "abxy .*+?^$[]()\t";
  while (patterns.size() < 120) {
    std::string p;
    const int length = below(6) + 1;
    for (int c = 0; c < length; ++c) p += patternChars[static_cast<size_t>(below(static_cast<int>(patternChars.size())))];
    HCOMPILEDRE re = CompileRE(p.c_str(), 1);
    if (re != nullptr) patterns.push_back(p);
    DestroyRE(re);
  }
  int found = 0, searches = 0;
  for (const std::string& pattern : patterns) {
    HCOMPILEDRE re = CompileRE(pattern.c_str(), 1);
    ASSERT_NE(re, nullptr) << pattern;
    for (int trial = 0; trial < 24; ++trial) {
      Search s{pattern.c_str()};
      s.forward = below(2) == 0;
      s.matchCase = below(2) == 0;
      s.line = below(1500) + 1;
      s.col = below(10) == 0 ? 1000 : below(30);
      s.tabLength = below(4) == 0 ? 4 : 0;
      s.limit = below(3) == 0 ? 0 : (s.forward ? std::min(1500, s.line + below(400)) : std::max(1, s.line - below(400)));
      const Found expected = LineByLine(lines, re, s);
      ASSERT_EQ(SearchIn(store, s), expected) << "pattern '" << pattern << "' from " << s.line << ":" << s.col
                                         << (s.forward ? " forward" : " backward")
                                         << (s.matchCase ? " case" : " nocase") << " tabs " << s.tabLength
                                         << " limit " << s.limit;
      found += expected.found;
      ++searches;
    }
    DestroyRE(re);
  }
  EXPECT_GT(found, searches / 4);
}

}  // namespace
