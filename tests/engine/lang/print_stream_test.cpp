// Print streams of representative texts and ranges compared with the exact expected stream: paragraphs and
// indentation, blank lines, escapes, tabs, coloured runs, marks of the three kinds, progress and abort.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <cctype>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/lang/print_stream.h"
#include "engine/store/line_store.h"

namespace {

using osk::LineStore;
using osk::print::ColourSpan;
using osk::print::PrintOptions;
using osk::print::PrintRange;
using osk::print::RangeKind;

void Fill(LineStore& store, const std::vector<std::string>& lines) {
  std::vector<std::string_view> views(lines.begin(), lines.end());
  ASSERT_EQ(store.insertLines(0, views), osk::StoreStatus::kOk);
}

std::string Print(LineStore& store, const PrintRange& range = {}, const PrintOptions& options = {},
                  int32_t* result = nullptr) {
  std::string out;
  const int32_t r = osk::print::writePrintStream(store, range, options, [&](const char* data, std::size_t size) {
    out.append(data, size);
    return true;
  });
  if (result != nullptr) *result = r;
  else EXPECT_EQ(r, 0);
  return out;
}

TEST(PrintStreamTest, ParagraphsIndentationAndBlankLines) {
  LineStore store;
  Fill(store, {"para one", "  continued", "", "x"});
  EXPECT_EQ(Print(store),
            "\\num4 "
            "\\parl \\fli0 \\lma2 \\seg0 para one\\line \r\n"
            "\\seg0   continued\\line \r\n"
            "\\pare \r\n\\para \r\n"
            "\\parl \\fli0 \\lma0 \\seg0 x\\line \r\n");
}

TEST(PrintStreamTest, BlankLinesOfSpacesTabsAndFormFeeds) {
  LineStore store;
  Fill(store, {"", "\tindented", "\t  second", " \t ", "\fpage", "  \f", "last"});
  PrintOptions options;
  options.tabLength = 4;
  EXPECT_EQ(Print(store, {}, options),
            "\\num7 "
            "\\para \r\n"   // a leading blank line closes no paragraph
            "\\parl \\fli4 \\lma6 \\seg0     indented\\line \r\n"
            "\\seg0       second\\line \r\n"
            "\\pare \r\n\\para \r\n"
            "\\para \r\n"   // a line that starts with a form feed is blank
            "\\para \r\n"
            "\\parl \\fli0 \\lma0 \\seg0 last\\line \r\n");
}

TEST(PrintStreamTest, SegmentTextEscapesBracesAndBackslashesAndDropsEndOfFileMarks) {
  LineStore store;
  Fill(store, {"{a}\\b", "c\x1A" "d"});
  EXPECT_EQ(Print(store), "\\num2 \\parl \\fli0 \\lma0 \\seg0 \\{a\\}\\\\b\\line \r\n\\seg0 cd\\line \r\n");
}

TEST(PrintStreamTest, LongLinesOfEscapedCharactersAreWrittenWhole) {
  // 1024 backslashes become 2048 bytes of segment text: more than one gathering buffer holds.
  LineStore store;
  Fill(store, {std::string(1024, '\\'), std::string(1023, '}') + "x"});
  std::string braces;
  for (int i = 0; i < 1023; ++i) braces += "\\}";
  EXPECT_EQ(Print(store), "\\num2 \\parl \\fli0 \\lma0 \\seg0 " + std::string(2048, '\\') + "\\line \r\n" +
                              "\\seg0 " + braces + "x\\line \r\n");
}

TEST(PrintStreamTest, TabsAreExpandedAndSegmentsMeasuredInCells) {
  LineStore store;
  Fill(store, {"a\tb\tc", "\t\tz"});
  PrintOptions options;
  options.tabLength = 4;
  // The runs cover the expanded line, so text behind the tabs is printed in full.
  options.colours = [](int32_t line, std::string_view cells, std::vector<ColourSpan>& runs) {
    if (line == 1) {
      EXPECT_EQ(cells, "a   b   c");
      runs.push_back({9, 1, 2});   // the "c", at cell 9
    }
  };
  options.colourSyntax = true;
  EXPECT_EQ(Print(store, {}, options),
            "\\num2 \\parl \\fli0 \\lma8 \\seg0 a   b   \\seg6 c\\line \r\n\\seg0         z\\line \r\n");
  options.tabsAsSpaces = true;   // a stray tab then takes one cell
  options.colours = nullptr;
  EXPECT_EQ(Print(store, {}, options),
            "\\num2 \\parl \\fli0 \\lma8 \\seg0 a b c\\line \r\n\\seg0   z\\line \r\n");
}

TEST(PrintStreamTest, ColouredRunsBecomeSegmentsWithColourCodes) {
  LineStore store;
  Fill(store, {"if (x) /* note */", "plain"});
  PrintOptions options;
  options.colours = [](int32_t line, std::string_view, std::vector<ColourSpan>& runs) {
    if (line != 1) return;
    runs.push_back({8, 10, 1});   // the comment, beyond the line's end: cut at the last cell
    runs.push_back({1, 2, 0});    // the keyword, given out of order
  };
  options.colourSyntax = true;
  EXPECT_EQ(Print(store, {}, options),
            "\\num2 \\parl \\fli0 \\lma0 \\seg4 if\\seg0  (x) \\seg5 /* note */\\line \r\n\\seg0 plain\\line \r\n");
  // Without colour syntax the same runs are written, all plain.
  options.colourSyntax = false;
  EXPECT_EQ(Print(store, {}, options),
            "\\num2 \\parl \\fli0 \\lma0 \\seg0 if\\seg0  (x) \\seg0 /* note */\\line \r\n\\seg0 plain\\line \r\n");
}

TEST(PrintStreamTest, StreamMarkLeavesOutCellsBeforeItsStartAndFromItsEnd) {
  LineStore store;
  Fill(store, {"zero", "alpha beta", "middle", "gamma delta", "after"});
  const PrintRange range{RangeKind::kStream, 2, 7, 4, 6};
  EXPECT_EQ(Print(store, range),
            "\\num3 \\parl \\fli0 \\lma0 \\seg0 beta\\line \r\n\\seg0 middle\\line \r\n\\seg0 gamma\\line \r\n");
  // Within one line, both ends cut it; a mark given end first is the same mark.
  const PrintRange within{RangeKind::kStream, 2, 10, 2, 3};
  EXPECT_EQ(Print(store, within), "\\num1 \\parl \\fli0 \\lma0 \\seg0 pha bet\\line \r\n");
}

TEST(PrintStreamTest, LineMarkPrintsWholeLines) {
  LineStore store;
  Fill(store, {"zero", "  one", "two", "", "four"});
  EXPECT_EQ(Print(store, {RangeKind::kLine, 2, 5, 4, 1}),
            "\\num3 \\parl \\fli2 \\lma0 \\seg0   one\\line \r\n\\seg0 two\\line \r\n\\pare \r\n\\para \r\n");
  // The range is clamped to the text.
  EXPECT_EQ(Print(store, {RangeKind::kLine, 5, 1, 99, 1}), "\\num1 \\parl \\fli0 \\lma0 \\seg0 four\\line \r\n");
}

TEST(PrintStreamTest, ColumnBlockPrintsOnlyItsCellsOnEveryLine) {
  LineStore store;
  Fill(store, {"0123456789", "abcdefghij", "short", "\tTAB"});
  PrintOptions options;
  options.tabLength = 4;
  // Columns 5 to 8: cells 5 up to 9.
  EXPECT_EQ(Print(store, {RangeKind::kColumn, 1, 5, 4, 9}, options),
            "\\num4 \\parl \\fli0 \\lma0 \\seg0 4567\\line \r\n\\seg0 efgh\\line \r\n\\seg0 t\\line \r\n"
            "\\seg0 TAB\\line \r\n");
  // A coloured run across the block's edge is cut, and a run outside it stays as an empty segment.
  options.colourSyntax = true;
  options.colours = [](int32_t line, std::string_view, std::vector<ColourSpan>& runs) {
    if (line == 1) runs.push_back({1, 6, 3});
  };
  EXPECT_EQ(Print(store, {RangeKind::kColumn, 1, 5, 1, 9}, options), "\\num1 \\parl \\fli0 \\lma0 \\seg7 45\\seg0 67\\line \r\n");
}

TEST(PrintStreamTest, ColumnsConvertToCellsThroughTabs) {
  EXPECT_EQ(osk::print::cellOfColumn("\tab", 1, 8, false), 1);
  EXPECT_EQ(osk::print::cellOfColumn("\tab", 2, 8, false), 9);
  EXPECT_EQ(osk::print::cellOfColumn("\tab", 6, 8, false), 13);   // beyond the end, one cell per column
  EXPECT_EQ(osk::print::cellOfColumn("\tab", 2, 8, true), 2);
}

TEST(PrintStreamTest, EmptyTextWritesOnlyTheCount) {
  LineStore store;
  EXPECT_EQ(Print(store), "\\num0 ");
}

int32_t gStarts = 0, gFirst = 0, gCount = 0, gEnds = 0, gStopAt = 0;
std::vector<int32_t> gSteps;
int32_t OSK_CALL StartGauge(int32_t first, int32_t count, const char* caption) {
  ++gStarts;
  gFirst = first;
  gCount = count;
  EXPECT_STREQ(caption, "Preparing to Print (Esc to Cancel)");
  return 0;
}
int32_t OSK_CALL StepGauge(int32_t line) {
  gSteps.push_back(line);
  return line == gStopAt ? 1 : 0;
}
int32_t OSK_CALL EndGauge() {
  ++gEnds;
  return 0;
}

TEST(PrintStreamTest, GaugeStepsEveryLineAndEscStopsWithTheLinesSoFar) {
  LineStore store;
  Fill(store, {"a", "b", "c", "d"});
  PrintOptions options;
  options.gauge = {StartGauge, StepGauge, EndGauge};
  options.caption = "Preparing to Print (Esc to Cancel)";
  gStarts = gEnds = 0;
  gSteps.clear();
  gStopAt = 0;
  Print(store, {RangeKind::kLine, 2, 1, 4, 1}, options);
  EXPECT_EQ(gStarts, 1);
  EXPECT_EQ(gFirst, 2);
  EXPECT_EQ(gCount, 3);
  EXPECT_EQ(gSteps, (std::vector<int32_t>{2, 3, 4}));
  EXPECT_EQ(gEnds, 1);

  gSteps.clear();
  gStopAt = 3;
  int32_t result = 0;
  const std::string out = Print(store, {}, options, &result);
  EXPECT_EQ(result, osk::print::kAborted);
  EXPECT_EQ(out, "\\num4 \\parl \\fli0 \\lma0 \\seg0 a\\line \r\n\\seg0 b\\line \r\n");
  EXPECT_EQ(gEnds, 2);
}

TEST(PrintStreamTest, FileIsCreatedOrTruncatedAndFailuresAreReported) {
  LineStore store;
  Fill(store, {"x"});
  const auto path = std::filesystem::temp_directory_path() / "osk_print_stream_test.prn";
  std::ofstream(path, std::ios::binary) << std::string(5000, 'o');
  ASSERT_EQ(osk::print::writePrintStreamFile(store, {}, {}, path.string().c_str()), 0);
  std::stringstream content;
  {
    // Closed before the file is removed: Windows refuses to remove an open file.
    std::ifstream in(path, std::ios::binary);
    content << in.rdbuf();
  }
  EXPECT_EQ(content.str(), "\\num1 \\parl \\fli0 \\lma0 \\seg0 x\\line \r\n");
  std::filesystem::remove(path);
  EXPECT_EQ(osk::print::writePrintStreamFile(store, {}, {}, "/no/such/folder/x.prn"), osk::print::kCannotCreate);
  EXPECT_EQ(osk::print::writePrintStreamFile(store, {}, {}, nullptr), osk::print::kCannotCreate);
  // A sink that stops taking bytes is a failure, not a finished stream.
  int32_t result = 0;
  std::string lines(20, 'w');
  LineStore big;
  Fill(big, std::vector<std::string>(200, lines));
  std::size_t taken = 0;
  result = osk::print::writePrintStream(big, {}, {}, [&](const char*, std::size_t size) {
    taken += size;
    return taken < 2000;
  });
  EXPECT_EQ(result, osk::print::kWriteFailed);
}

}  // namespace

namespace {

// Reads a stream back into the text of its segments, one string per line ("" for blank lines), checking that
// every element is well formed.
std::vector<std::string> SegmentTexts(const std::string& stream) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t i = stream.find(' ') + 1;   // after "\numN "
  auto element = [&](const char* tag) {
    const std::size_t n = std::strlen(tag);
    if (stream.compare(i, n, tag) != 0) return false;
    i += n;
    return true;
  };
  while (i < stream.size()) {
    if (element("\\line \r\n")) {
      lines.push_back(current);
      current.clear();
    } else if (element("\\para \r\n")) {
      lines.push_back("");
    } else if (element("\\pare \r\n") || element("\\parl ")) {
    } else if (element("\\fli") || element("\\lma") || element("\\seg")) {
      while (i < stream.size() && std::isdigit(static_cast<unsigned char>(stream[i]))) ++i;
      EXPECT_EQ(stream[i], ' ');
      ++i;
      // Segment text runs to the next unescaped backslash.
      while (i < stream.size() && stream[i] != '\\') current += stream[i++];
      while (i + 1 < stream.size() && stream[i] == '\\' && std::strchr("\\{}", stream[i + 1]) != nullptr) {
        current += stream[i + 1];
        i += 2;
        while (i < stream.size() && stream[i] != '\\') current += stream[i++];
      }
    } else {
      ADD_FAILURE() << "unexpected element at " << i << ": " << stream.substr(i, 20);
      break;
    }
  }
  return lines;
}

}  // namespace

TEST(PrintStreamRandomTest, SegmentsCarryExactlyTheMarkedCellsOfEveryLine) {
  std::mt19937 random(20261207);
  const std::string alphabet = "ab \t{}\\\x1A\fxyz";
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> lines(1 + random() % 8);
    for (auto& line : lines) {
      const int length = static_cast<int>(random() % 40);
      for (int k = 0; k < length; ++k) line += alphabet[random() % alphabet.size()];
    }
    LineStore store;
    Fill(store, lines);
    PrintOptions options;
    options.tabLength = 1 + static_cast<int32_t>(random() % 8);
    options.colourSyntax = true;
    options.colours = [&](int32_t, std::string_view cells, std::vector<ColourSpan>& runs) {
      for (int k = 0; k < 3; ++k) {
        runs.push_back({1 + static_cast<int32_t>(random() % (cells.size() + 2)),
                        static_cast<int32_t>(random() % 10), static_cast<int32_t>(random() % 5)});
      }
    };
    const auto count = static_cast<int32_t>(lines.size());
    PrintRange range;
    range.kind = static_cast<RangeKind>(random() % 4);
    range.startLine = 1 + static_cast<int32_t>(random() % count);
    range.endLine = range.startLine + static_cast<int32_t>(random() % (count - range.startLine + 1));
    range.startCell = 1 + static_cast<int32_t>(random() % 30);
    range.endCell = range.kind == RangeKind::kStream && range.startLine == range.endLine
                        ? range.startCell + static_cast<int32_t>(random() % 30)
                        : 1 + static_cast<int32_t>(random() % 30);
    if (range.kind == RangeKind::kColumn && range.endCell < range.startCell) std::swap(range.startCell, range.endCell);
    const int32_t first = range.kind == RangeKind::kNone ? 1 : range.startLine;
    const int32_t last = range.kind == RangeKind::kNone ? count : range.endLine;

    std::vector<std::string> expected;
    for (int32_t line = first; line <= last; ++line) {
      const std::string& text = lines[static_cast<std::size_t>(line - 1)];
      const std::size_t content = text.find_first_not_of(" \t");
      if (content == std::string::npos || text[content] == '\f') {
        expected.push_back("");
        continue;
      }
      // Dropped end-of-file marks still take their cell in the runs: cut on the cells with the marks in place.
      std::string withMarks;
      for (char c : text) {
        if (c == '\t') withMarks.append(static_cast<std::size_t>(options.tabLength - static_cast<int32_t>(withMarks.size()) % options.tabLength), ' ');
        else withMarks += c;
      }
      int32_t low = 1, high = static_cast<int32_t>(withMarks.size()) + 1;
      if (range.kind == RangeKind::kColumn || (range.kind == RangeKind::kStream && line == first)) low = range.startCell;
      if (range.kind == RangeKind::kColumn || (range.kind == RangeKind::kStream && line == last)) high = std::min(high, range.endCell);
      std::string kept;
      for (int32_t cell = low; cell < high; ++cell) {
        const char c = withMarks[static_cast<std::size_t>(cell - 1)];
        if (c != '\x1A') kept += c;
      }
      expected.push_back(kept);
    }
    const std::string stream = Print(store, range, options);
    ASSERT_EQ(stream.substr(0, stream.find(' ') + 1), "\\num" + std::to_string(last - first + 1) + " ");
    ASSERT_EQ(SegmentTexts(stream), expected) << "round " << round;
  }
}
