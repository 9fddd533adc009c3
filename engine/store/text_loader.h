// Turns the bytes of a file into text blocks: line ends normalised, over-long lines split, NUL and Ctrl-Z handled.
//
// Line-end mode is decided from the first 8188 bytes: a line feed not directly preceded by a carriage return makes
// the text Unix (LF); otherwise every line ends CR LF, and lone CRs and lone LFs both end lines. A line longer than
// 1024 characters is cut into lines of 1024; an unterminated last line gets a line end; NUL bytes become spaces;
// with `removeCtrlZ` every Ctrl-Z byte is dropped wherever it stands.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/store/line_store.h"

namespace osk {

class TextLoader {
 public:
  // `blockDone(bytesConsumed)` is called after each filled block; returning true aborts the load.
  TextLoader(bool removeCtrlZ, std::function<bool(int64_t)> blockDone = {});

  // Feeds the next piece of the file. Returns kOk, kNoMemory or kLoadAborted.
  StoreStatus feed(const char* data, std::size_t size);
  // Ends the text and moves it into `store` (replacing its text, keeping its property table).
  StoreStatus finish(LineStore& store);

  bool unix() const { return unix_; }

 private:
  StoreStatus emitLine();
  StoreStatus closeBlock();

  bool removeCtrlZ_;
  std::function<bool(int64_t)> blockDone_;
  bool decided_ = false;
  bool unix_ = false;
  bool pendingCR_ = false;
  int64_t consumed_ = 0;
  char line_[1024 + 2];
  uint32_t lineLength_ = 0;
  std::unique_ptr<TextBlock> block_;
  int32_t blockLines_ = 0;
  std::vector<std::unique_ptr<TextBlock>> blocks_;
  std::vector<int32_t> lines_;
};

}  // namespace osk
