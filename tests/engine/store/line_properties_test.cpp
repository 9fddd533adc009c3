#include "engine/store/line_properties.h"

#include <gtest/gtest.h>

namespace osk {
namespace {

TEST(LineProperties, SetAndClearReportChangesAndDropEmptyPairs) {
  LineProperties p;
  EXPECT_TRUE(p.set(5, 1));
  EXPECT_FALSE(p.set(5, 1));   // already set: no change
  EXPECT_TRUE(p.set(5, 0x4000));
  EXPECT_EQ(p.get(5, 1), 1u);
  EXPECT_TRUE(p.clear(5, 1));
  EXPECT_EQ(p.size(), 1u);
  EXPECT_TRUE(p.clear(5, 0x4000));
  EXPECT_EQ(p.size(), 0u);
  EXPECT_FALSE(p.clear(5, 1));
}

TEST(LineProperties, NextAndPreviousFindNearestMatchingLine) {
  LineProperties p;
  p.set(3, 1);
  p.set(7, 2);
  p.set(9, 1);
  uint32_t bits = 0;
  EXPECT_EQ(p.next(3, 1, &bits), 9);
  EXPECT_EQ(bits, 1u);
  EXPECT_EQ(p.next(0, 2), 7);
  EXPECT_EQ(p.next(9, 1), 0);
  EXPECT_EQ(p.previous(9, 1), 3);
  EXPECT_EQ(p.previous(3, 1), 0);
}

TEST(LineProperties, ReplacingBitsOfARangeKeepsOtherBitsAndLines) {
  LineProperties p;
  p.set(1, 0x8000);
  p.set(3, 0x1);          // a bookmark inside the range
  p.set(4, 0x4001);
  p.set(6, 0x8000);       // outside the range
  ASSERT_TRUE(p.replaceBits(2, 5, 0xC000, {{2, 0x4000}, {3, 0x8000}, {5, 0x4000 | 0x2}}));
  // Bits outside the mask in the new pairs are ignored; old ones outside it stay.
  const std::vector<LineProperties::Pair> want = {{1, 0x8000}, {2, 0x4000}, {3, 0x8001}, {4, 0x1}, {5, 0x4000},
                                                   {6, 0x8000}};
  ASSERT_EQ(p.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(p.pairs()[i].line, want[i].line);
    EXPECT_EQ(p.pairs()[i].bits, want[i].bits);
  }
  // A table of masked bits only, replaced whole, takes the new pairs as they are.
  LineProperties q;
  q.set(2, 0x4000);
  ASSERT_TRUE(q.replaceBits(1, 10, 0xC000, {{7, 0x8000}, {8, 0x1}}));
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q.pairs()[0].line, 7);
  EXPECT_TRUE(q.replaceBits(1, 10, 0xC000, {}));
  EXPECT_EQ(q.size(), 0u);
}

TEST(LineProperties, ClearingBitsOfARangeKeepsOtherBitsAndLines) {
  LineProperties p;
  p.set(1, 0x8000);       // before the range
  p.set(2, 0x4000);       // goes
  p.set(3, 0x4001);       // keeps its bookmark
  p.set(5, 0xC000);       // goes
  p.set(7, 0x8000);       // after the range
  p.clearBits(2, 6, 0xC000);
  const std::vector<LineProperties::Pair> want = {{1, 0x8000}, {3, 0x1}, {7, 0x8000}};
  ASSERT_EQ(p.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(p.pairs()[i].line, want[i].line);
    EXPECT_EQ(p.pairs()[i].bits, want[i].bits);
  }
  p.clearBits(5, 4, 0xFFFFFFFFu);   // an empty range changes nothing
  EXPECT_EQ(p.size(), 3u);
  p.clearBits(1, 100, 0xFFFFFFFFu);
  EXPECT_EQ(p.size(), 0u);
}

TEST(LineProperties, TruncateDropsPairsBeyondTheText) {
  LineProperties p;
  p.set(1, 1);
  p.set(10, 1);
  p.set(11, 1);
  p.truncate(10);
  EXPECT_EQ(p.size(), 2u);
  EXPECT_EQ(p.get(11), 0u);
}

}  // namespace
}  // namespace osk
