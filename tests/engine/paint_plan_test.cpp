// The paint plan: end-of-file row, blank rows, gutter labels and widths, tab expansion, cell 1024, marks and
// syntax colours.
#include <gtest/gtest.h>

#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"
#include "engine/paint_plan.h"
#include "view_fixture.h"

namespace osk::test {
namespace {

class PaintPlanTest : public ViewTest {};

TEST_F(PaintPlanTest, EndOfFileFollowsTheLastLineAndBlankRowsFollowIt) {
  FakeRecord& w = showing("one\ntwo\n");
  w.syncView();
  const std::vector<PaintRow> rows = planRows(*w.buffer, w.view, 0, 4, false);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].kind, PaintRow::Kind::kText);
  EXPECT_EQ(rows[1].cells.substr(0, 4), "two ");
  EXPECT_EQ(rows[2].kind, PaintRow::Kind::kEndOfFile);
  EXPECT_EQ(rows[2].cells.substr(0, 19), "------- EOF -------");
  EXPECT_EQ(rows[3].kind, PaintRow::Kind::kBlank);
  EXPECT_EQ(rows[4].kind, PaintRow::Kind::kBlank);
}

TEST_F(PaintPlanTest, EmptyBufferShowsTheEndOfFileOnItsFirstRow) {
  HEDBUFFER h = nullptr;
  ASSERT_EQ(open("", 0, &h), 0);
  FakeRecord& w = newWindow();
  w.attach(buffer(h), 0);
  EcdSystemOptions o{};
  o.word[ECD_OPT_SHOW_LINE_NUMBERS] = 1;
  ECD_fvSetSystemOptions(&o);
  w.syncView();
  const std::vector<PaintRow> rows = planRows(*w.buffer, w.view, 0, 1, true);
  EXPECT_EQ(rows[0].kind, PaintRow::Kind::kEndOfFile);
  EXPECT_EQ(rows[0].gutter, "  ");   // two cells for an empty buffer
  EXPECT_EQ(rows[1].kind, PaintRow::Kind::kBlank);
}

TEST_F(PaintPlanTest, GutterGrowsWithTheLineCountAndGoesWhenScrolledRight) {
  FakeRecord& w = showing("1\n2\n3\n4\n5\n6\n7\n8\n9\n");
  EcdSystemOptions o{};
  o.word[ECD_OPT_SHOW_LINE_NUMBERS] = 1;
  ECD_fvSetSystemOptions(&o);
  w.syncView();
  EXPECT_EQ(planRows(*w.buffer, w.view, 8, 8, true)[0].gutter, " 9:");
  ASSERT_EQ(InsertLine(9, "10"), 1);
  w.syncView();
  EXPECT_EQ(planRows(*w.buffer, w.view, 0, 0, true)[0].gutter, "  1:");
  EXPECT_EQ(planRows(*w.buffer, w.view, 9, 9, true)[0].gutter, " 10:");
  w.scrollTo(1, 2);
  EXPECT_EQ(planRows(*w.buffer, w.view, 0, 0, true)[0].gutter, "");
}

TEST_F(PaintPlanTest, TabsExpandAndCellsStopAt1024) {
  FakeRecord& w = showing("a\tb\n" + std::string(1020, 'x') + "\tyz\n", nullptr, 4);
  w.syncView();
  EXPECT_EQ(planRows(*w.buffer, w.view, 0, 0, false)[0].cells.substr(0, 6), "a   b ");
  w.scrollTo(1, 1000);
  const PaintRow row = planRows(*w.buffer, w.view, 1, 1, false)[0];
  ASSERT_EQ(row.cells.size(), 25u);   // cells 1000 to 1024 only
  EXPECT_EQ(row.cells.substr(20), "x    ");   // the tab at cell 1021 fills to 1024; "yz" lies beyond
  ASSERT_EQ(row.segments.size(), 1u);
  EXPECT_EQ(row.segments[0].cells, 25);
}

TEST_F(PaintPlanTest, MarkedAndBookmarkedLinesCarryTheirRuns) {
  FakeRecord& w = showing("first line\nsecond line\n");
  ASSERT_EQ(SetLineProp(2, 1), 1);
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 7), 1);
  ASSERT_EQ(UpdateMark(2, 3), 1);
  w.syncView();
  const std::vector<PaintRow> rows = planRows(*w.buffer, w.view, 0, 1, false);
  ASSERT_EQ(rows[0].segments.size(), 2u);
  EXPECT_EQ(rows[0].segments[1], (PaintSegment{7, static_cast<int32_t>(rows[0].cells.size()) - 6, PaintRole::kSelected}));
  EXPECT_TRUE(rows[1].bookmarked);
  ASSERT_EQ(rows[1].segments.size(), 2u);
  EXPECT_EQ(rows[1].segments[0], (PaintSegment{1, 2, PaintRole::kSelected}));
  EXPECT_EQ(rows[1].segments[1].role, PaintRole::kBookmark);
}

class SyntaxPaintTest : public ViewTest {
 protected:
  static constexpr int32_t kComment = 0, kKeyword = 1;
  void SetUp() override {
    ViewTest::SetUp();
    syntax::CompileResult c = syntax::CompileSyntax(
        "defcol comment = \"Comment\", RGB(0,128,0);\n"
        "defcol keyword = \"Keyword\", RGB(0,0,255);\n"
        "extmap c to \"c\";\n"
        "startdef c;\n"
        "  mlb(comment, \"/*\", \"*/\");\n"
        "  keyword_chars(\"abcdefghijklmnopqrstuvwxyz\");\n"
        "  keywords(keyword, \"int\");\n"
        "enddef;\n");
    ASSERT_NE(c.data, nullptr) << c.message;
    syntax::SetCurrentSyntax(std::move(c.data));
  }
  void TearDown() override {
    ViewTest::TearDown();
    syntax::SetCurrentSyntax(nullptr);
  }
  // A C buffer in a window, with syntax highlighting on or off.
  FakeRecord& showingC(const std::string& text, bool highlight) {
    HEDBUFFER h = nullptr;
    FakeRecord& w = showing(text, &h);
    EXPECT_EQ(buffer(h)->rename(path("text.c").c_str()), 0);
    EcdSystemOptions o{};
    o.word[ECD_OPT_SYNTAX_HIGHLIGHT] = highlight ? 1 : 0;
    ECD_fvSetSystemOptions(&o);
    w.syncView();
    return w;
  }
};

TEST_F(SyntaxPaintTest, NormalCellsTakeTheirSyntaxColours) {
  FakeRecord& w = showingC("int x; /* c */\n", true);
  const PaintRow row = planRows(*w.buffer, w.view, 0, 0, false)[0];
  const auto width = static_cast<int32_t>(row.cells.size());
  ASSERT_EQ(row.segments.size(), 4u);
  EXPECT_EQ(row.segments[0], (PaintSegment{1, 3, PaintRole::kSyntax, kKeyword}));
  EXPECT_EQ(row.segments[1], (PaintSegment{4, 4, PaintRole::kNormal, 0}));
  EXPECT_EQ(row.segments[2], (PaintSegment{8, 7, PaintRole::kSyntax, kComment}));
  EXPECT_EQ(row.segments[3], (PaintSegment{15, width - 14, PaintRole::kNormal, 0}));
}

TEST_F(SyntaxPaintTest, ABlockOpenAboveColoursTheWholeRowAndFollowsScrolling) {
  FakeRecord& w = showingC("/* open\nint still\nend */ int\n", true);
  w.scrollTo(2, 3);
  const std::vector<PaintRow> rows = planRows(*w.buffer, w.view, 0, 1, false);
  ASSERT_EQ(rows[0].segments.size(), 1u);
  EXPECT_EQ(rows[0].segments[0].role, PaintRole::kSyntax);
  EXPECT_EQ(rows[0].segments[0].colour, kComment);
  EXPECT_EQ(rows[1].segments[0], (PaintSegment{3, 4, PaintRole::kSyntax, kComment}));   // "d */" from cell 3
  EXPECT_EQ(rows[1].segments[2], (PaintSegment{8, 3, PaintRole::kSyntax, kKeyword}));
}

TEST_F(SyntaxPaintTest, SelectionAndBookmarksWinAndTheOptionTurnsColouringOff) {
  FakeRecord& w = showingC("int a;\nint b;\n", true);
  ASSERT_EQ(SetLineProp(2, 1), 1);
  ASSERT_EQ(AnchorMark(kMarkStream, 1, 2), 1);
  ASSERT_EQ(UpdateMark(1, 3), 1);
  w.syncView();
  std::vector<PaintRow> rows = planRows(*w.buffer, w.view, 0, 1, false);
  ASSERT_GE(rows[0].segments.size(), 3u);
  EXPECT_EQ(rows[0].segments[0], (PaintSegment{1, 1, PaintRole::kSyntax, kKeyword}));
  EXPECT_EQ(rows[0].segments[1], (PaintSegment{2, 1, PaintRole::kSelected, 0}));
  EXPECT_EQ(rows[0].segments[2], (PaintSegment{3, 1, PaintRole::kSyntax, kKeyword}));
  for (const PaintSegment& s : rows[1].segments) EXPECT_EQ(s.role, PaintRole::kBookmark);

  EcdSystemOptions o{};
  ECD_fvSetSystemOptions(&o);
  rows = planRows(*w.buffer, w.view, 0, 0, false);
  for (const PaintSegment& s : rows[0].segments) EXPECT_NE(s.role, PaintRole::kSyntax);
}

}  // namespace
}  // namespace osk::test
