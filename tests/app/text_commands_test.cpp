// The commands that rework text (brackets, case, fill, indent, reflow, tabs, swap, goto) and the bookmark walk,
// run on the engine's core with editor windows of the tests' own.
#include "app/text_commands.h"

#include "app/bookmarks.h"
#include "app/word_pattern.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"
#include "engine/view_fixture.h"

namespace osk::test {
namespace {

using app::BracketResult;
using app::CaseChange;

constexpr char kDefinitions[] =
    "defcol comment = \"Comment\", RGB(0,128,0);\n"
    "defcol string = \"String\", RGB(160,0,0);\n"
    "extmap c to \"c\";\n"
    "startdef c;\n"
    "  slb(comment, \"//\", \"\");\n"
    "  eslb(string, '\"', '\"', '\\\\');\n"
    "enddef;\n";

class TextCommandsTest : public ViewTest {
 protected:
  void TearDown() override {
    ViewTest::TearDown();
    syntax::SetCurrentSyntax(nullptr);
    abortAfter() = -1;
  }

  // A file of its own name in a new window that becomes the current target.
  FakeRecord& showingFile(const std::string& name, const std::string& text, int32_t tab = 8) {
    HEDBUFFER h = nullptr;
    EXPECT_EQ(open(write(name, text), ECD_OPEN_READ, &h, 100, tab), 0);
    FakeRecord& r = newWindow();
    r.attach(buffer(h), ECD_OPEN_VSCROLL);
    EXPECT_EQ(SetCurEdWindow(r.window()), 1);
    return r;
  }
  void caretAt(int32_t line, int32_t column) { ASSERT_EQ(SetCaretCol(line, column), 1); }
  std::pair<int32_t, int32_t> caret() {
    int32_t line = 0, column = 0;
    GetCaretCol(&line, &column);
    return {line, column};
  }
  void mark(int32_t type, int32_t l1, int32_t c1, int32_t l2, int32_t c2) {
    AnchorMark(type, l1, c1);
    UpdateMark(l2, c2);
  }
  void undoAll() {
    ASSERT_EQ(UndoOp(nullptr), 1);
  }
  // A gauge whose step answers Esc from the given number of steps on (-1: never).
  void abortingGauge(int32_t steps) {
    abortAfter() = steps;
    gaugeShown() = 0;
    Engine::instance().gauge.start = [](int32_t, int32_t, const char*) -> int32_t {
      ++gaugeShown();
      return 0;
    };
    Engine::instance().gauge.step = [](int32_t) -> int32_t { return abortAfter() >= 0 && abortAfter()-- == 0; };
    Engine::instance().gauge.end = []() -> int32_t { return 0; };
  }
  static int32_t& abortAfter() {
    static int32_t n = -1;
    return n;
  }
  static int32_t& gaugeShown() {
    static int32_t n = 0;
    return n;
  }

  app::WordPattern words;
};

TEST(OutdentWidth, BlanksGoBackToThePreviousTabStopAndATabGoesAlone) {
  EXPECT_EQ(app::outdentWidth("      text", 0, 4), 2);   // six blanks: the text then starts at offset 4
  EXPECT_EQ(app::outdentWidth("        text", 0, 4), 4);
  EXPECT_EQ(app::outdentWidth("   x", 0, 4), 3);
  EXPECT_EQ(app::outdentWidth(" x", 0, 8), 1);
  EXPECT_EQ(app::outdentWidth("\t\tx", 0, 4), 1);
  EXPECT_EQ(app::outdentWidth("\t  x", 0, 4), 2);   // the blanks stop at the tab
  EXPECT_EQ(app::outdentWidth("  \t x", 0, 4), 1);
  EXPECT_EQ(app::outdentWidth("text", 0, 4), 0);
  EXPECT_EQ(app::outdentWidth("      ", 0, 4), 0);
  EXPECT_EQ(app::outdentWidth("", 0, 4), 0);
  // From a column mark's left edge: never past it, and text at the edge stays.
  EXPECT_EQ(app::outdentWidth("ab      x", 2, 4), 4);
  EXPECT_EQ(app::outdentWidth("ab x", 3, 4), 0);
  EXPECT_EQ(app::outdentWidth("ab  x", 3, 4), 1);
}

TEST(CommandParameters, FillCharacterComesOutOfItsQuotesAndGotoTakesDigitsOnly) {
  EXPECT_EQ(app::fillCharacter("\" \""), ' ');   // Clear Mark fills with blanks, not with a quote
  EXPECT_EQ(app::fillCharacter("*"), '*');
  EXPECT_EQ(app::fillCharacter("\""), '"');
  EXPECT_EQ(app::fillCharacter("\"ab\""), 'a');
  EXPECT_FALSE(app::fillCharacter(""));
  EXPECT_FALSE(app::fillCharacter("\"\""));

  EXPECT_EQ(app::gotoLine("1"), 1);
  EXPECT_EQ(app::gotoLine("0042"), 42);
  EXPECT_EQ(app::gotoLine("9999999999"), INT32_MAX);
  EXPECT_FALSE(app::gotoLine("0"));
  EXPECT_FALSE(app::gotoLine(""));
  EXPECT_FALSE(app::gotoLine("-3"));
  EXPECT_FALSE(app::gotoLine("12a"));
  EXPECT_FALSE(app::gotoLine("12345678901"));
}

TEST_F(TextCommandsTest, OutdentAndIndentChangeEachLineOfTheMarkInOneUndoStep) {
  showingFile("a.txt", "      six\n\tone tab\n\n   \nword\n", 4);
  caretAt(1, 3);
  ASSERT_TRUE(app::indentLines(true));   // no mark: the caret line only
  EXPECT_EQ(line(1), "    six");
  EXPECT_EQ(line(2), "\tone tab");
  EXPECT_EQ(caret(), std::make_pair(1, 3));
  EXPECT_EQ(QueryMark(), 0);

  mark(2, 1, 1, 5, 1);
  ASSERT_TRUE(app::indentLines(false));
  EXPECT_EQ(line(1), "    \tsix");
  EXPECT_EQ(line(2), "\t\tone tab");
  EXPECT_EQ(line(3), "");      // empty and blank lines stay as they are
  EXPECT_EQ(line(4), "   ");
  EXPECT_EQ(line(5), "\tword");
  EXPECT_EQ(QueryMarkType(), 2);   // the mark is kept
  undoAll();
  EXPECT_EQ(line(1), "    six");
  EXPECT_EQ(line(5), "word");

  mark(1, 1, 3, 2, 1);   // a stream mark down to column 1 of line 2 does not take line 2
  ASSERT_TRUE(app::indentLines(false));
  EXPECT_EQ(line(1), "    \tsix");
  EXPECT_EQ(line(2), "\tone tab");
}

TEST_F(TextCommandsTest, AColumnMarkIndentsAndOutdentsFromItsLeftEdge) {
  showingFile("col.txt", "ab      x\nab  y\nabz\nab\n", 4);
  mark(3, 1, 3, 4, 4);   // cells 3 to 3 on lines 1 to 4
  ASSERT_TRUE(app::indentLines(true));
  EXPECT_EQ(line(1), "ab  x");     // back to the tab stop at offset 4
  EXPECT_EQ(line(2), "aby");       // never past the mark's edge
  EXPECT_EQ(line(3), "abz");        // the text starts at the edge: left alone
  EXPECT_EQ(line(4), "ab");         // nothing from the edge on
  ASSERT_TRUE(app::indentLines(false));
  EXPECT_EQ(line(1), "ab  \tx");
  EXPECT_EQ(line(3), "ab\tz");
}

TEST_F(TextCommandsTest, BracketMatchPairsOnlyWithinTheSameColourClass) {
  syntax::CompileResult r = syntax::CompileSyntax(kDefinitions);
  ASSERT_NE(r.data, nullptr) << r.message;
  syntax::SetCurrentSyntax(std::move(r.data));
  showingFile("b.c", "if (s == \"a(b)\" && f(\")\")) {\n\tx(); // )\n}\n");
  caretAt(1, 4);   // the "(" of the condition
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(1, 26));
  caretAt(1, 12);   // inside a string: the ")" of the same string
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(1, 14));
  caretAt(1, 21);   // f(: the ")" in the string does not count
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(1, 25));
  caretAt(1, 25);   // and backward
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(1, 21));
  caretAt(3, 1);   // "}" searches backward across lines
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(1, 28));
  caretAt(2, 2);   // the caret cell is read with tabs expanded: cell 9 holds "x"
  EXPECT_EQ(app::matchBracket(), BracketResult::kNotABracket);
  caretAt(2, 3);
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(2, 4));
  caretAt(2, 10);   // the ")" of the comment has no partner among comments
  EXPECT_EQ(app::matchBracket(), BracketResult::kNotFound);
}

TEST_F(TextCommandsTest, BracketSearchStopsOnEscAfterALongWay) {
  std::string text = "(\n";
  for (int i = 0; i < 300; ++i) text += "line\n";
  showingFile("long.txt", text + ")\n");
  abortingGauge(0);
  caretAt(1, 1);
  EXPECT_EQ(app::matchBracket(), BracketResult::kNotFound);
  EXPECT_EQ(gaugeShown(), 1);
  abortingGauge(-1);
  EXPECT_EQ(app::matchBracket(), BracketResult::kMoved);
  EXPECT_EQ(caret(), std::make_pair(302, 1));
}

TEST_F(TextCommandsTest, CaseChangesTheMarkOrTheWordAtTheCaret) {
  showingFile("c.txt", "hello wide World\nsecond LINE here\n\n");
  caretAt(1, 8);
  ASSERT_TRUE(app::changeCase(CaseChange::kUpper, words));   // no mark: the word "wide"
  EXPECT_EQ(line(1), "hello WIDE World");
  mark(1, 1, 7, 2, 12);
  ASSERT_TRUE(app::changeCase(CaseChange::kCapitalise, words));
  EXPECT_EQ(line(1), "hello Wide World");
  EXPECT_EQ(line(2), "Second Line here");
  ASSERT_TRUE(app::changeCase(CaseChange::kLower, words));
  EXPECT_EQ(line(1), "hello wide world");
  EXPECT_EQ(line(2), "second line here");
  undoAll();   // one step per command
  EXPECT_EQ(line(1), "hello Wide World");
  EXPECT_EQ(line(2), "Second Line here");
  UnMark();
  caretAt(2, 17);   // just after the last word
  EXPECT_TRUE(app::changeCase(CaseChange::kUpper, words));
  EXPECT_EQ(line(2), "Second Line HERE");
  UnMark();
  caretAt(3, 1);
  EXPECT_FALSE(app::changeCase(CaseChange::kUpper, words));   // no word
}

TEST_F(TextCommandsTest, FillCoversAColumnByCellsAndAStreamByCharacters) {
  showingFile("d.txt", "a\tb\nxy\nlong line here\n", 4);
  mark(3, 1, 2, 3, 5);   // column mark over cells 2 to 4 (the tab's cells on line 1)
  ASSERT_EQ(QueryMarkType(), 3);
  ASSERT_TRUE(app::fillMark('#'));
  EXPECT_EQ(line(1), "a###b");   // the tab expanded and short lines padded to the mark's right edge first
  EXPECT_EQ(line(2), "x###");
  EXPECT_EQ(line(3), "l### line here");
  mark(1, 2, 2, 3, 3);
  ASSERT_TRUE(app::fillMark(*app::fillCharacter("\" \"")));
  EXPECT_EQ(line(2), "x   ");
  EXPECT_EQ(line(3), "  ## line here");
  UnMark();
  EXPECT_FALSE(app::fillMark('x'));   // no mark
}

TEST_F(TextCommandsTest, EscStopsALongWalkAndOneUndoTakesBackWhatWasDone) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "abc\n";
  showingFile("e.txt", text);
  mark(2, 1, 1, 300, 1);
  abortingGauge(49);
  ASSERT_TRUE(app::changeCase(CaseChange::kUpper, words));
  EXPECT_EQ(gaugeShown(), 1);
  EXPECT_EQ(line(50), "ABC");
  EXPECT_EQ(line(51), "abc");
  EXPECT_EQ(line(300), "abc");
  undoAll();
  EXPECT_EQ(line(1), "abc");
  EXPECT_EQ(line(50), "abc");
  EXPECT_EQ(IsUndoable(), 0);
}

TEST_F(TextCommandsTest, ExpandTabsLeavesNoUndoStepWithoutTabs) {
  showingFile("f.txt", "plain\ntext\n", 4);
  ASSERT_TRUE(app::expandTabs());
  EXPECT_EQ(IsUndoable(), 0);

  showingFile("g.txt", "\tone\nno tab\nab\tc\n", 4);
  SetTabsAsSpaces(1);
  ASSERT_TRUE(app::expandTabs());
  EXPECT_EQ(line(1), "    one");
  EXPECT_EQ(line(2), "no tab");
  EXPECT_EQ(line(3), "ab  c");
  EXPECT_EQ(GetTabsAsSpaces(), 1);
  undoAll();
  EXPECT_EQ(line(1), "\tone");
  EXPECT_EQ(line(3), "ab\tc");
}

TEST_F(TextCommandsTest, SwapExchangesTheCaretCharacterWithTheNextAndGotoPlacesTheCaret) {
  showingFile("h.txt", "abc\nxyz\n\n");
  caretAt(1, 1);
  ASSERT_TRUE(app::swapCharacters());
  EXPECT_EQ(line(1), "bac");
  EXPECT_EQ(caret(), std::make_pair(1, 1));
  caretAt(1, 3);
  EXPECT_FALSE(app::swapCharacters());   // nothing after the last character
  EXPECT_EQ(line(1), "bac");

  mark(1, 1, 1, 1, 3);
  ASSERT_TRUE(app::goToLine(2));
  EXPECT_EQ(caret(), std::make_pair(2, 1));
  EXPECT_EQ(QueryMark(), 0);
  ASSERT_TRUE(app::goToLine(500));   // beyond the end: the last line
  EXPECT_EQ(caret().first, GetLineCount());
}

TEST_F(TextCommandsTest, ReflowOfAMarkRefillsEachParagraphInIt) {
  showingFile("i.txt", "one\ntwo\n\nthree\nfour\n\nfive\nsix\n");
  SetLeftMargin(1);
  SetRightMargin(40);
  mark(2, 1, 1, 5, 1);
  ASSERT_TRUE(app::reflowText());
  EXPECT_EQ(line(1), "one two");
  EXPECT_EQ(line(2), "");
  EXPECT_EQ(line(3), "three four");
  EXPECT_EQ(line(5), "five");   // after the mark: untouched
  undoAll();
  EXPECT_EQ(line(1), "one");
  EXPECT_EQ(GetLineCount(), 8);
}

TEST_F(TextCommandsTest, BookmarksAreFoundInTheFileAndThroughTheOtherWindows) {
  FakeRecord& other = showingFile("j.txt", "o1\no2\no3\n");
  caretAt(3, 1);
  ASSERT_TRUE(app::toggleBookmark());
  FakeRecord& here = showingFile("k.txt", "h1\nh2\nh3\nh4\n");
  const OskWindow others[] = {other.window()};
  caretAt(2, 2);
  ASSERT_TRUE(app::toggleBookmark());
  caretAt(3, 1);

  EXPECT_FALSE(app::findBookmark(true, app::BookmarkWrap::kNone, others));
  auto hit = app::findBookmark(true, app::BookmarkWrap::kInFile, others);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->window, here.window());
  EXPECT_EQ(hit->line, 2);
  hit = app::findBookmark(true, app::BookmarkWrap::kThroughWindows, others);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->window, other.window());
  EXPECT_EQ(hit->line, 3);
  EXPECT_EQ(GetCurEdWindow(), here.window());
  hit = app::findBookmark(false, app::BookmarkWrap::kThroughWindows, others);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->window, here.window());
  EXPECT_EQ(hit->line, 2);

  app::goToBookmark(2);
  EXPECT_EQ(caret(), std::make_pair(2, 1));
  caretAt(2, 1);
  ASSERT_TRUE(app::toggleBookmark());   // off again
  EXPECT_FALSE(app::findBookmark(false, app::BookmarkWrap::kInFile, others));
  caretAt(4, 1);
  ASSERT_TRUE(app::toggleBookmark());
  caretAt(1, 1);
  ASSERT_TRUE(app::toggleBookmark());
  app::clearBookmarks();
  EXPECT_FALSE(app::findBookmark(true, app::BookmarkWrap::kInFile, others));
  SetCurEdWindow(other.window());
  EXPECT_TRUE(app::findBookmark(true, app::BookmarkWrap::kInFile, {}));   // the other file keeps its own
}

}  // namespace
}  // namespace osk::test
