#include "engine/store/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace osk {
namespace {

const char* naiveFind(const char* p, const char* end, const std::string& set) {
  for (; p < end; ++p) {
    if (set.find(*p) != std::string::npos) return p;
  }
  return nullptr;
}

// Every search against a byte-by-byte one, for each length up to a few steps of sixteen, each place of the sought
// byte (or none), and ranges that start off the beginning of the buffer, so that the step and the last bytes of a
// range both get a hit and a miss.
TEST(ByteScan, SearchesAgreeWithAByteByByteLookAtEveryLengthAndPlace) {
  std::string buffer(100, '.');
  for (size_t from = 0; from < 3; ++from) {
    for (size_t length = 0; length + from <= 70; ++length) {
      for (size_t at = 0; at <= length; ++at) {   // at == length: nothing to find
        for (char sought : {'a', 'b', 'x'}) {
          std::string text(buffer);
          if (at < length) text[from + at] = sought;
          // A decoy just past the range must not be found.
          text[from + length] = 'a';
          const char* p = text.data() + from;
          const char* end = p + length;
          SCOPED_TRACE(testing::Message() << "from " << from << " length " << length << " at " << at << " " << sought);
          EXPECT_EQ(FindByte(p, end, 'a'), naiveFind(p, end, "a"));
          EXPECT_EQ(FindEitherByte(p, end, 'a', 'b'), naiveFind(p, end, "ab"));
          const char four[4] = {'a', 'b', 'c', 'd'};
          EXPECT_EQ(FindAnyOfFour(p, end, four), naiveFind(p, end, "abcd"));
          // Counting the bytes before the hit: dots before `at` are counted, or all of them without a hit.
          size_t dots = 0;
          const char* hit = FindCounting<false>(p, end, 'a', 0, 'b', 0, '.', &dots);
          EXPECT_EQ(hit, naiveFind(p, end, "ab"));
          EXPECT_EQ(dots, hit != nullptr ? static_cast<size_t>(hit - p) : length - (at < length ? 1 : 0));
        }
      }
    }
  }
}

TEST(ByteScan, PairsAreFoundOnlyWhereBothBytesLieInTheRangeAndLineEndsBeforeThemAreCounted) {
  for (size_t length = 0; length <= 50; ++length) {
    for (size_t at = 0; at <= length; ++at) {
      std::string text(length + 2, '/');   // lone halves everywhere, line ends between them
      for (size_t i = 1; i < text.size(); i += 2) text[i] = '\n';
      if (at + 1 < length) {
        text[at] = '*';
        text[at + 1] = '/';
      }
      const char* p = text.data();
      const char* end = p + length;
      const char* expected = nullptr;
      for (const char* q = p; q + 1 < end; ++q) {
        if ((q[0] == '/' && q[1] == '*') || (q[0] == '*' && q[1] == '/')) {
          expected = q;
          break;
        }
      }
      size_t lineEnds = 0;
      EXPECT_EQ(FindCounting<true>(p, end, '/', '*', '*', '/', '\n', &lineEnds), expected) << length << " " << at;
      const char* stop = expected != nullptr ? expected : end;
      EXPECT_EQ(lineEnds, static_cast<size_t>(std::count(p, stop, '\n'))) << length << " " << at;
    }
  }
  // A pair whose second byte lies past the end of the range is not in it.
  const std::string straddling = std::string(16, ' ') + "/*";
  size_t lineEnds = 0;
  EXPECT_EQ(FindCounting<true>(straddling.data(), straddling.data() + 17, '/', '*', '*', '/', '\n', &lineEnds),
            nullptr);
}

TEST(ByteScan, CountingOverManyStepsSumsEveryLaneWithoutOverflow) {
  // More than 255 steps of sixteen, all counted: the per-lane counters must be summed in time.
  const std::string text = std::string(16 * 600 + 7, '\n') + "/*";
  size_t lineEnds = 0;
  EXPECT_EQ(FindCounting<true>(text.data(), text.data() + text.size(), '/', '*', '*', '/', '\n', &lineEnds),
            text.data() + 16 * 600 + 7);
  EXPECT_EQ(lineEnds, 16u * 600 + 7);
  EXPECT_EQ(FindLastByte(text.data(), text.data() + text.size(), '\n'), text.data() + 16 * 600 + 6);
  const std::string none = "abc";
  EXPECT_EQ(FindLastByte(none.data(), none.data() + none.size(), '\n'), nullptr);
}

}  // namespace
}  // namespace osk
