// Find, Replace, Replace All, Count and Bookmark over editor windows of the engine, with a host that keeps the
// document windows in a list and answers the area question as told.
#include "app/search.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/word_pattern.h"
#include "engine/view_fixture.h"

namespace osk::test {
namespace {

using app::SearchOutcome;

class ListHost final : public app::SearchHost {
 public:
  OskWindow adjacentDocument(OskWindow editor, bool forward) override {
    auto it = std::find(order.begin(), order.end(), editor);
    if (it == order.end() || order.size() < 2) return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const auto i = it - order.begin();
    visited.push_back(editor);
    return order[static_cast<std::size_t>((i + (forward ? 1 : n - 1)) % n)];
  }
  void activate(OskWindow editor) override {
    activations.push_back(editor);
    SetCurEdWindow(editor);
  }
  bool continueBeyondArea() override {
    ++questions;
    return continueAnswer;
  }
  bool stopRequested(int32_t) override { return stopAfter >= 0 && ++steps > stopAfter; }
  void beginWork(const char*) override { ++works; }
  void endWork() override { --works; }

  std::vector<OskWindow> order;
  std::vector<OskWindow> activations;
  std::vector<OskWindow> visited;
  bool continueAnswer = false;
  int questions = 0;
  int stopAfter = -1;
  int steps = 0;
  int works = 0;
};

class SearchTest : public ViewTest {
 protected:
  // A document window of its own for each text; the last one opened is current.
  OskWindow document(const std::string& name, const std::string& text, int32_t flags = ECD_OPEN_READ) {
    HEDBUFFER h = nullptr;
    EXPECT_EQ(open(write(name, text), flags, &h), 0);
    FakeRecord& r = newWindow();
    r.attach(buffer(h), ECD_OPEN_VSCROLL);
    SetCurEdWindow(r.window());
    host.order.push_back(r.window());
    return r.window();
  }
  void caretAt(int32_t line, int32_t column) { ASSERT_EQ(SetCaretCol(line, column), 1); }
  // The selection as "line:first-end", or "caret line:column" without one.
  std::string selection() {
    int32_t l = 0, c = 0, l2 = 0, c2 = 0;
    if (!QueryMark()) {
      GetCaretCol(&l, &c);
      return "caret " + std::to_string(l) + ":" + std::to_string(c);
    }
    QueryMarkStart(&l, &c);
    QueryMarkEnd(&l2, &c2);
    return std::to_string(l) + ":" + std::to_string(c) + "-" + std::to_string(c2);
  }
  std::string all() {
    std::string out;
    for (int32_t i = 1; i <= GetLineCount(); ++i) out += line(i) + "\n";
    return out;
  }
  void select(int32_t type, int32_t l1, int32_t c1, int32_t l2, int32_t c2) {
    AnchorMark(type, l1, c1);
    UpdateMark(l2, c2);
  }

  ListHost host;
  app::WordPattern words;
  app::SearchSession search{host, words};
};

TEST_F(SearchTest, FindNextWalksForwardAndBackAndStopsAtTheEndOfTheFile) {
  document("a.txt", "one two one\nthree one\n");
  caretAt(1, 1);
  search.text = "one";
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);
  EXPECT_EQ(selection(), "1:1-4");
  EXPECT_TRUE(search.selectionIsFound());
  search.findNext();
  EXPECT_EQ(selection(), "1:9-12");
  search.findNext();
  EXPECT_EQ(selection(), "2:7-10");
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kNotFound);   // to the end of the file only
  EXPECT_EQ(selection(), "2:7-10");                                  // the selection stays
  search.takeArea();                                                 // the dialog is active again
  EXPECT_FALSE(search.area().has_value());                           // a selected match is no area
  EXPECT_EQ(search.findNext(false).outcome, SearchOutcome::kFound);
  EXPECT_EQ(selection(), "1:9-12");
  int32_t l = 0, c = 0;
  GetCaretCol(&l, &c);
  EXPECT_EQ(c, 9);   // a backward match leaves the caret before it
  search.findNext(false);
  EXPECT_EQ(selection(), "1:1-4");
  EXPECT_EQ(search.findNext(false).outcome, SearchOutcome::kNotFound);
  EXPECT_EQ(host.works, 0);
}

TEST_F(SearchTest, WrapWithinFileFindsAboveTheCaretAndMatchCaseCounts) {
  document("a.txt", "Alpha beta\ngamma\nalpha\n");
  search.options.scope = 1;
  search.text = "alpha";
  search.text = "ALPHA";
  caretAt(3, 2);
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kNotFound);   // round once, and no further
  search.options.matchCase = false;
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);
  EXPECT_EQ(selection(), "1:1-6");
  search.findNext();
  EXPECT_EQ(selection(), "3:1-6");
  search.text = "(";
  search.options.regEx = true;
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kInvalidPattern);
  EXPECT_TRUE(search.text.empty());
}

TEST_F(SearchTest, WrapAcrossFilesBackwardVisitsThePreviousWindowsFromTheirEnd) {
  const OskWindow a = document("a.txt", "x\nneedle at a\n");
  const OskWindow b = document("b.txt", "needle one\nneedle two\n");
  const OskWindow c = document("c.txt", "nothing\nhere\n");
  search.options.scope = 2;
  search.options.forward = false;
  search.text = "needle";
  caretAt(1, 1);
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);   // c has none: b before it, from its end
  EXPECT_EQ(GetCurEdWindow(), b);
  EXPECT_EQ(selection(), "2:1-7");
  search.findNext();
  EXPECT_EQ(selection(), "1:1-7");
  search.findNext();
  EXPECT_EQ(GetCurEdWindow(), a);
  EXPECT_EQ(selection(), "2:1-7");
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);   // round again through c to b
  EXPECT_EQ(GetCurEdWindow(), b);
  SetCurEdWindow(c);
  UnMark();
  caretAt(1, 1);
  search.text = "here";
  search.options.forward = true;
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);   // the first window once more from its start
  EXPECT_EQ(GetCurEdWindow(), c);
  EXPECT_EQ(selection(), "2:1-5");
}

TEST_F(SearchTest, WholeWordsFollowTheWordPatternAndAreIgnoredForExpressions) {
  document("a.txt", "#ifdef x_if\nif (x) iff\n");
  caretAt(1, 1);
  search.text = "if";
  search.options.wholeWord = true;
  search.findNext();
  EXPECT_EQ(selection(), "2:1-3");
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kNotFound);
  EXPECT_EQ(search.findNext(false).outcome, SearchOutcome::kNotFound);   // from the caret after "if"... none before
  search.options.regEx = true;
  UnMark();
  caretAt(1, 1);
  search.findNext();
  EXPECT_EQ(selection(), "1:2-4");
  search.options.regEx = false;
  UnMark();
  caretAt(2, 1);
  search.replacement = "when";
  EXPECT_EQ(search.replaceAll().count, 1u);
  EXPECT_EQ(all(), "#ifdef x_if\nwhen (x) iff\n");
}

TEST_F(SearchTest, ReplaceAllSwapsGroupsAndOneUndoRestoresTheFile) {
  const std::string text = "aabbb xab\nnone\nab ab\n";
  document("a.txt", text);
  caretAt(1, 1);
  search.options.regEx = true;
  search.text = "(a+)(b+)";
  search.replacement = "\\2\\1";
  const app::SearchReport r = search.replaceAll();
  EXPECT_EQ(r.outcome, SearchOutcome::kFound);
  EXPECT_EQ(r.count, 4u);
  EXPECT_EQ(all(), "bbbaa xba\nnone\nba ba\n");
  EXPECT_EQ(selection(), "caret 3:6");   // after the last replacement
  ASSERT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(all(), text);
  search.replacement = "\\9(";
  EXPECT_EQ(search.count().count, 4u);
  search.replacement = "\\";
  const app::SearchReport bad = search.replaceAll();
  if (bad.outcome == SearchOutcome::kInvalidSubstitution) EXPECT_EQ(all(), text);
}

TEST_F(SearchTest, ReplacementContainingItsMatchIsMadeOncePerMatchWhenWrapping) {
  document("a.txt", "a b a\nbab\na\n");
  search.text = "a";
  search.replacement = "aa";
  search.options.scope = 1;
  caretAt(2, 2);   // before the "a" of line 2
  app::SearchReport r = search.replaceAll();
  EXPECT_EQ(r.count, 4u);
  EXPECT_EQ(all(), "aa b aa\nbaab\naa\n");
  EXPECT_EQ(selection(), "caret 1:8");   // the wrapped pass made the last one

  search.options.forward = false;
  UnMark();
  caretAt(2, 3);   // between the two a's of "baab"
  r = search.replaceAll();
  EXPECT_EQ(r.count, 8u);
  EXPECT_EQ(all(), "aaaa b aaaa\nbaaaab\naaaa\n");
}

TEST_F(SearchTest, ReplaceAllAcrossFilesPassesOverReadOnlyDocumentsAndEndsInTheLastWindow) {
  const OskWindow a = document("a.txt", "cat\n");
  const OskWindow b = document("b.txt", "cat cat\n", ECD_OPEN_READ | ECD_OPEN_READ_ONLY);
  const OskWindow c = document("c.txt", "dog cat\n");
  ASSERT_EQ(IsReadOnly(), 0);
  SetCurEdWindow(b);
  ASSERT_NE(IsReadOnly(), 0);
  SetCurEdWindow(a);
  caretAt(1, 1);
  search.options.scope = 2;
  search.text = "cat";
  search.replacement = "cow";
  const app::SearchReport r = search.replaceAll();
  EXPECT_EQ(r.count, 2u);
  EXPECT_EQ(GetCurEdWindow(), c);   // the last replacement was made there
  EXPECT_EQ(all(), "dog cow\n");
  EXPECT_EQ(selection(), "caret 1:8");
  SetCurEdWindow(a);
  EXPECT_EQ(all(), "cow\n");
  SetCurEdWindow(b);
  EXPECT_EQ(all(), "cat cat\n");
  SetCurEdWindow(c);
  ASSERT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(all(), "dog cat\n");
  EXPECT_EQ(search.count().count, 3u);   // counting reads read-only documents too
}

TEST_F(SearchTest, LinesWithTabsAreMatchedAsStored) {
  document("t.txt", "\tpi gamma eta\nx\tgamma\na\tb\n");
  caretAt(1, 1);
  search.text = "gamma";
  search.findNext();
  EXPECT_EQ(selection(), "1:5-10");   // columns, not display cells
  search.findNext(false);
  search.findNext(false);
  EXPECT_EQ(selection(), "1:5-10");
  UnMark();
  caretAt(1, 1);
  search.replacement = "GAMMA";
  EXPECT_EQ(search.replaceAll().count, 2u);
  EXPECT_EQ(all(), "\tpi GAMMA eta\nx\tGAMMA\na\tb\n");
  search.options.regEx = true;
  search.text = "a.b";   // the tab is one character
  UnMark();
  caretAt(1, 1);
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);
  EXPECT_EQ(selection(), "3:1-4");
}

TEST_F(SearchTest, ReplacementThatWouldPassTheLineLimitCutsTheLine) {
  const std::string longLine = "x" + std::string(1020, '.') + "yz";   // 1023 characters
  document("a.txt", longLine + "\nx\n");
  caretAt(1, 1);
  search.text = "x";
  search.replacement = "XXXX";
  EXPECT_EQ(search.replaceAll().count, 2u);
  EXPECT_EQ(line(1).size(), 1024u);
  EXPECT_EQ(line(1).substr(0, 5), "XXXX.");
  EXPECT_EQ(line(1).back(), '.');   // the end of the line was dropped
  EXPECT_EQ(line(2), "XXXX");

  search.text = "y";
  search.replacement = std::string(40, 'Q');
  UnMark();
  caretAt(1, 1);
  EXPECT_EQ(search.replaceAll().count, 0u);   // "yz" went with the cut
  EXPECT_EQ(app::replaceInLine({2, 1, 1}, std::string(1100, 'Q')), 1025);
  EXPECT_EQ(line(2), std::string(1024, 'Q'));
}

TEST_F(SearchTest, AnAreaLimitsTheSearchAndAsksBeforeGoingOn) {
  document("a.txt", "key one\nkey two key\nkey three\nkey four\n");
  select(1, 2, 5, 3, 4);   // from "two" to the end of line 3's "key"
  search.takeArea();
  ASSERT_TRUE(search.area().has_value());
  UnMark();
  caretAt(1, 1);
  search.text = "key";
  search.findNext();
  EXPECT_EQ(selection(), "2:9-12");
  search.findNext();
  EXPECT_EQ(selection(), "3:1-4");
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kNotFound);
  EXPECT_EQ(host.questions, 1);
  EXPECT_EQ(selection(), "2:5-4");   // the selection the area came from is given back

  host.continueAnswer = true;
  UnMark();
  select(2, 2, 1, 3, 1);   // lines 2 and 3
  search.takeArea();
  EXPECT_EQ(search.count().count, 4u);
  EXPECT_EQ(host.questions, 2);   // yes: on to the end of the file
  EXPECT_EQ(search.findNext().outcome, SearchOutcome::kFound);
  EXPECT_EQ(selection(), "2:1-4");   // the area taken again from the restored selection starts the search
}

TEST_F(SearchTest, ColumnAreaKeepsEachLinesCells) {
  document("a.txt", "ab ab ab\nab ab ab\n");
  select(3, 1, 3, 2, 6);   // cells 3 to 6 on both lines
  search.takeArea();
  search.text = "ab";
  EXPECT_EQ(search.count().count, 2u);
  search.replacement = "X";
  EXPECT_EQ(search.replaceAll().count, 2u);
  EXPECT_EQ(all(), "ab X ab\nab X ab\n");
}

TEST_F(SearchTest, BookmarkMarksEachMatchingLineInOneUndoStep) {
  document("a.txt", "todo a\nb\ntodo c todo\n");
  SetLineProp(3, 1);
  EndOp();
  caretAt(2, 1);
  search.options.scope = 1;
  search.text = "todo";
  const app::SearchReport r = search.bookmark();
  EXPECT_EQ(r.count, 3u);
  EXPECT_NE(GetLineProp(1, 1), 0u);
  EXPECT_EQ(GetLineProp(2, 1), 0u);
  EXPECT_EQ(selection(), "caret 2:1");
}

TEST_F(SearchTest, ReplaceOneActsOnTheFoundSelectionOnly) {
  document("a.txt", "red red\nred\n");
  caretAt(1, 1);
  search.text = "red";
  search.replacement = "blue";
  EXPECT_EQ(search.replace().outcome, SearchOutcome::kNotFound);   // nothing found yet
  EXPECT_EQ(line(1), "red red");
  search.findNext();
  EXPECT_EQ(search.replace().outcome, SearchOutcome::kFound);
  EXPECT_EQ(line(1), "blue red");
  EXPECT_EQ(selection(), "1:6-9");   // the next match is selected
  search.text = "re";                 // another text: the selection is not its match
  EXPECT_FALSE(search.selectionIsFound());
  search.replacement = "X";
  search.replaceAll();
  EXPECT_EQ(line(1), "blue red");     // Replace All did not take the selection for a match of "re"
  EXPECT_EQ(line(2), "Xd");
  search.text = "red";
  UnMark();                           // the user moved: the selection is no longer the match
  caretAt(2, 1);
  EXPECT_EQ(search.replace().outcome, SearchOutcome::kNotFound);
  EXPECT_EQ(line(1), "blue red");
}

TEST_F(SearchTest, EscStopsALongReplaceAll) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += "word word\n";
  document("a.txt", text);
  caretAt(1, 1);
  search.text = "word";
  search.replacement = "w";
  host.stopAfter = 2;
  const app::SearchReport r = search.replaceAll();
  EXPECT_EQ(r.outcome, SearchOutcome::kAborted);
  EXPECT_GT(r.count, 0u);
  EXPECT_LT(r.count, 1000u);
  ASSERT_EQ(UndoOp(nullptr), 1);
  EXPECT_EQ(all(), text);
}

TEST(SearchFields, ExpressionMenusPlaceTheirFragmentsAndTheInsertionPoint) {
  auto typed = [](std::string_view text, int32_t a, int32_t b, int item) {
    const app::EditedField f = app::insertFragment(text, a, b, app::findHelperFragment(item));
    return f.text.substr(0, static_cast<std::size_t>(f.caret)) + "|" + f.text.substr(static_cast<std::size_t>(f.caret));
  };
  EXPECT_EQ(typed("ab", 1, 1, 1), "a[|]b");     // Character In Set: the point goes back inside
  EXPECT_EQ(typed("abc", 1, 2, 2), "a[^|]c");   // replaces the selection
  EXPECT_EQ(typed("abc", 2, 2, 3), "^|abc");    // Beginning of Line goes to the start first
  EXPECT_EQ(typed("abc", 0, 0, 4), "abc|$");    // End of Line: at the end, then left
  EXPECT_EQ(typed("x", 1, 1, 9), "x\\t|");
  EXPECT_EQ(app::findHelperFragment(11), "");
  EXPECT_EQ(app::replaceHelperFragment(0), "\\0");
  EXPECT_EQ(app::replaceHelperFragment(9), "\\9");
  EXPECT_EQ(app::insertFragment(std::string(256, 'a'), 0, 0, "[]").text.size(), 256u);   // the field's limit
  EXPECT_EQ(app::firstArgument("  \"two words\" more"), "two words");
  EXPECT_EQ(app::firstArgument("word more"), "word");
  EXPECT_EQ(app::firstArgument("   "), "");
}

int failures = 0;

TEST_F(SearchTest, FailedSearchCallsTheHook) {
  app::setSearchFailedHook([] { ++failures; });
  document("a.txt", "abc\n");
  search.text = "zzz";
  search.findNext();
  search.count();
  app::setSearchFailedHook(nullptr);
  EXPECT_EQ(failures, 2);
}

}  // namespace
}  // namespace osk::test
