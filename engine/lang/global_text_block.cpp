#include "engine/lang/global_text_block.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/lang/compiled_nodes.h"

namespace osk {
namespace {

// The portable blocks: a size word in front of the bytes, aligned for any use of the text.
struct alignas(16) HeapBlockHead {
  size_t size;
};

GlobalTextHandle HeapAllocate(size_t bytes) {
  auto* head = static_cast<HeapBlockHead*>(std::calloc(1, sizeof(HeapBlockHead) + bytes));
  if (head != nullptr) head->size = bytes;
  return head;
}

GlobalTextHandle HeapReallocate(GlobalTextHandle block, size_t bytes) {
  auto* old = static_cast<HeapBlockHead*>(block);
  const size_t oldSize = old->size;
  auto* head = static_cast<HeapBlockHead*>(std::realloc(old, sizeof(HeapBlockHead) + bytes));
  if (head == nullptr) return nullptr;
  if (bytes > oldSize) std::memset(reinterpret_cast<char*>(head + 1) + oldSize, 0, bytes - oldSize);
  head->size = bytes;
  return head;
}

void HeapRelease(GlobalTextHandle block) { std::free(block); }
size_t HeapSize(GlobalTextHandle block) { return static_cast<HeapBlockHead*>(block)->size; }
char* HeapLock(GlobalTextHandle block) { return reinterpret_cast<char*>(static_cast<HeapBlockHead*>(block) + 1); }
void HeapUnlock(GlobalTextHandle) {}

constexpr GlobalMemory kHeapMemory = {HeapAllocate, HeapReallocate, HeapRelease, HeapSize, HeapLock, HeapUnlock};

constexpr size_t kFirstBlockSize = 256;

struct GlobalTextState {
  const GlobalMemory* memory = &kHeapMemory;
  GlobalTextHandle current = nullptr;
  size_t currentLength = 0;
  GlobalTextHandle reading = nullptr;
  size_t readPosition = 0;
};

GlobalTextState& State() {
  static GlobalTextState state;
  return state;
}

// Locks a block for the length of one operation.
class LockedBlock {
 public:
  explicit LockedBlock(GlobalTextHandle block)
      : block_(block), text_(State().memory->lock(block)), size_(State().memory->size(block)) {}
  ~LockedBlock() {
    if (text_ != nullptr) State().memory->unlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;

  char* Text() const { return text_; }
  size_t Size() const { return text_ != nullptr ? size_ : 0; }
  // The length of the text: up to the first zero, or the whole block when it has none.
  size_t TextLength() const {
    if (text_ == nullptr) return 0;
    const void* zero = std::memchr(text_, 0, size_);
    return zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - text_) : size_;
  }

 private:
  GlobalTextHandle block_;
  char* text_;
  size_t size_;
};

void Forget(GlobalTextHandle block) {
  GlobalTextState& state = State();
  if (state.current == block) {
    state.current = nullptr;
    state.currentLength = 0;
  }
  if (state.reading == block) {
    state.reading = nullptr;
    state.readPosition = 0;
  }
}

}  // namespace

void SetGlobalMemory(const GlobalMemory* memory) {
  GlobalTextState& state = State();
  state = GlobalTextState{};
  state.memory = memory != nullptr ? memory : &kHeapMemory;
}

GlobalTextHandle AddGlobalText(GlobalTextHandle block, const char* text, int32_t mode) {
  if (mode == kGlobalLineNone) return block;
  GlobalTextState& state = State();
  const GlobalMemory& memory = *state.memory;
  if (block == nullptr) {
    block = memory.allocate(kFirstBlockSize);
    if (block == nullptr) return nullptr;
    {
      LockedBlock locked(block);
      if (locked.Text() == nullptr) {
        memory.release(block);
        return nullptr;
      }
      locked.Text()[0] = 0;
    }
    Forget(state.current);
    state.current = block;
    state.currentLength = 0;
  } else {
    // The remembered length is trusted only while the block still has its zero there; a block that was freed and
    // whose handle came back for other text, or was changed behind our back, is measured again.
    LockedBlock locked(block);
    const size_t length = state.currentLength;
    const bool valid = block == state.current && length < locked.Size() && locked.Text()[length] == 0 &&
                       (length == 0 || locked.Text()[length - 1] != 0);
    if (!valid) {
      state.current = block;
      state.currentLength = locked.TextLength();
    }
  }

  const size_t textLength = text != nullptr ? std::strlen(text) : 0;
  const size_t ending = mode == kGlobalLineWithEnd ? 2 : 0;
  const size_t needed = state.currentLength + textLength + ending + 1;
  if (memory.size(block) < needed) {
    const size_t size = memory.size(block);
    const size_t grown = std::max(needed, size + size / 2);
    GlobalTextHandle moved = memory.reallocate(block, grown);
    if (moved == nullptr) {
      Forget(block);
      memory.release(block);
      return nullptr;
    }
    if (state.reading == block) state.reading = moved;
    block = moved;
    state.current = moved;
  }
  {
    LockedBlock locked(block);
    if (locked.Text() != nullptr && locked.Size() >= needed) {
      char* end = locked.Text() + state.currentLength;
      if (textLength > 0) std::memcpy(end, text, textLength);
      end += textLength;
      if (ending != 0) {
        *end++ = '\r';
        *end++ = '\n';
      }
      *end = 0;
      state.currentLength += textLength + ending;
      return block;
    }
  }
  Forget(block);
  memory.release(block);
  return nullptr;
}

int32_t FirstGlobalLine(GlobalTextHandle block, char* out) {
  GlobalTextState& state = State();
  state.reading = block;
  state.readPosition = 0;
  return NextGlobalLine(out);
}

int32_t NextGlobalLine(char* out) {
  GlobalTextState& state = State();
  if (state.reading == nullptr) return kGlobalTextDone;
  LockedBlock locked(state.reading);
  const char* text = locked.Text();
  const size_t size = locked.Size();
  size_t pos = state.readPosition;
  if (text == nullptr || pos >= size || text[pos] == 0) {
    if (out != nullptr) out[0] = 0;
    return kGlobalTextDone;
  }
  size_t copied = 0;
  while (pos < size && text[pos] != 0 && text[pos] != '\r' && text[pos] != '\n' &&
         copied < static_cast<size_t>(regex::kMaxLineLength)) {
    if (out != nullptr) out[copied] = text[pos];
    ++copied;
    ++pos;
  }
  if (out != nullptr) out[copied] = 0;
  int32_t result = kGlobalLineEnded;
  if (pos >= size || text[pos] == 0) {
    result = kGlobalLineLast;
  } else if (text[pos] == '\r') {
    ++pos;
    if (pos < size && text[pos] == '\n') ++pos;
  } else if (text[pos] == '\n') {
    ++pos;
  }
  state.readPosition = pos;
  return result;
}

GlobalTextHandle CopyGlobalText(GlobalTextHandle block) {
  if (block == nullptr) return nullptr;
  const GlobalMemory& memory = *State().memory;
  LockedBlock source(block);
  if (source.Text() == nullptr) return nullptr;
  const size_t size = std::max<size_t>(source.Size(), 1);
  GlobalTextHandle copy = memory.allocate(size);
  if (copy == nullptr) return nullptr;
  {
    LockedBlock target(copy);
    if (target.Text() != nullptr && target.Size() >= size) {
      const size_t length = std::min(source.TextLength(), size - 1);
      std::memcpy(target.Text(), source.Text(), length);
      target.Text()[length] = 0;
      return copy;
    }
  }
  memory.release(copy);
  return nullptr;
}

void ReleaseGlobalText(GlobalTextHandle block) {
  if (block == nullptr) return;
  Forget(block);
  State().memory->release(block);
}

size_t GlobalTextSize(GlobalTextHandle block) { return block != nullptr ? State().memory->size(block) : 0; }

std::string GlobalTextContents(GlobalTextHandle block) {
  if (block == nullptr) return {};
  LockedBlock locked(block);
  return locked.Text() != nullptr ? std::string(locked.Text(), locked.TextLength()) : std::string();
}

}  // namespace osk
