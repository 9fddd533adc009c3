#include "engine/store/line_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace osk {
namespace {

std::vector<std::string> allLines(LineStore& store) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= store.lineCount(); ++i) {
    std::string s;
    EXPECT_TRUE(store.getLine(i, s));
    out.push_back(s);
  }
  return out;
}

std::vector<std::string_view> views(const std::vector<std::string>& v) {
  return std::vector<std::string_view>(v.begin(), v.end());
}

TEST(LineStore, EmptyStoreHasNoLines) {
  LineStore store;
  EXPECT_EQ(store.lineCount(), 0);
  std::string s;
  EXPECT_FALSE(store.getLine(1, s));
  EXPECT_FALSE(store.getLine(0, s));
  EXPECT_EQ(store.replaceLine(1, "x"), StoreStatus::kFailure);
}

TEST(LineStore, RefusesLinesLongerThan1024OrHoldingLineEnds) {
  LineStore store;
  EXPECT_EQ(store.insertLine(0, std::string(1025, 'a')), StoreStatus::kRefused);
  EXPECT_EQ(store.insertLine(0, "a\nb"), StoreStatus::kRefused);
  EXPECT_EQ(store.insertLine(0, "a\rb"), StoreStatus::kRefused);
  EXPECT_EQ(store.insertLine(0, std::string(1024, 'a')), StoreStatus::kOk);
  EXPECT_EQ(store.replaceLine(1, std::string(1025, 'b')), StoreStatus::kRefused);
  EXPECT_EQ(store.peekLine(1), std::string(1024, 'a'));
}

TEST(LineStore, CarriageReturnIsTextInUnixMode) {
  LineStore store;
  ASSERT_EQ(store.setUnixLineEnds(true), StoreStatus::kOk);
  EXPECT_EQ(store.insertLine(0, "a\rb"), StoreStatus::kOk);
  EXPECT_EQ(store.peekLine(1), "a\rb");
  // Back to CR LF would turn that CR into a line end: refused.
  EXPECT_EQ(store.setUnixLineEnds(false), StoreStatus::kRefused);
  EXPECT_TRUE(store.unixLineEnds());
}

TEST(LineStore, SwitchingLineEndsKeepsText) {
  LineStore store;
  std::vector<std::string> lines;
  for (int i = 0; i < 3000; ++i) lines.push_back("line " + std::to_string(i));
  ASSERT_EQ(store.insertLines(0, views(lines)), StoreStatus::kOk);
  ASSERT_EQ(store.setUnixLineEnds(true), StoreStatus::kOk);
  EXPECT_EQ(allLines(store), lines);
  ASSERT_EQ(store.setUnixLineEnds(false), StoreStatus::kOk);
  EXPECT_EQ(allLines(store), lines);
  EXPECT_TRUE(store.selfCheck());
}

TEST(LineStore, LargeInsertSpreadsOverBlocksAndStaysShallow) {
  LineStore store;
  std::vector<std::string> lines;
  for (int i = 0; i < 200000; ++i) lines.push_back(std::string(i % 90, 'a' + i % 26));
  ASSERT_EQ(store.insertLines(0, views(lines)), StoreStatus::kOk);
  EXPECT_EQ(store.lineCount(), 200000);
  EXPECT_TRUE(store.selfCheck());
  EXPECT_LE(store.indexDepth(), LineIndex::kMaxDepth);
  EXPECT_EQ(store.peekLine(123457), lines[123456]);
  // Inserting repeatedly in one place splits the same spot over and over; the tree must stay within its path.
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(store.insertLine(100000, std::string(1000, 'z')), StoreStatus::kOk);
  EXPECT_TRUE(store.selfCheck());
  EXPECT_EQ(store.lineCount(), 203000);
  EXPECT_EQ(store.peekLine(100001), std::string(1000, 'z'));
  EXPECT_EQ(store.peekLine(103001), lines[100000]);
}

TEST(LineStore, WalkingLinesInOrderSeesWhatPeekingSees) {
  for (bool unix : {false, true}) {
    LineStore store;
    ASSERT_EQ(store.setUnixLineEnds(unix), StoreStatus::kOk);
    std::vector<std::string> lines;
    std::mt19937 rng(11);
    for (int i = 0; i < 5000; ++i) lines.push_back(std::string(rng() % 60, static_cast<char>('a' + i % 26)));
    ASSERT_EQ(store.insertLines(0, views(lines)), StoreStatus::kOk);
    ASSERT_GE(store.blockCount(), 10);
    for (auto [first, last] : {std::pair{1, 5000}, std::pair{777, 3210}, std::pair{0, 9999}, std::pair{4999, 4999}}) {
      int32_t expected = std::max(first, 1);
      EXPECT_TRUE(store.forEachLine(first, last, [&](int32_t line, std::string_view text) {
        EXPECT_EQ(line, expected++);
        EXPECT_EQ(text, lines[static_cast<size_t>(line - 1)]);
        return true;
      }));
      EXPECT_EQ(expected, std::min(last, 5000) + 1);
    }
    // A visitor that says stop ends the walk at once.
    int32_t seen = 0;
    EXPECT_FALSE(store.forEachLine(1, 5000, [&](int32_t line, std::string_view) {
      ++seen;
      return line < 1234;
    }));
    EXPECT_EQ(seen, 1234);
  }
}

// The filtered walk must visit exactly the lines a line-by-line search would pick, whatever the line ends, where
// the strings sit against sixteen-byte steps and block ends, and when only half of a pair is present.
TEST(LineStore, WalkingLinesHoldingStringsMatchesLineByLineSearch) {
  for (bool unix : {false, true}) {
    LineStore store;
    ASSERT_EQ(store.setUnixLineEnds(unix), StoreStatus::kOk);
    std::vector<std::string> lines;
    std::mt19937 rng(29);
    const char alphabet[] = "ab/*{ ";
    for (int i = 0; i < 6000; ++i) {
      std::string line(rng() % 40, ' ');
      for (char& c : line) c = alphabet[rng() % (rng() % 4 == 0 ? 6 : 2)];
      lines.push_back(line);
    }
    ASSERT_EQ(store.insertLines(0, views(lines)), StoreStatus::kOk);
    ASSERT_GE(store.blockCount(), 10);
    for (auto [a, b] : {std::pair<std::string, std::string>{"/*", "*/"}, {"{", "}"}, {"/*", "b"}, {"ab/", "a*"}}) {
      const bool pairs = a.size() >= 2 && b.size() >= 2;
      std::vector<int32_t> expected;
      for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& t = lines[i];
        const bool holds = pairs ? t.find(a.substr(0, 2)) != std::string::npos || t.find(b.substr(0, 2)) != std::string::npos
                                 : t.find(a[0]) != std::string::npos || t.find(b[0]) != std::string::npos;
        if (holds) expected.push_back(static_cast<int32_t>(i + 1));
      }
      std::vector<int32_t> seen;
      EXPECT_TRUE(store.forEachLineHolding(a, b, [&](int32_t line, std::string_view text) {
        seen.push_back(line);
        EXPECT_EQ(text, lines[static_cast<size_t>(line - 1)]);
        return true;
      }));
      EXPECT_EQ(seen, expected) << a << " " << b << (unix ? " LF" : " CR LF");
    }
  }
}

TEST(LineStore, PropertiesMoveWithInsertedAndDeletedLines) {
  LineStore store;
  ASSERT_EQ(store.insertLines(0, {"a", "b", "c", "d"}), StoreStatus::kOk);
  store.properties().set(2, 1);
  store.properties().set(4, 8);
  ASSERT_EQ(store.insertLines(0, {"x", "y"}), StoreStatus::kOk);
  EXPECT_EQ(store.properties().get(4), 1u);
  EXPECT_EQ(store.properties().get(6), 8u);
  ASSERT_EQ(store.deleteLines(3, 2), StoreStatus::kOk);   // deletes "a" and "b" (the bookmarked one)
  EXPECT_EQ(store.properties().get(2), 0u);
  EXPECT_EQ(store.properties().get(4), 8u);
  EXPECT_EQ(store.properties().size(), 1u);
}

// Differential test: random inserts, deletes and replaces against a vector of lines.
TEST(LineStore, RandomEditsMatchSimpleModel) {
  for (uint32_t seed : {1u, 2u, 3u, 4u}) {
    std::mt19937 rng(seed);
    LineStore store;
    if (seed % 2 == 0) ASSERT_EQ(store.setUnixLineEnds(true), StoreStatus::kOk);
    std::vector<std::string> model;
    auto randomLine = [&]() {
      std::uniform_int_distribution<int> kind(0, 9);
      int k = kind(rng);
      std::size_t len = k == 0 ? 1024 : k < 3 ? rng() % 400 : rng() % 60;
      std::string s(len, ' ');
      for (auto& c : s) c = static_cast<char>('!' + rng() % 90);
      return s;
    };
    for (int step = 0; step < 4000; ++step) {
      const int op = static_cast<int>(rng() % 10);
      const int32_t n = static_cast<int32_t>(model.size());
      if (op < 4 || n == 0) {
        int32_t after = n == 0 ? 0 : static_cast<int32_t>(rng() % (n + 1));
        std::vector<std::string> add;
        int count = rng() % 7 == 0 ? 1 + rng() % 200 : 1;
        for (int i = 0; i < count; ++i) add.push_back(randomLine());
        ASSERT_EQ(store.insertLines(after, views(add)), StoreStatus::kOk);
        model.insert(model.begin() + after, add.begin(), add.end());
      } else if (op < 6) {
        int32_t first = 1 + static_cast<int32_t>(rng() % n);
        int32_t count = 1 + static_cast<int32_t>(rng() % (rng() % 5 == 0 ? 300 : 3));
        ASSERT_EQ(store.deleteLines(first, count), StoreStatus::kOk);
        int32_t real = std::min(count, n - first + 1);
        model.erase(model.begin() + (first - 1), model.begin() + (first - 1 + real));
      } else {
        int32_t line = 1 + static_cast<int32_t>(rng() % n);
        std::string s = randomLine();
        ASSERT_EQ(store.replaceLine(line, s), StoreStatus::kOk);
        model[line - 1] = s;
      }
      ASSERT_EQ(store.lineCount(), static_cast<int32_t>(model.size()));
      if (step % 97 == 0) {
        ASSERT_TRUE(store.selfCheck()) << "seed " << seed << " step " << step;
        ASSERT_EQ(allLines(store), model) << "seed " << seed << " step " << step;
      } else if (!model.empty()) {
        int32_t probe = 1 + static_cast<int32_t>(rng() % model.size());
        ASSERT_EQ(store.peekLine(probe), model[probe - 1]);
        // A little way back from the line read last, as a search comes back for the line that matched.
        const int32_t back = probe - 1 - static_cast<int32_t>(rng() % 6);
        if (back >= 1) ASSERT_EQ(store.peekLine(back), model[back - 1]) << "seed " << seed << " step " << step;
      }
    }
    EXPECT_EQ(allLines(store), model);
  }
}

}  // namespace
}  // namespace osk
