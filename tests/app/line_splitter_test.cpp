#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/line_splitter.h"

namespace osk::app {
namespace {

std::vector<std::string> split(const std::vector<std::string>& chunks, std::size_t stopAfter = 1000) {
  std::vector<std::string> lines;
  LineSplitter splitter([&](std::string_view line) {
    lines.emplace_back(line);
    return lines.size() < stopAfter;
  });
  for (const std::string& chunk : chunks) {
    if (!splitter.feed(chunk)) return lines;
  }
  splitter.finish();
  return lines;
}

TEST(LineSplitterEnds, MixedLineEndsEvenWhenACrLfIsCutBetweenReads) {
  EXPECT_EQ(split({"one\r\ntwo\nthree\rfour"}), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(split({"one\r", "\ntwo\r", "\r\n"}), (std::vector<std::string>{"one", "two", ""}));
  EXPECT_EQ(split({"\n\n"}), (std::vector<std::string>{"", ""}));
  EXPECT_TRUE(split({""}).empty());
  EXPECT_EQ(split({std::string("a\0b\n", 4)}), (std::vector<std::string>{std::string("a\0b", 3)}));
}

TEST(LineSplitterEnds, LongLinesAreCutIntoPiecesTheStoreHolds) {
  const std::string exact(kLinePieceSize, 'x');
  EXPECT_EQ(split({exact + "\n"}), (std::vector<std::string>{exact}));
  const std::vector<std::string> lines = split({exact, "yz\r\n", "end"});
  EXPECT_EQ(lines, (std::vector<std::string>{exact, "yz", "end"}));
}

TEST(LineSplitterEnds, TheSinkStopsTheReading) {
  EXPECT_EQ(split({"a\nb\nc\nd\n"}, 2), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace osk::app
