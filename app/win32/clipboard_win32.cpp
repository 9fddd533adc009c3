#include "app/win32/clipboard_win32.h"

#include "app/clip_block.h"
#include "app/win32/shell.h"

namespace osk::app {

void releaseBlock(HGLOBALTEXT block) {
  if (block != nullptr) GlobalFree(static_cast<HGLOBAL>(block));
}

bool SystemClipboard::open() {
  if (!open_) open_ = OpenClipboard(owner_) != FALSE;
  return open_;
}

void SystemClipboard::close() {
  if (open_) CloseClipboard();
  open_ = false;
}

HGLOBALTEXT SystemClipboard::text(ClipKind& kind) {
  kind = ClipKind::kStream;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data == nullptr) return nullptr;
  const Shell& s = shell();
  if (s.lineClipboardFormat != 0 && IsClipboardFormatAvailable(s.lineClipboardFormat)) {
    kind = ClipKind::kLine;
  } else if (s.columnClipboardFormat != 0 && IsClipboardFormatAvailable(s.columnClipboardFormat)) {
    kind = ClipKind::kColumn;
  }
  return data;
}

void SystemClipboard::empty() { EmptyClipboard(); }

bool SystemClipboard::put(HGLOBALTEXT block, ClipKind kind) {
  if (block == nullptr || SetClipboardData(CF_TEXT, static_cast<HANDLE>(block)) == nullptr) return false;
  const UINT marker = kind == ClipKind::kLine     ? shell().lineClipboardFormat
                      : kind == ClipKind::kColumn ? shell().columnClipboardFormat
                                                  : 0;
  if (marker != 0) {
    if (HGLOBAL flag = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1)) {
      if (SetClipboardData(marker, flag) == nullptr) GlobalFree(flag);
    }
  }
  return true;
}

}  // namespace osk::app
