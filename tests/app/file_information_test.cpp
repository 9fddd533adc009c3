#include "app/file_information.h"

#include <gtest/gtest.h>

namespace osk::app {
namespace {

TEST(FileInformationCounts, WordsCharactersAndTheEstimatedSizeFollowTheLineEnds) {
  WordPattern words;
  FileCounts counts;
  for (std::string_view line : {"int main(void)", "", "  return 0; // done", "\t"}) countLine(counts, line, words);
  EXPECT_EQ(counts.lines, 4);
  EXPECT_EQ(counts.words, 6);   // int main void return 0 done
  EXPECT_EQ(counts.characters, 14 + 0 + 19 + 1);
  EXPECT_EQ(estimatedFileSize(counts), 34 + 8 + 1);
  EXPECT_EQ(lineEndKind(counts), "CRLF");
  counts.unixLineEnds = true;
  EXPECT_EQ(estimatedFileSize(counts), 34 + 4 + 1);
  EXPECT_EQ(lineEndKind(counts), "LF");
  // Sizes past 4 GB do not wrap.
  FileCounts big{.lines = 3'000'000'000LL, .characters = 90'000'000'000LL};
  EXPECT_EQ(estimatedFileSize(big), 96'000'000'001LL);
}

TEST(FileInformationText, NamePartAndAbortedCounts) {
  EXPECT_EQ(fileNamePart("C:\\src\\main.cpp"), "main.cpp");
  EXPECT_EQ(fileNamePart("C:notes.txt"), "notes.txt");
  EXPECT_EQ(fileNamePart("plain.txt"), "plain.txt");
  EXPECT_EQ(fileNamePart(""), "Untitled");
  EXPECT_EQ(countText(1234567890123LL, false), "1234567890123");
  EXPECT_EQ(countText(12, true), "-aborted-");
}

}  // namespace
}  // namespace osk::app
