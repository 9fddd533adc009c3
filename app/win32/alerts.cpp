#include "app/win32/alerts.h"

#include "app/engine_error_text.h"

namespace osk::app {

void showStop(HWND owner, const std::string& text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(owner, text.c_str(), "OSK", MB_OK | MB_ICONSTOP | (owner == nullptr ? MB_TASKMODAL : 0));
}

void showEngineError(HWND owner, int32_t code) { showStop(owner, std::string(engineErrorText(code))); }

}  // namespace osk::app
