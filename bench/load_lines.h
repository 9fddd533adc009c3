// A benchmark's text file read into a line store in 1 MB pieces, as the engine's loader takes a file, so that each
// benchmark measures its own work over the same store.
#pragma once

#include <fstream>
#include <vector>

#include "engine/store/line_store.h"
#include "engine/store/text_loader.h"

namespace osk::bench {

// False when the file cannot be opened or the store refuses its text.
inline bool loadLines(const char* path, LineStore& store) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  TextLoader loader(false);
  std::vector<char> chunk(1 << 20);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    if (in.gcount() > 0 && loader.feed(chunk.data(), static_cast<size_t>(in.gcount())) != StoreStatus::kOk) {
      return false;
    }
  }
  return loader.finish(store) == StoreStatus::kOk;
}

}  // namespace osk::bench
