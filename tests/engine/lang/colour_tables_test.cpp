// The colour tables through the exported functions: the standard table, the syntax colours with their name
// enumeration, changes in place, and the cell colours of a buffer line.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/lang/colour_api.h"
#include "engine/lang/colour_tables.h"
#include "engine/lang/colouring.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"
#include "engine/lang/syntax_file.h"
#include "engine/store/line_store.h"

namespace osk::syntax {
namespace {

const char kColours[] =
    "defcol c = \"Comment\", RGB(0, 128, 0);\n"
    "defcol s = \"String\", RGB(1, 2, 3), RGB(4, 5, 6);\n"
    "defcol h = \"\";\n"
    "defcol d1 = \"Same\", RGB(9, 9, 9);\n"
    "defcol d2 = \"Same\", RGB(8, 8, 8);\n"
    "defcol k = \"Keyword\";\n"
    "extmap c to \"c\";\n"
    "startdef c;\n mlb(c, \"/*\", \"*/\");\n eslb(s, '\"', '\"', '\\\\');\n keyword_chars(\"abcdefghijklmnopqrstuvwxyz\");\n"
    " keywords(k, \"if\");\nenddef;\n";

class ColourTables : public ::testing::Test {
 protected:
  void SetUp() override {
    CompileResult r = CompileSyntax(kColours);
    ASSERT_NE(r.data, nullptr) << r.message;
    SetCurrentSyntax(std::move(r.data));
    ResetStandardColours();
  }
  void TearDown() override {
    SetCurrentSyntax(nullptr);
    SetSyntaxBufferProvider(nullptr);
  }

  static std::vector<std::string> SyntaxNames() {
    std::vector<std::string> names;
    char name[33] = "";
    for (int guard = 0; guard < 100 && ECD_fbGetNextSyntaxColour(name, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                                 nullptr, nullptr);
         ++guard) {
      names.emplace_back(name);
    }
    return names;
  }
};

TEST_F(ColourTables, StandardTableEnumeratesAndChanges) {
  EXPECT_EQ(ECD_fuGetColourCount(), 3u);
  char name[14] = "";
  uint32_t defFore = 0, curFore = 0, defBack = 0, curBack = 0;
  int32_t useDefault = 0;
  std::vector<std::string> names;
  while (ECD_fbGetNextColour(name, &defFore, &curFore, &defBack, &curBack, &useDefault)) {
    names.emplace_back(name);
    EXPECT_EQ(useDefault, 1);
    EXPECT_EQ(defFore, curFore);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Normal Text", "Selected Text", "Bookmark"}));
  std::strcpy(name, "Selected Text");
  ASSERT_TRUE(ECD_fbGetNextColour(name, &defFore, &curFore, &defBack, &curBack, &useDefault));
  EXPECT_STREQ(name, "Bookmark");
  EXPECT_EQ(defBack, 0x02C8C8C8u);
  std::strcpy(name, "Nothing");
  EXPECT_EQ(ECD_fbGetNextColour(name, &defFore, &curFore, &defBack, &curBack, &useDefault), 0);

  EXPECT_EQ(ECD_fbChangeColour("Normal Text", 0x112233, 0x445566, 0), 1);
  uint32_t fore = 0, back = 0;
  StandardColours(kNormalText, fore, back);
  EXPECT_EQ(fore, 0x112233u);
  EXPECT_EQ(back, 0x445566u);
  EXPECT_EQ(ECD_fbChangeColour("Normal Text", 0x112233, 0x445566, 1), 1);
  StandardColours(kNormalText, fore, back);
  EXPECT_EQ(fore, 0x000000u) << "the default again, read from the system";
  EXPECT_EQ(ECD_fbChangeColour("Caret", 1, 2, 0), 0);
}

TEST_F(ColourTables, SyntaxEnumerationSkipsEmptyNamesAndAdvancesPastSharedNames) {
  EXPECT_EQ(ECD_fuGetSyntaxColourCount(), 6u);
  EXPECT_EQ(SyntaxNames(), (std::vector<std::string>{"Comment", "String", "Same", "Same", "Keyword"}));
  std::vector<std::string> names;
  char name[33] = "";
  for (int guard = 0; guard < 100 && EnumerateColours(name); ++guard) names.emplace_back(name);
  EXPECT_EQ(names.size(), 5u);
  std::strcpy(name, "Unknown");
  EXPECT_EQ(EnumerateColours(name), 0);
}

TEST_F(ColourTables, SyntaxColoursReportTheirPairsAndFlags) {
  char name[33] = "Comment";
  uint32_t defFore = 0, curFore = 0, defBack = 0, curBack = 0;
  int32_t b0 = 0, b1 = 0, b2 = 0;
  ASSERT_TRUE(ECD_fbGetNextSyntaxColour(name, &defFore, &curFore, &defBack, &curBack, &b0, &b1, &b2));
  EXPECT_STREQ(name, "String");
  EXPECT_EQ(defFore, 0x02030201u);
  EXPECT_EQ(defBack, 0x02060504u);
  EXPECT_EQ(b0, 1);
  EXPECT_EQ(b1, 0);
  EXPECT_EQ(b2, 0);
  EXPECT_EQ(GetColourFromComment("Keyword"), 5);
  EXPECT_EQ(GetColourFromComment("keyword"), 99);
  EXPECT_EQ(GetColourFromComment(""), 99);
  uint32_t fore = 0, back = 0;
  ASSERT_TRUE(SyntaxColours(0, fore, back));
  EXPECT_EQ(back, 0xFFFFFFFFu) << "no background: the normal one shows";
  ASSERT_TRUE(SyntaxColours(5, fore, back));
  EXPECT_EQ(fore, 0x000000u) << "a colour without RGB takes the normal text colour";
  EXPECT_FALSE(SyntaxColours(6, fore, back));
}

TEST_F(ColourTables, ChangingASyntaxColourKeepsTheDefaults) {
  ASSERT_EQ(ECD_fbChangeSyntaxColour("Comment", 0x00ABCDEF, 0x00123456, 0, 0, 1), 1);
  uint32_t fore = 0, back = 0;
  ASSERT_TRUE(SyntaxColours(0, fore, back));
  EXPECT_EQ(fore, 0x00ABCDEFu);
  EXPECT_EQ(back, 0x00123456u);
  ASSERT_EQ(ECD_fbChangeSyntaxColour("Comment", 0x00ABCDEF, 0x00123456, 1, 0, 1), 1);
  ASSERT_TRUE(SyntaxColours(0, fore, back));
  EXPECT_EQ(fore, 0x02008000u) << "the file's colour again";
  EXPECT_EQ(back, 0xFFFFFFFFu);
  char name[33] = "";
  uint32_t defFore = 0, curFore = 0, defBack = 0, curBack = 0;
  int32_t b0 = 0, b1 = 0, b2 = 0;
  ASSERT_TRUE(ECD_fbGetNextSyntaxColour(name, &defFore, &curFore, &defBack, &curBack, &b0, &b1, &b2));
  EXPECT_EQ(curFore, 0x00ABCDEFu) << "the changed colours are kept";
  EXPECT_EQ(defFore, 0x02008000u);
  EXPECT_EQ(ECD_fbChangeSyntaxColour("Missing", 1, 2, 0, 0, 0), 0);
  EXPECT_EQ(ECD_fbChangeSyntaxColour("", 1, 2, 0, 0, 0), 0) << "an empty name bears no colour";
}

TEST_F(ColourTables, WithoutSyntaxDataNothingIsFound) {
  SetCurrentSyntax(nullptr);
  EXPECT_EQ(ECD_fuGetSyntaxColourCount(), 0u);
  char name[33] = "";
  EXPECT_EQ(ECD_fbGetNextSyntaxColour(name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(EnumerateColours(name), 0);
  EXPECT_EQ(GetColourFromComment("Comment"), 99);
  EXPECT_EQ(ECD_fbChangeSyntaxColour("Comment", 1, 2, 0, 0, 0), 0);
}

LineStore* gStore = nullptr;
uint32_t gDefinition = 0;

TEST_F(ColourTables, CellLineColoursOfABufferLine) {
  LineStore store;
  ASSERT_EQ(store.insertLines(0, {"if x /* c", "\"s\" */ if"}), StoreStatus::kOk);
  gStore = &store;
  gDefinition = CurrentSyntax()->DefinitionFor("a.c");
  RecomputeBlockBits(store, CurrentSyntax()->Definition(gDefinition));
  SetSyntaxBufferProvider([](HEDBUFFER buffer, SyntaxBufferView& view) {
    if (buffer != reinterpret_cast<HEDBUFFER>(gStore)) return false;
    view.store = gStore;
    view.tabLength = 8;
    view.definition = gDefinition;
    return true;
  });
  const HEDBUFFER handle = reinterpret_cast<HEDBUFFER>(&store);
  std::vector<uint8_t> cells(1024, 0);
  ASSERT_EQ(GetCellLineColours(handle, 1, cells.data()), 0);
  EXPECT_EQ(std::vector<uint8_t>(cells.begin(), cells.begin() + 6), (std::vector<uint8_t>{5, 5, 98, 98, 98, 0}));
  EXPECT_EQ(cells[1023], 0) << "the open comment runs on to the last cell";
  ASSERT_EQ(GetCellLineColours(handle, 2, cells.data()), 0);
  EXPECT_EQ(std::vector<uint8_t>(cells.begin(), cells.begin() + 10),
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 98, 5, 5, 98}));
  EXPECT_EQ(GetCellLineColours(handle, 3, cells.data()), -16);
  EXPECT_EQ(GetCellLineColours(reinterpret_cast<HEDBUFFER>(&cells), 1, cells.data()), -20);
  EXPECT_EQ(cells[0], 96);
  EXPECT_EQ(GetCellLineColours(handle, 1, nullptr), -3);
}

}  // namespace
}  // namespace osk::syntax
