#include "app/shell_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "services/memory_settings.h"

namespace osk::app {
namespace {

// A settings file that also remembers the order in which keys were read and written.
class RecordingSettings : public test::MemorySettings {
 public:
  std::vector<std::string> reads, writes;
  std::string readString(std::string_view section, std::string_view key, std::string_view fallback,
                         size_t maxChars) override {
    reads.push_back(std::string(section) + "." + std::string(key));
    return MemorySettings::readString(section, key, fallback, maxChars);
  }
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) override {
    const int32_t v = MemorySettings::readInt(section, key, fallback);
    reads.back() = std::string(section) + "." + std::string(key);   // readInt reads through readString
    return v;
  }
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override {
    writes.push_back(std::string(section) + "." + std::string(key));
    return MemorySettings::writeString(section, key, value);
  }
};

SettingsEnvironment screen() { return {.screenWidth = 1024, .screenHeight = 768, .windowsDirectory = "C:\\WINDOWS"}; }

ShellSettings readFrom(test::MemorySettings& file) { return readShellSettings(file, screen()); }

std::ptrdiff_t indexOf(const std::vector<std::string>& v, const std::string& s) {
  auto it = std::find(v.begin(), v.end(), s);
  return it == v.end() ? -1 : it - v.begin();
}

TEST(ShellSettingsRead, AnEmptyFileGivesEveryDefault) {
  test::MemorySettings file;
  const ShellSettings s = readFrom(file);
  EXPECT_EQ(s.frame, FramePlacement{});
  EXPECT_TRUE(s.maximised);
  EXPECT_EQ(s.font.name, "Courier");
  EXPECT_EQ(s.font.height, -13);
  EXPECT_EQ(s.font.weight, 400);
  EXPECT_EQ(s.undos, 200);
  EXPECT_EQ(s.vScrollBoost, 3);
  EXPECT_EQ(s.wrapBookMarksMode, 2);
  EXPECT_EQ(s.defaults, PerFileSettings{});
  EXPECT_EQ(s.repeatPlay, RepeatPlayFlags{});
  EXPECT_EQ(s.advanced.macroPath, "C:\\WINDOWS");
  EXPECT_EQ(s.advanced.autosaveDelay, 300);
  EXPECT_TRUE(s.advanced.wordPattern.empty());
  EXPECT_EQ(s.filters, defaultFilters());
  EXPECT_TRUE(s.history.empty());
  EXPECT_TRUE(s.search.matchCase);
  EXPECT_TRUE(s.search.forward);
  EXPECT_EQ(s.search.scope, 0);
}

TEST(ShellSettingsRead, NumbersAreClampedAtBothEnds) {
  test::MemorySettings file;
  auto set = [&](const char* section, const char* key, const char* value) { file.sections[section][key] = value; };
  set("Flags", "Undos", "5000");
  set("Flags", "VScrollBoost", "99");
  set("Flags", "BufferState", "7");
  set("Flags", "WrapBookMarksMode", "-4");
  set("Flags", "FontHeight", "-2000000000");
  set("Advanced", "ExtraCharSpacing", "-5");
  set("Advanced", "ExtraLineSpacing", "100000");
  set("Advanced", "AutosaveDelay", "-1");
  set("State", "Scope", "9");
  ShellSettings s = readFrom(file);
  EXPECT_EQ(s.undos, 2000);
  EXPECT_EQ(s.vScrollBoost, 10);
  EXPECT_EQ(s.bufferState, 1);
  EXPECT_EQ(s.wrapBookMarksMode, 0);
  EXPECT_EQ(s.font.height, -kMaxFontHeight);
  EXPECT_EQ(s.advanced.extraCharSpacing, 0);
  EXPECT_EQ(s.advanced.extraLineSpacing, kMaxExtraSpacing);
  EXPECT_EQ(s.advanced.autosaveDelay, 1);
  EXPECT_EQ(s.search.scope, 2);

  set("Flags", "Undos", "-3");
  set("Flags", "VScrollBoost", "-1");
  set("Flags", "BufferState", "-1");
  set("Advanced", "AutosaveDelay", "999999999");
  set("State", "Scope", "-1");
  s = readFrom(file);
  EXPECT_EQ(s.undos, 0);
  EXPECT_EQ(s.vScrollBoost, 0);
  EXPECT_EQ(s.bufferState, 0);
  EXPECT_EQ(s.advanced.autosaveDelay, kMaxAutosaveDelay);
  EXPECT_EQ(s.search.scope, 0);
}

TEST(ShellSettingsRead, PerFileDefaultsAreValidatedAsMargins) {
  test::MemorySettings file;
  file.sections["Flags"]["TabLen"] = "40";
  file.sections["Flags"]["RMarg"] = "2000";
  file.sections["Flags"]["AutoMarg"] = "1";
  ShellSettings s = readFrom(file);
  EXPECT_EQ(s.defaults.tabLength, 8);
  EXPECT_EQ(s.defaults.rightMargin, 70);

  file.sections["Flags"]["TabLen"] = "0";
  file.sections["Flags"]["LMarg"] = "-30";
  file.sections["Flags"]["Indent"] = "-99999";
  s = readFrom(file);
  EXPECT_EQ(s.defaults.tabLength, 8);
  EXPECT_EQ(s.defaults.leftMargin, 4);
  EXPECT_EQ(s.defaults.indent, 0);
}

TEST(ShellSettingsRead, FramePositionOffTheScreenFallsBackAsAWhole) {
  test::MemorySettings file;
  auto place = [&](const char* l, const char* t, const char* w, const char* h) {
    file.sections["Flags"] = {{"WinLeft", l}, {"WinTop", t}, {"WinWidth", w}, {"WinHeight", h}};
    return readFrom(file).frame;
  };
  EXPECT_EQ(place("10", "20", "600", "400"), (FramePlacement{10, 20, 600, 400}));
  EXPECT_EQ(place("-1", "20", "600", "400"), FramePlacement{});
  EXPECT_EQ(place("10", "-5", "600", "400"), FramePlacement{});
  EXPECT_EQ(place("1024", "20", "600", "400"), FramePlacement{});
  EXPECT_EQ(place("10", "768", "600", "400"), FramePlacement{});
  EXPECT_EQ(place("10", "20", "0", "400"), FramePlacement{});
  EXPECT_EQ(place("10", "20", "600", "-400"), FramePlacement{});
  EXPECT_EQ(place("10", "20", "99999", "400"), FramePlacement{});
  file.sections["Flags"] = {{"WinLeft", "10"}, {"WinTop", "20"}};
  EXPECT_EQ(readFrom(file).frame, FramePlacement{});
}

TEST(ShellSettingsRead, WordPatternOnlyBetweenHashes) {
  test::MemorySettings file;
  file.sections["Advanced"]["WordRE"] = "[a-z]+";
  EXPECT_TRUE(readFrom(file).advanced.wordPattern.empty());
  file.sections["Advanced"]["WordRE"] = "#[a-z]+#";
  EXPECT_EQ(readFrom(file).advanced.wordPattern, "[a-z]+");
  file.sections["Advanced"]["WordRE"] = "x#[#a-z]+#y";   // first to last "#"
  EXPECT_EQ(readFrom(file).advanced.wordPattern, "[#a-z]+");
  file.sections["Advanced"]["WordRE"] = "#[a-z]+";
  EXPECT_TRUE(readFrom(file).advanced.wordPattern.empty());
  file.sections["Advanced"]["WordRE"] = "##";
  EXPECT_TRUE(readFrom(file).advanced.wordPattern.empty());

  file.sections["Advanced"]["WordRE"] = "#[a-z+#";
  SettingsEnvironment env = screen();
  env.patternCompiles = [](std::string_view p) { return p.find('[') == std::string_view::npos || p.find(']') != std::string_view::npos; };
  EXPECT_TRUE(readShellSettings(file, env).advanced.wordPattern.empty());
}

TEST(ShellSettingsRead, RepeatPlayFlagsOnlyWhenPresentAndMissingNumbersKeepDefaults) {
  EXPECT_EQ(parseRepeatPlayFlags("1 0 0 0 1 25 1"), (RepeatPlayFlags{true, false, false, false, true, 25, true}));
  RepeatPlayFlags partial;
  partial.stopAfter = true;
  EXPECT_EQ(parseRepeatPlayFlags("1"), partial);
  EXPECT_EQ(parseRepeatPlayFlags("0 1 1 1 0 -7 0").plays, 1);
  EXPECT_EQ(parseRepeatPlayFlags("0 1 x 0 1"), (RepeatPlayFlags{false, true, true, true, false, 1, false}));
  EXPECT_EQ(formatRepeatPlayFlags({}), "0 1 1 1 0 1 0");
}

TEST(ShellSettingsRead, FontNameEmptyMeansNoFontAndNoFontKeysWritten) {
  test::MemorySettings file;
  file.sections["Flags"]["FontName"] = "";
  file.sections["Flags"]["FontHeight"] = "-20";
  ShellSettings s = readFrom(file);
  EXPECT_TRUE(s.font.name.empty());
  test::MemorySettings out;
  writeShellSettings(out, s, {});
  EXPECT_EQ(out.sections["Flags"].count("FontName"), 0u);
  EXPECT_EQ(out.sections["Flags"].count("FontHeight"), 0u);
  EXPECT_EQ(out.sections["Flags"].count("FontBold"), 0u);
}

TEST(ShellSettingsWrite, FontBoldWrittenForAnyWeightAboveNormal) {
  ShellSettings s;
  s.font.name = "Lucida Console";
  s.font.weight = 600;
  test::MemorySettings out;
  writeShellSettings(out, s, {});
  EXPECT_EQ(out.sections["Flags"]["FontBold"], "1");
  EXPECT_EQ(out.sections["Flags"]["FontName"], "Lucida Console");
  s.font.weight = 400;
  writeShellSettings(out, s, {});
  EXPECT_EQ(out.sections["Flags"]["FontBold"], "0");
}

TEST(ShellSettingsWrite, WhatIsWrittenReadsBackTheSame) {
  ShellSettings s;
  s.inWinDir = 1;
  s.configFile = " my.cfg";   // a leading blank survives the profile reader
  s.frame = {5, 6, 700, 500};
  s.maximised = false;
  s.font = {"Lucida Console", -16, 700, true};
  s.undos = 1234;
  s.defaults = {0, 4, -2, 6, 60, 0, 1, 1};
  s.repeatPlay.plays = 9;
  s.advanced.wordPattern = "[A-Za-z]+";
  s.advanced.autosaveDelay = 60;
  s.advanced.allowEolSpace = true;
  s.filters = {{"C files", "*.c;*.h"}};
  s.search.scope = 2;
  s.search.matchCase = false;
  s.history.push({"C:\\a b.txt", 1, 0, {0, 4, 0, 4, 70, 1, 0, 0}});
  test::MemorySettings file;
  writeShellSettings(file, s, {});
  const ShellSettings back = readFrom(file);
  EXPECT_EQ(back.inWinDir, 1);
  EXPECT_EQ(back.configFile, " my.cfg");
  EXPECT_EQ(back.frame, s.frame);
  EXPECT_FALSE(back.maximised);
  EXPECT_EQ(back.font.name, "Lucida Console");
  EXPECT_EQ(back.font.weight, 700);
  EXPECT_TRUE(back.font.italic);
  EXPECT_EQ(back.undos, 1234);
  EXPECT_EQ(back.defaults, s.defaults);
  EXPECT_EQ(back.repeatPlay, s.repeatPlay);
  EXPECT_EQ(back.advanced.wordPattern, "[A-Za-z]+");
  EXPECT_EQ(file.sections["Advanced"]["WordRE"], "#[A-Za-z]+#");
  EXPECT_EQ(back.advanced.autosaveDelay, 60);
  EXPECT_TRUE(back.advanced.allowEolSpace);
  EXPECT_EQ(back.filters, s.filters);
  EXPECT_EQ(back.search.scope, 2);
  EXPECT_FALSE(back.search.matchCase);
  EXPECT_EQ(back.history.records(), s.history.records());
}

TEST(ShellSettingsOrder, KeysAreReadAndWrittenInTheirOrder) {
  RecordingSettings file;
  const ShellSettings s = readShellSettings(file, screen());
  const std::vector<std::string> readOrder = {
      "Config.InWinDir",        "Config.ConfigFile",   "Flags.WinLeft",         "Flags.FontItalic",
      "Flags.Maximised",        "Flags.AutoMarg",      "Advanced.ApplySyntaxHighlight",
      "Advanced.AutoloadOnActivation", "Flags.RepeatPlayFlags", "Flags.SyncPanes", "Flags.WordWrap", "History.0",
      "Advanced.MacroPath",     "Flags.Startup",       "Filters.1D",            "Advanced.WordRE",
      "State.MatchCase",        "State.Scope",         "Advanced.UseLongFileNames", "Advanced.UseExplorerType"};
  for (const std::string& key : readOrder) ASSERT_GE(indexOf(file.reads, key), 0) << key;
  for (std::size_t i = 1; i < readOrder.size(); ++i)
    EXPECT_LT(indexOf(file.reads, readOrder[i - 1]), indexOf(file.reads, readOrder[i])) << readOrder[i];

  const std::vector<NamedColour> colours = {{"Text", {0, 16777215, 0}}, {"Keyword", {255, -1, 1, 0, 0}}};
  writeShellSettings(file, s, colours);
  const std::vector<std::string> writeOrder = {
      "Config.InWinDir",  "Config.ConfigFile",     "History.0",          "Advanced.MacroPath",
      "Flags.Startup",    "Flags.WinLeft",         "Flags.WinHeight",    "Flags.Maximised",
      "Flags.ShowStatBar", "Flags.FontName",       "Flags.FontItalic",   "Flags.TabsAsSpaces",
      "Flags.TabLen",     "Flags.BufferState",     "Flags.VScrollBoost", "Advanced.ApplySyntaxHighlight",
      "Advanced.AutoloadOnActivation", "Flags.CaretAfterPaste", "Flags.Indent", "Flags.AutoMarg",
      "Flags.RepeatPlayFlags", "Flags.SyncPanes",  "Flags.WordWrap",     "Colours.Text",
      "Colours.Keyword",  "Filters.1D",            "Advanced.WordRE",    "State.MatchCase",
      "State.Scope",      "Advanced.UseLongFileNames", "Advanced.UseExplorerType"};
  for (const std::string& key : writeOrder) ASSERT_GE(indexOf(file.writes, key), 0) << key;
  for (std::size_t i = 1; i < writeOrder.size(); ++i)
    EXPECT_LT(indexOf(file.writes, writeOrder[i - 1]), indexOf(file.writes, writeOrder[i])) << writeOrder[i];
  EXPECT_EQ(file.writes.back(), "Advanced.UseExplorerType");
  EXPECT_EQ(file.sections["Colours"]["Keyword"], "255,-1,1,0,0");
}

TEST(ShellSettingsColours, AppliedOnlyWithExactlyTheRightCount) {
  EXPECT_EQ(parseColour("255,0,1", 3), (std::vector<int32_t>{255, 0, 1}));
  EXPECT_EQ(parseColour(" 255 , -1 , 0,2,3", 5), (std::vector<int32_t>{255, -1, 0, 2, 3}));
  EXPECT_FALSE(parseColour("255,0", 3));
  EXPECT_FALSE(parseColour("255,0,1,2", 3));
  EXPECT_FALSE(parseColour("255,0,x", 3));
  EXPECT_FALSE(parseColour("255,,1", 3));
  EXPECT_FALSE(parseColour("255 7,0,1", 3));
  EXPECT_FALSE(parseColour("", 3));
  test::MemorySettings file;
  file.sections["Colours"]["Comment"] = "128,16777215,0";
  EXPECT_EQ(readColour(file, "Comment", 3), (std::vector<int32_t>{128, 16777215, 0}));
  EXPECT_FALSE(readColour(file, "Comment", 5));
  EXPECT_FALSE(readColour(file, "Missing", 3));
}

TEST(ShellSettingsFilters, NewFormOldFormAndDefault) {
  test::MemorySettings file;
  EXPECT_EQ(readFilters(file), defaultFilters());
  file.sections["Filters"] = {{"1", "C files;*.c;*.h"}, {"2", "no pair here"}, {"3", "Text;*.txt"}, {"5", "X;*.x"}};
  EXPECT_EQ(readFilters(file), (std::vector<FileFilter>{{"C files", "*.c;*.h"}, {"Text", "*.txt"}}));
  file.sections["Filters"]["1D"] = "Pascal";
  file.sections["Filters"]["1F"] = "*.pas";
  file.sections["Filters"]["2D"] = "Go";
  EXPECT_EQ(readFilters(file), (std::vector<FileFilter>{{"Pascal", "*.pas"}}));
}

TEST(ShellSettingsFilters, TheListNeverOutgrowsTheDialogBuffer) {
  test::MemorySettings file;
  std::vector<FileFilter> many;
  for (int i = 0; i < 40; ++i) many.push_back({"Description number " + std::to_string(i), "*.x" + std::to_string(i)});
  writeFilters(file, many);
  const std::vector<FileFilter> read = readFilters(file);
  ASSERT_LT(read.size(), many.size());
  EXPECT_EQ(read.front(), many.front());
  const std::string block = filterBlock(read);
  EXPECT_LE(block.size(), kMaxFilterBlock);
  EXPECT_EQ(filtersFromBlock(block), read);
  EXPECT_LE(filterBlock(many).size(), kMaxFilterBlock);

  // A shorter list written over a longer one ends where it ends.
  writeFilters(file, defaultFilters());
  EXPECT_EQ(readFilters(file), defaultFilters());
}

}  // namespace
}  // namespace osk::app
