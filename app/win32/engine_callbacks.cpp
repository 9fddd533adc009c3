#include "app/win32/engine_callbacks.h"

#include <windows.h>

#include "app/win32/shell.h"

namespace {

int gaugeDepth = 0;
HCURSOR cursorBeforeGauge = nullptr;

bool escapeHeldInThisProgram() {
  if ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0) return false;
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  return foregroundProcess == GetCurrentProcessId();
}

}  // namespace

// No character is handled by the program yet: each goes back to the editor window's default processing.
extern "C" int32_t OSK_CALL fbEdEventHandler(EcdEventRecord* /*event*/) { return 0; }

extern "C" int32_t OSK_CALL OskInitGauge(int32_t /*first*/, int32_t /*count*/, const char* /*caption*/) {
  if (gaugeDepth++ == 0) cursorBeforeGauge = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  return 0;
}

extern "C" int32_t OSK_CALL OskUpdateGauge(int32_t /*step*/) { return escapeHeldInThisProgram() ? 1 : 0; }

extern "C" int32_t OSK_CALL OskDestroyGauge(void) {
  if (gaugeDepth > 0 && --gaugeDepth == 0) SetCursor(cursorBeforeGauge);
  return 0;
}
