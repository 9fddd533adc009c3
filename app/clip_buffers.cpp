#include "app/clip_buffers.h"

#include "app/clip_block.h"

namespace osk::app {

ClipBuffers::~ClipBuffers() { clear(); }

void ClipBuffers::clear() {
  for (ClipSlot& s : slots_) {
    releaseBlock(s.text);
    s = {};
  }
}

const ClipSlot& ClipBuffers::slot(int number) const {
  static const ClipSlot none{};
  return number >= 0 && number < kCount ? slots_[static_cast<size_t>(number)] : none;
}

void ClipBuffers::park(HGLOBALTEXT text, ClipKind kind) {
  ClipSlot& parked = slots_[static_cast<size_t>(current_)];
  releaseBlock(parked.text);
  parked = {text, kind};
}

ClipSelect ClipBuffers::select(int number, ClipboardPort& clipboard) {
  if (number < 0 || number >= kCount) return ClipSelect::kBadNumber;
  if (number == current_) return ClipSelect::kUnchanged;
  if (!clipboard.open()) return ClipSelect::kClipboardBusy;

  ClipKind kind = ClipKind::kStream;
  HGLOBALTEXT onClipboard = clipboard.text(kind);
  HGLOBALTEXT kept = onClipboard != nullptr ? CopyGlobalLine(onClipboard) : nullptr;
  if (onClipboard != nullptr && kept == nullptr) {
    clipboard.close();
    return ClipSelect::kOutOfMemory;
  }
  clipboard.empty();
  ClipSlot& chosen = slots_[static_cast<size_t>(number)];
  if (chosen.text != nullptr) {
    if (!clipboard.put(chosen.text, chosen.kind)) {
      // The old text goes back where it was (or, refused too, waits in the current buffer's slot); the chosen
      // slot keeps its block.
      if (kept != nullptr && !clipboard.put(kept, kind)) park(kept, kind);
      clipboard.close();
      return ClipSelect::kRefused;
    }
    chosen = {};
  }
  // Text parked by a refused selection stays when the clipboard had none of its own.
  if (kept != nullptr) park(kept, kind);
  current_ = number;
  clipboard.close();
  return ClipSelect::kSelected;
}

}  // namespace osk::app
