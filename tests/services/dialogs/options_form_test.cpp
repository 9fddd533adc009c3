// The Options dialog's store: what reaches the record, what is refused with which field, and that a refusal or an
// untouched form leaves the record exactly as the program filled it.
#include <gtest/gtest.h>

#include <cstring>

#include "services/dialogs/options_form.h"

namespace osk {
namespace {

OcsOptions programDefaults() {
  OcsOptions r;
  std::memset(&r, 0x5A, sizeof r);   // the bytes the program leaves unset must survive
  r.horzScroll = r.vertScroll = r.applySyntaxHighlight = 1;
  r.autoScrollOnNewline = 0;
  r.autoIndentOnNewline = 1;
  r.autoTabToLastline = 0;
  r.useDCScrolling = 1;
  r.caretAfterPaste = 1;
  r.vScrollBoost = 3;
  r.newFilesForUnix = r.newFilesMustBeNamed = r.removeCtrlZOnLoad = r.addCtrlZOnSave = r.finaliseOnSave = 0;
  r.stripBlanks = 1;
  r.overwriteWarning = r.openReadOnlyAsReadOnly = 1;
  r.autosaveModifiedFiles = 0;
  r.autosaveDelay = 300;
  r.autosaveOnDeactivation = r.autoloadOnActivation = 0;
  const char types[] = "Text files(*.txt)\0*.txt\0All files(*.*)\0*.*\0";
  std::memcpy(r.fileTypes, types, sizeof types);
  r.showStatBar = 1;
  r.tabsAsSpaces = 1;
  r.wordWrap = r.syncPanes = 0;
  r.tabLen = 8;
  r.rMarg = 70;
  r.autoMarg = 1;
  r.lMarg = 4;
  r.indent = 0;
  r.undos = 200;
  r.editorActive = 0;
  r.palette = nullptr;
  r.paletteColours = nullptr;
  r.fontHeight = -13;
  r.fontWeight = 400;
  r.fontItalic = 0;
  std::memset(r.fontName, 0, sizeof r.fontName);
  std::strcpy(r.fontName, "Courier");
  r.extraCharSpacing = r.extraLineSpacing = r.showLineNumbers = 0;
  r.wrapBookMarksMode = 2;
  std::memset(r.macroPath, 0, sizeof r.macroPath);
  std::strcpy(r.macroPath, "C:\\WINDOWS");
  std::memset(r.wordPattern, 0, sizeof r.wordPattern);
  std::strcpy(r.wordPattern, "[A-Za-z0-9_]+");
  r.useLongFileNames = r.useExplorerType = 1;
  return r;
}

bool anyPattern(const std::string&) { return true; }

bool sameBytes(const OcsOptions& a, const OcsOptions& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(OptionsStore, UntouchedFormGivesBackTheSameRecord) {
  OcsOptions r = programDefaults();
  r.applySyntaxHighlight = 5;   // any non-zero value the program used stays as it was
  const OcsOptions before = r;
  ASSERT_FALSE(storeOptionsValues(loadOptionsValues(r), r, anyPattern));
  EXPECT_TRUE(sameBytes(r, before));
}

TEST(OptionsStore, ValuesTheUserDidNotTouchAreNotJudged) {
  OcsOptions r = programDefaults();
  r.tabLen = 40;       // outside the dialog's range, as a hand-edited settings file may give it
  r.rMarg = 5;         // margins the program would replace
  r.autosaveDelay = 0;
  const OcsOptions before = r;
  OptionsValues v = loadOptionsValues(r);
  ASSERT_FALSE(storeOptionsValues(v, r, [](const std::string&) { return false; }));
  EXPECT_TRUE(sameBytes(r, before));
  v.text[kOptLMarg] = "3";   // touching a margin has the margins judged together
  EXPECT_TRUE(storeOptionsValues(v, r, anyPattern));
}

TEST(OptionsStore, EveryFieldHasAControlAndShowsItsValue) {
  const OcsOptions r = programDefaults();
  const OptionsValues v = loadOptionsValues(r);
  EXPECT_EQ(v.text.size(), optionsFields().size());
  EXPECT_EQ(v.text.at(kOptTabLen), "8");
  EXPECT_EQ(v.text.at(kOptAutosaveDelay), "300");
  EXPECT_EQ(v.text.at(kOptFontName), "Courier");
  EXPECT_EQ(v.text.at(kOptFontHeight), "-13");
  EXPECT_EQ(v.text.at(kOptStripBlanks), "1");
  EXPECT_EQ(v.text.at(kOptWordPattern), "[A-Za-z0-9_]+");
  ASSERT_EQ(v.fileTypes.size(), 2u);
  EXPECT_EQ(v.fileTypes[1].pattern, "*.*");
}

TEST(OptionsStore, ChangedValuesReachTheirFields) {
  OcsOptions r = programDefaults();
  OptionsValues v = loadOptionsValues(r);
  v.text[kOptTabLen] = " 4 ";
  v.text[kOptAutosave] = "1";
  v.text[kOptAutosaveDelay] = "60";
  v.text[kOptMacroPath] = "D:\\Macros";
  v.text[kOptFontItalic] = "1";
  v.text[kOptStripBlanks] = "0";
  ASSERT_FALSE(storeOptionsValues(v, r, anyPattern));
  EXPECT_EQ(+r.tabLen, 4);
  EXPECT_EQ(+r.autosaveModifiedFiles, 1);
  EXPECT_EQ(+r.autosaveDelay, 60);
  EXPECT_STREQ(r.macroPath, "D:\\Macros");
  EXPECT_EQ(+r.fontItalic, 1);
  EXPECT_EQ(+r.stripBlanks, 0);
  EXPECT_EQ(+r.unused[0], 0x5A);
}

TEST(OptionsStore, RefusalNamesTheFieldAndChangesNothing) {
  struct Case {
    int control;
    std::string text;
  } cases[] = {{kOptTabLen, "40"}, {kOptTabLen, "0"}, {kOptTabLen, "8x"}, {kOptTabLen, ""},
               {kOptUndos, "5000"}, {kOptVScrollBoost, "-1"}, {kOptAutosaveDelay, "99999999999"},
               {kOptRMarg, "2000"}, {kOptMacroPath, std::string(261, 'a')}, {kOptFontName, std::string(33, 'f')}};
  for (const Case& c : cases) {
    OcsOptions r = programDefaults();
    const OcsOptions before = r;
    OptionsValues v = loadOptionsValues(r);
    v.text[kOptIndent] = "2";   // a good change beside the bad one is not stored either
    v.text[c.control] = c.text;
    const auto problem = storeOptionsValues(v, r, anyPattern);
    ASSERT_TRUE(problem) << c.control << " " << c.text;
    EXPECT_EQ(problem->controlId, c.control);
    EXPECT_FALSE(problem->message.empty());
    EXPECT_TRUE(sameBytes(r, before));
  }
}

TEST(OptionsStore, MarginsThatTheProgramWouldReplaceAreRefused) {
  EXPECT_EQ(marginProblem(0, 4, 70, true), "");
  EXPECT_NE(marginProblem(0, 4, 7, true), "");      // right margin below 8
  EXPECT_NE(marginProblem(0, 80, 70, true), "");    // left beyond right
  EXPECT_NE(marginProblem(10, 65, 70, true), "");   // left + indent beyond right
  EXPECT_NE(marginProblem(0, 0, 70, true), "");     // left + indent below 1
  EXPECT_EQ(marginProblem(4, 0, 12, false), "");
  EXPECT_NE(marginProblem(10, 0, 12, false), "");   // right margin closer than 8 to the indent

  OcsOptions r = programDefaults();
  OptionsValues v = loadOptionsValues(r);
  v.text[kOptLMarg] = "80";
  const auto problem = storeOptionsValues(v, r, anyPattern);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->page, OptionsPage::kEditing);
  EXPECT_EQ(+r.lMarg, 4);
}

TEST(OptionsStore, ActiveDocumentFieldsCountOnlyWithAnActiveEditor) {
  OcsOptions r = programDefaults();
  OptionsValues v = loadOptionsValues(r);
  v.text[kOptActiveTabLen] = "nonsense";
  EXPECT_FALSE(storeOptionsValues(v, r, anyPattern));

  r.editorActive = 1;
  r.activeTabLen = 8;
  r.activeRMarg = 70;
  r.activeLMarg = 4;
  r.activeAutoMarg = 1;
  r.activeIndent = 0;
  r.activeUndoCapacity = 200;
  v = loadOptionsValues(r);
  v.text[kOptActiveTabLen] = "nonsense";
  auto problem = storeOptionsValues(v, r, anyPattern);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->page, OptionsPage::kCurrentFile);

  v.text[kOptActiveTabLen] = "3";
  v.text[kOptActiveUndo] = "1000";
  ASSERT_FALSE(storeOptionsValues(v, r, anyPattern));
  EXPECT_EQ(+r.activeTabLen, 3);
  EXPECT_EQ(+r.activeUndoCapacity, 1000);
  EXPECT_EQ(+r.tabLen, 8);
}

TEST(OptionsStore, WordPatternMustCompile) {
  OcsOptions r = programDefaults();
  OptionsValues v = loadOptionsValues(r);
  v.text[kOptWordPattern] = "[a-z";
  std::string asked;
  const auto problem = storeOptionsValues(v, r, [&](const std::string& p) {
    asked = p;
    return false;
  });
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->controlId, kOptWordPattern);
  EXPECT_EQ(asked, "[a-z");
  EXPECT_STREQ(r.wordPattern, "[A-Za-z0-9_]+");
}

TEST(OptionsStore, BoldBoxChangesTheWeightOnlyWhenTicked) {
  OcsOptions r = programDefaults();
  r.fontWeight = 600;
  OptionsValues v = loadOptionsValues(r);
  EXPECT_EQ(v.text[kOptFontBold], "1");
  ASSERT_FALSE(storeOptionsValues(v, r, anyPattern));
  EXPECT_EQ(+r.fontWeight, 600);
  v.text[kOptFontBold] = "0";
  ASSERT_FALSE(storeOptionsValues(v, r, anyPattern));
  EXPECT_EQ(+r.fontWeight, 400);
  v.text[kOptFontBold] = "1";
  ASSERT_FALSE(storeOptionsValues(v, r, anyPattern));
  EXPECT_EQ(+r.fontWeight, 700);
}

TEST(OptionsStore, FileTypesAreWrittenInTheFilterForm) {
  OcsOptions r = programDefaults();
  OptionsValues v = loadOptionsValues(r);
  v.fileTypes.push_back({"C sources", "*.c;*.h"});
  ASSERT_FALSE(storeOptionsValues(v, r, anyPattern));
  EXPECT_EQ(std::memcmp(r.fileTypes, "Text files(*.txt)\0*.txt\0All files(*.*)\0*.*\0C sources\0*.c;*.h\0\0", 62), 0);

  v.fileTypes.push_back({"Bad", "*.x|*.y"});
  auto problem = storeOptionsValues(v, r, anyPattern);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->page, OptionsPage::kFileTypes);

  v.fileTypes.assign(60, FileType{std::string(10, 'd'), std::string(8, 'p')});   // 60 * 20 bytes
  problem = storeOptionsValues(v, r, anyPattern);
  ASSERT_TRUE(problem);
  EXPECT_EQ(+r.fileTypes[0], 'T');
}

TEST(FileTypeList, ReadsWhatFitsAndStopsAtTheBufferEnd) {
  const char form[] = "A\0*.a\0B\0*.b\0\0";
  auto types = parseFileTypes(std::span(form, sizeof form));
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[1], (FileType{"B", "*.b"}));
  EXPECT_EQ(formatFileTypes(types).value(), std::string(form, 13));

  const char unterminated[] = {'A', 0, '*', '.', 'a', 0, 'B', 0, '*', '.'};
  types = parseFileTypes(unterminated);
  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types[1].pattern, "*.");
  const char lonely[] = "A\0*.a\0Only a description";
  EXPECT_EQ(parseFileTypes(std::span(lonely, sizeof lonely)).size(), 1u);

  EXPECT_EQ(formatFileTypes({}).value(), std::string("\0\0", 2));
  EXPECT_TRUE(parseFileTypes(std::string("\0\0", 2)).empty());
  EXPECT_FALSE(formatFileTypes(std::vector<FileType>{{std::string(1021, 'x'), "*"}}));
}

}  // namespace
}  // namespace osk
