#include "services/displayable_path.h"

#include <gtest/gtest.h>

namespace osk {
namespace {

TEST(DisplayablePath, KeepsTheRootAndTheTrailingPartsThatFit) {
  EXPECT_EQ(displayablePath("C:\\src\\a.txt", 64), "C:\\src\\a.txt");
  EXPECT_EQ(displayablePath("C:\\projects\\editor\\engine\\store\\line.cpp", 30), "C:\\...\\engine\\store\\line.cpp");
  EXPECT_EQ(displayablePath("\\\\server\\share\\deep\\deeper\\file.txt", 30), "\\\\server\\share\\...\\file.txt");
  for (std::size_t limit : {5u, 12u, 20u, 31u}) {
    EXPECT_LE(displayablePath("C:\\projects\\editor\\engine\\store\\a_rather_long_name.cpp", limit).size(), limit);
  }
  // Not even the file name fits beside the root: its last characters.
  EXPECT_EQ(displayablePath("C:\\dir\\averyveryverylongname.txt", 12), "...gname.txt");
  EXPECT_EQ(displayablePath("abcdefgh", 3), "fgh");
}

}  // namespace
}  // namespace osk
