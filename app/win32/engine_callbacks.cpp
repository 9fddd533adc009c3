#include "app/win32/engine_callbacks.h"

#include <windows.h>

#include <cstdint>

#include "app/editing_commands.h"
#include "app/gauge_pacing.h"
#include "app/win32/dispatch.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/oek_api.h"

namespace osk::app {
namespace {

// The operation in progress: how deep the starts nest, the cursor to give back at the end and the pace of the Esc
// polls (a 100 MB load steps the gauge some 12,000 times).
struct GaugeRun {
  int depth = 0;
  HCURSOR cursorBefore = nullptr;
  GaugePacing pacing;
};

GaugeRun& gaugeRun() {
  static GaugeRun g;
  return g;
}

bool isEscapeMessage(const MSG& message) {
  return ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) && message.wParam == VK_ESCAPE) ||
         (message.message == WM_CHAR && message.wParam == 27);
}

// The Esc that stops the work has done its job: it must not go on to close the dialog that started the work once
// the queue is read again. Only Esc messages at the head of the queue go; typed-ahead keys stay.
void dropQueuedEscape() {
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE) && isEscapeMessage(message)) {
    PeekMessageA(&message, message.hwnd, message.message, message.message, PM_REMOVE);
  }
}

// Esc held while one of this program's windows is in front. The keystroke layer answers for its own thread; the
// process-wide look also catches Esc pressed over a window of this program that another thread owns.
bool escapePressed() {
  if (OEK_fbIsEscPressed() != 0) return true;
  if ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0) return false;
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  return foregroundProcess == GetCurrentProcessId();
}

}  // namespace
}  // namespace osk::app

using osk::app::gaugeRun;
using osk::app::shell;

extern "C" int32_t OSK_CALL fbEdEventHandler(EcdEventRecord* event) {
  if (event == nullptr || event->kind != ECD_EVENT_CHAR) return 0;
  bool handled = false;
  if (!osk::app::typeCharacter(event->value, handled)) osk::app::beep();
  return handled ? 1 : 0;
}

extern "C" int32_t OSK_CALL OskInitGauge(int32_t first, int32_t count, const char* caption) {
  auto& g = gaugeRun();
  if (g.depth++ > 0) return 0;
  shell().gaugeAborted = false;
  // An Esc from before the work must not stop it; from now on Esc keys stop the work and nothing else.
  OEK_fbIsEscPressed();
  OEK_fvEatEsc(1);
  g.cursorBefore = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  g.pacing.start(0, GetTickCount64());
  HWND bar = shell().statusBar;
  if (bar == nullptr) return 0;
  if (SendMessageA(bar, osk::app::kStatGaugeCreate, static_cast<uint32_t>(first), 0) == 0) return 0;
  if (caption != nullptr) SetWindowTextA(bar, caption);   // the caption goes to the gauge
  SendMessageA(bar, osk::app::kStatGaugeStart, static_cast<uint32_t>(count), 0);
  return 0;
}

extern "C" int32_t OSK_CALL OskUpdateGauge(int32_t step) {
  auto& g = gaugeRun();
  if (g.depth > 0 && shell().statusBar != nullptr) {
    SendMessageA(shell().statusBar, osk::app::kStatGaugeStep, static_cast<uint32_t>(step), 0);
  }
  if (!g.pacing.escPollDue(GetTickCount64()) || !osk::app::escapePressed()) return 0;
  osk::app::dropQueuedEscape();
  shell().gaugeAborted = true;
  return 1;
}

extern "C" int32_t OSK_CALL OskDestroyGauge(void) {
  auto& g = gaugeRun();
  if (g.depth == 0 || --g.depth > 0) return 0;
  if (shell().statusBar != nullptr) SendMessageA(shell().statusBar, osk::app::kStatGaugeDestroy, 0, 0);
  OEK_fvEatEsc(0);
  SetCursor(g.cursorBefore);
  return 0;
}
