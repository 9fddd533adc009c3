// Typing, deleting, whole-line primitives, the 1024-character and 1024-cell limits, tabs and reflow.
#include <gtest/gtest.h>

#include "editing_fixture.h"
#include "engine/ecd_api.h"
#include "engine/reflow.h"
#include "engine/tabs.h"

namespace osk::test {
namespace {

using Lines = std::vector<std::string>;

class EditingPrimitives : public EditingTest {};

TEST_F(EditingPrimitives, TypingInVirtualSpacePadsWithSpaces) {
  Buffer* b = make({""});
  TextPos at{1, 10};
  ASSERT_EQ(writeChar(*b, 'x', at), Status::kOk);
  EXPECT_EQ(text(b), Lines{"         x"});
  EXPECT_EQ(at, (TextPos{1, 11}));
}

TEST_F(EditingPrimitives, OverwriteReplacesAndGrowsAtTheEnd) {
  Buffer* b = make({"abc"});
  b->setProperty(kPropInsertMode, 0);
  TextPos at{1, 2};
  ASSERT_EQ(type(b, "XYZ", at), Status::kOk);
  EXPECT_EQ(text(b), Lines{"aXYZ"});
}

TEST_F(EditingPrimitives, TypingIntoAnEmptyBufferMakesItsFirstLine) {
  Buffer* b = make({});
  TextPos at{0, 1};
  ASSERT_EQ(type(b, "hi", at), Status::kOk);
  EXPECT_EQ(text(b), Lines{"hi"});
  EXPECT_EQ(at, (TextPos{1, 3}));
}

TEST_F(EditingPrimitives, CharacterCodeZeroAndLineEndsAreNeverTyped) {
  Buffer* b = make({"abc"});
  TextPos at{1, 2};
  EXPECT_NE(writeChar(*b, 0, at), Status::kOk);
  EXPECT_NE(writeChar(*b, '\r', at), Status::kOk);
  EXPECT_NE(writeChar(*b, '\n', at), Status::kOk);
  EXPECT_EQ(text(b), Lines{"abc"});
  EXPECT_EQ(at, (TextPos{1, 2}));
  EXPECT_FALSE(b->modified());
}

TEST_F(EditingPrimitives, ColumnLimitAndLengthLimit) {
  Buffer* b = make({"", std::string(1024, 'a'), std::string(1017, 'b')});
  TextPos at{1, 1024};
  EXPECT_EQ(toEngineCode(writeChar(*b, 'x', at)), ECD_ERR_FATAL);   // 1619
  EXPECT_EQ(writeChar(*b, 'x', at), static_cast<Status>(1619));
  EXPECT_EQ(text(b)[0], "");
  at = TextPos{2, 5};
  EXPECT_EQ(writeChar(*b, 'x', at), Status::kLineTooLong);
  EXPECT_EQ(text(b)[1], std::string(1024, 'a'));
  // A tab in front would push the line past 1024 cells, though it has room for the character.
  at = TextPos{3, 1};
  EXPECT_EQ(writeChar(*b, '\t', at), Status::kLineTooLong);
  EXPECT_EQ(text(b)[2], std::string(1017, 'b'));
  EXPECT_EQ(at, (TextPos{3, 1}));
  EXPECT_EQ(writeChar(*b, 'c', at), Status::kOk);
  EXPECT_EQ(text(b)[2], "c" + std::string(1017, 'b'));
}

TEST_F(EditingPrimitives, ALineTooWideToEditKeepsItsText) {
  // 200 tabs are 1600 cells: stored as they are, but no edit may cut them to fit.
  const std::string wide = std::string(200, '\t') + "end";
  Buffer* b = make({wide});
  TextPos at{1, 1};
  EXPECT_EQ(writeChar(*b, 'x', at), Status::kLineTooLong);
  EXPECT_EQ(deleteChar(*b, at), Status::kLineTooLong);
  EXPECT_EQ(text(b), Lines{wide});
  b->setProperty(kPropTabsAsSpaces, 1);
  EXPECT_EQ(writeChar(*b, 'x', at), Status::kLineTooLong);
  EXPECT_EQ(text(b), Lines{wide});
  EXPECT_FALSE(b->modified());
}

TEST_F(EditingPrimitives, TabsAsSpacesFillToTheNextStop) {
  Buffer* b = make({"ab", "abcd"}, 100, 4);
  b->setProperty(kPropTabsAsSpaces, 1);
  TextPos at{1, 3};
  ASSERT_EQ(writeChar(*b, '\t', at), Status::kOk);
  EXPECT_EQ(text(b)[0], "ab  ");
  EXPECT_EQ(at.column, 5);
  at = TextPos{2, 5};
  ASSERT_EQ(writeChar(*b, '\t', at), Status::kOk);
  EXPECT_EQ(text(b)[1], "abcd    ");
  EXPECT_EQ(at.column, 9);
}

TEST_F(EditingPrimitives, TabsAsSpacesExpandTheTabsOfAnEditedLine) {
  Buffer* b = make({"\tx"}, 100, 4);
  b->setProperty(kPropTabsAsSpaces, 1);
  TextPos at{1, 6};
  ASSERT_EQ(writeChar(*b, 'y', at), Status::kOk);
  EXPECT_EQ(text(b), Lines{"    xy"});
}

TEST_F(EditingPrimitives, AutoTabLinesUpWithTheWordAbove) {
  Engine::instance().options.word[ECD_OPT_AUTO_TAB_TO_LAST_LINE] = 1;
  Buffer* b = make({"abc  def", ""}, 100, 4);
  b->setProperty(kPropTabsAsSpaces, 1);
  TextPos at{2, 1};
  ASSERT_EQ(writeChar(*b, '\t', at), Status::kOk);
  EXPECT_EQ(text(b)[1], "     ");
  EXPECT_EQ(at.column, 6);
  // Past the last word above, the tab length rules again.
  ASSERT_EQ(writeChar(*b, '\t', at), Status::kOk);
  EXPECT_EQ(at.column, 9);
}

TEST_F(EditingPrimitives, NewLineAtColumnOneInsertsAboveAndFollowsTheLine) {
  Buffer* b = make({"one", "two"});
  TextPos at{2, 1};
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"one", "", "two"}));
  EXPECT_EQ(at, (TextPos{3, 1}));
}

TEST_F(EditingPrimitives, NewLineSplitsAndKeepsBitsOnTheFirstPart) {
  Buffer* b = make({"hello world"});
  b->store().properties().set(1, 1);
  TextPos at{1, 6};
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"hello", " world"}));
  EXPECT_EQ(b->store().properties().get(1), 1u);
  EXPECT_EQ(b->store().properties().get(2), 0u);
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), Lines{"hello world"});
  EXPECT_EQ(b->store().properties().get(1), 1u);
}

TEST_F(EditingPrimitives, NewLineInOverwriteModeOnlyMoves) {
  Buffer* b = make({"a", "b"});
  b->setProperty(kPropInsertMode, 0);
  TextPos at{1, 2};
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  EXPECT_EQ(at, (TextPos{2, 1}));
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  EXPECT_EQ(at, (TextPos{2, 1}));
  EXPECT_EQ(text(b), (Lines{"a", "b"}));
}

TEST_F(EditingPrimitives, DeleteAtTheEndJoinsButNotPastTheLastLine) {
  Buffer* b = make({"ab", "cd"});
  TextPos at{1, 4};
  ASSERT_EQ(deleteChar(*b, at), Status::kOk);
  EXPECT_EQ(text(b), Lines{"ab cd"});
  at = TextPos{1, 6};
  EXPECT_EQ(deleteChar(*b, at), Status::kLineTooLong);
  EXPECT_EQ(text(b), Lines{"ab cd"});
}

TEST_F(EditingPrimitives, JoinsThatWouldPassTheLimitsAreRefused) {
  Buffer* b = make({std::string(600, 'a'), std::string(600, 'b')});
  TextPos at{1, 601};
  EXPECT_EQ(deleteChar(*b, at), Status::kLineTooLong);
  at = TextPos{2, 1};
  EXPECT_EQ(backspace(*b, at), Status::kLineTooLong);
  EXPECT_EQ(joinLine(*b, 1), Status::kLineTooLong);
  EXPECT_EQ(b->lineCount(), 2);
}

TEST_F(EditingPrimitives, BackspaceJoinsLinesAndKeepsBookmarksOfBoth) {
  Buffer* b = make({"one", "two", "three"});
  b->store().properties().set(3, 1);
  TextPos at{3, 1};
  ASSERT_EQ(backspace(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"one", "twothree"}));
  EXPECT_EQ(at, (TextPos{2, 4}));
  EXPECT_EQ(b->store().properties().get(2), 1u);
  at = TextPos{1, 1};
  EXPECT_EQ(backspace(*b, at), Status::kLineTooLong);
}

TEST_F(EditingPrimitives, BackspaceInVirtualSpaceOnlyStepsBack) {
  Buffer* b = make({"ab"});
  TextPos at{1, 6};
  EXPECT_EQ(backspace(*b, at), Status::kOk);
  EXPECT_EQ(at.column, 5);
  EXPECT_EQ(text(b), Lines{"ab"});
  EXPECT_FALSE(b->modified());
}

TEST_F(EditingPrimitives, WriteStringTakesCrLfAsOneNewLine) {
  Buffer* b = make({""});
  TextPos at{1, 1};
  ASSERT_EQ(writeString(*b, "ab\r\ncd\ref\ngh", at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"ab", "cd", "ef", "gh"}));
  EXPECT_EQ(at, (TextPos{4, 3}));
}

TEST_F(EditingPrimitives, InsertLineChecksItsTextAndPlace) {
  Buffer* b = make({"a"});
  TextPos at{1, 1};
  EXPECT_EQ(insertLine(*b, 2, "x", at), Status::kBadLine);
  EXPECT_EQ(insertLine(*b, -1, "x", at), Status::kBadLine);
  const std::string wide = std::string(200, '\t');
  EXPECT_EQ(insertLine(*b, 1, wide.c_str(), at), static_cast<Status>(1611));
  ASSERT_EQ(insertLine(*b, 0, "first\r\nignored", at), Status::kOk);
  EXPECT_EQ(at, (TextPos{2, 1}));
  ASSERT_EQ(insertLine(*b, 2, std::string(1100, 'z').c_str(), at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"first", "a", std::string(1024, 'z')}));
}

TEST_F(EditingPrimitives, ReplaceLineKeepsTheLow16Bits) {
  Buffer* b = make({"a", "b"});
  b->store().properties().set(2, 0x10001u);
  ASSERT_EQ(replaceLine(*b, 2, "B"), Status::kOk);
  EXPECT_EQ(b->store().properties().get(2), 1u);
  EXPECT_EQ(text(b), (Lines{"a", "B"}));
}

TEST_F(EditingPrimitives, DeleteLinesMovesTheInsertionPoint) {
  Buffer* b = make({"1", "2", "3", "4", "5"});
  TextPos at{5, 1};
  ASSERT_EQ(deleteLines(*b, 2, 2, at), Status::kOk);
  EXPECT_EQ(at, (TextPos{3, 1}));
  EXPECT_EQ(text(b), (Lines{"1", "4", "5"}));
  ASSERT_EQ(deleteLines(*b, 1, 10, at), Status::kOk);
  EXPECT_EQ(b->lineCount(), 0);
}

TEST_F(EditingPrimitives, SendsRepaintAndLineNotices) {
  Buffer* b = make({"a", "b"});
  b->addWindow(reinterpret_cast<OskWindow>(1));
  TextPos at{1, 2};
  type(b, "x", at);
  newLine(*b, at);
  EXPECT_GE(countNotices(ECDB_REPAINT_LINE_FROM), 1);
  EXPECT_EQ(countNotices(ECDB_LINES_INSERTED), 1);
  deleteLines(*b, 1, 1, at);
  EXPECT_EQ(countNotices(ECDB_LINES_DELETED), 1);
}

TEST(Tabs, CellsAndColumns) {
  EXPECT_EQ(expandedWidth("a\tb", 4), 5);
  EXPECT_EQ(expandTabs("a\tb\t", 4), "a   b   ");
  EXPECT_EQ(cellFromColumn("a\tb", 3, 4), 5);
  EXPECT_EQ(cellFromColumn("a\tb", 6, 4), 8);   // virtual space: one for one
  EXPECT_EQ(columnFromCell("a\tb", 3, 4), 2);   // inside the tab
  EXPECT_EQ(columnFromCell("a\tb", 5, 4), 3);
  EXPECT_EQ(columnFromCell("a\tb", 8, 4), 6);
  EXPECT_EQ(truncatedLength("ab\tcd", 3, 4), 2);   // the tab would end in cell 4
  EXPECT_EQ(truncatedLength("ab\tcd", 4, 4), 3);
  EXPECT_EQ(tabAdvance(5, 0), 1);   // a tab length outside 1 to 32 counts as 1
}

class Reflow : public EditingTest {
 protected:
  Buffer* paragraph(const Lines& lines, int32_t left, int32_t right) {
    Buffer* b = make(lines);
    b->setProperty(kPropLeftMargin, left);
    b->setProperty(kPropRightMargin, right);
    return b;
  }
};

TEST_F(Reflow, BreaksBeforeTheWordThatPassesTheRightMargin) {
  Buffer* b = paragraph({"abc def ghi jkl mno pqr"}, 1, 20);
  TextPos at{1, 1};
  ASSERT_EQ(reflowParagraph(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"abc def ghi jkl mno", "pqr"}));
}

TEST_F(Reflow, CutsAWordLongerThanTheRoom) {
  Buffer* b = paragraph({"abcdefghijklmnop"}, 1, 10);
  TextPos at{1, 1};
  ASSERT_EQ(reflowParagraph(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"abcdefghi", "jklmnop"}));
}

TEST_F(Reflow, JoinsShortLinesAndCollapsesSpaces) {
  Buffer* b = paragraph({"one", "two   three", "", "next"}, 1, 20);
  TextPos at{1, 1};
  ASSERT_EQ(reflowParagraph(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"one two three", "", "next"}));
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"one", "two   three", "", "next"}));
}

TEST_F(Reflow, MarginsAndFirstOffsetIndentTheParagraph) {
  Buffer* b = paragraph({"aa bb cc dd ee ff"}, 3, 12);
  b->setProperty(kPropFirstOffset, 2);
  TextPos at{1, 1};
  ASSERT_EQ(reflowParagraph(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"    aa bb", "  cc dd ee", "  ff"}));
}

TEST_F(Reflow, RangeGoesParagraphByParagraphAndIsOneGroup) {
  Buffer* b = paragraph({"a b c d e f g", "  ", "h i j k l m n", "\fpage", "o p"}, 1, 6);
  TextPos at{1, 1};
  ASSERT_EQ(reflow(*b, ReflowMode::kExplicit, 1, 5, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"a b c", "d e f", "g", "  ", "h i j", "k l m", "n", "\fpage", "o p"}));
  ASSERT_EQ(undo(b), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"a b c d e f g", "  ", "h i j k l m n", "\fpage", "o p"}));
  EXPECT_FALSE(canUndo(b));
}

TEST_F(Reflow, MarginsWithoutRoomFailAndChangeNothing) {
  Buffer* b = paragraph({"some words here"}, 10, 10);
  TextPos at{1, 1};
  EXPECT_EQ(toEngineCode(reflowParagraph(*b, at)), ECD_ERR_INVALID_MARGIN);
  b->setProperty(kPropLeftMargin, 5);
  b->setProperty(kPropFirstOffset, 6);
  EXPECT_EQ(toEngineCode(reflowParagraph(*b, at)), ECD_ERR_INVALID_MARGIN);
  EXPECT_EQ(text(b), Lines{"some words here"});
  EXPECT_FALSE(b->modified());
}

TEST_F(Reflow, AutoMarginKeepsTheParagraphsIndentation) {
  Buffer* b = paragraph({"  one two three four", "    five six"}, 1, 14);
  b->setProperty(kPropAutoMargin, 1);
  TextPos at{1, 1};
  ASSERT_EQ(reflowParagraph(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"  one two", "    three four", "    five six"}));
}

TEST_F(Reflow, TheInsertionPointFollowsItsCharacter) {
  Buffer* b = paragraph({"abc def ghi"}, 1, 8);
  TextPos at{1, 10};   // on the "h" of "ghi"
  ASSERT_EQ(reflowParagraph(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"abc def", "ghi"}));
  EXPECT_EQ(at, (TextPos{2, 2}));
}

TEST_F(Reflow, WordWrapWhileTyping) {
  Buffer* b = paragraph({""}, 1, 10);
  b->setProperty(kPropWordWrap, 1);
  TextPos at{1, 1};
  ASSERT_EQ(type(b, "the quick brown", at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"the quick", "brown"}));
  EXPECT_EQ(at, (TextPos{2, 6}));
  ASSERT_EQ(type(b, " fox", at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"the quick", "brown fox"}));
  EXPECT_EQ(at, (TextPos{2, 10}));
}

TEST_F(Reflow, DeleteAtAParagraphsEndJoinsTheNextInWordWrap) {
  Buffer* b = paragraph({"one two", "", "three", "", "four"}, 1, 30);
  b->setProperty(kPropWordWrap, 1);
  TextPos at{1, 8};
  ASSERT_EQ(deleteChar(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"one two three", "", "four"}));
}

TEST_F(Reflow, NewLineInWordWrapStartsAtTheMargin) {
  Buffer* b = paragraph({"some text"}, 5, 30);
  b->setProperty(kPropWordWrap, 1);
  b->setProperty(kPropFirstOffset, 2);
  TextPos at{1, 10};
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  EXPECT_EQ(at, (TextPos{2, 5}));   // the new line continues the paragraph: left margin
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  ASSERT_EQ(newLine(*b, at), Status::kOk);
  EXPECT_EQ(at, (TextPos{4, 7}));   // after a blank line a paragraph starts: left margin + first offset
}

TEST_F(Reflow, BackspaceJoinInWordWrapRefillsTheParagraph) {
  Buffer* b = paragraph({"alpha beta", "gamma", "delta", "", "epsilon"}, 1, 12);
  b->setProperty(kPropWordWrap, 1);
  TextPos at{3, 1};
  ASSERT_EQ(backspace(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"alpha beta", "gamma delta", "", "epsilon"}));
  EXPECT_EQ(at, (TextPos{2, 7}));   // still before the "d"
  at = TextPos{4, 1};   // at the start of the next paragraph: the empty line goes
  ASSERT_EQ(backspace(*b, at), Status::kOk);
  EXPECT_EQ(text(b), (Lines{"alpha beta", "gamma delta", "epsilon"}));
}

int32_t reflowGaugeFirst = -1, reflowGaugeCount = -1, reflowSteps = 0, reflowStepValue = -1;
int32_t OSK_CALL reflowStart(int32_t first, int32_t count, const char*) {
  reflowGaugeFirst = first;
  reflowGaugeCount = count;
  return 0;
}
int32_t OSK_CALL reflowStep(int32_t value) {   // Esc at the first step
  reflowStepValue = value;
  return ++reflowSteps >= 1 ? 1 : 0;
}

TEST_F(Reflow, ExplicitReflowShowsProgressAndStopsOnEsc) {
  Engine::instance().gauge = GaugeCallbacks{reflowStart, reflowStep, nullptr};
  Lines lines;
  for (int i = 0; i < 40; ++i) {
    lines.push_back("word word word word");
    lines.push_back("");
  }
  Buffer* b = paragraph(lines, 1, 10);
  TextPos at{1, 1};
  ASSERT_EQ(reflow(*b, ReflowMode::kExplicit, 3, 80, at, "Reflowing"), Status::kOk);
  EXPECT_EQ(reflowGaugeFirst, 3);
  EXPECT_EQ(reflowGaugeCount, 78);
  EXPECT_EQ(reflowSteps, 1);
  // Steps are positions counted from the first line, like the start: at least the first 5 lines are done.
  EXPECT_GE(reflowStepValue, 3 + 5);
  EXPECT_LT(reflowStepValue, 3 + 78);
  const Lines now = text(b);
  EXPECT_EQ(now[0], "word word word word");   // before the range
  EXPECT_EQ(now[2], "word word");
  EXPECT_EQ(now[now.size() - 2], "word word word word");   // stopped long before the end
}

}  // namespace
}  // namespace osk::test
