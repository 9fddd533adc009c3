// The compressed archive form: the expander gives back exactly what was compressed, compression really shrinks
// repetitive data, and damaged input never yields more or other bytes than announced.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "setup/szdd.h"

namespace osk::setup {
namespace {

std::vector<std::uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

void expectRoundTrip(const std::vector<std::uint8_t>& data) {
  const auto compressed = szddCompress(data, 't');
  const auto expanded = szddExpand(compressed);
  ASSERT_TRUE(expanded.complete);
  ASSERT_EQ(expanded.data.size(), data.size());
  EXPECT_TRUE(expanded.data == data);
}

TEST(Szdd, HeadNamesTheFormAndTheLength) {
  const auto compressed = szddCompress(bytes("hello"), 't');
  ASSERT_GE(compressed.size(), kSzddHeadSize);
  EXPECT_EQ(std::string(compressed.begin(), compressed.begin() + 4), "SZDD");
  EXPECT_EQ(compressed[8], 'A');
  EXPECT_EQ(compressed[9], 't');
  EXPECT_EQ(compressed[10], 5);
  EXPECT_EQ(compressed[13], 0);
}

TEST(Szdd, RoundTripsEdgeShapes) {
  expectRoundTrip({});
  expectRoundTrip(bytes("a"));
  expectRoundTrip(bytes("abcabcabcabcabcabcabcabcabcabcabcabcabc"));   // overlapping references
  expectRoundTrip(std::vector<std::uint8_t>(100000, 0));                // long runs, many references
  expectRoundTrip(std::vector<std::uint8_t>(5000, ' '));                // the ring's own fill byte
}

TEST(Szdd, RoundTripsRandomDataOfEveryKind) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    const std::size_t size = random() % 20000;
    const unsigned alphabet = 1 + random() % 256;
    std::vector<std::uint8_t> data(size);
    for (auto& b : data) b = static_cast<std::uint8_t>(random() % alphabet);
    // Copy earlier stretches so that matches at every distance, up to the ring's edge, occur.
    for (std::size_t i = 0; i + 40 < size && size > 5000; i += 997) {
      const std::size_t from = random() % (i + 1);
      for (std::size_t k = 0; k < 30 && i + k < size; ++k) data[i + k] = data[from + k];
    }
    expectRoundTrip(data);
  }
}

TEST(Szdd, TextCompressesWell) {
  std::string text;
  for (int i = 0; i < 500; ++i) text += "int main(int argc, char** argv) { return " + std::to_string(i) + "; }\n";
  const auto compressed = szddCompress(bytes(text), 't');
  EXPECT_LT(compressed.size(), text.size() / 3);
}

TEST(Szdd, DamagedInputIsReportedNotInvented) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "line " + std::to_string(i) + "\n";
  auto compressed = szddCompress(bytes(text), 't');
  auto truncated = compressed;
  truncated.resize(truncated.size() / 2);
  const auto partial = szddExpand(truncated);
  EXPECT_FALSE(partial.complete);
  EXPECT_LT(partial.data.size(), text.size());

  auto wrongMagic = compressed;
  wrongMagic[0] = 'X';
  EXPECT_FALSE(szddExpand(wrongMagic).complete);

  // A head that announces 4 GiB over a few bytes of data gives what is there and says it is incomplete.
  auto lying = compressed;
  lying[13] = 0xFF;
  const auto lied = szddExpand(lying);
  EXPECT_FALSE(lied.complete);
  EXPECT_LE(lied.data.size(), compressed.size() * 9);
}

}  // namespace
}  // namespace osk::setup
