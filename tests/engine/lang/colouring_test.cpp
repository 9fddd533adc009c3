// Colouring lines: runs of representative lines, the block bits carried across lines, and the repaint rule after
// edits, checked against a full recomputation on large and randomly edited buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/lang/colouring.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"
#include "engine/store/line_store.h"

namespace osk::syntax {
namespace {

constexpr int32_t kComment = 0, kKeyword = 2, kType = 3;

const char kDefinitions[] =
    "defcol comment = \"Comment\", RGB(0,128,0);\n"
    "defcol string = \"String\", RGB(128,0,0);\n"
    "defcol keyword = \"Keyword\", RGB(0,0,255);\n"
    "defcol type = \"Type\", RGB(0,128,128);\n"
    "defcol pre = \"Preprocessor\", RGB(128,0,128);\n"
    "defcol op = \"Operator\", RGB(64,64,64);\n"
    "defcol rem = \"Remark\", RGB(0,100,0);\n"
    "defcol chr = \"Character\", RGB(100,0,0);\n"
    "extmap c to \"c\";\nextmap bat to \"bat\";\nextmap few to \"few\";\n"
    "startdef c;\n"
    "  mlb(comment, \"/*\", \"*/\");\n"
    "  slb(comment, \"//\", \"\");\n"
    "  slb(pre, \"#\", \"\");\n"
    "  eslb(string, '\"', '\"', '\\\\');\n"
    "  eslb(chr, '\\'', '\\'', '\\\\');\n"
    "  keyword_chars(\"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_\");\n"
    "  keywords(keyword, \"if\", \"else\", \"return\", \"while\");\n"
    "  case_sensitive(0);\n"
    "  keywords(type, \"int\", \"char\");\n"
    "  keychars(op, \"+-=\");\n"
    "enddef;\n"
    "startdef bat;\n"
    "  islb(rem, \"rem\", \"\");\n"
    "  slb(comment, \"::\", \"\");\n"
    "  eslb(string, '\\'', '\\'', '\\'');\n"
    "enddef;\n"
    // Few characters that may start a block: the block scan looks for them sixteen bytes at a time.
    "startdef few;\n"
    "  mlb(comment, \"/*\", \"*/\");\n"
    "  slb(comment, \"//\", \"\");\n"
    "  eslb(string, '\"', '\"', '\\\\');\n"
    "  keyword_chars(\"abcdefghijklmnopqrstuvwxyz\");\n"
    "  keywords(keyword, \"if\");\n"
    "enddef;\n";

class Colouring : public ::testing::Test {
 protected:
  void SetUp() override {
    CompileResult r = CompileSyntax(kDefinitions);
    ASSERT_NE(r.data, nullptr) << r.message << " at " << r.line;
    data_ = std::move(r.data);
    c_ = data_->Definition(data_->DefinitionFor("x.c"));
    bat_ = data_->Definition(data_->DefinitionFor("x.bat"));
    few_ = data_->Definition(data_->DefinitionFor("x.few"));
    ASSERT_NE(c_, nullptr);
    ASSERT_NE(few_, nullptr);
    ASSERT_NE(bat_, nullptr);
  }

  // The line as "text|colour per cell": '.' plain, digits colour indexes.
  static std::string Paint(const DecodedDefinition* d, std::string_view line, bool inside = false) {
    LineScan scan;
    ScanLine(d, line, inside, scan);
    std::vector<ColourRun> runs;
    MakeRuns(scan, static_cast<int32_t>(line.size()), 1, static_cast<int32_t>(line.size()), {}, runs);
    std::string out(line.size(), '?');
    for (const ColourRun& r : runs) {
      for (int32_t i = 0; i < r.length; ++i) {
        out[r.firstCell - 1 + i] = r.kind == RunKind::kSyntax ? static_cast<char>('0' + r.colour) : '.';
      }
    }
    return out;
  }

  std::unique_ptr<SyntaxData> data_;
  const DecodedDefinition* c_ = nullptr;
  const DecodedDefinition* bat_ = nullptr;
  const DecodedDefinition* few_ = nullptr;
};

TEST_F(Colouring, RepresentativeCLinesSplitIntoRuns) {
  EXPECT_EQ(Paint(c_, "int x = 1; // note"), "333...5....0000000");
  EXPECT_EQ(Paint(c_, "if (a) return \"s\\\"t\";"), "22.....222222.111111.");
  EXPECT_EQ(Paint(c_, "char c = '\\''; /* x */ y"), "3333...5.7777..0000000..");
  EXPECT_EQ(Paint(c_, "#include <x.h>"), "44444444444444");
  // A keyword inside a longer word is never coloured; case_sensitive(0) lists ignore case.
  EXPECT_EQ(Paint(c_, "ifdef if(IF) INT Int"), "......22.....333.333");
  // A block comment marker inside a string is part of the string.
  EXPECT_EQ(Paint(c_, "x = \"/*\";"), "..5.1111.");
  // An unterminated string runs to the end of the line.
  EXPECT_EQ(Paint(c_, "s = \"abc"), "..5.1111");
}

TEST_F(Colouring, SingleLineBlocksHonourTheirCaseRule) {
  EXPECT_EQ(Paint(bat_, "REM hello"), "666666666");
  EXPECT_EQ(Paint(bat_, "Rem hello"), "666666666");
  EXPECT_EQ(Paint(bat_, "echo 'it''s' ok"), ".....1111111...");
  EXPECT_EQ(Paint(bat_, ":: x"), "0000");
}

TEST_F(Colouring, LinesInsideTheBlockAreColouredUpToTheEnd) {
  EXPECT_EQ(Paint(c_, "still comment", true), "0000000000000");
  EXPECT_EQ(Paint(c_, "end */ int", true), "000000.333");
  EXPECT_EQ(Paint(c_, "a */ b /* c", true), "0000...0000");
}

TEST_F(Colouring, RunsCoverTheRequestedColumnsWithTheSelectionOnTop) {
  LineScan scan;
  ScanLine(c_, "int a; /* open", false, scan);
  std::vector<ColourRun> runs;
  MakeRuns(scan, 14, 1, 20, CellSelection{3, 9}, runs);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].firstCell, 1);
  EXPECT_EQ(runs[0].length, 2);
  EXPECT_EQ(runs[0].kind, RunKind::kSyntax);
  EXPECT_EQ(runs[1].firstCell, 3);
  EXPECT_EQ(runs[1].length, 7);
  EXPECT_EQ(runs[1].kind, RunKind::kSelected);
  // The open comment colours on past the text, to the last requested column.
  EXPECT_EQ(runs[2].firstCell, 10);
  EXPECT_EQ(runs[2].length, 11);
  EXPECT_EQ(runs[2].colour, kComment);
  MakeRuns(scan, 14, 0, 20, {}, runs);
  EXPECT_TRUE(runs.empty());
  MakeRuns(scan, 14, 1025, 1030, {}, runs);
  EXPECT_TRUE(runs.empty());
  MakeRuns(scan, 14, 1000, 2000, {}, runs);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].firstCell + runs[0].length - 1, 1024);
}

TEST_F(Colouring, BlockBitsOfALine) {
  EXPECT_EQ(BlockBits(c_, "a /* b"), kLeavesOpen);
  EXPECT_EQ(BlockBits(c_, "a /* b */"), kContainsEnd);
  EXPECT_EQ(BlockBits(c_, "x = \"/*\";"), 0u);
  EXPECT_EQ(BlockBits(c_, "// /*"), 0u);
  EXPECT_EQ(BlockBits(c_, "*/ x /*"), kContainsEnd | kLeavesOpen);
  EXPECT_EQ(BlockBits(c_, "plain"), 0u);
  EXPECT_EQ(BlockBits(bat_, "rem /*"), 0u) << "no multi-line block, no bits";
}

void Fill(LineStore& store, int32_t lines, int32_t opener) {
  std::vector<std::string> text;
  text.reserve(lines);
  for (int32_t i = 1; i <= lines; ++i) {
    text.push_back(i == opener ? "int a; /* the comment opens here" : "  line " + std::to_string(i) + " = x + 1;");
  }
  std::vector<std::string_view> views(text.begin(), text.end());
  ASSERT_EQ(store.insertLines(0, views), StoreStatus::kOk);
}

int32_t ColourAtStart(LineStore& store, const DecodedDefinition* d, int32_t line) {
  std::string cells;
  std::vector<ColourRun> runs;
  EXPECT_EQ(ColourStoreLine(store, d, 8, line, 1, 1024, {}, cells, runs), 0);
  return runs.empty() || runs[0].kind != RunKind::kSyntax ? -1 : runs[0].colour;
}

TEST_F(Colouring, CommentOpenedOnLine10ReachesLine90000ThroughEdits) {
  LineStore store;
  Fill(store, 100000, 10);
  RecomputeBlockBits(store, c_);
  EXPECT_EQ(ColourAtStart(store, c_, 9), -1);
  EXPECT_EQ(ColourAtStart(store, c_, 10), kType);
  EXPECT_EQ(ColourAtStart(store, c_, 90000), kComment);
  EXPECT_EQ(store.properties().size(), 1u);

  // Edits above the comment: a complete comment on line 3, two lines inserted at the top.
  ASSERT_EQ(store.replaceLine(3, "int b; /* done */"), StoreStatus::kOk);
  Repaint r = UpdateLineBits(store, c_, 3);
  EXPECT_FALSE(r.needed);
  ASSERT_EQ(store.insertLines(0, {"// header", "char c;"}), StoreStatus::kOk);
  r = UpdateLinesBits(store, c_, 1, 2);
  EXPECT_FALSE(r.needed);
  EXPECT_EQ(ColourAtStart(store, c_, 90000), kComment);

  // Inside it: closing the comment on line 500 ends it there.
  ASSERT_EQ(store.replaceLine(500, "end of comment */ int z;"), StoreStatus::kOk);
  r = UpdateLineBits(store, c_, 500);
  EXPECT_TRUE(r.needed);
  EXPECT_TRUE(r.everything) << "no end below: down to the last line, more than 30 lines";
  EXPECT_EQ(ColourAtStart(store, c_, 90000), -1);
  EXPECT_EQ(ColourAtStart(store, c_, 499), kComment);

  // Reopening it further down repaints only to the next line that holds the end string.
  ASSERT_EQ(store.replaceLine(600, "/* again"), StoreStatus::kOk);
  ASSERT_EQ(store.replaceLine(605, "*/"), StoreStatus::kOk);
  UpdateLineBits(store, c_, 605);
  r = UpdateLineBits(store, c_, 600);
  EXPECT_TRUE(r.needed);
  EXPECT_FALSE(r.everything);
  EXPECT_EQ(r.noticeFirst(), 600);
  EXPECT_EQ(r.noticeCount(), 6);
  EXPECT_EQ(ColourAtStart(store, c_, 603), kComment);
  EXPECT_EQ(ColourAtStart(store, c_, 90000), -1);

  // Taking the end away on line 500 opens everything below again, up to the next end on line 605.
  ASSERT_EQ(store.replaceLine(500, "no end here"), StoreStatus::kOk);
  r = UpdateLineBits(store, c_, 500);
  EXPECT_TRUE(r.needed);
  EXPECT_TRUE(r.everything);
  ASSERT_EQ(store.replaceLine(605, "x"), StoreStatus::kOk);
  UpdateLineBits(store, c_, 605);
  EXPECT_EQ(ColourAtStart(store, c_, 90000), kComment);

  EXPECT_EQ(ColourAtStart(store, c_, 300), kComment);

  // Deleting the first opening line ends that comment; the one opened on line 600 goes on to the end.
  ASSERT_EQ(store.deleteLines(12, 1), StoreStatus::kOk);
  EXPECT_EQ(ColourAtStart(store, c_, 300), -1);
  EXPECT_EQ(ColourAtStart(store, c_, 90000), kComment);
}

TEST_F(Colouring, LineOutsideTheBufferFails) {
  LineStore store;
  Fill(store, 3, 0);
  std::string cells;
  std::vector<ColourRun> runs;
  EXPECT_EQ(ColourStoreLine(store, c_, 8, 4, 1, 80, {}, cells, runs), -16);
  EXPECT_EQ(ColourStoreLine(store, c_, 8, 0, 1, 80, {}, cells, runs), -16);
  EXPECT_TRUE(runs.empty());
  ASSERT_EQ(store.replaceLine(2, "\tif\t// c"), StoreStatus::kOk);
  EXPECT_EQ(ColourStoreLine(store, c_, 4, 2, 1, 80, {}, cells, runs), 0);
  EXPECT_EQ(cells, "    if  // c");
  ASSERT_GE(runs.size(), 3u);
  EXPECT_EQ(runs[1].firstCell, 5);
  EXPECT_EQ(runs[1].colour, kKeyword);
}

// The model: each line's inside state from scanning the bits of all lines above it.
std::vector<bool> InsideStates(LineStore& store) {
  std::vector<bool> inside(store.lineCount() + 2, false);
  bool state = false;
  for (int32_t line = 1; line <= store.lineCount(); ++line) {
    inside[line] = state;
    const uint32_t bits = store.properties().get(line, kBlockBits);
    if (bits != 0) state = (bits & kLeavesOpen) != 0;
  }
  return inside;
}

TEST_F(Colouring, RandomEditsKeepBitsAndRepaintEveryChangedLine) {
  static const char* const kPieces[] = {"/*", "*/", "x", " ", "\"", "//", "int", "'", "\\"};
  std::mt19937 rng(20261207);
  auto randomLine = [&] {
    std::string s;
    const int n = static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i) s += kPieces[rng() % 9];
    return s;
  };
  for (int round = 0; round < 20; ++round) {
    LineStore store;
    std::vector<std::string> text;
    for (int i = 0; i < 80; ++i) text.push_back(randomLine());
    std::vector<std::string_view> views(text.begin(), text.end());
    ASSERT_EQ(store.insertLines(0, views), StoreStatus::kOk);
    RecomputeBlockBits(store, c_);
    for (int edit = 0; edit < 60; ++edit) {
      const std::vector<bool> before = InsideStates(store);
      const int32_t line = 1 + static_cast<int32_t>(rng() % store.lineCount());
      ASSERT_EQ(store.replaceLine(line, randomLine()), StoreStatus::kOk);
      const Repaint r = UpdateLineBits(store, c_, line);
      // The kept bits equal a fresh computation of every line.
      for (int32_t l = 1; l <= store.lineCount(); ++l) {
        ASSERT_EQ(store.properties().get(l, kBlockBits), BlockBits(c_, store.peekLine(l))) << "line " << l;
      }
      const std::vector<bool> after = InsideStates(store);
      for (int32_t l = line + 1; l <= store.lineCount(); ++l) {
        if (before[l] == after[l]) continue;
        ASSERT_TRUE(r.needed) << "line " << l << " changed after an edit of line " << line;
        if (!r.everything) {
          ASSERT_GE(l, r.first);
          ASSERT_LT(l, r.first + r.count);
        }
      }
    }
  }
}

// Lines made of pieces that open, close and hide blocks, keywords, other words and tabs.
std::string RandomCLine(std::mt19937& rng, int maxPieces) {
  static const char* const kPieces[] = {"/*", "*/", "x", " ", "\"", "//", "int", "'", "\\", "\t", "if",
                                        "#", "CHAR", "return1", "+", "while", "abcdefghijkl", "="};
  std::string s;
  const int n = static_cast<int>(rng() % static_cast<unsigned>(maxPieces + 1));
  for (int i = 0; i < n; ++i) s += kPieces[rng() % std::size(kPieces)];
  return s.substr(0, 1024);
}

TEST_F(Colouring, BlockBitsAgreeWithAScanFromOutsideTheBlock) {
  std::mt19937 rng(5);
  LineScan scan;
  for (int i = 0; i < 20000; ++i) {
    const std::string line = RandomCLine(rng, 12);
    for (const DecodedDefinition* d : {c_, few_}) {
      ScanLine(d, line, false, scan);
      uint32_t want = line.find("*/") != std::string::npos ? kContainsEnd : 0;
      // A block left open that starts with the block's start string is the multi-line block: it is tried first.
      if (scan.openAtEnd && line.compare(static_cast<size_t>(scan.stretches.back().start), 2, "/*") == 0) {
        want |= kLeavesOpen;
      }
      ASSERT_EQ(BlockBits(d, line), want) << "[" << line << "]";
    }
    ASSERT_EQ(BlockBits(bat_, line), 0u);
  }
}

TEST_F(Colouring, BitsOfAWholeBufferAreThoseOfEachLineInBothLineEndModes) {
  std::mt19937 rng(10);
  for (bool unix : {false, true}) {
    LineStore store;
    ASSERT_EQ(store.setUnixLineEnds(unix), StoreStatus::kOk);
    std::vector<std::string> text;
    for (int i = 0; i < 4000; ++i) {
      text.push_back(RandomCLine(rng, 8));
      if (unix && rng() % 10 == 0) text.back() += "\r*";   // a CR is text here, and may stand before the end
    }
    ASSERT_EQ(store.insertLines(0, std::vector<std::string_view>(text.begin(), text.end())), StoreStatus::kOk);
    store.properties().set(17, 1);
    RecomputeBlockBits(store, c_);
    for (int32_t line = 1; line <= store.lineCount(); ++line) {
      ASSERT_EQ(store.properties().get(line, kBlockBits), BlockBits(c_, text[static_cast<size_t>(line - 1)]))
          << "line " << line;
    }
    EXPECT_EQ(store.properties().get(17, 1), 1u);
  }
}

TEST_F(Colouring, RunsWithoutASelectionMatchRunsWithOneOutOfSight) {
  std::mt19937 rng(6);
  LineScan scan;
  std::vector<ColourRun> plain, general;
  for (int i = 0; i < 5000; ++i) {
    const std::string line = RandomCLine(rng, 10);
    ScanLine(c_, line, rng() % 4 == 0, scan);
    const int32_t first = 1 + static_cast<int32_t>(rng() % 20);
    const int32_t last = first + static_cast<int32_t>(rng() % 60);
    MakeRuns(scan, static_cast<int32_t>(line.size()), first, last, {}, plain);
    MakeRuns(scan, static_cast<int32_t>(line.size()), first, last, {last + 5, last + 9}, general);
    ASSERT_EQ(plain.size(), general.size()) << line;
    for (size_t r = 0; r < plain.size(); ++r) {
      ASSERT_EQ(plain[r].firstCell, general[r].firstCell) << line;
      ASSERT_EQ(plain[r].length, general[r].length) << line;
      ASSERT_EQ(plain[r].kind, general[r].kind) << line;
      ASSERT_EQ(plain[r].colour, general[r].colour) << line;
    }
  }
}

TEST_F(Colouring, ColouringLinesInOrderMatchesColouringEachLine) {
  std::mt19937 rng(8);
  LineStore store;
  std::vector<std::string> text;
  for (int i = 0; i < 6000; ++i) text.push_back(RandomCLine(rng, 8));
  ASSERT_EQ(store.insertLines(0, std::vector<std::string_view>(text.begin(), text.end())), StoreStatus::kOk);
  ASSERT_GE(store.blockCount(), 5);
  RecomputeBlockBits(store, c_);
  auto same = [&](LineColourer& colourer, int32_t line) {
    std::string cells;
    std::vector<ColourRun> runs;
    ASSERT_EQ(ColourStoreLine(store, c_, 4, line, 1, 200, {}, cells, runs), 0);
    colourer.colour(line, store.peekLine(line), 1, 200);
    ASSERT_EQ(colourer.cells(), cells) << "line " << line;
    ASSERT_EQ(colourer.runs().size(), runs.size()) << "line " << line;
    for (size_t r = 0; r < runs.size(); ++r) {
      ASSERT_EQ(colourer.runs()[r].firstCell, runs[r].firstCell) << "line " << line;
      ASSERT_EQ(colourer.runs()[r].length, runs[r].length) << "line " << line;
      ASSERT_EQ(colourer.runs()[r].colour, runs[r].colour) << "line " << line;
    }
  };
  LineColourer inOrder(store, c_, 4);
  store.forEachLine(1, store.lineCount(), [&](int32_t line, std::string_view) {
    same(inOrder, line);
    return !::testing::Test::HasFatalFailure();
  });
  // Jumping about, and coming back to walking in order from anywhere.
  LineColourer jumping(store, c_, 4);
  for (int i = 0; i < 300; ++i) {
    const int32_t line = 1 + static_cast<int32_t>(rng() % store.lineCount());
    for (int32_t l = line; l <= std::min(line + 3, store.lineCount()); ++l) same(jumping, l);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
  }
}

TEST_F(Colouring, ManyLinesWrittenAtOnceGiveTheBitsAndRepaintOfLineByLine) {
  std::mt19937 rng(9);
  for (int round = 0; round < 30; ++round) {
    LineStore bulk, single;
    std::vector<std::string> text;
    for (int i = 0; i < 300; ++i) text.push_back(RandomCLine(rng, 6));
    const std::vector<std::string_view> views(text.begin(), text.end());
    ASSERT_EQ(bulk.insertLines(0, views), StoreStatus::kOk);
    ASSERT_EQ(single.insertLines(0, views), StoreStatus::kOk);
    RecomputeBlockBits(bulk, c_);
    RecomputeBlockBits(single, c_);
    for (LineStore* s : {&bulk, &single}) {
      s->properties().set(150, 1);   // bookmarks, which the bits must leave alone
      s->properties().set(151, 1);
    }
    // Replace 120 lines from a random place, as an undo or a paste would.
    const int32_t first = 1 + static_cast<int32_t>(rng() % 150);
    for (int32_t line = first; line < first + 120; ++line) {
      const std::string fresh = RandomCLine(rng, 6);
      ASSERT_EQ(bulk.replaceLine(line, fresh), StoreStatus::kOk);
      ASSERT_EQ(single.replaceLine(line, fresh), StoreStatus::kOk);
    }
    const Repaint got = UpdateLinesBits(bulk, c_, first, 120);
    Repaint want;
    for (int32_t line = first; line < first + 120; ++line) {
      const Repaint r = UpdateLineBits(single, c_, line);
      if (r.needed && !want.needed) want = r;
    }
    ASSERT_EQ(got.needed, want.needed) << "round " << round;
    if (got.needed) {
      EXPECT_EQ(got.first, want.first);
      int32_t last = single.properties().next(first + 119, kContainsEnd);
      if (last == 0) last = single.lineCount();
      EXPECT_EQ(got.count, last - want.first + 1);
    }
    ASSERT_EQ(bulk.properties().size(), single.properties().size());
    for (size_t i = 0; i < bulk.properties().size(); ++i) {
      ASSERT_EQ(bulk.properties().pairs()[i].line, single.properties().pairs()[i].line);
      ASSERT_EQ(bulk.properties().pairs()[i].bits, single.properties().pairs()[i].bits);
    }
    EXPECT_EQ(bulk.properties().get(150, 1), 1u);
  }
}

TEST(KeywordTable, FindsEveryWordAndNothingElse) {
  // A few words get slots of their own; many random ones force the table to chain collisions.
  for (size_t count : {3u, 60u, 20000u}) {
    std::mt19937 rng(static_cast<unsigned>(count));
    WordTable table;
    std::vector<std::string> words;
    while (words.size() < count) {
      std::string w(1 + rng() % 14, 'a');
      for (char& c : w) c = static_cast<char>('a' + rng() % 4);
      if (table.add(w, {static_cast<int32_t>(words.size()), static_cast<int32_t>(words.size() % 7)})) {
        words.push_back(w);
      }
    }
    EXPECT_FALSE(table.add(words[0], {99, 99})) << "the first one stays";
    table.seal();
    for (size_t i = 0; i < words.size(); ++i) {
      const WordTable::Entry* e = table.find(words[i], PackHead(words[i]));
      ASSERT_NE(e, nullptr) << words[i];
      ASSERT_EQ(e->list, static_cast<int32_t>(i));
      ASSERT_EQ(table.colourOf(words[i], PackHead(words[i])), static_cast<int32_t>(i % 7));
      // Near misses: one more letter, one letter changed past the first eight, a letter outside the alphabet.
      for (std::string miss : {words[i] + "a", words[i] + "z", "z" + words[i]}) {
        if (std::find(words.begin(), words.end(), miss) != words.end()) continue;
        ASSERT_EQ(table.find(miss, PackHead(miss)), nullptr) << miss;
        ASSERT_EQ(table.colourOf(miss, PackHead(miss)), -1) << miss;
      }
      if (words[i].size() > 8) {
        std::string miss = words[i];
        miss.back() = 'z';
        ASSERT_EQ(table.find(miss, PackHead(miss)), nullptr) << miss;
      }
    }
  }
}

}  // namespace
}  // namespace osk::syntax
