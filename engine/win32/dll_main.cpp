// The engine library's entry: records the module and registers the editor window class on load.
#include <windows.h>

#include "engine/engine_context.h"
#include "engine/win32/ecd_window.h"

namespace {

intptr_t sendNotice(OskWindow window, uint32_t code, uintptr_t wParam, intptr_t lParam) {
  return SendMessageA(reinterpret_cast<HWND>(window), code, wParam, lParam);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    osk::Engine::instance().noticeSender = sendNotice;
    osk::win32::initialiseOwnerServices(module);
    osk::win32::useMovableGlobalMemory();
    if (!osk::win32::registerEditorClass(module)) return FALSE;
  } else if (reason == DLL_PROCESS_DETACH) {
    osk::win32::unregisterEditorClass(module);
  }
  return TRUE;
}
