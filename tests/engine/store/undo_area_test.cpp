// Moving lines between a store and its undo area: text, order and property bits survive, for short runs copied
// line by line and for long runs handed over as whole blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/store/line_store.h"

namespace osk {
namespace {

std::vector<std::string> linesOf(LineStore& s) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= s.lineCount(); ++i) out.emplace_back(s.peekLine(i));
  return out;
}

void fill(LineStore& s, int32_t count, const std::string& prefix) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < count; ++i) texts.push_back(prefix + std::to_string(i));
  std::vector<std::string_view> views(texts.begin(), texts.end());
  ASSERT_EQ(s.insertLines(0, views), StoreStatus::kOk);
}

class MoveLines : public ::testing::TestWithParam<int32_t> {};

TEST_P(MoveLines, RoundTripKeepsTextOrderAndBits) {
  const int32_t count = GetParam();
  LineStore text;
  fill(text, 5000, "text line ");
  LineStore& area = text.undoArea();
  fill(area, 300, "kept ");
  const auto before = linesOf(text);
  const auto areaBefore = linesOf(area);
  text.properties().set(100, 1);
  text.properties().set(100 + count - 1, 4);
  text.properties().set(100 + count, 8);   // just behind the moved run: stays in the text

  ASSERT_EQ(LineStore::moveLines(text, 100, count, area, 150), StoreStatus::kOk);
  EXPECT_EQ(text.lineCount(), 5000 - count);
  EXPECT_EQ(area.lineCount(), 300 + count);
  EXPECT_EQ(area.peekLine(150), "kept 149");
  EXPECT_EQ(area.peekLine(151), "text line 99");
  EXPECT_EQ(area.peekLine(150 + count), "text line " + std::to_string(98 + count));
  EXPECT_EQ(area.peekLine(151 + count), "kept 150");
  EXPECT_EQ(text.peekLine(100), "text line " + std::to_string(99 + count));
  EXPECT_EQ(area.properties().get(151), count == 1 ? 5u : 1u);
  EXPECT_EQ(area.properties().get(150 + count), count == 1 ? 5u : 4u);
  EXPECT_EQ(text.properties().get(100), 8u);
  EXPECT_TRUE(text.selfCheck());
  EXPECT_TRUE(area.selfCheck());

  ASSERT_EQ(LineStore::moveLines(area, 151, count, text, 99), StoreStatus::kOk);
  EXPECT_EQ(linesOf(text), before);
  EXPECT_EQ(linesOf(area), areaBefore);
  EXPECT_EQ(text.properties().get(100), count == 1 ? 5u : 1u);
  EXPECT_EQ(text.properties().get(100 + count), 8u);
  EXPECT_TRUE(text.selfCheck());
  EXPECT_TRUE(area.selfCheck());
}

INSTANTIATE_TEST_SUITE_P(ShortAndLong, MoveLines, ::testing::Values(1, 7, 512, 513, 4000));

TEST(UndoArea, MovingEveryLineEmptiesTheTextAndBack) {
  LineStore text;
  fill(text, 20000, "x");
  const auto before = linesOf(text);
  ASSERT_EQ(LineStore::moveLines(text, 1, 20000, text.undoArea(), 0), StoreStatus::kOk);
  EXPECT_EQ(text.lineCount(), 0);
  EXPECT_EQ(text.undoAreaLines(), 20000);
  ASSERT_EQ(LineStore::moveLines(text.undoArea(), 1, 20000, text, 0), StoreStatus::kOk);
  EXPECT_EQ(linesOf(text), before);
}

TEST(UndoArea, FollowsTheTextsLineEnds) {
  LineStore text;
  fill(text, 10, "l");
  LineStore::moveLines(text, 1, 5, text.undoArea(), 0);
  ASSERT_EQ(text.setUnixLineEnds(true), StoreStatus::kOk);
  EXPECT_TRUE(text.undoArea().unixLineEnds());
  ASSERT_EQ(LineStore::moveLines(text.undoArea(), 1, 5, text, 0), StoreStatus::kOk);
  EXPECT_EQ(text.peekLine(1), "l0");
  EXPECT_TRUE(text.selfCheck());
}

TEST(UndoArea, RefusesBadRanges) {
  LineStore text;
  fill(text, 3, "l");
  EXPECT_EQ(LineStore::moveLines(text, 3, 2, text.undoArea(), 0), StoreStatus::kFailure);
  EXPECT_EQ(LineStore::moveLines(text, 0, 1, text.undoArea(), 0), StoreStatus::kFailure);
  EXPECT_EQ(LineStore::moveLines(text, 1, 1, text.undoArea(), 1), StoreStatus::kFailure);
  EXPECT_EQ(LineStore::moveLines(text, 1, 1, text, 0), StoreStatus::kFailure);
  EXPECT_EQ(text.lineCount(), 3);
}

}  // namespace
}  // namespace osk
