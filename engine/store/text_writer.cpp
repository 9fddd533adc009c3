#include "engine/store/text_writer.h"

#include <cstring>

namespace osk {

uint32_t stripTrailingBlanks(TextBlock& block, bool unix) {
  const uint32_t eol = unix ? 1u : 2u;
  uint32_t read = 0;
  uint32_t write = 0;
  while (read < block.used) {
    const void* lf = std::memchr(block.text + read, '\n', block.used - read);
    const uint32_t next = static_cast<uint32_t>(static_cast<const char*>(lf) - block.text) + 1;
    uint32_t end = next - eol;   // end of the line's text
    while (end > read && (block.text[end - 1] == ' ' || block.text[end - 1] == '\t')) --end;
    const uint32_t keep = end - read;
    if (write != read) std::memmove(block.text + write, block.text + read, keep);
    write += keep;
    std::memcpy(block.text + write, block.text + next - eol, eol);
    write += eol;
    read = next;
  }
  const uint32_t removed = block.used - write;
  block.used = write;
  return removed;
}

StoreStatus writeText(LineStore& store, const WriteOptions& options,
                      const std::function<bool(const char*, std::size_t)>& sink,
                      const std::function<bool(int32_t)>& linesDone) {
  const bool unix = store.unixLineEnds();
  int32_t written = 0;
  StoreStatus status = StoreStatus::kOk;
  store.forEachBlock([&](TextBlock& block, int32_t lines) {
    if (options.stripTrailingBlanks) stripTrailingBlanks(block, unix);
    if (!sink(block.text, block.used)) {
      status = StoreStatus::kWriteFailed;
      return false;
    }
    written += lines;
    if (linesDone && linesDone(written)) {
      status = StoreStatus::kSaveAborted;
      return false;
    }
    return true;
  });
  if (status != StoreStatus::kOk) return status;
  if (options.appendCtrlZ) {
    const char ctrlZ = 26;
    if (!sink(&ctrlZ, 1)) return StoreStatus::kWriteFailed;
  }
  return StoreStatus::kOk;
}

}  // namespace osk
