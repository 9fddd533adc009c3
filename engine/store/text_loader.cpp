#include "engine/store/text_loader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace osk {

namespace {

// Bytes that need more than a copy: line ends, NUL and Ctrl-Z.
struct SpecialBytes {
  bool table[256] = {};
  SpecialBytes() {
    table[0] = table[13] = table[10] = table[26] = true;
  }
};
const SpecialBytes kSpecial;

// Returns the first special byte in [p, end), or end. Eight bytes at a time: every special byte is below 27, and
// the lowest byte that the test flags is always a true one.
const unsigned char* skipOrdinary(const unsigned char* p, const unsigned char* end) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighs = 0x8080808080808080ull;
  while (end - p >= 8) {
    uint64_t x;
    std::memcpy(&x, p, 8);
    const uint64_t below = (x - kOnes * 27) & ~x & kHighs;
    if (below == 0) {
      p += 8;
      continue;
    }
    p += __builtin_ctzll(below) / 8;
    if (kSpecial.table[*p]) return p;
    ++p;
  }
  while (p < end && !kSpecial.table[*p]) ++p;
  return p;
}

}  // namespace

TextLoader::TextLoader(bool removeCtrlZ, std::function<bool(int64_t)> blockDone)
    : removeCtrlZ_(removeCtrlZ), blockDone_(std::move(blockDone)) {}

StoreStatus TextLoader::closeBlock() {
  if (block_ && blockLines_ > 0) {
    try {
      blocks_.push_back(std::move(block_));
      lines_.push_back(blockLines_);
    } catch (const std::bad_alloc&) {
      return StoreStatus::kNoMemory;
    }
    if (blockDone_ && blockDone_(consumed_)) return StoreStatus::kLoadAborted;
  }
  block_.reset();
  blockLines_ = 0;
  return StoreStatus::kOk;
}

StoreStatus TextLoader::emitLine() {
  const uint32_t eol = unix_ ? 1u : 2u;
  if (!block_ || block_->room() < lineLength_ + eol) {
    StoreStatus s = closeBlock();
    if (s != StoreStatus::kOk) return s;
    block_ = newTextBlock();
    if (!block_) return StoreStatus::kNoMemory;
  }
  char* at = block_->text + block_->used;
  std::memcpy(at, line_, lineLength_);
  at += lineLength_;
  if (!unix_) *at++ = '\r';
  *at = '\n';
  block_->used += lineLength_ + eol;
  ++blockLines_;
  lineLength_ = 0;
  return StoreStatus::kOk;
}

StoreStatus TextLoader::feed(const char* data, std::size_t size) {
  // Progress is reported per block; the end of the piece being split is close enough for a gauge.
  consumed_ += static_cast<int64_t>(size);
  if (!decided_) {
    decided_ = true;
    const std::size_t window = std::min<std::size_t>(size, kTextBlockCapacity);
    const void* lf = std::memchr(data, '\n', window);
    if (lf != nullptr) {
      // A Ctrl-Z that loading removes does not stand between a CR and its LF.
      const char* before = static_cast<const char*>(lf);
      while (removeCtrlZ_ && before > data && before[-1] == 26) --before;
      unix_ = before == data || before[-1] != '\r';
    }
  }
  const unsigned char* p = reinterpret_cast<const unsigned char*>(data);
  const unsigned char* end = p + size;
  while (p < end) {
    // Copy a run of ordinary bytes, cutting lines at 1024 characters.
    const unsigned char* run = p;
    p = skipOrdinary(p, end);
    if (p > run && pendingCR_) pendingCR_ = false;
    while (run < p) {
      if (lineLength_ == static_cast<uint32_t>(kMaxLineLength)) {
        StoreStatus s = emitLine();
        if (s != StoreStatus::kOk) return s;
      }
      const std::size_t n = std::min<std::size_t>(p - run, kMaxLineLength - lineLength_);
      std::memcpy(line_ + lineLength_, run, n);
      lineLength_ += static_cast<uint32_t>(n);
      run += n;
    }
    if (p == end) break;
    unsigned char c = *p++;
    if (c == 26 && removeCtrlZ_) continue;
    if (c == '\n') {
      if (pendingCR_) {
        pendingCR_ = false;
        continue;
      }
      StoreStatus s = emitLine();
      if (s != StoreStatus::kOk) return s;
      continue;
    }
    if (c == '\r' && !unix_) {
      StoreStatus s = emitLine();
      if (s != StoreStatus::kOk) return s;
      pendingCR_ = true;
      continue;
    }
    pendingCR_ = false;
    if (c == 0) c = ' ';
    if (lineLength_ == static_cast<uint32_t>(kMaxLineLength)) {
      StoreStatus s = emitLine();
      if (s != StoreStatus::kOk) return s;
    }
    line_[lineLength_++] = static_cast<char>(c);
  }
  return StoreStatus::kOk;
}

StoreStatus TextLoader::finish(LineStore& store) {
  if (lineLength_ > 0) {
    StoreStatus s = emitLine();
    if (s != StoreStatus::kOk) return s;
  }
  StoreStatus s = closeBlock();
  if (s != StoreStatus::kOk) return s;
  store.adoptBlocks(std::move(blocks_), lines_, unix_);
  blocks_.clear();
  lines_.clear();
  return StoreStatus::kOk;
}

}  // namespace osk
