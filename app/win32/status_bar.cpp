#include "app/win32/status_bar.h"

#include <cstdio>

#include "app/win32/shell.h"

namespace osk::app {
namespace {

struct StatusFields {
  long line = 0;
  long cell = 0;
  bool insert = true;
};

StatusFields& fields() {
  static StatusFields f;
  return f;
}

HFONT statusFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      return CreateFontIndirectA(&metrics.lfStatusFont);
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

void paint(HWND bar) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(bar, &ps);
  RECT client;
  GetClientRect(bar, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, statusFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));

  char position[64] = {};
  if (fields().line > 0) std::snprintf(position, sizeof position, "Line: %ld   Col: %ld", fields().line, fields().cell);
  const char* mode = fields().line > 0 ? (fields().insert ? "INS" : "OVR") : "";
  SIZE unit{};
  GetTextExtentPoint32A(dc, "0", 1, &unit);
  const int modeWidth = unit.cx * 5;
  const int positionWidth = unit.cx * 26;
  RECT modeRect{client.right - modeWidth, client.top + 2, client.right - 2, client.bottom - 1};
  RECT positionRect{modeRect.left - positionWidth, modeRect.top, modeRect.left - 4, modeRect.bottom};
  RECT messageRect{client.left + 4, modeRect.top, positionRect.left - 4, modeRect.bottom};
  for (RECT r : {messageRect, positionRect, modeRect}) {
    RECT frame{r.left - 2, r.top, r.right, r.bottom};
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
  }
  char message[1025] = {};
  GetWindowTextA(bar, message, sizeof message);
  DrawTextA(dc, message, -1, &messageRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  DrawTextA(dc, position, -1, &positionRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  DrawTextA(dc, mode, -1, &modeRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  EndPaint(bar, &ps);
}

LRESULT CALLBACK flStatWndProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint(bar);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(bar, message, wParam, lParam);
      InvalidateRect(bar, nullptr, TRUE);
      return result;
    }
    default:
      return DefWindowProcA(bar, message, wParam, lParam);
  }
}

}  // namespace

bool registerStatusBarClass(HINSTANCE instance) {
  WNDCLASSEXA barClass{};
  barClass.cbSize = sizeof barClass;
  barClass.style = CS_HREDRAW;
  barClass.lpfnWndProc = flStatWndProc;
  barClass.hInstance = instance;
  barClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  barClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  barClass.lpszClassName = kStatusBarClass;
  return RegisterClassExA(&barClass) != 0;
}

HWND createStatusBar(HWND frame) {
  return CreateWindowExA(0, kStatusBarClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, frame, nullptr,
                         shell().instance, nullptr);
}

int statusBarHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, statusFont());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight + 8;
}

bool statusBarShown() {
  HWND bar = shell().statusBar;
  return bar != nullptr && (GetWindowLongPtrA(bar, GWL_STYLE) & WS_VISIBLE) != 0;
}

void setStatusMessage(const std::string& text) {
  if (shell().statusBar == nullptr) return;
  SetWindowTextA(shell().statusBar, text.substr(0, 1024).c_str());
}

std::string statusMessage() {
  char text[1025] = {};
  if (shell().statusBar != nullptr) GetWindowTextA(shell().statusBar, text, sizeof text);
  return text;
}

void showCaretPosition(long line, long cell) {
  if (fields().line == line && fields().cell == cell) return;
  fields().line = line;
  fields().cell = cell;
  if (shell().statusBar != nullptr) InvalidateRect(shell().statusBar, nullptr, TRUE);
}

void showInsertMode(bool insert) {
  fields().insert = insert;
  if (shell().statusBar != nullptr) InvalidateRect(shell().statusBar, nullptr, TRUE);
}

}  // namespace osk::app
