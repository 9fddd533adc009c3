#include "app/win32/engine_callbacks.h"

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/editing_commands.h"
#include "app/gauge_pacing.h"
#include "app/win32/dispatch.h"
#include "app/win32/shell.h"

namespace osk::app {
namespace {

// The gauge of the operation in progress: the steps it counts from and through, and where it stands.
struct Gauge {
  int depth = 0;
  HWND window = nullptr;
  HCURSOR cursorBefore = nullptr;
  int64_t first = 0;
  int64_t count = 0;
  int64_t step = 0;
  std::string caption;
  GaugePacing pacing;
};

Gauge& gauge() {
  static Gauge g;
  return g;
}

// The share done, 0 to 100, counted from the start value; a total of zero or less shows nothing done.
int percentDone(const Gauge& g) {
  if (g.count <= 0) return 0;
  const int64_t done = g.step - g.first;
  if (done <= 0) return 0;
  if (done >= g.count) return 100;
  return static_cast<int>(done * 100 / g.count);
}

bool escapeHeldInThisProgram() {
  if ((GetAsyncKeyState(VK_ESCAPE) & 0x8000) == 0) return false;
  DWORD foregroundProcess = 0;
  GetWindowThreadProcessId(GetForegroundWindow(), &foregroundProcess);
  if (foregroundProcess != GetCurrentProcessId()) return false;
  // The Esc that stops the work has done its job: it must not go on to close the dialog that started the work
  // once the queue is read again. Only Esc messages at the head of the queue go; typed-ahead keys stay.
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) {
    const bool escape = ((message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
                         message.wParam == VK_ESCAPE) ||
                        (message.message == WM_CHAR && message.wParam == 27);
    if (!escape) break;
    PeekMessageA(&message, message.hwnd, message.message, message.message, PM_REMOVE);
  }
  return true;
}

LRESULT CALLBACK flGaugeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const Gauge& g = gauge();
  RECT done = client;
  done.right = client.left + (client.right - client.left) * percentDone(g) / 100;
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  const std::string text = g.caption + "  " + std::to_string(percentDone(g)) + "%";
  DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  EndPaint(window, &ps);
  return 0;
}

}  // namespace

bool registerGaugeClass(HINSTANCE instance) {
  WNDCLASSEXA gaugeClass{};
  gaugeClass.cbSize = sizeof gaugeClass;
  gaugeClass.lpfnWndProc = flGaugeWndProc;
  gaugeClass.hInstance = instance;
  gaugeClass.hCursor = LoadCursorA(nullptr, IDC_WAIT);
  gaugeClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  gaugeClass.lpszClassName = "gauge";
  return RegisterClassExA(&gaugeClass) != 0;
}

}  // namespace osk::app

using osk::app::gauge;
using osk::app::shell;

extern "C" int32_t OSK_CALL fbEdEventHandler(EcdEventRecord* event) {
  if (event == nullptr || event->kind != ECD_EVENT_CHAR) return 0;
  bool handled = false;
  if (!osk::app::typeCharacter(event->value, handled)) osk::app::beep();
  return handled ? 1 : 0;
}

extern "C" int32_t OSK_CALL OskInitGauge(int32_t first, int32_t count, const char* caption) {
  auto& g = gauge();
  if (g.depth++ > 0) return 0;
  g.cursorBefore = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  g.first = first;
  g.count = count;
  g.step = first;
  g.caption = caption != nullptr ? caption : "";
  HWND bar = shell().statusBar;
  if (bar != nullptr && IsWindowVisible(bar)) {
    RECT client;
    GetClientRect(bar, &client);
    g.window = CreateWindowExA(0, "gauge", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 2, 2, client.right / 2,
                               client.bottom - 4, bar, nullptr, shell().instance, nullptr);
    if (g.window != nullptr) UpdateWindow(g.window);
  }
  g.pacing.start(0, GetTickCount64());
  return 0;
}

extern "C" int32_t OSK_CALL OskUpdateGauge(int32_t step) {
  auto& g = gauge();
  g.step = step;
  const uint64_t now = GetTickCount64();
  if (g.window != nullptr && g.pacing.repaintDue(osk::app::percentDone(g), now)) {
    InvalidateRect(g.window, nullptr, FALSE);
    UpdateWindow(g.window);
  }
  if (!g.pacing.escPollDue(now)) return 0;
  return osk::app::escapeHeldInThisProgram() ? 1 : 0;
}

extern "C" int32_t OSK_CALL OskDestroyGauge(void) {
  auto& g = gauge();
  if (g.depth == 0 || --g.depth > 0) return 0;
  if (g.window != nullptr) DestroyWindow(g.window);
  g.window = nullptr;
  SetCursor(g.cursorBefore);
  return 0;
}
