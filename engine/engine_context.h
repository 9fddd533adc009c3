// The engine context: one per process. Initialisation state, the owner window and callbacks, system options, the
// untitled counter, the buffer array and the current target.
//
// Buffer handles given to the engine are checked against the buffer array, so a stale or foreign handle is refused
// instead of being followed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/ecd_types.h"

namespace osk {

class Buffer;
class EditorRecord;

struct GaugeCallbacks {
  EcdGaugeStartProc start = nullptr;
  EcdGaugeStepProc step = nullptr;
  EcdGaugeEndProc end = nullptr;
};

// Delivers a buffer notice to an editor window (SendMessage on Windows; a recorder in tests).
using NoticeSender = intptr_t (*)(OskWindow window, uint32_t code, uintptr_t wParam, intptr_t lParam);

class Engine {
 public:
  static Engine& instance();

  bool initialised = false;
  OskWindow owner = nullptr;
  EcdEventProc eventCallback = nullptr;
  GaugeCallbacks gauge;
  EcdSystemOptions options{};
  int32_t untitledCounter = 0;
  NoticeSender noticeSender = nullptr;
  // Set by the platform layer: what initialisation and termination do beyond the portable state (cursors,
  // system colours).
  void (*platformInitialise)() = nullptr;
  void (*platformTerminate)() = nullptr;

  // Current target: a window (set by the window layer) or a buffer without window.
  OskWindow currentWindow = nullptr;
  Buffer* currentBuffer = nullptr;
  int32_t bufferLine = 0;
  int32_t bufferColumn = 0;
  bool windowTarget = false;
  // The record of the current window (null for a buffer target), and how the window layer finds the record of
  // a window (null for a window without one).
  EditorRecord* currentRecord = nullptr;
  EditorRecord* (*recordOf)(OskWindow window) = nullptr;

  // The buffer array: every open buffer, in creation order.
  const std::vector<Buffer*>& buffers() const { return buffers_; }
  bool adopt(std::unique_ptr<Buffer> buffer);
  // Removes the buffer from the array and frees it.
  void close(Buffer* buffer);
  void closeAll();
  Buffer* find(HEDBUFFER handle) const;
  // A buffer other than `except` whose file is `fullName`.
  Buffer* holderOf(const std::string& fullName, const Buffer* except) const;

  bool option(int word) const { return options.word[word] != 0; }

  // Back to the state at load, for tests.
  void resetForTests();

 private:
  std::vector<Buffer*> buffers_;
};

HEDBUFFER toHandle(Buffer* buffer);

}  // namespace osk
