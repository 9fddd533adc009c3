#include "app/bounded_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace osk::app {
namespace {

TEST(BoundedCopy, NeverWritesPastTheBufferAndAlwaysTerminates) {
  std::array<char, 8> guarded{};
  guarded.fill('#');
  EXPECT_EQ(copyBounded(std::span<char>(guarded.data(), 5), "abcdefgh"), 4u);
  EXPECT_STREQ(guarded.data(), "abcd");
  EXPECT_EQ(guarded[5], '#');
  EXPECT_EQ(copyBounded(std::span<char>(guarded.data(), 5), "ab"), 2u);
  EXPECT_STREQ(guarded.data(), "ab");
  EXPECT_EQ(copyBounded(std::span<char>(guarded.data(), 0), "abc"), 0u);
  EXPECT_EQ(guarded[0], 'a');
}

TEST(BoundedCopy, TheLongestHistoryTextFitsTheSearchBuffer) {
  const std::string top(kMaxHistoryText, 's');
  const std::string search = searchTextFromHistory(top);
  EXPECT_EQ(search.size(), kMaxSearchText);
  char buffer[kMaxSearchText + 1];
  EXPECT_EQ(copyBounded(buffer, search), kMaxSearchText);
  EXPECT_EQ(std::strlen(buffer), kMaxSearchText);
  EXPECT_EQ(searchTextFromHistory(std::string("find\0me", 7)), "find");
}

TEST(FilledMessage, ArgumentIsTextNotFormat) {
  EXPECT_EQ(fillMessage("Save changes to file %s ?", "C:\\a.txt", 1024), "Save changes to file C:\\a.txt ?");
  EXPECT_EQ(fillMessage("Cannot find %s .", "100%s %d %n", 1024), "Cannot find 100%s %d %n .");
  EXPECT_EQ(fillMessage("%s and %s, 50%%", "x", 1024), "x and %s, 50%");
  EXPECT_EQ(fillMessage("Replace %s?", std::string(5000, 'n'), 64).size(), 64u);
  EXPECT_EQ(fillMessage("Replace %s?", std::string(5000, 'n'), 64).substr(0, 8), "Replace ");
}

}  // namespace
}  // namespace osk::app
