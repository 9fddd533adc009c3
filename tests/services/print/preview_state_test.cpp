// The preview's paging and zoom, what each operation allows when, and the page order of a print run.
#include <gtest/gtest.h>

#include "services/print/preview_state.h"

namespace osk::print {
namespace {

TEST(PreviewStateTest, PagingStaysWithinTheJob) {
  PreviewState s(3);
  EXPECT_EQ(s.label(), "Page 1");
  EXPECT_FALSE(s.possible(2));
  EXPECT_FALSE(s.apply(2));
  EXPECT_TRUE(s.apply(1));
  EXPECT_TRUE(s.apply(1));
  EXPECT_EQ(s.label(), "Page 3");
  EXPECT_FALSE(s.possible(1));
  EXPECT_FALSE(s.apply(1));
  EXPECT_EQ(s.page(), 3u);
  EXPECT_TRUE(s.apply(2));
  EXPECT_EQ(s.page(), 2u);
}

TEST(PreviewStateTest, TwoPagesShowAPairAndStepByTwo) {
  PreviewState s(5);
  EXPECT_FALSE(s.possible(5));
  EXPECT_TRUE(s.apply(6));
  EXPECT_FALSE(s.possible(6));
  EXPECT_EQ(s.label(), "Pages 1-2");
  EXPECT_TRUE(s.apply(1));
  EXPECT_EQ(s.label(), "Pages 3-4");
  EXPECT_TRUE(s.apply(1));
  EXPECT_EQ(s.label(), "Page 5");   // the job has no sixth page
  EXPECT_FALSE(s.possible(1));
  EXPECT_TRUE(s.apply(2));
  EXPECT_EQ(s.label(), "Pages 3-4");
  EXPECT_TRUE(s.apply(5));
  EXPECT_EQ(s.label(), "Page 3");
  PreviewState one(1);
  ASSERT_TRUE(one.apply(6));
  EXPECT_EQ(one.label(), "Page 1");
  EXPECT_FALSE(one.possible(1));
}

TEST(PreviewStateTest, ThreeZoomStepsEachWay) {
  PreviewState s(1);
  EXPECT_FALSE(s.possible(4));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(s.apply(3));
  EXPECT_FALSE(s.possible(3));
  EXPECT_EQ(s.zoom(), 3);
  EXPECT_TRUE(s.apply(4));
  EXPECT_FALSE(s.possible(0));
  EXPECT_FALSE(s.possible(7));
  PreviewState none(0);
  EXPECT_EQ(none.pageCount(), 1u);
}

TEST(PagesToPrintTest, RangesRunEitherWayWithinTheJob) {
  EXPECT_EQ(pagesToPrint(0, 0, 3), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(pagesToPrint(2, 9, 3), (std::vector<uint32_t>{2, 3}));
  EXPECT_EQ(pagesToPrint(3, 1, 4), (std::vector<uint32_t>{3, 2, 1}));
  EXPECT_TRUE(pagesToPrint(5, 7, 3).empty());
  EXPECT_TRUE(pagesToPrint(1, 1, 0).empty());
}

TEST(PagesToPrintTest, PrintingTitleIsCutTo31Characters) {
  EXPECT_EQ(printingTitle(std::string(40, 'n')).size(), 31u);
  EXPECT_EQ(printingTitle("short.c"), "short.c");
}

}  // namespace
}  // namespace osk::print
