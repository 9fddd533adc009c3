#include "app/win32/status_bar.h"

#include <cstdint>
#include <string>

#include "app/gauge_pacing.h"
#include "app/status_fields.h"
#include "app/win32/dispatch.h"
#include "app/win32/shell.h"
#include "engine/ecd_api.h"

namespace osk::app {
namespace {

constexpr int kFieldTop = 2;          // fields stand 2 pixels inside the bar's top and bottom
constexpr int kTextInset = 4;         // text starts this far inside a field's border
constexpr size_t kMessageShown = 128; // characters of the message drawn
constexpr COLORREF kGaugeDone = RGB(0, 0, 255);

struct BarState {
  StatusFields fields;
  HWND gauge = nullptr;
};

BarState& state() {
  static BarState s;
  return s;
}

HFONT statusFont() {
  static HFONT font = [] {
    HFONT made = CreateFontA(-statusFontHeight(GetSystemMetrics(SM_CYSCREEN)), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                             FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             VARIABLE_PITCH | FF_SWISS, "Arial");
    return made != nullptr ? made : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

// The fields' places for the bar's present width, measured with its font.
StatusLayout layoutOf(HWND bar) {
  RECT client;
  GetClientRect(bar, &client);
  HDC dc = GetDC(bar);
  HGDIOBJ old = SelectObject(dc, statusFont());
  const StatusLayout layout = layOutStatusFields(client.right, [dc](std::string_view text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  });
  SelectObject(dc, old);
  ReleaseDC(bar, dc);
  return layout;
}

RECT fieldRect(HWND bar, const FieldSpan& span) {
  RECT client;
  GetClientRect(bar, &client);
  return RECT{span.left, kFieldTop, span.right, client.bottom - kFieldTop};
}

void invalidateFields(HWND bar, uint8_t fields) {
  if (fields == 0) return;
  const StatusLayout layout = layoutOf(bar);
  const std::pair<StatusField, FieldSpan> spans[] = {
      {kLineField, layout.line}, {kColumnField, layout.column}, {kModeField, layout.mode},
      {kMessageField, layout.message}};
  for (const auto& [field, span] : spans) {
    if ((fields & field) == 0) continue;
    RECT r = fieldRect(bar, span);
    InvalidateRect(bar, &r, TRUE);
  }
}

void setFields(HWND bar, const StatusFields& now) {
  const uint8_t changed = fieldsToRedraw(state().fields, now);
  state().fields = now;
  invalidateFields(bar, changed);
}

void drawField(HDC dc, RECT r, const std::string& text, UINT align) {
  DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  r.left += kTextInset;
  r.right -= align == DT_CENTER ? kTextInset : 2;
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void paintBar(HWND bar) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(bar, &ps);
  const StatusLayout layout = layoutOf(bar);
  HGDIOBJ oldFont = SelectObject(dc, statusFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const StatusFields& f = state().fields;
  drawField(dc, fieldRect(bar, layout.line), lineFieldText(f), DT_LEFT);
  drawField(dc, fieldRect(bar, layout.column), columnFieldText(f), DT_LEFT);
  drawField(dc, fieldRect(bar, layout.mode), modeFieldText(f), DT_CENTER);
  if (layout.message.right > layout.message.left) {
    char message[kMessageShown + 1] = {};
    GetWindowTextA(bar, message, sizeof message);
    drawField(dc, fieldRect(bar, layout.message), state().gauge != nullptr ? std::string() : message, DT_LEFT);
  }
  SelectObject(dc, oldFont);
  EndPaint(bar, &ps);
}

// The gauge's progress and the pace of its drawings live with its window.
struct GaugeState {
  explicit GaugeState(uint32_t start) : progress(start) {}
  GaugeProgress progress;
  GaugePacing pacing;
  bool paintPending = false;   // a change waits for the next paint
};

GaugeState* gaugeStateOf(HWND gauge) {
  return gauge != nullptr ? reinterpret_cast<GaugeState*>(GetWindowLongPtrA(gauge, GWLP_USERDATA)) : nullptr;
}

GaugeProgress* progressOf(HWND gauge) {
  GaugeState* state = gaugeStateOf(gauge);
  return state != nullptr ? &state->progress : nullptr;
}

void placeGauge(HWND bar) {
  HWND gauge = state().gauge;
  if (gauge == nullptr) return;
  const RECT r = fieldRect(bar, layoutOf(bar).message);
  MoveWindow(gauge, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

// Drawn at once: the work that steps the gauge keeps the message loop waiting.
void drawGaugeNow(HWND gauge) {
  InvalidateRect(gauge, nullptr, FALSE);
  UpdateWindow(gauge);
}

void paintGauge(HWND gauge) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(gauge, &ps);
  RECT client;
  GetClientRect(gauge, &client);
  GaugeState* state = gaugeStateOf(gauge);
  unsigned percent = 0;
  if (state != nullptr) {
    state->progress.refresh();
    state->paintPending = false;
    percent = state->progress.percent();
  }
  char caption[256] = {};
  GetWindowTextA(gauge, caption, sizeof caption);
  const std::string text = gaugeText(caption, percent);
  HGDIOBJ oldFont = SelectObject(dc, statusFont());
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  const int x = (client.right - extent.cx) / 2;
  const int y = (client.bottom - extent.cy) / 2;
  // The same centred text twice, each clipped to its part: white on blue up to the share done, black on the
  // window colour after it.
  RECT done = client;
  done.right = static_cast<LONG>(client.right * static_cast<int64_t>(percent) / 100);
  RECT rest = client;
  rest.left = done.right;
  SetBkColor(dc, kGaugeDone);
  SetTextColor(dc, RGB(255, 255, 255));
  ExtTextOutA(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &done, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  SetTextColor(dc, RGB(0, 0, 0));
  ExtTextOutA(dc, x, y, ETO_CLIPPED | ETO_OPAQUE, &rest, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  SelectObject(dc, oldFont);
  EndPaint(gauge, &ps);
}

LRESULT CALLBACK flGaugeWndProc(HWND gauge, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paintGauge(gauge);
      return 0;
    case WM_ERASEBKGND:
      return 1;   // painting covers the whole client
    case WM_NCDESTROY:
      delete gaugeStateOf(gauge);
      SetWindowLongPtrA(gauge, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(gauge, message, wParam, lParam);
}

LRESULT createGauge(HWND bar, uint32_t start) {
  BarState& s = state();
  if (s.gauge != nullptr) DestroyWindow(s.gauge);
  const RECT r = fieldRect(bar, layoutOf(bar).message);
  s.gauge = CreateWindowExA(0, kGaugeClass, "", WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top, bar,
                            nullptr, shell().instance, nullptr);
  if (s.gauge == nullptr) return 0;
  SetWindowLongPtrA(s.gauge, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new GaugeState(start)));
  return reinterpret_cast<LRESULT>(s.gauge);
}

void startGauge(uint32_t count) {
  HWND gauge = state().gauge;
  GaugeState* g = gaugeStateOf(gauge);
  if (g == nullptr) return;
  g->progress.setCount(count);
  g->progress.refresh();
  ShowWindow(gauge, SW_SHOWNA);
  drawGaugeNow(gauge);
  g->pacing.start(static_cast<int>(g->progress.percent()), GetTickCount64());
}

// A load steps the gauge once per block, thousands of times: it is drawn again only when its percentage changed,
// at once when a drawing is due, else at the next paint (when the work pauses for a question, say).
void stepGauge(uint32_t value) {
  HWND gauge = state().gauge;
  GaugeState* g = gaugeStateOf(gauge);
  if (g == nullptr) return;
  g->progress.setValue(value);
  const unsigned percent = g->progress.percent();
  if (percent == g->progress.shown()) return;
  if (g->pacing.repaintDue(static_cast<int>(percent), GetTickCount64())) {
    drawGaugeNow(gauge);
  } else if (!g->paintPending) {
    g->paintPending = true;
    InvalidateRect(gauge, nullptr, FALSE);
  }
}

void destroyGauge(HWND bar) {
  BarState& s = state();
  if (s.gauge == nullptr) return;
  DestroyWindow(s.gauge);
  s.gauge = nullptr;
  invalidateFields(bar, kMessageField);
}

LRESULT answerQuery(WPARAM what) {
  const BarState& s = state();
  switch (what) {
    case kQueryLine: return s.fields.document ? static_cast<LRESULT>(s.fields.line) : 0;
    case kQueryColumn: return s.fields.document ? static_cast<LRESULT>(s.fields.column) : 0;
    case kQueryMode: return static_cast<LRESULT>(s.fields.mode());
    case kQueryGaugePercent: {
      const GaugeProgress* progress = progressOf(s.gauge);
      return progress != nullptr ? static_cast<LRESULT>(progress->percent()) : -1;
    }
    default: return 0;
  }
}

LRESULT CALLBACK flStatWndProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  BarState& s = state();
  switch (message) {
    case WM_PAINT:
      paintBar(bar);
      return 0;
    case WM_SIZE:
      placeGauge(bar);
      return 0;
    case WM_SETTEXT:
      if (s.gauge != nullptr) {
        SetWindowTextA(s.gauge, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
        drawGaugeNow(s.gauge);
        return TRUE;
      }
      invalidateFields(bar, kMessageField);
      break;
    case kStatCaret: {
      StatusFields now = s.fields;
      if (lParam == 0) {
        now = StatusFields{};
      } else {
        const auto* caret = reinterpret_cast<const int32_t*>(lParam);
        now.document = true;
        now.line = static_cast<uint32_t>(caret[0]);
        now.column = static_cast<uint32_t>(caret[1]);
      }
      setFields(bar, now);
      return 0;
    }
    case kStatInsertMode: {
      StatusFields now = s.fields;
      now.insert = lParam != 0;
      setFields(bar, now);
      return 0;
    }
    case kStatReadOnly: {
      StatusFields now = s.fields;
      now.readOnly = wParam != 0;
      setFields(bar, now);
      return 0;
    }
    case kStatGaugeCreate:
      return createGauge(bar, static_cast<uint32_t>(wParam));
    case kStatGaugeStart:
      startGauge(static_cast<uint32_t>(wParam));
      return 0;
    case kStatGaugeStep:
      stepGauge(static_cast<uint32_t>(wParam));
      return 0;
    case kStatGaugeDestroy:
      destroyGauge(bar);
      return 0;
    case kStatQuery:
      return answerQuery(wParam);
    case WM_DESTROY:
      s.gauge = nullptr;   // destroyed with the bar
      break;
    default:
      break;
  }
  return DefWindowProcA(bar, message, wParam, lParam);
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

bool registerGaugeClass(HINSTANCE instance) {
  WNDCLASSEXA gaugeClass{};
  gaugeClass.cbSize = sizeof gaugeClass;
  gaugeClass.lpfnWndProc = flGaugeWndProc;
  gaugeClass.hInstance = instance;
  gaugeClass.hCursor = LoadCursorA(nullptr, IDC_WAIT);
  gaugeClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  gaugeClass.lpszClassName = kGaugeClass;
  return RegisterClassExA(&gaugeClass) != 0;
}

HWND createStatusBar(HWND frame) {
  return CreateWindowExA(0, kStatusBarClass, "", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, frame,
                         nullptr, shell().instance, nullptr);
}

int statusBarHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, statusFont());
  SIZE measured{};
  GetTextExtentPoint32A(dc, "Line: 99999999", 14, &measured);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return statusBarHeightFor(measured.cy, statusFontHeight(GetSystemMetrics(SM_CYSCREEN)));
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

void showCaretPosition(long line, long column) {
  HWND bar = shell().statusBar;
  if (bar == nullptr) return;
  if (line <= 0) {
    SendMessageA(bar, kStatCaret, 0, 0);
    return;
  }
  const int32_t caret[2] = {static_cast<int32_t>(line), static_cast<int32_t>(column)};
  SendMessageA(bar, kStatCaret, 0, reinterpret_cast<LPARAM>(caret));
}

void showInsertMode(bool insert) {
  if (shell().statusBar != nullptr) SendMessageA(shell().statusBar, kStatInsertMode, 0, insert ? 1 : 0);
}

void refreshStatusFields(HWND editor) {
  HWND bar = shell().statusBar;
  if (bar == nullptr) return;
  if (editor == nullptr) {
    SendMessageA(bar, kStatCaret, 0, 0);
    return;
  }
  // The caret's line and column come back through the pair; the answer itself is the cell.
  int32_t caret[2] = {0, 0};
  SendMessageA(editor, ECD_GET_CARET, 0, reinterpret_cast<LPARAM>(caret));
  SendMessageA(bar, kStatCaret, 0, reinterpret_cast<LPARAM>(caret));
  SendMessageA(bar, kStatReadOnly, editorSays(editor, ECD_IS_READ_ONLY) ? 1 : 0, 0);
  SendMessageA(bar, kStatInsertMode, 0, editorSays(editor, ECD_IS_INSERT_MODE) ? 1 : 0);
}

}  // namespace osk::app
