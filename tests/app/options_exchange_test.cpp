#include "app/options_exchange.h"

#include <gtest/gtest.h>

#include <cstring>

namespace osk::app {
namespace {

// The record is packed: its fields are read by value, never bound to a reference.
int32_t value(int32_t field) { return field; }

ShellSettings sample() {
  ShellSettings s;
  s.horzScroll = false;
  s.vScrollBoost = 7;
  s.undos = 321;
  s.defaults = {0, 4, 2, 6, 60, 0, 1, 1};
  s.font = {"Lucida Console", -16, 700, true};
  s.advanced.allowEolSpace = true;
  s.advanced.autosaveDelay = 45;
  s.advanced.macroPath = "C:\\Macros";
  s.advanced.wordPattern = "[a-z]+";
  s.filters = {{"C files", "*.c;*.h"}, {"All", "*.*"}};
  s.wrapBookMarksMode = 1;
  return s;
}

TEST(OptionsRecord, FilledFromTheSettingsAndReadBackUnchanged) {
  OcsOptions record;
  std::memset(&record, 0x5A, sizeof record);
  const ActiveDocumentOptions doc{true, {1, 3, 0, 2, 50, 1, 0, 1}, 150};
  fillOptions(sample(), doc, record);
  EXPECT_EQ(value(record.stripBlanks), 0);   // blanks are kept
  EXPECT_EQ(value(record.horzScroll), 0);
  EXPECT_EQ(value(record.editorActive), 1);
  EXPECT_EQ(value(record.activeTabLen), 3);
  EXPECT_STREQ(record.fontName, "Lucida Console");
  EXPECT_EQ(std::memcmp(record.fileTypes, "C files\0*.c;*.h\0All\0*.*\0\0", 26), 0);
  EXPECT_EQ(value(record.unused[0]), 0x5A);   // left to the caller

  const OptionsAnswer answer = readOptions(record, ShellSettings{});
  const ShellSettings& s = answer.settings;
  EXPECT_FALSE(s.horzScroll);
  EXPECT_EQ(s.vScrollBoost, 7);
  EXPECT_EQ(s.undos, 321);
  EXPECT_EQ(s.defaults, sample().defaults);
  EXPECT_EQ(s.font.name, "Lucida Console");
  EXPECT_EQ(s.font.weight, 700);
  EXPECT_TRUE(s.font.italic);
  EXPECT_TRUE(s.advanced.allowEolSpace);
  EXPECT_EQ(s.advanced.autosaveDelay, 45);
  EXPECT_EQ(s.advanced.macroPath, "C:\\Macros");
  EXPECT_EQ(s.advanced.wordPattern, "[a-z]+");
  EXPECT_EQ(s.filters, sample().filters);
  EXPECT_EQ(s.wrapBookMarksMode, 1);
  EXPECT_EQ(answer.active, doc);
}

TEST(OptionsRecord, NoActiveEditorGivesNoDocumentBack) {
  OcsOptions record{};
  fillOptions(sample(), std::nullopt, record);
  EXPECT_EQ(value(record.editorActive), 0);
  EXPECT_FALSE(readOptions(record, {}).active);
}

TEST(OptionsRecord, ADamagedRecordCannotPutAValueOutOfRange) {
  OcsOptions record;
  std::memset(&record, 0x7F, sizeof record);   // no terminators anywhere, every number huge
  const OptionsAnswer answer = readOptions(record, ShellSettings{});
  const ShellSettings& s = answer.settings;
  EXPECT_EQ(s.undos, kMaxUndos);
  EXPECT_EQ(s.vScrollBoost, kMaxVScrollBoost);
  EXPECT_EQ(s.defaults.tabLength, 8);
  EXPECT_LE(s.defaults.rightMargin, kMaxCells);
  EXPECT_EQ(s.font.name.size(), kMaxFontName);
  EXPECT_LE(s.advanced.macroPath.size(), kMaxFileName);
  EXPECT_LE(filterBlock(s.filters).size(), kMaxFilterBlock);
  ASSERT_TRUE(answer.active);
  EXPECT_EQ(answer.active->settings.tabLength, 8);
  EXPECT_EQ(answer.active->undoCapacity, kMaxUndos);

  std::memset(record.fileTypes, 0, sizeof record.fileTypes);
  EXPECT_EQ(readOptions(record, {}).settings.filters, defaultFilters());
}

}  // namespace
}  // namespace osk::app
