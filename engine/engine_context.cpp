#include "engine/engine_context.h"

#include <algorithm>
#include <string>

#include "engine/buffer.h"
#include "engine/file_io.h"

namespace osk {

Engine& Engine::instance() {
  static Engine engine;
  return engine;
}

HEDBUFFER toHandle(Buffer* buffer) { return reinterpret_cast<HEDBUFFER>(buffer); }

bool Engine::adopt(std::unique_ptr<Buffer> buffer) {
  try {
    buffers_.push_back(buffer.get());
  } catch (const std::bad_alloc&) {
    return false;
  }
  buffer.release();
  return true;
}

void Engine::close(Buffer* buffer) {
  auto it = std::find(buffers_.begin(), buffers_.end(), buffer);
  if (it == buffers_.end()) return;
  buffers_.erase(it);
  if (currentBuffer == buffer) {
    currentBuffer = nullptr;
    if (!windowTarget) bufferLine = bufferColumn = 0;
  }
  delete buffer;
  if (buffers_.empty()) std::vector<Buffer*>().swap(buffers_);
}

void Engine::closeAll() {
  while (!buffers_.empty()) close(buffers_.back());
}

Buffer* Engine::find(HEDBUFFER handle) const {
  if (handle == nullptr) return nullptr;
  for (Buffer* b : buffers_) {
    if (toHandle(b) == handle) return b;
  }
  return nullptr;
}

Buffer* Engine::holderOf(const std::string& fullName, const Buffer* except) const {
  for (Buffer* b : buffers_) {
    if (b != except && !b->fileName().empty() && fileio::sameName(b->fileName(), fullName)) return b;
  }
  return nullptr;
}

void Engine::resetForTests() {
  closeAll();
  *this = Engine();
}

}  // namespace osk
