// The platform-independent half of the file services: buffering of saves and the test hook that simulates a full
// disk. Each platform supplies writeRaw and the rest.
#include <atomic>

#include "engine/file_io.h"

namespace osk::fileio {

namespace {
std::atomic<int64_t> gWriteLimit{-1};
std::atomic<int64_t> gWritten{0};
}  // namespace

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
#ifdef _WIN32
    // Both separators name the same folder on Windows.
    if (x == '/') x = '\\';
    if (y == '/') y = '\\';
#endif
    if (x != y) return false;
  }
  return true;
}

void SaveTarget::failWritesAfter(int64_t bytes) {
  gWriteLimit = bytes;
  gWritten = 0;
}

bool SaveTarget::writeChecked(const char* data, std::size_t size) {
  if (gWriteLimit >= 0 && gWritten + static_cast<int64_t>(size) > gWriteLimit) return false;
  if (!writeRaw(data, size)) return false;
  gWritten += static_cast<int64_t>(size);
  return true;
}

bool SaveTarget::flushBuffer() {
  if (buffer_.empty()) return true;
  bool ok = writeChecked(buffer_.data(), buffer_.size());
  buffer_.clear();
  return ok;
}

bool SaveTarget::write(const char* data, std::size_t size) {
  if (failed_ || handle_ == -1) return false;
  if (buffer_.size() + size > buffer_.capacity()) {
    if (!flushBuffer()) return !(failed_ = true);
    if (size >= buffer_.capacity()) {
      if (!writeChecked(data, size)) return !(failed_ = true);
      return true;
    }
  }
  buffer_.insert(buffer_.end(), data, data + size);
  return true;
}

}  // namespace osk::fileio
