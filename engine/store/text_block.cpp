#include "engine/store/text_block.h"

#include <algorithm>
#include <new>

namespace osk {

std::unique_ptr<TextBlock> newTextBlock() {
  // The text area is left uninitialised: only the first `used` bytes are ever read.
  TextBlock* block = new (std::nothrow) TextBlock;
  if (block != nullptr) block->used = 0;
  return std::unique_ptr<TextBlock>(block);
}

int32_t countLines(const TextBlock& block) {
  return static_cast<int32_t>(std::count(block.text, block.text + block.used, '\n'));
}

}  // namespace osk
