#include "setup/win32/gauge.h"

#include <cstdio>

#include "setup/install_rules.h"

namespace osk::setup {

namespace {

struct GaugeState {
  std::uint64_t range = 0;
  std::uint64_t position = 0;
  unsigned percent = 0;
};

GaugeState* stateOf(HWND gauge) { return reinterpret_cast<GaugeState*>(GetWindowLongPtrA(gauge, GWLP_USERDATA)); }

void paint(HWND window, const GaugeState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  char text[32];
  std::snprintf(text, sizeof text, "%u%% Complete", state.percent);
  const int filled = static_cast<int>(state.percent * static_cast<unsigned>(client.right) / 100);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(GetParent(window), WM_GETFONT, 0, 0));
  HFONT oldFont = font ? static_cast<HFONT>(SelectObject(dc, font)) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  RECT done{0, 0, filled, client.bottom};
  RECT rest{filled, 0, client.right, client.bottom};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &done, blue);
  DeleteObject(blue);
  FillRect(dc, &rest, GetSysColorBrush(COLOR_WINDOW));
  // The text twice, each clipped to its part, so that it changes colour where the fill ends.
  SaveDC(dc);
  IntersectClipRect(dc, done.left, done.top, done.right, done.bottom);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RestoreDC(dc, -1);
  SaveDC(dc);
  IntersectClipRect(dc, rest.left, rest.top, rest.right, rest.bottom);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RestoreDC(dc, -1);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  if (oldFont) SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

LRESULT CALLBACK gaugeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  GaugeState* state = stateOf(window);
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new GaugeState));
      break;
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    case WM_PAINT:
      if (state) {
        paint(window, *state);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void update(HWND gauge, GaugeState& state) {
  const unsigned percent = percentComplete(state.position, state.range);
  if (percent != state.percent) {
    state.percent = percent;
    InvalidateRect(gauge, nullptr, FALSE);
    UpdateWindow(gauge);
  }
}

}  // namespace

bool registerGauge(HINSTANCE instance) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kGaugeClass, &existing)) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = gaugeProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kGaugeClass;
  return RegisterClassA(&wc) != 0;
}

void setGaugeRange(HWND gauge, std::uint64_t range) {
  if (GaugeState* state = stateOf(gauge)) {
    state->range = range;
    state->position = 0;
    state->percent = 1;   // forces the repaint of 0%
    update(gauge, *state);
  }
}

void setGaugePosition(HWND gauge, std::uint64_t position) {
  if (GaugeState* state = stateOf(gauge)) {
    state->position = position;
    update(gauge, *state);
  }
}

unsigned gaugePercent(HWND gauge) {
  const GaugeState* state = stateOf(gauge);
  return state ? state->percent : 0;
}

}  // namespace osk::setup
