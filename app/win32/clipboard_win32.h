// The system clipboard for the clip commands: text as a global text block, its kind told by the two private
// formats that lie beside it (one-byte blocks without meaning of their own).
#pragma once

#include <windows.h>

#include "app/clip_buffers.h"

namespace osk::app {

class SystemClipboard final : public ClipboardPort {
 public:
  explicit SystemClipboard(HWND owner) : owner_(owner) {}
  ~SystemClipboard() override { close(); }
  SystemClipboard(const SystemClipboard&) = delete;
  SystemClipboard& operator=(const SystemClipboard&) = delete;

  bool open() override;
  void close() override;
  HGLOBALTEXT text(ClipKind& kind) override;
  void empty() override;
  bool put(HGLOBALTEXT block, ClipKind kind) override;

 private:
  HWND owner_;
  bool open_ = false;
};

}  // namespace osk::app
