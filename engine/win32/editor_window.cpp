// The editor window: its record, the messages that attach and query buffers, buffer notices turned into owner
// notifications, and the typed-character road to the owner's event callback.
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/buffer.h"
#include "engine/buffer_messages.h"
#include "engine/editor_view.h"
#include "engine/engine_context.h"
#include "engine/tabs.h"
#include "engine/win32/ecd_window.h"

namespace osk::win32 {

namespace {

const char kRecordProperty[] = "OskEditorRecord";

enum WindowFlags : uint32_t {
  kInsert = 1u << 0,
  kRedraw = 1u << 1,
  kVScroll = 1u << 3,
  kHScroll = 1u << 4,
  kDestroyed = 1u << 10,
};

struct EditorRecord {
  HWND window = nullptr;
  HWND vScrollControl = nullptr;
  HWND hScrollControl = nullptr;
  HFONT font = nullptr;
  EditorView view;
  int32_t tabLength = 8;
  int32_t caretLine = 0;
  int32_t caretColumn = 1;
  uint32_t flags = 0;
  int32_t lockCount = 0;
  Buffer* buffer = nullptr;
};

EditorRecord* recordOf(HWND window) { return static_cast<EditorRecord*>(GetPropA(window, kRecordProperty)); }

HWND ownerOf(HWND window) {
  Engine& e = Engine::instance();
  if (e.owner != nullptr) return reinterpret_cast<HWND>(e.owner);
  return GetParent(window);
}

LRESULT notifyOwner(HWND window, UINT code, WPARAM wParam, LPARAM lParam) {
  HWND owner = ownerOf(window);
  return owner != nullptr ? SendMessageA(owner, code, wParam, lParam) : 0;
}

void measureFont(EditorRecord& r) {
  HDC dc = GetDC(r.window);
  HGDIOBJ old = SelectObject(dc, r.font != nullptr ? r.font : GetStockObject(SYSTEM_FIXED_FONT));
  TEXTMETRICA tm;
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(r.window, dc);
  const EcdSystemOptions& o = Engine::instance().options;
  r.view.setMetrics(std::min<int32_t>(tm.tmMaxCharWidth, 2 * tm.tmAveCharWidth) + o.word[ECD_OPT_EXTRA_CHAR_SPACING],
                    tm.tmHeight + tm.tmExternalLeading + o.word[ECD_OPT_EXTRA_LINE_SPACING]);
  r.view.setItalic(tm.tmItalic != 0);
}

// Brings the view's inputs up to date with the window and its buffer.
void syncView(EditorRecord& r) {
  RECT client;
  GetClientRect(r.window, &client);
  r.view.setClientSize(client.right, client.bottom);
  r.view.setLineCount(r.buffer != nullptr ? r.buffer->lineCount() : 0);
  r.view.setShowLineNumbers(Engine::instance().option(ECD_OPT_SHOW_LINE_NUMBERS));
}

void setBar(EditorRecord& r, int bar, HWND control, const ScrollBarValues& v) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_POS;
  si.nMax = v.maximum;
  si.nPos = v.position;
  if (control != nullptr) {
    SetScrollInfo(control, SB_CTL, &si, TRUE);
  } else {
    SetScrollInfo(r.window, bar, &si, TRUE);
  }
}

void refreshScrollBars(EditorRecord& r) {
  syncView(r);
  setBar(r, SB_VERT, r.vScrollControl, r.view.verticalBar((r.flags & kVScroll) != 0));
  setBar(r, SB_HORZ, r.hScrollControl, r.view.horizontalBar((r.flags & kHScroll) != 0));
}

void scrollTo(EditorRecord& r, int32_t top, int32_t left) {
  syncView(r);
  if (top == r.view.topLine() && left == r.view.leftCell()) return;
  r.view.setPosition(top, left);
  InvalidateRect(r.window, nullptr, TRUE);
  refreshScrollBars(r);
  notifyOwner(r.window, ECDN_SCROLLED, r.view.leftCell(), r.view.topLine());
}

void detach(EditorRecord& r) {
  if (r.buffer == nullptr) return;
  r.buffer->removeWindow(reinterpret_cast<OskWindow>(r.window));
  r.buffer = nullptr;
  r.caretLine = 0;
  r.caretColumn = 1;
}

void attach(EditorRecord& r, Buffer* buffer, uint32_t viewFlags) {
  detach(r);
  r.buffer = buffer;
  r.flags |= kRedraw;
  r.flags &= ~(kVScroll | kHScroll);
  if (viewFlags & ECD_OPEN_VSCROLL) r.flags |= kVScroll;
  if (viewFlags & ECD_OPEN_HSCROLL) r.flags |= kHScroll;
  if (buffer != nullptr) {
    buffer->addWindow(reinterpret_cast<OskWindow>(r.window));
    r.tabLength = buffer->tabLength();
    if (buffer->has(kStateInsert)) {
      r.flags |= kInsert;
    } else {
      r.flags &= ~kInsert;
    }
    r.caretLine = buffer->lineCount() > 0 ? 1 : 0;
    r.caretColumn = 1;
  }
  syncView(r);
  r.view.setPosition(1, 1);
  int32_t caret[2] = {r.caretLine, 1};
  notifyOwner(r.window, ECDN_CARET, 0, reinterpret_cast<LPARAM>(caret));
  notifyOwner(r.window, ECDN_NAME, reinterpret_cast<WPARAM>(r.window), 0);
  refreshScrollBars(r);
  InvalidateRect(r.window, nullptr, TRUE);
}

void paintCells(HDC dc, const EditorRecord& r, int32_t x, int32_t y, std::string_view text) {
  if (text.empty()) return;
  // Every character sits in its own cell, whatever the font's own advance.
  std::vector<INT> advance(text.size(), r.view.cellWidth());
  const int32_t offset = (Engine::instance().options.word[ECD_OPT_EXTRA_CHAR_SPACING] + 1) / 2;
  ExtTextOutA(dc, x + offset, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), advance.data());
}

void paint(EditorRecord& r) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(r.window, &ps);
  if (r.buffer == nullptr) {
    FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
    EndPaint(r.window, &ps);
    return;
  }
  syncView(r);
  const EditorView& v = r.view;
  FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_WINDOW));
  HGDIOBJ old = SelectObject(dc, r.font != nullptr ? r.font : GetStockObject(SYSTEM_FIXED_FONT));
  SetBkMode(dc, OPAQUE);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), back = GetSysColor(COLOR_WINDOW);
  const COLORREF bookmark = RGB(200, 200, 200);
  LineStore& store = r.buffer->store();
  const int32_t firstRow = ps.rcPaint.top / v.lineHeight();
  const int32_t lastRow = ps.rcPaint.bottom / v.lineHeight();
  const int32_t gutter = v.gutterCells();
  const bool numbers = Engine::instance().option(ECD_OPT_SHOW_LINE_NUMBERS);
  const int32_t skip = v.leftCell() - 1;
  for (int32_t row = firstRow; row <= lastRow; ++row) {
    const int64_t line = static_cast<int64_t>(v.topLine()) + row;
    const int32_t y = row * v.lineHeight();
    if (line > store.lineCount() + 1) break;
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    if (line == store.lineCount() + 1) {
      std::string eof = "------- EOF -------";
      eof.resize(kMaxCells, ' ');
      if (static_cast<int32_t>(eof.size()) > skip) paintCells(dc, r, v.textOrigin(), y, std::string_view(eof).substr(skip));
      continue;
    }
    const int32_t n = static_cast<int32_t>(line);
    const bool marked = store.properties().get(n, 1) != 0;
    if (gutter > 0) {
      std::string label;
      if (numbers) label = std::to_string(n) + ":";
      if (static_cast<int32_t>(label.size()) < gutter) label.insert(0, gutter - label.size(), ' ');
      SetBkColor(dc, marked ? bookmark : back);
      paintCells(dc, r, 0, y, label);
    }
    std::string cells = r.buffer->has(kStateTabsAsSpaces) ? std::string(store.peekLine(n))
                                                          : expandTabs(store.peekLine(n), r.tabLength);
    if (marked) {
      cells.resize(kMaxCells, ' ');
      SetBkColor(dc, bookmark);
    } else {
      SetBkColor(dc, back);
    }
    if (static_cast<int32_t>(cells.size()) > skip) {
      paintCells(dc, r, v.textOrigin(), y, std::string_view(cells).substr(skip));
    }
  }
  SelectObject(dc, old);
  EndPaint(r.window, &ps);
}

// Buffer notices from the buffer shown in this window.
LRESULT serveNotice(EditorRecord& r, UINT code, WPARAM wParam, LPARAM lParam) {
  HWND w = r.window;
  switch (code) {
    case ECDB_CLOSING:
      detach(r);
      notifyOwner(w, ECDN_NAME, reinterpret_cast<WPARAM>(w), 0);
      InvalidateRect(w, nullptr, TRUE);
      return 0;
    case ECDB_MODIFIED: notifyOwner(w, ECDN_MODIFIED, reinterpret_cast<WPARAM>(w), wParam); return 0;
    case ECDB_NAME: notifyOwner(w, ECDN_NAME, reinterpret_cast<WPARAM>(w), 0); return 0;
    case ECDB_UNDO: notifyOwner(w, ECDN_UNDO, reinterpret_cast<WPARAM>(w), wParam); return 0;
    case ECDB_REDO: notifyOwner(w, ECDN_REDO, reinterpret_cast<WPARAM>(w), wParam); return 0;
    case ECDB_MARK: notifyOwner(w, ECDN_MARK, reinterpret_cast<WPARAM>(w), wParam); return 0;
    case ECDB_READ_ONLY:
      notifyOwner(w, ECDN_MODIFIED, reinterpret_cast<WPARAM>(w), r.buffer != nullptr && r.buffer->modified());
      return 0;
    case ECDB_TAB_LENGTH:
      if (r.buffer != nullptr) r.tabLength = r.buffer->tabLength();
      return 0;
    case ECDB_RELOADED: {
      r.caretLine = r.buffer != nullptr && r.buffer->lineCount() > 0 ? 1 : 0;
      r.caretColumn = 1;
      syncView(r);
      r.view.setPosition(1, 1);
      int32_t caret[2] = {r.caretLine, 1};
      notifyOwner(w, ECDN_CARET, reinterpret_cast<WPARAM>(w), reinterpret_cast<LPARAM>(caret));
      notifyOwner(w, ECDN_NAME, reinterpret_cast<WPARAM>(w), 0);
      refreshScrollBars(r);
      InvalidateRect(w, nullptr, TRUE);
      return 0;
    }
    case ECDB_PAINT_NOW: UpdateWindow(w); return 0;
    case ECDB_LINES_DELETED:
    case ECDB_LINES_INSERTED:
      InvalidateRect(w, nullptr, TRUE);
      refreshScrollBars(r);
      return 0;
    default:
      // Text moved or changed: repaint (painting by line arrives with the view).
      InvalidateRect(w, nullptr, TRUE);
      return 0;
  }
}

LRESULT serveWithRecord(EditorRecord& r, UINT message, WPARAM wParam, LPARAM lParam, int32_t* useDefault) {
  Engine& e = Engine::instance();
  switch (message) {
    case WM_DESTROY:
      detach(r);
      RemovePropA(r.window, kRecordProperty);
      r.flags |= kDestroyed;
      return 0;
    case WM_PAINT: paint(r); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
      InvalidateRect(r.window, nullptr, TRUE);
      refreshScrollBars(r);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL: {
      if (r.buffer == nullptr) return 0;
      syncView(r);
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
      GetScrollInfo(control != nullptr ? control : r.window, control != nullptr ? SB_CTL
                                                           : (message == WM_VSCROLL ? SB_VERT : SB_HORZ), &si);
      const int32_t thumb = request == ScrollRequest::kThumbTrack ? si.nTrackPos : HIWORD(wParam);
      if (message == WM_VSCROLL) {
        scrollTo(r, r.view.verticalTarget(request, thumb), r.view.leftCell());
      } else {
        scrollTo(r, r.view.topLine(), r.view.horizontalTarget(request, thumb));
      }
      return 0;
    }
    case ECD_SCROLL_TO: {
      const auto* position = reinterpret_cast<const int32_t*>(lParam);
      if (r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
      if (position == nullptr) return ECD_ERR_PARAMETER;
      scrollTo(r, position[0], position[1]);
      return 0;
    }
    case ECD_GET_SCROLL: {
      auto* position = reinterpret_cast<int32_t*>(lParam);
      if (r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
      if (position != nullptr) {
        position[0] = r.view.topLine();
        position[1] = r.view.leftCell();
      }
      return 0;
    }
    case ECD_SET_SCROLL_CONTROLS:
      r.vScrollControl = reinterpret_cast<HWND>(wParam);
      r.hScrollControl = reinterpret_cast<HWND>(lParam);
      r.flags &= ~(kVScroll | kHScroll);
      if (r.vScrollControl != nullptr) r.flags |= kVScroll;
      if (r.hScrollControl != nullptr) r.flags |= kHScroll;
      refreshScrollBars(r);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_SETFONT:
      r.font = reinterpret_cast<HFONT>(wParam);
      measureFont(r);
      if (LOWORD(lParam)) InvalidateRect(r.window, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(r.font);
    case WM_SETFOCUS: notifyOwner(r.window, ECDN_FOCUS, reinterpret_cast<WPARAM>(r.window), 1); return 0;
    case WM_KILLFOCUS: notifyOwner(r.window, ECDN_FOCUS, reinterpret_cast<WPARAM>(r.window), 0); return 0;
    case WM_SETCURSOR:
      if (GetCapture() == nullptr && LOWORD(lParam) == HTCLIENT) return TRUE;
      *useDefault = 1;
      return 0;
    case WM_CHAR: {
      if (GetCapture() != nullptr || e.eventCallback == nullptr) {
        *useDefault = 1;
        return 0;
      }
      EcdEventRecord event{};
      event.kind = ECD_EVENT_CHAR;
      event.code = static_cast<int32_t>(wParam & 0xFF);
      event.value = static_cast<signed char>(wParam & 0xFF);
      if (GetKeyState(VK_SHIFT) < 0) event.modifiers |= 2;
      if (GetKeyState(VK_CONTROL) < 0) event.modifiers |= 4;
      // The callback edits through the current target; what it was is restored afterwards.
      Buffer* savedBuffer = e.currentBuffer;
      const int32_t savedLine = e.bufferLine, savedColumn = e.bufferColumn;
      const bool savedTarget = e.windowTarget;
      e.windowTarget = r.buffer != nullptr;
      int32_t handled = e.eventCallback(&event);
      e.currentBuffer = savedBuffer;
      e.bufferLine = savedLine;
      e.bufferColumn = savedColumn;
      e.windowTarget = savedTarget;
      if (!handled) *useDefault = 1;
      return 0;
    }
    case ECD_OPEN_BUFFER: {
      auto* record = reinterpret_cast<EcdOpenRecord*>(lParam);
      if (record == nullptr) return ECD_ERR_PARAMETER;
      detach(r);
      std::unique_ptr<Buffer> buffer;
      int32_t code = Buffer::create(e, *record, buffer);
      if (code != 0) {
        attach(r, nullptr, 0);
        return code;
      }
      Buffer* raw = buffer.get();
      raw->primaryWindow = reinterpret_cast<OskWindow>(r.window);
      if (!e.adopt(std::move(buffer))) return ECD_ERR_MEMORY;
      record->buffer = toHandle(raw);
      attach(r, raw, static_cast<uint32_t>(record->flags));
      return 0;
    }
    case ECD_SHOW_BUFFER: {
      Buffer* buffer = e.find(reinterpret_cast<HEDBUFFER>(wParam));
      if (wParam != 0 && buffer == nullptr) return ECD_ERR_PARAMETER;
      attach(r, buffer, static_cast<uint32_t>(lParam));
      return 0;
    }
    case ECD_SET_SCROLL_BARS:
      r.flags &= ~(kVScroll | kHScroll);
      if (wParam & 4) r.flags |= kVScroll;
      if (wParam & 2) r.flags |= kHScroll;
      refreshScrollBars(r);
      return 0;
    case ECD_NOP1:
    case ECD_NOP2: return 0;
    case ECD_GET_BUFFER:
      if (r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
      return reinterpret_cast<LRESULT>(toHandle(r.buffer));
    case ECD_GET_LINE_COUNT: return r.buffer != nullptr ? r.buffer->lineCount() : ECD_ERR_NO_BUFFER;
    case ECD_IS_INSERT_MODE: return (r.flags & kInsert) ? 0 : ECD_ERR_NOT_SET;
    default: break;
  }
  if (message >= ECDB_CLOSING && message <= ECDB_READ_ONLY) return serveNotice(r, message, wParam, lParam);
  if (isBufferMessage(message)) {
    if (r.buffer == nullptr) return ECD_ERR_NO_BUFFER;
    return bufferMessage(*r.buffer, message, wParam, lParam);
  }
  *useDefault = 1;
  return 0;
}

}  // namespace

bool registerEditorClass(HINSTANCE module) {
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

using osk::win32::EditorRecord;

extern "C" LRESULT WINAPI ECD_flPrivateMessageHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                      int32_t* useDefault) {
  int32_t ignored = 0;
  if (useDefault == nullptr) useDefault = &ignored;
  *useDefault = 0;
  osk::Engine& e = osk::Engine::instance();
  const OskWindow savedWindow = e.currentWindow;
  EditorRecord* record = osk::win32::recordOf(window);
  if (record == nullptr) {
    if (message == WM_CREATE) {
      auto* fresh = new (std::nothrow) EditorRecord;
      if (fresh == nullptr) return -1;
      fresh->window = window;
      fresh->flags = osk::win32::kInsert | osk::win32::kRedraw;
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
  e.currentWindow = reinterpret_cast<OskWindow>(window);
  ++record->lockCount;
  LRESULT result = osk::win32::serveWithRecord(*record, message, wParam, lParam, useDefault);
  e.currentWindow = savedWindow;
  if (--record->lockCount == 0 && (record->flags & osk::win32::kDestroyed)) delete record;
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
