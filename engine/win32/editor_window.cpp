// The editor window's Win32 edge: the window procedure, the record attached as a window property, GDI painting of
// the paint plan, the system caret, scroll bars, and the messages that carry atoms or need the platform. The
// window's behaviour lives in the portable EditorRecord.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/buffer.h"
#include "engine/buffer_messages.h"
#include "engine/editing.h"
#include "engine/editor_record.h"
#include "engine/editor_view.h"
#include "engine/engine_context.h"
#include "engine/lang/colour_tables.h"
#include "engine/paint_plan.h"
#include "engine/tabs.h"
#include "engine/win32/ecd_window.h"

namespace osk::win32 {

namespace {

const char kRecordProperty[] = "OskEditorRecord";

HWND ownerOf(HWND window) {
  Engine& e = Engine::instance();
  if (e.owner != nullptr) return reinterpret_cast<HWND>(e.owner);
  return GetParent(window);
}

class WindowRecord final : public EditorRecord {
 public:
  explicit WindowRecord(HWND window) : EditorRecord(reinterpret_cast<OskWindow>(window)), hwnd(window) {}

  HWND hwnd;
  HWND vScrollControl = nullptr;
  HWND hScrollControl = nullptr;
  HFONT font = nullptr;
  RECT deferred{};
  bool hasCaret = false;

  intptr_t notifyOwner(uint32_t code, uintptr_t wParam, intptr_t lParam) override {
    HWND owner = ownerOf(hwnd);
    return owner != nullptr ? SendMessageA(owner, code, wParam, lParam) : 0;
  }
  void moveCaret(int32_t x, int32_t y) override {
    if (hasCaret) SetCaretPos(x, y);
  }
  void invalidate(const PixelRect* rect) override {
    if (rect == nullptr) {
      InvalidateRect(hwnd, nullptr, FALSE);
      return;
    }
    RECT r{rect->left, rect->top, rect->right, rect->bottom};
    InvalidateRect(hwnd, &r, FALSE);
  }
  bool focused() const override { return GetFocus() == hwnd; }
  void refreshScrollBars() override;
  void paintNow() override { UpdateWindow(hwnd); }
  void clientSize(int32_t& width, int32_t& height) const override {
    RECT client;
    GetClientRect(hwnd, &client);
    width = client.right;
    height = client.bottom;
  }
  bool moveContents(int32_t dx, int32_t dy) override {
    // A pending update larger than the text area is cheaper to repaint whole.
    RECT pending;
    if (GetUpdateRect(hwnd, &pending, FALSE)) {
      RECT client;
      GetClientRect(hwnd, &client);
      if ((pending.right - pending.left) * (pending.bottom - pending.top) >= client.right * client.bottom) {
        return false;
      }
      UpdateWindow(hwnd);
    }
    ScrollWindow(hwnd, dx, dy, nullptr, nullptr);
    UpdateWindow(hwnd);
    return true;
  }
  void caretShapeChanged() override { createCaret(); }

  void createCaret() {
    if (!focused()) return;
    if (hasCaret) DestroyCaret();
    const int32_t width = insertMode() ? 2 : view.cellWidth();
    CreateCaret(hwnd, nullptr, width, view.lineHeight());
    hasCaret = true;
    notifyOwner(ECDN_CARET_SHAPE, reinterpret_cast<uintptr_t>(hwnd), insertMode() ? 1 : 0);
    showCaret();
    ShowCaret(hwnd);
  }
  void destroyCaret() {
    if (!hasCaret) return;
    DestroyCaret();
    hasCaret = false;
  }
};

WindowRecord* recordOf(HWND window) { return static_cast<WindowRecord*>(GetPropA(window, kRecordProperty)); }

EditorRecord* recordOfWindow(OskWindow window) {
  if (window == nullptr || !IsWindow(reinterpret_cast<HWND>(window))) return nullptr;
  return recordOf(reinterpret_cast<HWND>(window));
}

void setBar(HWND window, int bar, HWND control, const ScrollBarValues& v) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS;
  si.nMax = v.maximum;
  si.nPos = v.position;
  if (control != nullptr) {
    SetScrollInfo(control, SB_CTL, &si, TRUE);
  } else {
    SetScrollInfo(window, bar, &si, TRUE);
  }
}

void WindowRecord::refreshScrollBars() {
  syncView();
  setBar(hwnd, SB_VERT, vScrollControl, view.verticalBar((flags & kEdVScroll) != 0));
  setBar(hwnd, SB_HORZ, hScrollControl, view.horizontalBar((flags & kEdHScroll) != 0));
  flags &= ~(kEdVScrollChanged | kEdHScrollChanged);
}

void measureFont(WindowRecord& r) {
  HDC dc = GetDC(r.hwnd);
  HGDIOBJ old = SelectObject(dc, r.font != nullptr ? r.font : GetStockObject(SYSTEM_FIXED_FONT));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(r.hwnd, dc);
  const EcdSystemOptions& o = Engine::instance().options;
  r.view.setMetrics(std::min<int32_t>(tm.tmMaxCharWidth, 2 * tm.tmAveCharWidth) + o.word[ECD_OPT_EXTRA_CHAR_SPACING],
                    tm.tmHeight + tm.tmExternalLeading + o.word[ECD_OPT_EXTRA_LINE_SPACING]);
  if (tm.tmItalic) {
    r.flags |= kEdItalic;
  } else {
    r.flags &= ~kEdItalic;
  }
}

// The engine's three colour pairs, as the colour tables keep them (following the system colours until changed).
struct Colours {
  COLORREF normalBack, normalText, selectedBack, selectedText, bookmarkBack, bookmarkText;
};

Colours currentColours() {
  Colours c;
  uint32_t fore = 0, back = 0;
  syntax::StandardColours(syntax::kNormalText, fore, back);
  c.normalText = fore;
  c.normalBack = back;
  syntax::StandardColours(syntax::kSelectedText, fore, back);
  c.selectedText = fore;
  c.selectedBack = back;
  syntax::StandardColours(syntax::kBookmark, fore, back);
  c.bookmarkText = fore;
  c.bookmarkBack = back;
  return c;
}

void paintCells(HDC dc, const WindowRecord& r, int32_t x, int32_t y, std::string_view text) {
  if (text.empty()) return;
  // Every character sits in its own cell, whatever the font's own advance.
  std::vector<INT> advance(text.size(), r.view.cellWidth());
  const int32_t offset = (Engine::instance().options.word[ECD_OPT_EXTRA_CHAR_SPACING] + 1) / 2;
  RECT box{x, y, x + static_cast<LONG>(text.size()) * r.view.cellWidth(), y + r.view.lineHeight()};
  ExtTextOutA(dc, x + offset, y, ETO_OPAQUE, &box, text.data(), static_cast<UINT>(text.size()), advance.data());
}

void fill(HDC dc, const RECT& rect, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void paint(WindowRecord& r) {
  const bool caretShown = r.hasCaret;
  if (caretShown) HideCaret(r.hwnd);
  if (r.flags & (kEdVScrollChanged | kEdHScrollChanged)) {
    r.refreshScrollBars();
    r.notifyOwner(ECDN_SCROLLED, static_cast<uintptr_t>(r.view.leftCell()), r.view.topLine());
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r.hwnd, &ps);
  if (r.buffer == nullptr) {
    FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
    EndPaint(r.hwnd, &ps);
    if (caretShown) ShowCaret(r.hwnd);
    return;
  }
  r.syncView();
  const EditorView& v = r.view;
  const Colours colours = currentColours();
  HPALETTE palette = static_cast<HPALETTE>(syntax::Palette());
  HPALETTE oldPalette = palette != nullptr ? SelectPalette(dc, palette, TRUE) : nullptr;
  if (palette != nullptr) RealizePalette(dc);
  HGDIOBJ old = SelectObject(dc, r.font != nullptr ? r.font : GetStockObject(SYSTEM_FIXED_FONT));
  SetBkMode(dc, OPAQUE);
  RECT client;
  GetClientRect(r.hwnd, &client);
  const int32_t firstRow = static_cast<int32_t>(std::max<LONG>(0, ps.rcPaint.top)) / v.lineHeight();
  const int32_t lastRow = static_cast<int32_t>(std::max<LONG>(0, ps.rcPaint.bottom - 1)) / v.lineHeight();
  const int32_t origin = v.textOrigin();
  // The area right of cell 1024 is background.
  const int32_t rightEdge = origin + (kMaxCells - v.leftCell() + 1) * v.cellWidth();
  if (rightEdge < client.right) {
    fill(dc, RECT{rightEdge, ps.rcPaint.top, client.right, ps.rcPaint.bottom}, colours.normalBack);
  }
  const bool numbers = Engine::instance().option(ECD_OPT_SHOW_LINE_NUMBERS);
  int32_t row = firstRow;
  for (const PaintRow& plan : planRows(*r.buffer, v, firstRow, lastRow, numbers)) {
    const int32_t y = row++ * v.lineHeight();
    if (plan.kind == PaintRow::Kind::kBlank) {
      fill(dc, RECT{0, y, client.right, y + v.lineHeight()}, colours.normalBack);
      continue;
    }
    if (!plan.gutter.empty()) {
      SetBkColor(dc, plan.bookmarked ? colours.bookmarkBack : colours.normalBack);
      SetTextColor(dc, plan.bookmarked ? colours.bookmarkText : colours.normalText);
      paintCells(dc, r, 0, y, plan.gutter);
      // An italic font leans into the next cell: the gutter's rectangle takes one more.
      if (r.flags & kEdItalic) {
        fill(dc, RECT{origin, y, origin + v.cellWidth(), y + v.lineHeight()},
             plan.bookmarked ? colours.bookmarkBack : colours.normalBack);
      }
    }
    for (const PaintSegment& s : plan.segments) {
      switch (s.role) {
        case PaintRole::kSelected:
          SetBkColor(dc, colours.selectedBack);
          SetTextColor(dc, colours.selectedText);
          break;
        case PaintRole::kBookmark:
          SetBkColor(dc, colours.bookmarkBack);
          SetTextColor(dc, colours.bookmarkText);
          break;
        case PaintRole::kNormal:
          SetBkColor(dc, colours.normalBack);
          SetTextColor(dc, colours.normalText);
          break;
        case PaintRole::kSyntax: {
          uint32_t fore = colours.normalText, back = colours.normalBack;
          if (!syntax::SyntaxColours(s.colour, fore, back)) fore = colours.normalText;
          SetBkColor(dc, back == 0xFFFFFFFFu ? colours.normalBack : back);
          SetTextColor(dc, fore);
          break;
        }
      }
      const int32_t x = origin + (s.firstCell - v.leftCell()) * v.cellWidth();
      paintCells(dc, r, x, y,
                 std::string_view(plan.cells).substr(static_cast<std::size_t>(s.firstCell - v.leftCell()),
                                                     static_cast<std::size_t>(s.cells)));
    }
  }
  SelectObject(dc, old);
  if (oldPalette != nullptr) SelectPalette(dc, oldPalette, TRUE);
  EndPaint(r.hwnd, &ps);
  if (caretShown) {
    r.positionCaret();
    ShowCaret(r.hwnd);
  }
  if (r.flags & (kEdVSync | kEdHSync)) r.buffer->notify(ECDB_PAINT_NOW, 0, 0, r.window());
}

std::string atomText(WPARAM atom) {
  if (atom == 0) return {};
  char text[256] = {};
  GlobalGetAtomNameA(static_cast<ATOM>(atom), text, sizeof text);
  return text;
}

LRESULT scrollRequest(WindowRecord& r, UINT message, WPARAM wParam) {
  if (r.buffer == nullptr) return 0;
  r.syncView();
  ScrollRequest request;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: request = ScrollRequest::kLineBack; break;
    case SB_LINEDOWN: request = ScrollRequest::kLineForward; break;
    case SB_PAGEUP: request = ScrollRequest::kPageBack; break;
    case SB_PAGEDOWN: request = ScrollRequest::kPageForward; break;
    case SB_THUMBTRACK: request = ScrollRequest::kThumbTrack; break;
    case SB_THUMBPOSITION: request = ScrollRequest::kThumbPosition; break;
    case SB_TOP: request = ScrollRequest::kStart; break;
    case SB_BOTTOM: request = ScrollRequest::kEnd; break;
    default: return 0;
  }
  // The thumb's 32-bit position, not the 16 bits of the message.
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS | SIF_POS;
  HWND control = message == WM_VSCROLL ? r.vScrollControl : r.hScrollControl;
  GetScrollInfo(control != nullptr ? control : r.hwnd,
                control != nullptr ? SB_CTL : (message == WM_VSCROLL ? SB_VERT : SB_HORZ), &si);
  const int32_t thumb = request == ScrollRequest::kThumbTrack ? si.nTrackPos : HIWORD(wParam);
  if (message == WM_VSCROLL) {
    if (r.buffer->lineCount() <= 1) return 0;
    if (request == ScrollRequest::kThumbPosition) {
      r.refreshScrollBars();
      return 0;
    }
    r.scrollTo(r.view.verticalTarget(request, thumb), r.view.leftCell());
  } else {
    r.scrollTo(r.view.topLine(), r.view.horizontalTarget(request, thumb));
  }
  return 0;
}

LRESULT serveWithRecord(WindowRecord& r, UINT message, WPARAM wParam, LPARAM lParam, int32_t* useDefault) {
  Engine& e = Engine::instance();
  const bool needsBuffer = (message >= ECD_UNDO && message <= ECD_SET_CARET) || message == ECD_CARET_TO_VIEW ||
                           message == ECD_INSERT_LINE || message == ECD_DELETE_LINE || message == ECD_REPLACE_LINE ||
                           message == ECD_TYPE_STRING || message == ECD_SET_INSERT_MODE || message == ECD_REFLOW ||
                           message == ECD_COPY_VIEW || message == ECD_SCROLL_TO || message == ECD_GET_CARET ||
                           message == ECD_GET_CARET_LINE || message == ECD_GET_SCROLL || message == ECD_SYNC_NOW ||
                           message == ECD_PRINT_STREAM;
  if (needsBuffer && r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
  switch (message) {
    case WM_DESTROY: {
      r.destroyCaret();
      r.detach();
      RemovePropA(r.hwnd, kRecordProperty);
      r.flags |= kEdDestroyed;
      return 0;
    }
    case WM_PAINT:
      if (!(r.flags & kEdRedraw)) {
        // Redraw off: collect the region and validate it.
        RECT update;
        if (GetUpdateRect(r.hwnd, &update, FALSE)) {
          if (r.flags & kEdDeferred) {
            UnionRect(&r.deferred, &r.deferred, &update);
          } else {
            r.deferred = update;
          }
          r.flags |= kEdDeferred;
        }
        ValidateRect(r.hwnd, nullptr);
        return 0;
      }
      paint(r);
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      r.flags |= kEdVScrollChanged;
      InvalidateRect(r.hwnd, nullptr, FALSE);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: return scrollRequest(r, message, wParam);
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_SETFONT:
      r.font = reinterpret_cast<HFONT>(wParam);
      measureFont(r);
      if (r.hasCaret) r.createCaret();
      InvalidateRect(r.hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(r.font);
    case WM_SETFOCUS:
      r.focusGained();
      r.notifyOwner(ECDN_FOCUS, reinterpret_cast<WPARAM>(r.hwnd), 1);
      r.createCaret();
      return 0;
    case WM_KILLFOCUS:
      r.destroyCaret();
      r.notifyOwner(ECDN_FOCUS, reinterpret_cast<WPARAM>(r.hwnd), 0);
      return 0;
    case WM_SETCURSOR:
      if (GetCapture() == nullptr && LOWORD(lParam) == HTCLIENT) return TRUE;
      *useDefault = 1;
      return 0;
    case WM_CHAR: {
      if (GetCapture() != nullptr || e.eventCallback == nullptr) {
        *useDefault = 1;
        return 0;
      }
      int32_t modifiers = 0;
      if (GetKeyState(VK_SHIFT) < 0) modifiers |= 2;
      if (GetKeyState(VK_CONTROL) < 0) modifiers |= 4;
      if (!r.deliverChar(static_cast<int32_t>(wParam & 0xFF), static_cast<signed char>(wParam & 0xFF), modifiers)) {
        *useDefault = 1;
      }
      return 0;
    }
    case ECD_OPEN_BUFFER: {
      auto* record = reinterpret_cast<EcdOpenRecord*>(lParam);
      if (record == nullptr) return ECD_ERR_PARAMETER;
      r.detach();
      std::unique_ptr<Buffer> buffer;
      int32_t code = Buffer::create(e, *record, buffer);
      if (code != 0) {
        r.attach(nullptr, 0);
        return code;
      }
      Buffer* raw = buffer.get();
      raw->primaryWindow = r.window();
      if (!e.adopt(std::move(buffer))) return ECD_ERR_MEMORY;
      record->buffer = toHandle(raw);
      r.attach(raw, static_cast<uint32_t>(record->flags));
      return 0;
    }
    case ECD_SHOW_BUFFER: {
      Buffer* buffer = e.find(reinterpret_cast<HEDBUFFER>(wParam));
      if (wParam != 0 && buffer == nullptr) return ECD_ERR_PARAMETER;
      r.attach(buffer, static_cast<uint32_t>(lParam));
      return 0;
    }
    case ECD_SAVE:
    case ECD_RELOAD: {
      // The caret and mark are kept around the save or reload.
      const EditorRecord::SavedState state = r.saveState();
      const LRESULT result = bufferMessage(*r.buffer, message, wParam, lParam);
      if (r.buffer != nullptr && (message == ECD_SAVE || result == 100)) r.restoreState(state);
      return result;
    }
    case ECD_UNDO: return r.undo(wParam != 0 ? atomText(wParam).c_str() : nullptr);
    case ECD_REDO: return r.redo(wParam != 0 ? atomText(wParam).c_str() : nullptr);
    case ECD_SET_CARET: {
      const auto* at = reinterpret_cast<const int32_t*>(lParam);
      if (at == nullptr) return ECD_ERR_PARAMETER;
      return r.placeCaret(at[0], at[1]);
    }
    case ECD_CARET_TO_VIEW: r.scrollCaretIntoView(); return 0;
    case ECD_INSERT_LINE: return r.insertLineAt(wParam, reinterpret_cast<const char*>(lParam));
    case ECD_DELETE_LINE: return r.deleteLineAt(wParam);
    case ECD_REPLACE_LINE: return r.replaceLineAt(wParam, reinterpret_cast<const char*>(lParam));
    case ECD_TYPE_STRING: return r.typeString(reinterpret_cast<const char*>(lParam));
    case ECD_SET_INSERT_MODE: {
      const int32_t code = r.buffer->setProperty(kPropInsertMode, wParam != 0);
      if (code != 0) return code;
      r.setInsertMode(wParam != 0);
      return 0;
    }
    case ECD_SET_REDRAW:
      if (wParam != 0) {
        r.flags |= kEdRedraw;
        if (r.flags & kEdDeferred) {
          InvalidateRect(r.hwnd, &r.deferred, FALSE);
          r.flags &= ~kEdDeferred;
        }
        UpdateWindow(r.hwnd);
      } else {
        r.flags &= ~kEdRedraw;
      }
      return 0;
    case ECD_REFLOW: return r.reflow(wParam != 0 ? atomText(wParam).c_str() : nullptr);
    case ECD_SET_SCROLL_BARS:
      r.flags &= ~(kEdVScroll | kEdHScroll);
      if (wParam & 4) r.flags |= kEdVScroll;
      if (wParam & 2) r.flags |= kEdHScroll;
      r.refreshScrollBars();
      return 0;
    case ECD_SET_SYNC:
      r.flags &= ~(kEdHSync | kEdVSync);
      if (wParam & 1) r.flags |= kEdHSync;
      if (wParam & 2) r.flags |= kEdVSync;
      r.hGroup = LOWORD(lParam) & 7;
      r.vGroup = HIWORD(lParam) & 7;
      return 0;
    case ECD_SYNC_NOW:
      r.buffer->notify(ECDB_HSYNC, static_cast<uintptr_t>(r.hGroup), r.view.leftCell(), r.window());
      r.buffer->notify(ECDB_VSYNC, static_cast<uintptr_t>(r.vGroup), r.view.topLine(), r.window());
      return 0;
    case ECD_SET_SCROLL_CONTROLS:
      r.vScrollControl = reinterpret_cast<HWND>(wParam);
      r.hScrollControl = reinterpret_cast<HWND>(lParam);
      r.flags &= ~(kEdVScroll | kEdHScroll);
      if (r.vScrollControl != nullptr) r.flags |= kEdVScroll;
      if (r.hScrollControl != nullptr) r.flags |= kEdHScroll;
      r.refreshScrollBars();
      return 0;
    case ECD_COPY_VIEW: {
      WindowRecord* other = recordOf(reinterpret_cast<HWND>(wParam));
      if (other == nullptr) return ECD_ERR_PARAMETER;
      r.copyViewOf(*other);
      return 0;
    }
    case ECD_SCROLL_TO: {
      const auto* position = reinterpret_cast<const int32_t*>(lParam);
      if (position == nullptr) return ECD_ERR_PARAMETER;
      r.scrollTo(position[0], position[1]);
      return 0;
    }
    case ECD_PRINT_STREAM: return r.printStream(reinterpret_cast<const void*>(lParam));
    case ECD_NOP1:
    case ECD_NOP2: return 0;
    case ECD_GET_CARET: {
      auto* out = reinterpret_cast<int32_t*>(lParam);
      if (out != nullptr) {
        out[0] = r.caretLine;
        out[1] = r.caretColumn;
      }
      return r.caretLine > 0 ? r.caretCell : 0;
    }
    case ECD_GET_CARET_LINE: {
      char* destination = reinterpret_cast<char*>(lParam);
      if (r.caretLine == 0) return ECD_ERR_EMPTY_BUFFER;
      if (destination == nullptr) return ECD_ERR_PARAMETER;
      const std::string text = getLine(*r.buffer, r.caretLine);
      const std::size_t n = std::min<std::size_t>(text.size(), 1024);
      std::memcpy(destination, text.data(), n);
      destination[n] = '\0';
      return 0;
    }
    case ECD_IS_INSERT_MODE: return r.insertMode() ? 0 : ECD_ERR_NOT_SET;
    case ECD_GET_BUFFER:
      if (r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
      return reinterpret_cast<LRESULT>(toHandle(r.buffer));
    case ECD_GET_LINE_COUNT: return r.buffer != nullptr ? r.buffer->lineCount() : ECD_ERR_NO_BUFFER;
    case ECD_GET_SYNC: return ((r.flags & kEdHSync) ? 1 : 0) | ((r.flags & kEdVSync) ? 2 : 0);
    case ECD_GET_SCROLL: {
      auto* position = reinterpret_cast<int32_t*>(lParam);
      if (position != nullptr) {
        position[0] = r.view.topLine();
        position[1] = r.view.leftCell();
      }
      return 0;
    }
    default: break;
  }
  if (r.serveNotice(message, wParam, lParam)) return 0;
  if (isBufferMessage(message)) {
    if (r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
    return bufferMessage(*r.buffer, message, wParam, lParam);
  }
  *useDefault = 1;
  return 0;
}

}  // namespace

bool registerEditorClass(HINSTANCE module) {
  Engine::instance().recordOf = recordOfWindow;
  WNDCLASSA wc{};
  // Style 16395: a global class, so that the program and extension libraries can create editor windows with
  // their own instance handles.
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  static_assert((CS_GLOBALCLASS | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW) == 16395);
  wc.lpfnWndProc = ECD_flEDWndProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = ECD_WINDOW_CLASS;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterEditorClass(HINSTANCE module) { UnregisterClassA(ECD_WINDOW_CLASS, module); }

}  // namespace osk::win32

using osk::win32::WindowRecord;

extern "C" LRESULT WINAPI ECD_flPrivateMessageHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                      int32_t* useDefault) {
  int32_t ignored = 0;
  if (useDefault == nullptr) useDefault = &ignored;
  *useDefault = 0;
  osk::Engine& e = osk::Engine::instance();
  WindowRecord* record = osk::win32::recordOf(window);
  if (record == nullptr) {
    if (message == WM_CREATE) {
      auto* fresh = new (std::nothrow) WindowRecord(window);
      if (fresh == nullptr) return -1;
      SetPropA(window, osk::win32::kRecordProperty, fresh);
      osk::win32::measureFont(*fresh);
      ShowScrollBar(window, SB_BOTH, FALSE);
      return 0;
    }
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
      EndPaint(window, &ps);
      return 0;
    }
    *useDefault = 1;
    return 0;
  }
  // The window being served is current for the length of the message; the outer target comes back after it.
  const OskWindow savedWindow = e.currentWindow;
  osk::EditorRecord* savedRecord = e.currentRecord;
  e.currentWindow = reinterpret_cast<OskWindow>(window);
  e.currentRecord = record;
  ++record->lockCount;
  LRESULT result = osk::win32::serveWithRecord(*record, message, wParam, lParam, useDefault);
  const bool savedLive = savedRecord == nullptr || osk::win32::recordOfWindow(savedWindow) == savedRecord;
  e.currentWindow = savedLive ? savedWindow : nullptr;
  e.currentRecord = savedLive ? savedRecord : nullptr;
  if (!savedLive) e.windowTarget = false;
  if (--record->lockCount == 0 && (record->flags & osk::kEdDestroyed)) delete record;
  return result;
}

extern "C" LRESULT CALLBACK ECD_flEDWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  int32_t useDefault = 0;
  LRESULT result = ECD_flPrivateMessageHandler(window, message, wParam, lParam, &useDefault);
  if (useDefault) return DefWindowProcA(window, message, wParam, lParam);
  return result;
}

extern "C" int32_t WINAPI ECD_flMessage(UINT, WPARAM, LPARAM) {
  osk::Engine& e = osk::Engine::instance();
  if (!e.initialised || e.owner == nullptr) return ECD_ERR_NOT_INITIALISED;
  return 1;
}
