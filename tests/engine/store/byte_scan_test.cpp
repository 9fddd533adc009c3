#include "engine/store/byte_scan.h"

#include <gtest/gtest.h>

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
          EXPECT_EQ(CountByte(p, end, 'a'), at < length && sought == 'a' ? 1u : 0u);
        }
      }
    }
  }
}

TEST(ByteScan, PairsAreFoundOnlyWhereBothBytesLieInTheRange) {
  for (size_t length = 0; length <= 50; ++length) {
    for (size_t at = 0; at + 1 <= length + 1; ++at) {
      std::string text(length + 2, '/');   // lone halves everywhere
      for (size_t i = 1; i < text.size(); i += 2) text[i] = ' ';
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
      EXPECT_EQ(FindEitherPair(p, end, '/', '*', '*', '/'), expected) << length << " " << at;
    }
  }
  // A pair whose second byte lies past the end of the range is not in it.
  const std::string straddling = std::string(16, ' ') + "/*";
  EXPECT_EQ(FindEitherPair(straddling.data(), straddling.data() + 17, '/', '*', '*', '/'), nullptr);
}

TEST(ByteScan, CountingManyBytesSumsEveryLaneWithoutOverflow) {
  // More than 255 steps of sixteen, all hits: the per-lane counters must be summed in time.
  const std::string text(16 * 600 + 7, '\n');
  EXPECT_EQ(CountByte(text.data(), text.data() + text.size(), '\n'), text.size());
  EXPECT_EQ(FindLastByte(text.data(), text.data() + text.size(), '\n'), text.data() + text.size() - 1);
  const std::string none = "abc";
  EXPECT_EQ(FindLastByte(none.data(), none.data() + none.size(), '\n'), nullptr);
}

}  // namespace
}  // namespace osk
