// A text block: 8192 bytes holding a 32-bit count of used bytes and up to 8188 bytes of text. Lines are stored one
// after the other, each followed by its line end (CR LF, or LF alone in Unix mode); a line never spans two blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace osk {

constexpr int32_t kMaxLineLength = 1024;            // characters, without the line end
constexpr std::size_t kTextBlockSize = 8192;
constexpr std::size_t kTextBlockCapacity = kTextBlockSize - sizeof(uint32_t);

struct TextBlock {
  uint32_t used = 0;
  char text[kTextBlockCapacity];

  std::size_t room() const { return kTextBlockCapacity - used; }
};
static_assert(sizeof(TextBlock) == kTextBlockSize, "a text block is exactly 8 KB");

// Allocates a block with no text; returns null when memory is exhausted.
std::unique_ptr<TextBlock> newTextBlock();

// Counts the lines of a block (line ends are LF, or CR LF whose LF is counted).
int32_t countLines(const TextBlock& block);

}  // namespace osk
