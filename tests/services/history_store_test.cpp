// Dialog histories: order and limits, and their round trip through the settings file.
#include <gtest/gtest.h>

#include <random>

#include "services/history_store.h"
#include "tests/services/memory_settings.h"

namespace osk {
namespace {

using Strings = std::vector<std::string>;

TEST(HistoryOrder, RepeatedStringMovesToTheTop) {
  CHistoryStore store;
  store.add("a", 1);
  store.add("b", 1);
  store.add("a", 1);
  EXPECT_EQ(store.strings(1), (Strings{"a", "b"}));
  EXPECT_EQ(store.top(1), "a");
}

TEST(HistoryOrder, SeventeenStringsKeepTheNewestSixteen) {
  CHistoryStore store;
  for (int i = 0; i < 17; ++i) store.add("s" + std::to_string(i), 4);
  const Strings s = store.strings(4);
  ASSERT_EQ(s.size(), 16u);
  EXPECT_EQ(s.front(), "s16");
  EXPECT_EQ(s.back(), "s1");
}

TEST(HistoryOrder, OldestStringOfAFullHistoryComesBackToTheTop) {
  CHistoryStore store;
  for (int i = 0; i < 16; ++i) store.add("s" + std::to_string(i), 2);
  store.add("s0", 2);
  const Strings s = store.strings(2);
  ASSERT_EQ(s.size(), 16u);
  EXPECT_EQ(s.front(), "s0");
  EXPECT_EQ(s.back(), "s1");
}

TEST(HistoryOrder, HistoriesAreSeparateAndComparisonIsExact) {
  CHistoryStore store;
  store.add("Find", 1);
  store.add("find", 1);
  store.add("Find", 2);
  EXPECT_EQ(store.strings(1), (Strings{"find", "Find"}));
  EXPECT_EQ(store.strings(2), (Strings{"Find"}));
  EXPECT_TRUE(store.strings(3).empty());
  EXPECT_FALSE(store.top(3));
}

TEST(HistoryOrder, AgreesWithAListModel) {
  std::mt19937 rng(7);
  CHistoryStore store;
  std::vector<std::string> model;   // most recent first
  for (int i = 0; i < 3000; ++i) {
    const std::string s = "x" + std::to_string(rng() % 24);
    store.add(s, 9);
    auto it = std::find(model.begin(), model.end(), s);
    if (it != model.end()) model.erase(it);
    model.insert(model.begin(), s);
    if (model.size() > 16) model.pop_back();
    ASSERT_EQ(store.strings(9), model);
  }
}

TEST(HistorySettings, SaveThenLoadGivesTheSameHistories) {
  CHistoryStore store;
  store.add("first", 1);
  store.add("second", 1);
  store.add("C:\\src\\main.c", 7);
  test::MemorySettings ini;
  store.save(ini);
  EXPECT_EQ(ini.sections["ExtHistory 0"]["HistId"], "1");
  EXPECT_EQ(ini.sections["ExtHistory 0"]["NumHist"], "2");
  EXPECT_EQ(ini.sections["ExtHistory 0"]["Str 0"], "first");   // oldest first
  EXPECT_EQ(ini.sections["ExtHistory 1"]["HistId"], "7");
  CHistoryStore loaded;
  loaded.add("stale", 3);
  loaded.load(ini);
  EXPECT_EQ(loaded.strings(1), (Strings{"second", "first"}));
  EXPECT_EQ(loaded.strings(7), (Strings{"C:\\src\\main.c"}));
  EXPECT_TRUE(loaded.strings(3).empty());
}

TEST(HistorySettings, BlanksAndQuotesComeBackUnchanged) {
  const Strings tricky = {"  indented", "trailing ", "\"quoted\"", "'single'", "\"open", "close'", " ", "\"",
                          "a \"middle\" quote", ""};
  CHistoryStore store;
  for (const std::string& s : tricky) store.add(s, 5);
  test::MemorySettings ini;
  store.save(ini);
  CHistoryStore loaded;
  loaded.load(ini);
  EXPECT_EQ(loaded.strings(5), store.strings(5));
}

TEST(HistorySettings, LoadingStopsAtTheFirstMissingOrZeroSection) {
  test::MemorySettings ini;
  ini.sections["ExtHistory 0"] = {{"HistId", "1"}, {"NumHist", "1"}, {"Str 0", "one"}};
  ini.sections["ExtHistory 1"] = {{"HistId", "2"}, {"NumHist", "0"}};
  ini.sections["ExtHistory 2"] = {{"HistId", "3"}, {"NumHist", "1"}, {"Str 0", "three"}};
  CHistoryStore store;
  store.load(ini);
  EXPECT_EQ(store.historyCount(), 1);
  EXPECT_TRUE(store.strings(3).empty());
}

TEST(HistorySettings, NegativeOrHugeCountsReadNoMoreThanAHistoryHolds) {
  test::MemorySettings ini;
  ini.sections["ExtHistory 0"] = {{"HistId", "1"}, {"NumHist", "-5"}, {"Str 0", "x"}};
  CHistoryStore store;
  store.load(ini);
  EXPECT_EQ(store.historyCount(), 0);
  ini.sections["ExtHistory 0"] = {{"HistId", "1"}, {"NumHist", "2000000000"}, {"Str 1999999999", "newest"},
                                  {"Str 1999999998", "older"}};
  store.load(ini);
  const Strings s = store.strings(1);
  ASSERT_EQ(s.size(), 3u);   // the two strings and one empty string for all the missing keys
  EXPECT_EQ(s[0], "newest");
  EXPECT_EQ(s[1], "older");
  ini.sections["ExtHistory 0"] = {{"HistId", "70000"}, {"NumHist", "1"}, {"Str 0", "x"}};
  store.load(ini);
  EXPECT_EQ(store.historyCount(), 0);
}

TEST(HistorySettings, SmallerSaveRemovesTheSectionsOfALargerOne) {
  test::MemorySettings ini;
  CHistoryStore big;
  big.add("a", 1);
  big.add("b", 2);
  big.add("c", 3);
  big.save(ini);
  CHistoryStore small;
  small.add("z", 9);
  small.save(ini);
  CHistoryStore loaded;
  loaded.load(ini);
  EXPECT_EQ(loaded.historyCount(), 1);
  EXPECT_EQ(loaded.strings(9), (Strings{"z"}));
  EXPECT_EQ(ini.sections.count("ExtHistory 1"), 0u);
}

TEST(HistorySettings, LongStringsAreCutAndLineBreaksAreNotSaved) {
  CHistoryStore store;
  store.add(std::string(1500, 'q'), 1);
  store.add("two\nlines", 1);
  test::MemorySettings ini;
  store.save(ini);
  CHistoryStore loaded;
  loaded.load(ini);
  ASSERT_EQ(loaded.strings(1).size(), 1u);
  EXPECT_EQ(loaded.strings(1)[0], std::string(1024, 'q'));
}

}  // namespace
}  // namespace osk
