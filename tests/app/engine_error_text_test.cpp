#include "app/engine_error_text.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

TEST(EngineErrorText, EachCodeHasItsOwnText) {
  EXPECT_EQ(engineErrorText(-1), "File error.");
  EXPECT_EQ(engineErrorText(-11), "Class not initialised.");
  EXPECT_EQ(engineErrorText(-17), "File does not exist.");
  EXPECT_EQ(engineErrorText(-20), "File missing.");
  EXPECT_EQ(engineErrorText(-21), "File already loaded.");
  EXPECT_EQ(engineErrorText(-32), "Save Aborted.");
}

TEST(EngineErrorText, ValuesOutsideTheTableAreUnknown) {
  EXPECT_EQ(engineErrorText(0), "Unknown Error.");
  EXPECT_EQ(engineErrorText(5), "Unknown Error.");
  EXPECT_EQ(engineErrorText(-33), "Unknown Error.");
  EXPECT_EQ(engineErrorText(INT32_MIN), "Unknown Error.");
}

}  // namespace
}  // namespace osk::app
