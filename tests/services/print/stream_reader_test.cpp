// Reading print streams as the engine writes them, and streams it never writes.
#include <gtest/gtest.h>

#include <random>

#include "services/print/stream_reader.h"

namespace osk::print {
namespace {

// The engine's stream for the lines "para one", "  continued", "" and "x".
const char kParagraphs[] =
    "\\num4 \\parl \\fli0 \\lma2 \\seg0 para one\\line \r\n\\seg0   continued\\line \r\n\\pare \r\n\\para \r\n"
    "\\parl \\fli0 \\lma0 \\seg0 x\\line \r\n";

std::string textOf(const StreamLine& line) {
  std::string t;
  for (const TextRun& r : line.runs) t += r.text;
  return t;
}

TEST(StreamReaderTest, EachStreamLineIsALineWithoutParagraphJoining) {
  const StreamDocument d = readPrintStream(kParagraphs, false);
  EXPECT_EQ(d.count, 4);
  ASSERT_EQ(d.lines.size(), 4u);
  EXPECT_EQ(textOf(d.lines[0]), "para one");
  EXPECT_EQ(textOf(d.lines[1]), "  continued");
  EXPECT_TRUE(d.lines[2].blank());
  EXPECT_EQ(textOf(d.lines[3]), "x");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d.lines[i].source, i);
  EXPECT_TRUE(d.lines[0].paragraphStart);
  EXPECT_EQ(d.lines[0].leftMargin, 2);
  EXPECT_FALSE(d.lines[1].paragraphStart);
}

TEST(StreamReaderTest, ParagraphJoiningMakesOneLinePerParagraph) {
  const StreamDocument d = readPrintStream(kParagraphs, true);
  ASSERT_EQ(d.lines.size(), 3u);
  EXPECT_EQ(textOf(d.lines[0]), "para one continued");
  EXPECT_TRUE(d.lines[0].paragraphStart);
  EXPECT_EQ(d.lines[0].firstLineIndent, 0);
  EXPECT_EQ(d.lines[0].leftMargin, 2);
  EXPECT_TRUE(d.lines[1].blank());
  EXPECT_EQ(textOf(d.lines[2]), "x");
  // Numbers stay those of the stream lines each begins with.
  EXPECT_EQ(d.lines[0].source, 0);
  EXPECT_EQ(d.lines[1].source, 2);
  EXPECT_EQ(d.lines[2].source, 3);
}

TEST(StreamReaderTest, SegmentsGroupsAndEscapes) {
  const StreamDocument d =
      readPrintStream("\\num1 \\seg0 \\{a\\}\\\\b {\\seg5 in}out\\seg7 \\*x\\line \r\n", false);
  ASSERT_EQ(d.lines.size(), 1u);
  const std::vector<TextRun> expected{{0, "{a}\\b "}, {5, "in"}, {0, "out"}, {7, "*x"}};
  EXPECT_EQ(d.lines[0].runs, expected);
}

TEST(StreamReaderTest, UnknownWordsStrayBracesAndTheEndOfTheStreamAreHarmless) {
  StreamDocument d = readPrintStream("\\bogus12 a}}b\\line c", false);
  ASSERT_EQ(d.lines.size(), 2u);
  EXPECT_EQ(textOf(d.lines[0]), "ab");
  EXPECT_EQ(textOf(d.lines[1]), "c");   // the end of the stream ends the last line
  EXPECT_EQ(d.count, -1);
  d = readPrintStream("x\\", false);
  ASSERT_EQ(d.lines.size(), 1u);
  EXPECT_EQ(textOf(d.lines[0]), "x");
  d = readPrintStream("\\num99999999999999999999 \\seg-3 \\fli-9 y", false);
  EXPECT_EQ(d.count, INT32_MAX);
  ASSERT_EQ(d.lines.size(), 1u);
  EXPECT_EQ(d.lines[0].runs[0].cls, 0);
  EXPECT_EQ(d.lines[0].firstLineIndent, 0);
  EXPECT_TRUE(readPrintStream("", false).lines.empty());
}

TEST(StreamReaderTest, RandomBytesAlwaysReadToTheEnd) {
  std::mt19937 random(18);
  const std::string alphabet = "\\{}ab \r\nlinepara0123456789-";
  for (int round = 0; round < 2000; ++round) {
    std::string s(random() % 200, ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    for (bool join : {false, true}) {
      const StreamDocument d = readPrintStream(s, join);
      int32_t last = -1;
      for (const StreamLine& line : d.lines) {
        EXPECT_GE(line.source, last) << s;
        last = line.source;
      }
    }
  }
}

}  // namespace
}  // namespace osk::print
