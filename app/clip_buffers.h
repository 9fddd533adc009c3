// The ten clip buffers: buffer 0 to 9, one of which is current. The current buffer is the system clipboard itself;
// each other buffer is a slot that holds a text block and its kind, or nothing.
//
// Selecting another buffer parks the clipboard's text (a copy, with its kind) in the slot of the current buffer and
// puts the chosen slot's block on the clipboard, which then owns it. The clipboard's text is never lost: when memory
// for the copy runs out or the clipboard refuses the chosen block, everything stays as it was and the result says so.
#pragma once

#include <array>
#include <cstdint>

#include "app/clip_text.h"

namespace osk::app {

// The system clipboard as the clip buffers use it.
class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  virtual bool open() = 0;
  virtual void close() = 0;
  // The clipboard's text block (the clipboard's own; null without text) and its kind.
  virtual HGLOBALTEXT text(ClipKind& kind) = 0;
  virtual void empty() = 0;
  // Hands a block to the clipboard, which owns it from then on; false leaves it with the caller.
  virtual bool put(HGLOBALTEXT block, ClipKind kind) = 0;
};

struct ClipSlot {
  HGLOBALTEXT text = nullptr;
  ClipKind kind = ClipKind::kStream;
};

enum class ClipSelect {
  kSelected,
  kUnchanged,        // the buffer is already current
  kBadNumber,        // not 0 to 9
  kClipboardBusy,    // the clipboard could not be opened
  kOutOfMemory,      // no memory to keep the clipboard's text: nothing changed
  kRefused,          // the clipboard would not take the chosen text: nothing changed
};

class ClipBuffers {
 public:
  static constexpr int kCount = 10;

  ClipBuffers() = default;
  ~ClipBuffers();
  ClipBuffers(const ClipBuffers&) = delete;
  ClipBuffers& operator=(const ClipBuffers&) = delete;

  int current() const { return current_; }
  ClipSelect select(int number, ClipboardPort& clipboard);
  // The slot of a buffer other than the current one (the current one's text is on the clipboard, unless the
  // clipboard refused to take it back, when it waits here); an empty slot for a number out of range.
  const ClipSlot& slot(int number) const;
  // Frees every slot's block; the current number stays.
  void clear();

 private:
  void park(HGLOBALTEXT text, ClipKind kind);

  std::array<ClipSlot, kCount> slots_{};
  int current_ = 0;
};

}  // namespace osk::app
