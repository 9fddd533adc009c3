// Print options and classes as the settings file keeps them, and how a class resolves for drawing.
#include <gtest/gtest.h>

#include "services/memory_settings.h"
#include "services/print/print_options.h"

namespace osk::print {
namespace {

using osk::test::MemorySettings;

const ScreenColours kNormal{"Normal Text", 0x000000, 0xFFFFFF};
const std::vector<ScreenColours> kSyntax{{"Comment", 0x008000, kNoColour}, {"Keyword", 0xFF0000, 0x00FFFF}};

TEST(PrintOptionsTest, MissingKeysGiveTheDefaultsAndWrittenOptionsReadBack) {
  MemorySettings s;
  const LayoutOptions d = loadPrintOptions(s);
  EXPECT_EQ(d.wrap, WrapOption::kTruncate);
  EXPECT_EQ(d.numColumns, 1);
  EXPECT_EQ(d.start, 1);
  EXPECT_EQ(d.step, 1);
  EXPECT_FALSE(d.lineNumbers);
  EXPECT_TRUE(d.header.empty());

  LayoutOptions o;
  o.wrap = WrapOption::kParagraph;
  o.numColumns = 2;
  o.pageLeftMargin = 12;
  o.lineNumbers = true;
  o.start = 10;
  o.step = 5;
  o.header = " &LJustify&File&RJustify&Page ";
  o.footer = "\"quoted\"";
  ASSERT_TRUE(savePrintOptions(s, o));
  EXPECT_EQ(s.sections["Print Options"]["NumColumns"], "2");
  const LayoutOptions r = loadPrintOptions(s);
  EXPECT_EQ(r.wrap, WrapOption::kParagraph);
  EXPECT_EQ(r.numColumns, 2);
  EXPECT_EQ(r.pageLeftMargin, 12);
  EXPECT_EQ(r.start, 10);
  EXPECT_EQ(r.step, 5);
  EXPECT_EQ(r.header, o.header);
  EXPECT_EQ(r.footer, o.footer);
}

TEST(PrintOptionsTest, StoredValuesOutOfRangeAreBroughtIntoRange) {
  MemorySettings s;
  s.sections["Print Options"] = {{"WrapOption", "7"}, {"NumColumns", "3"}, {"Step", "0"},
                                 {"PageTopMargin", "-4"}, {"LeftMargin", "-1"}};
  const LayoutOptions o = loadPrintOptions(s);
  EXPECT_EQ(o.wrap, WrapOption::kTruncate);
  EXPECT_EQ(o.numColumns, 1);
  EXPECT_EQ(o.step, 1);
  EXPECT_EQ(o.pageTopMargin, 0);
  EXPECT_EQ(o.leftMargin, 0);
}

TEST(PrintClassesTest, TheListHoldsNormalTextTheFixedClassesThenTheSyntaxColours) {
  MemorySettings s;
  const auto classes = loadPrintClasses(s, kNormal, kSyntax);
  ASSERT_EQ(classes.size(), 6u);
  EXPECT_EQ(classes[0].name, "Normal Text");
  EXPECT_EQ(classes[1].name, "Header");
  EXPECT_EQ(classes[2].name, "Footer");
  EXPECT_EQ(classes[kLineNumberClass].name, "Line Numbers");
  EXPECT_EQ(classes[4].name, "Comment");
  EXPECT_EQ(classes[5].name, "Keyword");
  EXPECT_FALSE(classes[0].ownUsesNormalBack);
  EXPECT_TRUE(classes[1].ownUsesNormalBack);
  EXPECT_EQ(classes[0].height, -11);
}

TEST(PrintClassesTest, FixedClassesStartAsACopyOfTheClassBefore) {
  MemorySettings s;
  s.sections["PrtFonts"]["Normal Text Face"] = "Courier New";
  s.sections["PrtFonts2"]["Normal Text"] = "1";
  s.sections["PrtFonts5"]["Header"] = "-20";
  const auto classes = loadPrintClasses(s, kNormal, kSyntax);
  EXPECT_EQ(classes[1].face, "Courier New");
  EXPECT_TRUE(classes[1].bold);
  EXPECT_EQ(classes[1].height, -20);
  EXPECT_EQ(classes[2].height, -20);   // the footer copies the header
  EXPECT_EQ(classes[4].face, "");      // syntax classes start from the plain defaults
  EXPECT_FALSE(classes[4].bold);
}

TEST(PrintClassesTest, SavedClassesReadBackUnderTheirNames) {
  MemorySettings s;
  auto classes = loadPrintClasses(s, kNormal, kSyntax);
  classes[4].useScreenColours = false;
  classes[4].textColour = 0x0000FF;
  classes[4].face = "Lucida Console";
  classes[4].faceAsNormal = false;
  ASSERT_TRUE(savePrintClasses(s, classes));
  EXPECT_EQ(s.sections["PrtColours1"]["Comment"], "255");
  EXPECT_EQ(s.sections["PrtColours4"]["Normal Text"], "0");
  const auto again = loadPrintClasses(s, kNormal, kSyntax);
  EXPECT_FALSE(again[4].useScreenColours);
  EXPECT_EQ(again[4].textColour, 0x0000FFu);
  EXPECT_EQ(again[4].face, "Lucida Console");
}

TEST(PrintClassesTest, AFaceNameTooLongForAFontBecomesArial) {
  MemorySettings s;
  s.sections["PrtFonts"]["Comment Face"] = std::string(40, 'F');
  s.sections["PrtFonts1"]["Comment"] = "0";
  const auto classes = loadPrintClasses(s, kNormal, kSyntax);
  EXPECT_EQ(classes[4].face, "Arial");
  EXPECT_EQ(resolveClass(classes, 4).font.face, "Arial");
  EXPECT_EQ(resolveClass(classes, 0).font.face, "Arial");   // an empty face too
  EXPECT_EQ(usableFace(std::string(32, 'x')), std::string(32, 'x'));
}

TEST(ResolveClassTest, ColoursFollowTheScreenOrTheClassesOwn) {
  MemorySettings s;
  auto classes = loadPrintClasses(s, kNormal, kSyntax);
  // Screen colours by default; a syntax colour without a background keeps the normal one.
  EXPECT_EQ(resolveClass(classes, 4).text, 0x008000u);
  EXPECT_EQ(resolveClass(classes, 4).back, 0xFFFFFFu);
  // Its screen background shows only when it does not use the normal text background.
  EXPECT_EQ(resolveClass(classes, 5).back, 0xFFFFFFu);
  classes[5].screenUsesNormalBack = false;
  EXPECT_EQ(resolveClass(classes, 5).back, 0x00FFFFu);
  // Own colours.
  classes[4].useScreenColours = false;
  classes[4].textColour = 0x123456;
  classes[4].backColour = 0x654321;
  EXPECT_EQ(resolveClass(classes, 4).text, 0x123456u);
  EXPECT_EQ(resolveClass(classes, 4).back, 0xFFFFFFu);
  classes[4].ownUsesNormalBack = false;
  EXPECT_EQ(resolveClass(classes, 4).back, 0x654321u);
  // The normal background comes from the first class, own or screen.
  classes[0].useScreenColours = false;
  classes[0].backColour = 0xEEEEEE;
  EXPECT_EQ(resolveClass(classes, 5).text, 0xFF0000u);
  EXPECT_EQ(resolveClass(classes, 1).back, 0xEEEEEEu);
  // An index the list does not have draws as normal text.
  EXPECT_EQ(resolveClass(classes, 99).back, 0xEEEEEEu);
}

TEST(ResolveClassTest, FontsTakeFaceStyleAndSizeFromNormalTextUnlessTheirOwn) {
  MemorySettings s;
  auto classes = loadPrintClasses(s, kNormal, kSyntax);
  classes[0].face = "Courier New";
  classes[0].italic = true;
  classes[0].height = -9;
  classes[4].face = "Times";
  classes[4].bold = true;
  classes[4].height = -14;
  ResolvedClass r = resolveClass(classes, 4);
  EXPECT_EQ(r.font, (FontSpec{"Courier New", -9, 400, true}));
  classes[4].faceAsNormal = false;
  classes[4].styleAsNormal = false;
  classes[4].sizeAsNormal = false;
  r = resolveClass(classes, 4);
  EXPECT_EQ(r.font, (FontSpec{"Times", -14, 700, false}));
}

}  // namespace
}  // namespace osk::print
