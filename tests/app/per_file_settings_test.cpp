#include "app/per_file_settings.h"

#include <gtest/gtest.h>

#include <random>

namespace osk::app {
namespace {

PerFileSettings with(int32_t tab, int32_t indent, int32_t left, int32_t right, int32_t autoMargin) {
  PerFileSettings s;
  s.tabLength = tab;
  s.indent = indent;
  s.leftMargin = left;
  s.rightMargin = right;
  s.autoMargin = autoMargin;
  return s;
}

TEST(MarginValidation, TabLengthOutsideOneToThirtyTwoBecomesEight) {
  EXPECT_EQ(validated(with(40, 0, 4, 70, 1)).tabLength, 8);
  EXPECT_EQ(validated(with(0, 0, 4, 70, 1)).tabLength, 8);
  EXPECT_EQ(validated(with(-3, 0, 4, 70, 1)).tabLength, 8);
  EXPECT_EQ(validated(with(32, 0, 4, 70, 1)).tabLength, 32);
  EXPECT_EQ(validated(with(1, 0, 4, 70, 1)).tabLength, 1);
}

TEST(MarginValidation, AutomaticMargins) {
  EXPECT_EQ(validated(with(8, 0, 4, 2000, 1)).rightMargin, 70);
  EXPECT_EQ(validated(with(8, 0, 4, 7, 1)).rightMargin, 70);
  // Right margin left of the left margin: the left margin comes back to 4.
  EXPECT_EQ(validated(with(8, 0, 50, 40, 1)), with(8, 0, 4, 40, 1));
  // Indent that takes the first line past the right margin, or before column 1, is dropped.
  EXPECT_EQ(validated(with(8, 30, 20, 40, 1)).indent, 0);
  EXPECT_EQ(validated(with(8, -10, 4, 70, 1)).indent, 0);
  EXPECT_EQ(validated(with(8, -3, 4, 70, 1)).indent, -3);
  EXPECT_EQ(validated(with(8, 5, 4, 70, 1)), with(8, 5, 4, 70, 1));
}

TEST(MarginValidation, FixedMargins) {
  EXPECT_EQ(validated(with(8, 0, 4, 7, 0)), with(8, 0, 4, 70, 0));
  EXPECT_EQ(validated(with(8, 20, 4, 27, 0)), with(8, 0, 4, 70, 0));
  EXPECT_EQ(validated(with(8, -20, 4, 27, 0)), with(8, 0, 4, 70, 0));
  EXPECT_EQ(validated(with(8, 10, 4, 30, 0)), with(8, 10, 4, 30, 0));
  EXPECT_EQ(validated(with(8, 0, 4, 5000, 0)).rightMargin, 70);
}

TEST(MarginValidation, AnyNumbersGiveMarginsTheEngineCanHold) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX), small(-2000, 2000);
  for (int i = 0; i < 20000; ++i) {
    auto pick = [&] { return i % 2 ? any(random) : small(random); };
    PerFileSettings s{pick(), pick(), pick(), pick(), pick(), pick(), pick(), pick()};
    const PerFileSettings v = validated(s);
    ASSERT_GE(v.tabLength, 1);
    ASSERT_LE(v.tabLength, 32);
    ASSERT_GE(v.leftMargin, 1);
    ASSERT_LE(v.rightMargin, kMaxCells);
    ASSERT_LE(v.leftMargin, v.rightMargin);
    ASSERT_GE(v.indent, -kMaxCells);
    ASSERT_LE(v.indent, kMaxCells);
    ASSERT_EQ(validated(v), v) << "validation settles in one pass";
    for (int32_t f : {v.tabsAsSpaces, v.autoMargin, v.syncPanes, v.wordWrap}) ASSERT_TRUE(f == 0 || f == 1);
  }
}

}  // namespace
}  // namespace osk::app
