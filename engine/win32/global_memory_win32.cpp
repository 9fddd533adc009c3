// Global text blocks as movable global memory, so that a block goes to the clipboard as it is and a block the
// clipboard holds is read like any other.
#include <windows.h>

#include "engine/lang/global_text_block.h"

namespace osk::win32 {
namespace {

GlobalTextHandle allocate(size_t bytes) { return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes); }

GlobalTextHandle reallocate(GlobalTextHandle block, size_t bytes) {
  return GlobalReAlloc(static_cast<HGLOBAL>(block), bytes, GMEM_MOVEABLE | GMEM_ZEROINIT);
}

void release(GlobalTextHandle block) { GlobalFree(static_cast<HGLOBAL>(block)); }
size_t size(GlobalTextHandle block) { return GlobalSize(static_cast<HGLOBAL>(block)); }
char* lock(GlobalTextHandle block) { return static_cast<char*>(GlobalLock(static_cast<HGLOBAL>(block))); }
void unlock(GlobalTextHandle block) { GlobalUnlock(static_cast<HGLOBAL>(block)); }

const GlobalMemory kMovableMemory{allocate, reallocate, release, size, lock, unlock};

}  // namespace

void useMovableGlobalMemory() { SetGlobalMemory(&kMovableMemory); }

}  // namespace osk::win32
