// Date pictures and the time of day.
#include <gtest/gtest.h>

#include "services/date_format.h"

namespace osk {
namespace {

const DateParts kMarch5th1998 = *makeDateParts(1998, 3, 5, 4, 9, 5, 3);

TEST(DatePicture, DefaultPictures) {
  EXPECT_EQ(formatDate(kDefaultShortDatePicture, kMarch5th1998), "05/03/1998");
  EXPECT_EQ(formatDate(kDefaultLongDatePicture, kMarch5th1998), "Thursday March 05 1998");
}

TEST(DatePicture, RunLengthsChooseTheForm) {
  EXPECT_EQ(formatDate("d/M/yy", kMarch5th1998), "5/3/98");
  EXPECT_EQ(formatDate("d/M/yy", *makeDateParts(2000, 1, 1, 6, 0, 0, 0)), "1/1/00");
  EXPECT_EQ(formatDate("ddd MMM", kMarch5th1998), "Thu Mar");
  EXPECT_EQ(formatDate("DDDDDD mmmmm Y YYY", kMarch5th1998), "Thursday March 98 1998");
  EXPECT_EQ(formatDate("yyyy-MM-dd", *makeDateParts(2024, 12, 31, 2, 0, 0, 0)), "2024-12-31");
  EXPECT_EQ(formatDate("dddd MMMM", *makeDateParts(2023, 9, 13, 3, 0, 0, 0)), "Wednesday September");
}

TEST(DatePicture, QuotesAreDroppedOrDoubled) {
  EXPECT_EQ(formatDate("dd''MM", kMarch5th1998), "05'03");
  EXPECT_EQ(formatDate("'Day' d", kMarch5th1998), "5a98 5");   // letters in quotes are still picture letters
  EXPECT_EQ(formatDate("'", kMarch5th1998), "");
  EXPECT_EQ(formatDate("d.M.", kMarch5th1998), "5.3.");
}

TEST(DatePicture, LongestPictureIsCutNotOverrun) {
  const std::string picture(200, 'd');
  EXPECT_EQ(formatDate(picture, kMarch5th1998), "Thursday");
  std::string mixed;
  for (int i = 0; i < 20; ++i) mixed += "dddd MMMM ";
  const std::string text = formatDate(mixed, *makeDateParts(2023, 9, 13, 3, 0, 0, 0));
  EXPECT_EQ(text.rfind("Wednesday September Wednesday September Wednesday September Wednesday September Wednesday", 0),
            0u);
}

TEST(TimeOfDay, NoLeadingZeros) {
  EXPECT_EQ(formatTime(*makeDateParts(2000, 1, 1, 6, 13, 7, 9)), "13:7:9");
  EXPECT_EQ(formatTime(kMarch5th1998), "9:5:3");
  EXPECT_EQ(formatTime(*makeDateParts(2000, 1, 1, 6, 0, 0, 0)), "0:0:0");
}

TEST(DateParts, OutOfRangePartsAreRefused) {
  EXPECT_FALSE(makeDateParts(1998, 13, 1, 0, 0, 0, 0));
  EXPECT_FALSE(makeDateParts(1998, 1, 0, 0, 0, 0, 0));
  EXPECT_FALSE(makeDateParts(1998, 1, 1, 7, 0, 0, 0));
  EXPECT_FALSE(makeDateParts(-1, 1, 1, 0, 0, 0, 0));
  EXPECT_FALSE(makeDateParts(1998, 1, 1, 0, 24, 0, 0));
}

}  // namespace
}  // namespace osk
