// Global text blocks: appending lines with CR LF, reading them back line by line, copying, and the size bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/lang/global_text_block.h"
#include "engine/lang/regex_api.h"

namespace {

struct ReadLine {
  int32_t result;
  std::string text;
  bool operator==(const ReadLine&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ReadLine& line) {
  return os << line.result << ":'" << line.text << "'";
}

std::vector<ReadLine> ReadAll(HGLOBALTEXT block) {
  std::vector<ReadLine> lines;
  char out[1025];
  int32_t result = GetFirstGlobalLine(block, out);
  while (result != 0) {
    lines.push_back({result, out});
    if (lines.size() > 100) break;
    result = GetNextGlobalLine(out);
  }
  return lines;
}

TEST(GlobalTextBlock, LinesAppendedWithLineEndsReadBackInOrder) {
  HGLOBALTEXT block = nullptr;
  for (const char* line : {"first", "", "third line"}) block = AddGlobalLine(block, line, 1);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(osk::GlobalTextContents(block), "first\r\n\r\nthird line\r\n");
  EXPECT_EQ(ReadAll(block), (std::vector<ReadLine>{{1, "first"}, {1, ""}, {1, "third line"}}));
  EXPECT_EQ(GetNextGlobalLine(nullptr), 0);
  osk::ReleaseGlobalText(block);
}

TEST(GlobalTextBlock, OtherModesAppendWithoutLineEndAndModeZeroDoesNothing) {
  HGLOBALTEXT block = AddGlobalLine(nullptr, "a", 1);
  block = AddGlobalLine(block, "b", 2);
  EXPECT_EQ(AddGlobalLine(block, "ignored", 0), block);
  EXPECT_EQ(AddGlobalLine(nullptr, "ignored", 0), nullptr);
  block = AddGlobalLine(block, nullptr, 2);
  EXPECT_EQ(osk::GlobalTextContents(block), "a\r\nb");
  EXPECT_EQ(ReadAll(block), (std::vector<ReadLine>{{1, "a"}, {2, "b"}}));
  osk::ReleaseGlobalText(block);
}

TEST(GlobalTextBlock, LineEndsMayBeCrLfCrOrLf) {
  HGLOBALTEXT block = AddGlobalLine(nullptr, "one\rtwo\nthree\r\n\nfive", 2);
  EXPECT_EQ(ReadAll(block),
            (std::vector<ReadLine>{{1, "one"}, {1, "two"}, {1, "three"}, {1, ""}, {2, "five"}}));
  osk::ReleaseGlobalText(block);
}

TEST(GlobalTextBlock, LongLinesComeInPiecesOf1024) {
  HGLOBALTEXT block = AddGlobalLine(nullptr, std::string(2000, 'x').c_str(), 1);
  block = AddGlobalLine(block, std::string(1024, 'y').c_str(), 1);
  block = AddGlobalLine(block, "z", 1);
  const std::vector<ReadLine> lines = ReadAll(block);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], (ReadLine{1, std::string(1024, 'x')}));
  EXPECT_EQ(lines[1], (ReadLine{1, std::string(976, 'x')}));
  // A line of exactly 1024 characters does not leave an empty line behind.
  EXPECT_EQ(lines[2], (ReadLine{1, std::string(1024, 'y')}));
  EXPECT_EQ(lines[3], (ReadLine{1, "z"}));
  osk::ReleaseGlobalText(block);
}

TEST(GlobalTextBlock, NullOutputSkipsLines) {
  HGLOBALTEXT block = AddGlobalLine(nullptr, "skip\r\nkeep", 2);
  EXPECT_EQ(GetFirstGlobalLine(block, nullptr), 1);
  char out[1025];
  EXPECT_EQ(GetNextGlobalLine(out), 2);
  EXPECT_STREQ(out, "keep");
  EXPECT_EQ(GetNextGlobalLine(out), 0);
  osk::ReleaseGlobalText(block);
}

TEST(GlobalTextBlock, EmptyAndMissingBlocksReadNothing) {
  char out[1025] = "x";
  EXPECT_EQ(GetFirstGlobalLine(nullptr, out), 0);
  EXPECT_EQ(GetNextGlobalLine(out), 0);
  HGLOBALTEXT block = AddGlobalLine(nullptr, "", 2);
  EXPECT_EQ(GetFirstGlobalLine(block, out), 0);
  EXPECT_STREQ(out, "");
  osk::ReleaseGlobalText(block);
  // A released block is no longer being read.
  EXPECT_EQ(GetNextGlobalLine(out), 0);
}

TEST(GlobalTextBlock, CopyHasTheSameSizeAndText) {
  HGLOBALTEXT block = AddGlobalLine(nullptr, "copy me", 1);
  HGLOBALTEXT copy = CopyGlobalLine(block);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, block);
  EXPECT_EQ(osk::GlobalTextSize(copy), osk::GlobalTextSize(block));
  EXPECT_EQ(osk::GlobalTextContents(copy), "copy me\r\n");
  EXPECT_EQ(CopyGlobalLine(nullptr), nullptr);
  osk::ReleaseGlobalText(block);
  osk::ReleaseGlobalText(copy);
}

TEST(GlobalTextBlock, AppendingToAnotherBlockMeasuresItFirst) {
  HGLOBALTEXT first = AddGlobalLine(nullptr, "one", 1);
  HGLOBALTEXT second = AddGlobalLine(nullptr, "two", 1);
  first = AddGlobalLine(first, "three", 1);
  second = AddGlobalLine(second, "four", 1);
  EXPECT_EQ(osk::GlobalTextContents(first), "one\r\nthree\r\n");
  EXPECT_EQ(osk::GlobalTextContents(second), "two\r\nfour\r\n");
  osk::ReleaseGlobalText(first);
  osk::ReleaseGlobalText(second);
}

TEST(GlobalTextBlock, ManyLinesGrowTheBlock) {
  HGLOBALTEXT block = nullptr;
  std::string expected;
  for (int i = 0; i < 5000; ++i) {
    const std::string line = "line " + std::to_string(i);
    block = AddGlobalLine(block, line.c_str(), 1);
    ASSERT_NE(block, nullptr);
    expected += line + "\r\n";
  }
  EXPECT_EQ(osk::GlobalTextContents(block), expected);
  char out[1025];
  int count = 0;
  for (int32_t r = GetFirstGlobalLine(block, out); r != 0; r = GetNextGlobalLine(out)) {
    EXPECT_EQ(std::string(out), "line " + std::to_string(count));
    ++count;
  }
  EXPECT_EQ(count, 5000);
  osk::ReleaseGlobalText(block);
}

// An allocator that fails on demand, as movable global memory may.
int gAllocationsLeft = 1000;
osk::GlobalTextHandle FailingAllocate(size_t bytes) {
  if (gAllocationsLeft-- <= 0) return nullptr;
  auto* block = static_cast<size_t*>(std::calloc(1, sizeof(size_t) * 2 + bytes));
  block[0] = bytes;
  return block;
}
osk::GlobalTextHandle FailingReallocate(osk::GlobalTextHandle old, size_t bytes) {
  if (gAllocationsLeft-- <= 0) return nullptr;
  auto* block = static_cast<size_t*>(std::realloc(old, sizeof(size_t) * 2 + bytes));
  block[0] = bytes;
  return block;
}
int gReleased = 0;
void CountingRelease(osk::GlobalTextHandle block) {
  ++gReleased;
  std::free(block);
}
size_t SizeOf(osk::GlobalTextHandle block) { return static_cast<size_t*>(block)[0]; }
char* Lock(osk::GlobalTextHandle block) { return reinterpret_cast<char*>(static_cast<size_t*>(block) + 2); }
void Unlock(osk::GlobalTextHandle) {}

TEST(GlobalTextBlock, RunningOutOfMemoryFreesTheBlockAndReturnsZero) {
  const osk::GlobalMemory failing = {FailingAllocate, FailingReallocate, CountingRelease, SizeOf, Lock, Unlock};
  osk::SetGlobalMemory(&failing);
  gAllocationsLeft = 1;
  gReleased = 0;
  HGLOBALTEXT block = AddGlobalLine(nullptr, "fits", 1);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(AddGlobalLine(block, std::string(1000, 'x').c_str(), 1), nullptr);
  EXPECT_EQ(gReleased, 1);
  EXPECT_EQ(AddGlobalLine(nullptr, "no memory", 1), nullptr);
  osk::SetGlobalMemory(nullptr);
}

// A block from elsewhere (the clipboard, a clip buffer) whose text fills it without a terminating zero.
TEST(GlobalTextBlock, NothingReadsPastTheBlockSizeWithoutAZero) {
  const osk::GlobalMemory exact = {FailingAllocate, FailingReallocate, CountingRelease, SizeOf, Lock, Unlock};
  osk::SetGlobalMemory(&exact);
  gAllocationsLeft = 1000;
  HGLOBALTEXT block = FailingAllocate(7);
  std::memcpy(Lock(block), "ab\r\ncde", 7);

  EXPECT_EQ(ReadAll(block), (std::vector<ReadLine>{{1, "ab"}, {2, "cde"}}));

  HGLOBALTEXT copy = CopyGlobalLine(block);
  EXPECT_EQ(osk::GlobalTextSize(copy), 7u);
  EXPECT_EQ(osk::GlobalTextContents(copy), "ab\r\ncd");

  block = AddGlobalLine(block, "f", 1);
  EXPECT_EQ(osk::GlobalTextContents(block), "ab\r\ncdef\r\n");

  osk::ReleaseGlobalText(block);
  osk::ReleaseGlobalText(copy);
  osk::SetGlobalMemory(nullptr);
}

}  // namespace
