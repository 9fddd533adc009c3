#include "app/gauge_pacing.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

TEST(GaugePacing, RepaintsAChangedPercentageAtMostEveryFortyMilliseconds) {
  GaugePacing pacing;
  pacing.start(0, 1000);
  EXPECT_FALSE(pacing.repaintDue(0, 2000)) << "the same percentage is never painted again";
  EXPECT_FALSE(pacing.repaintDue(5, 1039)) << "too soon after the start";
  EXPECT_TRUE(pacing.repaintDue(5, 1040));
  EXPECT_FALSE(pacing.repaintDue(9, 1079));
  // A percentage passed over while waiting is not owed: the next repaint shows where the work stands then.
  EXPECT_TRUE(pacing.repaintDue(12, 1080));
  EXPECT_FALSE(pacing.repaintDue(12, 5000));
}

TEST(GaugePacing, PollsEscAtOnceAndThenEveryTenMilliseconds) {
  GaugePacing pacing;
  pacing.start(0, 500);
  EXPECT_TRUE(pacing.escPollDue(500)) << "a one-step operation can still be stopped";
  EXPECT_FALSE(pacing.escPollDue(509));
  EXPECT_TRUE(pacing.escPollDue(510));
  EXPECT_FALSE(pacing.escPollDue(519));
  // A new gauge polls at its first step again, however soon after the last one.
  pacing.start(0, 512);
  EXPECT_TRUE(pacing.escPollDue(512));
}

TEST(GaugePacing, StartsAfterAClockOfZero) {
  // A clock that starts at zero, or a gauge started before the first poll, still polls and repaints.
  GaugePacing pacing;
  pacing.start(0, 0);
  EXPECT_TRUE(pacing.escPollDue(0));
  EXPECT_TRUE(pacing.repaintDue(1, GaugePacing::kRepaintMs));
}

}  // namespace
}  // namespace osk::app
