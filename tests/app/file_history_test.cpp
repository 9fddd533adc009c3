#include "app/file_history.h"

#include <gtest/gtest.h>

#include <string>

#include "app/shell_settings.h"
#include "services/memory_settings.h"

namespace osk::app {
namespace {

FileHistoryRecord named(std::string name) { return {std::move(name), 0, 0, {}}; }

std::vector<std::string> names(const FileHistory& h) {
  std::vector<std::string> out;
  for (const FileHistoryRecord& r : h.records()) out.push_back(r.name);
  return out;
}

TEST(FileNames, CompareAsWindowsDoes) {
  EXPECT_TRUE(sameFileName("C:\\Src\\Main.CPP", "c:\\src\\main.cpp"));
  EXPECT_TRUE(sameFileName("C:/src/a.txt", "C:\\src\\a.txt"));
  EXPECT_FALSE(sameFileName("C:\\src\\a.txt", "C:\\src\\a.txt "));
  EXPECT_FALSE(sameFileName("C:\\src\\a.txt", "C:\\src\\b.txt"));
}

TEST(FileHistoryList, NewestFirstEachNameOnceFifteenAtMost) {
  FileHistory h;
  for (int i = 1; i <= 16; ++i) EXPECT_TRUE(h.push(named("f" + std::to_string(i))));
  ASSERT_EQ(h.size(), kFileHistorySize);
  EXPECT_EQ(h.records().front().name, "f16");
  EXPECT_EQ(h.records().back().name, "f2");   // the oldest fell off
  EXPECT_EQ(h.find("f1"), nullptr);

  // Reopening the third entry moves it to the top; the others keep their order.
  const std::string third = h.records()[2].name;
  h.push(named("F14"));
  EXPECT_EQ(third, "f14");
  EXPECT_EQ(names(h).front(), "F14");
  EXPECT_EQ(h.size(), kFileHistorySize);
  EXPECT_EQ(names(h)[1], "f16");
  EXPECT_EQ(names(h)[2], "f15");
  EXPECT_EQ(names(h)[3], "f13");
}

TEST(FileHistoryList, RefreshKeepsThePlaceAndInvalidNamesNeverEnter) {
  FileHistory h;
  h.push(named("a"));
  h.push(named("b"));
  FileHistoryRecord a = named("A");
  a.readOnly = 1;
  a.settings.tabLength = 4;
  EXPECT_TRUE(h.refresh(a));
  EXPECT_EQ(names(h), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(h.find("a")->settings.tabLength, 4);
  EXPECT_EQ(h.find("a")->readOnly, 1);
  EXPECT_FALSE(h.refresh(named("c")));

  EXPECT_FALSE(h.push(named("")));
  EXPECT_FALSE(h.push(named(std::string(kMaxFileName + 1, 'x'))));
  EXPECT_TRUE(h.push(named(std::string(kMaxFileName, 'x'))));
  EXPECT_EQ(h.size(), 3u);
}

TEST(FileHistoryList, LastFourAreTheNewest) {
  FileHistory h;
  EXPECT_TRUE(h.lastFour().empty());
  for (const char* n : {"1", "2", "3", "4", "5", "6"}) h.push(named(n));
  std::vector<std::string> four;
  for (const FileHistoryRecord& r : h.lastFour()) four.push_back(r.name);
  EXPECT_EQ(four, (std::vector<std::string>{"6", "5", "4", "3"}));
}

TEST(HistoryLine, FormatAndParseAgree) {
  FileHistoryRecord r{"C:\\My Files\\notes.txt", 1, 0, {0, 4, 2, 6, 60, 0, 1, 1}};
  const std::string line = formatHistoryLine(r);
  EXPECT_EQ(line, "\"C:\\My Files\\notes.txt\" 1 0 0 4 2 6 60 0 1 1");
  EXPECT_EQ(parseHistoryLine(line, {}), r);
}

TEST(HistoryLine, MissingTrailingValuesComeFromTheDefaults) {
  PerFileSettings defaults{0, 3, 0, 5, 50, 1, 1, 1};
  const auto onlyName = parseHistoryLine("\"C:\\a.txt\"", defaults);
  ASSERT_TRUE(onlyName);
  EXPECT_EQ(onlyName->settings, defaults);
  EXPECT_EQ(onlyName->readOnly, 0);
  const auto some = parseHistoryLine("\"C:\\a.txt\" 1 7 1 6", defaults);
  ASSERT_TRUE(some);
  EXPECT_EQ(some->readOnly, 1);
  EXPECT_EQ(some->reserved, 0);   // ignored on reading
  EXPECT_EQ(some->settings.tabsAsSpaces, 1);
  EXPECT_EQ(some->settings.tabLength, 6);
  EXPECT_EQ(some->settings.rightMargin, 50);
  // Numbers stop at the first word that is not one.
  const auto stopped = parseHistoryLine("\"a\" 0 0 1 x 5", defaults);
  ASSERT_TRUE(stopped);
  EXPECT_EQ(stopped->settings.tabLength, 3);
  EXPECT_EQ(stopped->settings.indent, 0);
}

TEST(HistoryLine, NameWithoutQuotesAsTheProfileReaderLeavesIt) {
  const auto bare = parseHistoryLine("C:\\My Files\\a.txt", {});
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->name, "C:\\My Files\\a.txt");
  const auto withNumbers = parseHistoryLine("C:\\My Files\\a.txt 1 0 1 4", {});
  ASSERT_TRUE(withNumbers);
  EXPECT_EQ(withNumbers->name, "C:\\My Files\\a.txt");
  EXPECT_EQ(withNumbers->settings.tabLength, 4);
}

TEST(HistoryLine, BadLinesGiveNothingAndValuesAreValidated) {
  EXPECT_FALSE(parseHistoryLine("", {}));
  EXPECT_FALSE(parseHistoryLine("\"\" 1 0", {}));
  EXPECT_FALSE(parseHistoryLine("\"C:\\open 1 0", {}));
  EXPECT_FALSE(parseHistoryLine("\"" + std::string(kMaxFileName + 1, 'n') + "\"", {}));
  const auto clamped = parseHistoryLine("\"a\" 7 0 1 40 0 4 99999999999999999999 1 0 0", {});
  ASSERT_TRUE(clamped);
  EXPECT_EQ(clamped->readOnly, 1);
  EXPECT_EQ(clamped->settings.tabLength, 8);
  EXPECT_EQ(clamped->settings.rightMargin, 70);
}

TEST(HistorySection, ReadingStopsAtTheFirstMissingKeyOrEmptyName) {
  test::MemorySettings file;
  file.sections["History"] = {{"0", "\"a\" 0 0"}, {"1", "\"b\""}, {"3", "\"d\""}};
  EXPECT_EQ(names(readFileHistory(file, {})), (std::vector<std::string>{"a", "b"}));
  file.sections["History"]["2"] = "\"\" 0 0";
  EXPECT_EQ(names(readFileHistory(file, {})), (std::vector<std::string>{"a", "b"}));
  // A name that cannot be a file is left out; the lines after it still count. So is a name seen before.
  file.sections["History"]["2"] = "\"" + std::string(300, 'n') + "\"";
  file.sections["History"]["3"] = "\"A\"";
  file.sections["History"]["4"] = "\"e\"";
  EXPECT_EQ(names(readFileHistory(file, {})), (std::vector<std::string>{"a", "b", "e"}));
}

TEST(HistorySection, AShorterListEndsWithAnEmptyKey) {
  test::MemorySettings file;
  FileHistory h;
  for (const char* n : {"1", "2", "3", "4"}) h.push(named(n));
  writeFileHistory(file, h);
  FileHistory shorter;
  shorter.push(named("x"));
  writeFileHistory(file, shorter);
  EXPECT_EQ(names(readFileHistory(file, {})), (std::vector<std::string>{"x"}));
  EXPECT_EQ(file.sections["History"]["1"], "");
}

}  // namespace
}  // namespace osk::app
