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
