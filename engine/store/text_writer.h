// Writes a line store's text, block by block, with its stored line ends.
//
// With `stripTrailingBlanks` the spaces and tabs before each line end are removed from the store itself, so the
// buffer loses them too. With `appendCtrlZ` one Ctrl-Z byte ends the output. `linesDone(count)` is called after
// each block; returning true aborts with kSaveAborted. A sink that refuses bytes gives kWriteFailed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "engine/store/line_store.h"

namespace osk {

struct WriteOptions {
  bool stripTrailingBlanks = false;
  bool appendCtrlZ = false;
};

StoreStatus writeText(LineStore& store, const WriteOptions& options,
                      const std::function<bool(const char*, std::size_t)>& sink,
                      const std::function<bool(int32_t)>& linesDone = {});

// Removes the spaces and tabs before each line end of a block; returns the bytes removed.
uint32_t stripTrailingBlanks(TextBlock& block, bool unix);

}  // namespace osk
