#include "services/win32/tool_bar_window.h"

#include <algorithm>
#include <cstdlib>

#include "services/win32/config_win32.h"
#include "services/win32/ocs_bars_api.h"
#include "services/win32/tool_tip_win32.h"

namespace osk::win32 {
namespace {

constexpr char kBarClass[] = "OSK 2.0 Tool Bar";
constexpr UINT_PTR kTipTimer = 1;
constexpr UINT kTipDelay = 600;
// How near an edge of the frame's client area a dragged bar must be let go to dock there.
constexpr int32_t kDockMargin = 32;

constexpr DWORD kDockedStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kFloatingStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFloatingExStyle = WS_EX_TOOLWINDOW;

bool registerClass() {
  static bool done = false;
  if (done) return true;
  WNDCLASSA wc{};
  wc.lpfnWndProc = CMoveableBar::windowProc;
  wc.hInstance = servicesModule();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kBarClass;
  done = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return done;
}

BarRect toBar(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT toRect(const BarRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The work area of the monitor nearest to a rectangle.
BarRect workAreaNear(const RECT& r) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) return toBar(mi.rcWork);
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

CMoveableBar::CMoveableBar(ControlBars& bars, const CToolBarObject& toolBar, const ToolBarOptions& global)
    : bars_(bars), name_(toolBar.name) {
  for (const CToolBarElement& e : toolBar.elements) {
    elements_.push_back(e.command);
    separators_.push_back(e.command == kSeparatorNumber);
  }
  settings_.options = global;
  // Where the bar floats until it is placed: near the frame's top left corner.
  RECT frame{};
  GetWindowRect(bars_.frame(), &frame);
  settings_.rect = {frame.left + 40, frame.top + 80, frame.left + 40, frame.top + 80};
  if (name_ == kPrintPreviewToolBar) settings_.visible = 0;
}

CMoveableBar::~CMoveableBar() {
  if (window_) {
    bars_.core().removeToolBarWindow(reinterpret_cast<HWND__*>(window_));
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool CMoveableBar::createWindow() {
  if (!registerClass()) return false;
  hideTip();
  if (window_) {
    bars_.core().removeToolBarWindow(reinterpret_cast<HWND__*>(window_));
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
  HWND frame = bars_.frame();
  if (!frame || !IsWindow(frame)) return false;
  if (floating()) {
    const BarRect r = settings_.rect;
    window_ = CreateWindowExA(kFloatingExStyle, kBarClass, name_.c_str(), kFloatingStyle, r.left, r.top,
                              std::max(r.width(), 1), std::max(r.height(), 1), frame, nullptr, servicesModule(),
                              this);
  } else {
    window_ = CreateWindowExA(0, kBarClass, name_.c_str(), kDockedStyle, 0, 0, 0, 0, frame, nullptr,
                              servicesModule(), this);
  }
  if (!window_) return false;
  bars_.core().addToolBarWindow(reinterpret_cast<HWND__*>(window_), name_);
  if (floating()) fitFloating();
  return true;
}

void CMoveableBar::setVisible(bool visible) {
  settings_.visible = visible ? 1 : 0;
  if (!window_) return;
  if (!visible) {
    hideTip();
    ShowWindow(window_, SW_HIDE);
  } else if (floating()) {
    fitFloating();
  }
}

bool CMoveableBar::setOption(int32_t property, int32_t value) {
  if (!settings_.options.set(property, value)) return false;
  if (property == kPropToolTips && !value) hideTip();
  if (window_) {
    relayout();
    if (floating()) fitFloating();
  }
  return true;
}

void CMoveableBar::readSettings(SettingsStore& store) { readToolBarSettings(store, name_, settings_); }

void CMoveableBar::saveSettings(SettingsStore& store) {
  if (floating() && window_) {
    RECT r;
    GetWindowRect(window_, &r);
    settings_.rect = toBar(r);
  }
  writeToolBarSettings(store, name_, settings_);
}

bool CMoveableBar::hasCommand(int32_t command) const {
  return std::find(elements_.begin(), elements_.end(), command) != elements_.end();
}

void CMoveableBar::commandChanged(int32_t command) {
  for (size_t i = 0; i < elements_.size(); ++i)
    if (elements_[i] == command) invalidateElement(static_cast<int32_t>(i));
}

ButtonLayout CMoveableBar::layoutFor(int32_t length) const {
  return layoutButtons(separators_, settings_.options.largeButtons != 0, vertical(), settings_.options.wrap != 0,
                       length);
}

int32_t CMoveableBar::thickness(int32_t length) const {
  const ButtonLayout l = layoutFor(length);
  return vertical() ? l.width : l.height;
}

void CMoveableBar::relayout() {
  RECT c{};
  if (window_) GetClientRect(window_, &c);
  layout_ = layoutFor(vertical() ? c.bottom : c.right);
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void CMoveableBar::placeDocked(HDWP* deferred, const RECT& r) {
  if (!window_) return;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (deferred && *deferred) {
    *deferred = DeferWindowPos(*deferred, window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               flags);
    if (*deferred) return;
  }
  SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
}

void CMoveableBar::fitFloating() {
  if (!window_ || !floating()) return;
  RECT extra{0, 0, 0, 0};
  AdjustWindowRectEx(&extra, kFloatingStyle, FALSE, kFloatingExStyle);
  const FrameExtra decoration{extra.right - extra.left, extra.bottom - extra.top};
  RECT now;
  GetWindowRect(window_, &now);
  // A horizontal bar keeps the width it floats at (its buttons wrap to it); a vertical one its height.
  const int32_t length = vertical() ? (now.bottom - now.top) - decoration.height
                                    : (now.right - now.left) - decoration.width;
  const ButtonLayout l = layoutFor(length > 0 ? length : 0x7FFF);
  const BarRect fitted = floatingFrameRect(toBar(now), l.width, l.height, decoration, workAreaNear(now));
  if (!(fitted == toBar(now)))
    SetWindowPos(window_, nullptr, fitted.left, fitted.top, fitted.width(), fitted.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  settings_.rect = fitted;
  if (visible() && !IsWindowVisible(window_)) ShowWindow(window_, SW_SHOWNOACTIVATE);
}

void CMoveableBar::activationChanged(bool active) {
  if (window_ && floating()) SendMessageA(window_, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
}

void CMoveableBar::coloursChanged() {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

const CCommand* CMoveableBar::commandOf(int32_t element) const {
  if (element < 0 || element >= static_cast<int32_t>(elements_.size())) return nullptr;
  return bars_.core().command(elements_[element]);
}

bool CMoveableBar::enabled(int32_t element) const {
  const CCommand* c = commandOf(element);
  return c && !(c->state & kStateDisabled);
}

RECT CMoveableBar::buttonRect(int32_t element) const {
  for (const PlacedButton& b : layout_.buttons)
    if (b.element == element) return toRect(b.rect);
  return RECT{0, 0, 0, 0};
}

void CMoveableBar::invalidateElement(int32_t element) {
  if (!window_ || element < 0) return;
  const RECT r = buttonRect(element);
  InvalidateRect(window_, &r, FALSE);
}

void CMoveableBar::setHot(int32_t element) {
  if (element == hot_) return;
  hideTip();
  hot_ = element;
  if (element >= 0) {
    if (const CCommand* c = commandOf(element))
      SendMessageA(bars_.frame(), OCS_MSG_STATUS_TEXT, 0, reinterpret_cast<LPARAM>(c->helpText.c_str()));
    if (settings_.options.toolTips) SetTimer(window_, kTipTimer, kTipDelay, nullptr);
  } else {
    KillTimer(window_, kTipTimer);
  }
}

void CMoveableBar::showTip() {
  KillTimer(window_, kTipTimer);
  const CCommand* c = commandOf(hot_);
  CConfiguration* cfg = bars_.core().configuration();
  if (!c || !cfg || !settings_.options.toolTips) return;
  const std::string shortcut = cfg->keyMap.shortcutText(c->number, systemKeyChar);
  const std::string text = toolTipText(c->menuText, shortcut, settings_.options.tipsWithKeys != 0);
  if (text.empty()) return;
  RECT r = buttonRect(hot_);
  MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  showToolTip(window_, text, POINT{r.left, r.bottom + 2});
}

void CMoveableBar::hideTip() {
  if (window_) KillTimer(window_, kTipTimer);
  hideToolTip(window_);
}

void CMoveableBar::paint(HDC target, const RECT& client) {
  // Drawn off screen first so the buttons do not flicker while states change.
  HDC dc = CreateCompatibleDC(target);
  HBITMAP canvas = CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
  HGDIOBJ oldCanvas = SelectObject(dc, canvas);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!floating()) {
    RECT edge = client;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  }
  HDC images = CreateCompatibleDC(target);
  HGDIOBJ oldImages = bars_.images() ? SelectObject(images, bars_.images()) : nullptr;
  for (const PlacedButton& b : layout_.buttons) drawButton(dc, bars_.images() ? images : nullptr, b);
  if (oldImages) SelectObject(images, oldImages);
  DeleteDC(images);
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldCanvas);
  DeleteObject(canvas);
  DeleteDC(dc);
}

void CMoveableBar::drawButton(HDC dc, HDC images, const PlacedButton& b) {
  const CCommand* c = commandOf(b.element);
  const uint32_t state = c ? c->state : kStateDisabled;
  const bool disabled = (state & kStateDisabled) != 0;
  const bool checked = (state & kStateChecked) != 0;
  const bool pressed = b.element == pressed_ && pressedInside_;
  RECT r = toRect(b.rect);
  if (checked && !pressed) FillRect(dc, &r, GetSysColorBrush(COLOR_3DLIGHT));
  RECT edge = r;
  DrawEdge(dc, &edge, pressed || checked ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const bool large = settings_.options.largeButtons != 0;
  const int w = CToolBarBitmaps::kCellWidth * (large ? 2 : 1), h = CToolBarBitmaps::kCellHeight * (large ? 2 : 1);
  const int shift = pressed || checked ? 1 : 0;
  const int x = r.left + (r.right - r.left - w) / 2 + shift, y = r.top + (r.bottom - r.top - h) / 2 + shift;
  if (images && c && c->imageIndex >= 0) {
    const int sx = c->imageIndex * CToolBarBitmaps::kCellWidth;
    if (!disabled) {
      StretchBlt(dc, x, y, w, h, images, sx, 0, CToolBarBitmaps::kCellWidth, CToolBarBitmaps::kCellHeight, SRCCOPY);
    } else {
      // The image copied out on its own, so the system can emboss it.
      HBITMAP cell = CreateCompatibleBitmap(dc, w, h);
      HDC cellDc = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(cellDc, cell);
      StretchBlt(cellDc, 0, 0, w, h, images, sx, 0, CToolBarBitmaps::kCellWidth, CToolBarBitmaps::kCellHeight,
                 SRCCOPY);
      SelectObject(cellDc, old);
      DeleteDC(cellDc);
      DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(cell), 0, x, y, w, h, DST_BITMAP | DSS_DISABLED);
      DeleteObject(cell);
    }
  }
  if (state & kStateHighlighted) {
    RECT mark = r;
    InflateRect(&mark, -2, -2);
    FrameRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
    InflateRect(&mark, -1, -1);
    FrameRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
}

RECT CMoveableBar::dragFeedback(POINT p, const DropTarget& t) const {
  RECT bar;
  GetWindowRect(window_, &bar);
  if (t.floating) {
    const int32_t w = bar.right - bar.left, h = bar.bottom - bar.top;
    return RECT{p.x - grabOffset_.x, p.y - grabOffset_.y, p.x - grabOffset_.x + w, p.y - grabOffset_.y + h};
  }
  RECT client;
  GetClientRect(bars_.frame(), &client);
  MapWindowPoints(bars_.frame(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const int32_t across = 26;
  RECT r = client;
  if (!t.vertical) {
    if (t.botRight) r.top = r.bottom - across;
    else r.bottom = r.top + across;
  } else {
    if (t.botRight) r.left = r.right - across;
    else r.right = r.left + across;
  }
  return r;
}

void CMoveableBar::drawFeedback(const RECT& r) {
  HDC dc = GetDC(nullptr);
  DrawFocusRect(dc, &r);
  ReleaseDC(nullptr, dc);
}

void CMoveableBar::beginDrag(POINT screen) {
  dragging_ = true;
  hideTip();
  RECT bar;
  GetWindowRect(window_, &bar);
  grabOffset_ = POINT{dragStart_.x - bar.left, dragStart_.y - bar.top};
  trackDrag(screen);
}

static DropTarget dropAt(HWND frame, POINT screen) {
  RECT client;
  GetClientRect(frame, &client);
  MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return dropTarget(toBar(client), screen.x, screen.y, kDockMargin);
}

void CMoveableBar::trackDrag(POINT screen) {
  const RECT r = dragFeedback(screen, dropAt(bars_.frame(), screen));
  if (feedbackShown_ && EqualRect(&r, &feedback_)) return;
  if (feedbackShown_) drawFeedback(feedback_);
  feedback_ = r;
  drawFeedback(feedback_);
  feedbackShown_ = true;
}

void CMoveableBar::endDrag(POINT screen, bool drop) {
  if (feedbackShown_) drawFeedback(feedback_);
  feedbackShown_ = false;
  const bool wasDragging = dragging_;
  dragging_ = dragArmed_ = false;
  if (!wasDragging || !drop) return;
  const DropTarget t = dropAt(bars_.frame(), screen);
  if (t.floating) {
    const RECT r = dragFeedback(screen, t);
    settings_.rect = {r.left, r.top, r.left, r.top};
    // A bar that floats keeps the shape it had: a row of buttons stays a row.
    if (!floating()) {
      RECT bar;
      GetWindowRect(window_, &bar);
      settings_.rect.right = r.left + (bar.right - bar.left);
      settings_.rect.bottom = r.top + (bar.bottom - bar.top);
    }
  }
  settings_.asPopup = t.floating ? 1 : 0;
  if (!t.floating) {
    settings_.vertical = t.vertical ? 1 : 0;
    settings_.botRight = t.botRight ? 1 : 0;
  }
  // The window changes kind, so it is made again; this object outlives the message being handled.
  PostMessageA(window_, WM_APP, 0, 0);
}

LRESULT CALLBACK CMoveableBar::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* bar = reinterpret_cast<CMoveableBar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!bar || bar->window_ != window) {
    if (bar && message == WM_NCCREATE) bar->window_ = window;
    else return DefWindowProcA(window, message, wParam, lParam);
  }
  return bar->handle(message, wParam, lParam);
}

LRESULT CMoveableBar::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      relayout();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window_, &ps);
      RECT client;
      GetClientRect(window_, &client);
      paint(dc, client);
      EndPaint(window_, &ps);
      return 0;
    }
    case WM_MOUSEMOVE: {
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (dragArmed_) {
        POINT screen = p;
        ClientToScreen(window_, &screen);
        if (!dragging_ && (std::abs(screen.x - dragStart_.x) > GetSystemMetrics(SM_CXDRAG) ||
                           std::abs(screen.y - dragStart_.y) > GetSystemMetrics(SM_CYDRAG)))
          beginDrag(screen);
        else if (dragging_)
          trackDrag(screen);
        return 0;
      }
      const int32_t under = buttonAt(layout_, p.x, p.y);
      if (pressed_ >= 0) {
        const bool inside = under == pressed_;
        if (inside != pressedInside_) {
          pressedInside_ = inside;
          invalidateElement(pressed_);
        }
        return 0;
      }
      if (!tracking_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, window_, 0};
        tracking_ = TrackMouseEvent(&tme) != 0;
      }
      setHot(under);
      return 0;
    }
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (pressed_ < 0) setHot(-1);
      return 0;
    case WM_TIMER:
      if (wParam == kTipTimer) showTip();
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      hideTip();
      const int32_t under = buttonAt(layout_, p.x, p.y);
      if (under >= 0) {
        if (!enabled(under)) return 0;
        pressed_ = under;
        pressedInside_ = true;
        invalidateElement(under);
      } else {
        dragArmed_ = true;
        dragStart_ = p;
        ClientToScreen(window_, &dragStart_);
      }
      SetCapture(window_);
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      POINT screen = p;
      ClientToScreen(window_, &screen);
      const int32_t element = pressed_;
      // Where the button is let go decides, whatever the last move reported.
      const bool inside = element >= 0 && buttonAt(layout_, p.x, p.y) == element;
      if (dragArmed_) endDrag(screen, true);
      pressed_ = -1;
      pressedInside_ = false;
      if (GetCapture() == window_) ReleaseCapture();
      if (element >= 0) {
        invalidateElement(element);
        // Posted, so that a command that rebuilds the bars does not pull this window away under its own message.
        if (inside && enabled(element))
          PostMessageA(bars_.frame(), WM_COMMAND, MAKEWPARAM(elements_[element], 0), 0);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_) {
        if (dragArmed_) endDrag(POINT{0, 0}, false);
        if (pressed_ >= 0) {
          const int32_t element = pressed_;
          pressed_ = -1;
          pressedInside_ = false;
          invalidateElement(element);
        }
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && (dragArmed_ || pressed_ >= 0)) ReleaseCapture();
      return 0;
    case WM_APP:
      // Made again after a drag changed where the bar lives.
      if (createWindow()) {
        bars_.reorder(this);
        bars_.layoutChanged();
      }
      return 0;
    case WM_CLOSE:
      setVisible(false);
      bars_.layoutChanged();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      hideTip();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace osk::win32
