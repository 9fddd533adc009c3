#include "services/win32/tool_tip_win32.h"

#include "services/win32/bars_win32.h"

namespace osk::win32 {
namespace {

constexpr char kTipClass[] = "OSK 2.0 Tool Tip";
constexpr int kPadding = 3;

HWND tipWindow = nullptr;
HWND tipOwner = nullptr;

HFONT tipFont() {
  static HFONT font = nullptr;
  if (!font) {
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) font = CreateFontIndirectA(&m.lfStatusFont);
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  return font;
}

bool ensureWindow() {
  if (tipWindow && IsWindow(tipWindow)) return true;
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ToolTipWndProc;
    wc.hInstance = servicesModule();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kTipClass;
    registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!registered) return false;
  }
  tipWindow = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kTipClass, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                              nullptr, nullptr, servicesModule(), nullptr);
  return tipWindow != nullptr;
}

}  // namespace

void showToolTip(HWND owner, const std::string& text, POINT at) {
  if (!ensureWindow()) return;
  tipOwner = owner;
  SetWindowTextA(tipWindow, text.c_str());
  HDC dc = GetDC(tipWindow);
  HGDIOBJ old = SelectObject(dc, tipFont());
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(tipWindow, dc);
  RECT r{0, 0, size.cx + 2 * kPadding, size.cy + 2 * kPadding};
  AdjustWindowRectEx(&r, WS_POPUP | WS_BORDER, FALSE, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Kept on the screen the tip belongs to.
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &mi)) {
    if (at.x + w > mi.rcWork.right) at.x = mi.rcWork.right - w;
    if (at.y + h > mi.rcWork.bottom) at.y -= h + 30;
    if (at.x < mi.rcWork.left) at.x = mi.rcWork.left;
  }
  SetWindowPos(tipWindow, HWND_TOPMOST, at.x, at.y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(tipWindow, nullptr, TRUE);
}

void hideToolTip(HWND owner) {
  if (!tipWindow || (owner && owner != tipOwner)) return;
  ShowWindow(tipWindow, SW_HIDE);
  tipOwner = nullptr;
}

HWND visibleToolTip() { return tipWindow && IsWindowVisible(tipWindow) ? tipWindow : nullptr; }

}  // namespace osk::win32

extern "C" LRESULT CALLBACK ToolTipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
      char text[128] = {};
      GetWindowTextA(window, text, sizeof text);
      HGDIOBJ old = SelectObject(dc, osk::win32::tipFont());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
      DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, old);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      // The mouse goes through to the button under the tip.
      return HTTRANSPARENT;
    case WM_DESTROY:
      if (window == osk::win32::tipWindow) osk::win32::tipWindow = nullptr;
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
