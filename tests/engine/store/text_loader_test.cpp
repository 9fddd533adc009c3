#include "engine/store/text_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/store/text_writer.h"

namespace osk {
namespace {

struct Loaded {
  std::vector<std::string> lines;
  bool unix = false;
  std::string saved;
  int32_t blocks = 0;
};

// Loads `bytes` fed in pieces of `piece` bytes, then writes the store back out.
Loaded load(const std::string& bytes, bool removeCtrlZ = false, std::size_t piece = 65536,
            WriteOptions write = {}) {
  LineStore store;
  TextLoader loader(removeCtrlZ);
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    EXPECT_EQ(loader.feed(bytes.data() + at, std::min(piece, bytes.size() - at)), StoreStatus::kOk);
  }
  EXPECT_EQ(loader.finish(store), StoreStatus::kOk);
  Loaded out;
  for (int32_t i = 1; i <= store.lineCount(); ++i) out.lines.emplace_back(store.peekLine(i));
  out.unix = store.unixLineEnds();
  out.blocks = store.blockCount();
  EXPECT_EQ(writeText(store, write,
                      [&](const char* p, std::size_t n) {
                        out.saved.append(p, n);
                        return true;
                      }),
            StoreStatus::kOk);
  return out;
}

using Lines = std::vector<std::string>;

TEST(TextLoader, DetectsLineEndMode) {
  Loaded unix = load("first\nsecond\r\nthird");
  EXPECT_TRUE(unix.unix);
  EXPECT_EQ(unix.lines, (Lines{"first", "second\r", "third"}));
  EXPECT_EQ(unix.saved, "first\nsecond\r\nthird\n");

  Loaded dos = load("a\r\nb\r\n");
  EXPECT_FALSE(dos.unix);
  EXPECT_EQ(dos.lines, (Lines{"a", "b"}));
  EXPECT_EQ(dos.saved, "a\r\nb\r\n");
}

TEST(TextLoader, MixedLineEndsBecomeCrLfWhenTheFirstIsCrLf) {
  Loaded mixed = load("one\r\ntwo\nthree\rfour\r\n");
  EXPECT_FALSE(mixed.unix);
  EXPECT_EQ(mixed.lines, (Lines{"one", "two", "three", "four"}));
  EXPECT_EQ(mixed.saved, "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST(TextLoader, CrLfSplitAcrossPiecesIsOneLineEnd) {
  std::string text = "alpha\r\nbeta\r\ngamma\r\n";
  for (std::size_t piece = 1; piece < 8; ++piece) {
    Loaded l = load(text, false, piece);
    EXPECT_EQ(l.lines, (Lines{"alpha", "beta", "gamma"})) << piece;
  }
}

TEST(TextLoader, SplitsLongLinesAt1024) {
  Loaded l = load(std::string(3000, 'x') + "\r\n");
  ASSERT_EQ(l.lines.size(), 3u);
  EXPECT_EQ(l.lines[0].size(), 1024u);
  EXPECT_EQ(l.lines[1].size(), 1024u);
  EXPECT_EQ(l.lines[2].size(), 952u);
  // Exactly 1024 characters and then a line end is one line, not two.
  Loaded exact = load(std::string(1024, 'y') + "\r\n" + std::string(2048, 'z'));
  EXPECT_EQ(exact.lines.size(), 3u);
}

TEST(TextLoader, NulBecomesSpaceAndCtrlZIsRemovedOnlyWhenAsked) {
  std::string text("a\0b\x1a" "c\r\n\x1a", 8);
  Loaded kept = load(text);
  EXPECT_EQ(kept.lines, (Lines{"a b\x1a" "c", "\x1a"}));
  Loaded removed = load(text, true);
  EXPECT_EQ(removed.lines, (Lines{"a bc"}));
}

TEST(TextLoader, ACtrlZBetweenCrAndLfIsRemovedBeforeTheLineEndsAreDetected) {
  Loaded removed = load(std::string("one\r\x1a\ntwo\r\n"), true);
  EXPECT_FALSE(removed.unix);
  EXPECT_EQ(removed.lines, (std::vector<std::string>{"one", "two"}));
  Loaded kept = load(std::string("one\r\x1a\ntwo\r\n"), false);
  EXPECT_TRUE(kept.unix);   // kept, the Ctrl-Z is text and the first LF stands alone
}

TEST(TextLoader, EmptyFileAndMissingFinalLineEnd) {
  EXPECT_TRUE(load("").lines.empty());
  Loaded l = load("no end");
  EXPECT_EQ(l.saved, "no end\r\n");
}

TEST(TextLoader, ExactlyOneBlockOfText) {
  // 8188 bytes of text: 89 lines of 90 characters plus CR LF (8188 = 89 * 92).
  std::string text;
  for (int i = 0; i < 89; ++i) text += std::string(90, 'a') + "\r\n";
  ASSERT_EQ(text.size(), 8188u);
  EXPECT_EQ(load(text).blocks, 1);
  EXPECT_EQ(load(text + "b\r\n").blocks, 2);
}

TEST(TextLoader, StripsTrailingBlanksOnWriteWhenAsked) {
  WriteOptions strip;
  strip.stripTrailingBlanks = true;
  Loaded l = load("abc \t\r\n  \r\nx\r\n", false, 65536, strip);
  EXPECT_EQ(l.saved, "abc\r\n\r\nx\r\n");
}

TEST(TextLoader, AbortFromTheGaugeStopsTheLoad) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "some line of text here\r\n";
  int calls = 0;
  TextLoader loader(false, [&](int64_t) { return ++calls == 2; });
  StoreStatus s = StoreStatus::kOk;
  for (std::size_t at = 0; at < text.size() && s == StoreStatus::kOk; at += 4096) {
    s = loader.feed(text.data() + at, std::min<std::size_t>(4096, text.size() - at));
  }
  EXPECT_EQ(s, StoreStatus::kLoadAborted);
}

}  // namespace
}  // namespace osk
