// The print preview control: the laid-out pages of a job drawn to scale, one or two at a time, in four sizes.
#include <windows.h>

#include <algorithm>
#include <memory>

#include "services/ocs_print_api.h"
#include "services/print/preview_state.h"
#include "services/win32/instance_win32.h"
#include "services/win32/print_win32.h"

namespace {

constexpr char kPreviewClass[] = "OskPrintPreview";
constexpr int kGap = 16;          // pixels around and between pages
constexpr int kLabelHeight = 24;  // the page label's line at the top
constexpr double kZoom[] = {1.0, 1.5, 2.5, 4.0};

HINSTANCE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&thisModule), &module);
  return module;
}

struct Preview {
  OcsInstance* instance = nullptr;
  HDC printer = nullptr;   // kept for the fonts, which are made at the printer's resolution
  std::unique_ptr<osk::win32::GdiDevice> fonts;
  osk::win32::LaidOutJob job;
  osk::print::PreviewState state{1};
  int scrollX = 0;
  int scrollY = 0;

  ~Preview() {
    fonts.reset();
    if (printer) DeleteDC(printer);
  }

  // The size of one page on screen at the current zoom, for a client area of width x height.
  SIZE pageSize(int width, int height) const {
    const int shown = state.twoPages() ? 2 : 1;
    const double pw = std::max(job.geometry.width, 1);
    const double ph = std::max(job.geometry.height, 1);
    const double roomW = std::max(width - kGap * (shown + 1), 16);
    const double roomH = std::max(height - kLabelHeight - kGap * 2, 16);
    const double fit = std::min(roomW / (pw * shown), roomH / ph) * kZoom[state.zoom()];
    return SIZE{std::max(static_cast<LONG>(pw * fit), 1L), std::max(static_cast<LONG>(ph * fit), 1L)};
  }

  SIZE contentSize(int width, int height) const {
    const SIZE page = pageSize(width, height);
    const int shown = state.lastShown() > state.page() ? 2 : 1;
    return SIZE{page.cx * shown + kGap * (shown + 1), page.cy + kLabelHeight + kGap * 2};
  }

  void updateScrollBars(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    const SIZE content = contentSize(client.right, client.bottom);
    scrollX = std::clamp(scrollX, 0, std::max(0, static_cast<int>(content.cx) - static_cast<int>(client.right)));
    scrollY = std::clamp(scrollY, 0, std::max(0, static_cast<int>(content.cy) - static_cast<int>(client.bottom)));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = content.cx - 1;
    si.nPage = static_cast<UINT>(client.right);
    si.nPos = scrollX;
    SetScrollInfo(window, SB_HORZ, &si, TRUE);
    si.nMax = content.cy - 1;
    si.nPage = static_cast<UINT>(client.bottom);
    si.nPos = scrollY;
    SetScrollInfo(window, SB_VERT, &si, TRUE);
  }

  void paint(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    const SIZE page = pageSize(client.right, client.bottom);
    const SIZE content = contentSize(client.right, client.bottom);
    const int left0 = std::max(0, static_cast<int>(client.right - content.cx) / 2) - scrollX;
    const std::string label = state.label();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOW));
    RECT labelRect{0, kGap / 2 - scrollY, client.right, kGap / 2 + kLabelHeight - scrollY};
    DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &labelRect, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    for (uint32_t p = state.page(); p <= state.lastShown(); ++p) {
      const int left = left0 + kGap + static_cast<int>(p - state.page()) * (page.cx + kGap);
      const int top = kLabelHeight + kGap - scrollY;
      RECT shadow{left + 4, top + 4, left + page.cx + 4, top + page.cy + 4};
      FillRect(dc, &shadow, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      RECT sheet{left, top, left + page.cx, top + page.cy};
      FillRect(dc, &sheet, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      if (p > job.layout.pages.size()) continue;
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, sheet.left, sheet.top, sheet.right, sheet.bottom);
      SetMapMode(dc, MM_ANISOTROPIC);
      SetWindowExtEx(dc, std::max(job.geometry.width, 1), std::max(job.geometry.height, 1), nullptr);
      SetViewportExtEx(dc, page.cx, page.cy, nullptr);
      SetViewportOrgEx(dc, left, top, nullptr);
      osk::win32::drawPage(dc, job.layout.pages[p - 1], job.classes, *fonts);
      RestoreDC(dc, saved);
    }
  }

  void scroll(HWND window, int bar, WPARAM request) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &si);
    int pos = si.nPos;
    switch (LOWORD(request)) {
      case SB_LINEUP: pos -= 20; break;
      case SB_LINEDOWN: pos += 20; break;
      case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
      case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: pos = si.nTrackPos; break;
      case SB_TOP: pos = 0; break;
      case SB_BOTTOM: pos = si.nMax; break;
      default: return;
    }
    (bar == SB_HORZ ? scrollX : scrollY) = pos;
    updateScrollBars(window);
    InvalidateRect(window, nullptr, FALSE);
  }
};

Preview* previewOf(HWND window) { return reinterpret_cast<Preview*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

LRESULT CALLBACK previewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Preview* preview = previewOf(window);
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_SIZE:
      if (preview) {
        preview->updateScrollBars(window);
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      if (preview) {
        // Drawn off screen first, so paging and zooming do not flicker.
        RECT client;
        GetClientRect(window, &client);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1L, client.right), std::max(1L, client.bottom));
        HGDIOBJ old = SelectObject(memory, bitmap);
        preview->paint(window, memory);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
      }
      EndPaint(window, &ps);
      return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (preview) preview->scroll(window, message == WM_HSCROLL ? SB_HORZ : SB_VERT, wParam);
      return 0;
    case WM_MOUSEWHEEL:
      if (preview) preview->scroll(window, SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    case WM_DESTROY:
      if (preview && preview->instance) {
        osk::win32::PrintState& state = osk::win32::printStateOf(*preview->instance);
        if (state.preview == window) state.preview = nullptr;
        preview->instance->core.setPrintPreviewWindow(nullptr);
      }
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete preview;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool registerPreviewClass() {
  WNDCLASSA wc{};
  if (GetClassInfoA(thisModule(), kPreviewClass, &wc)) return true;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = previewProc;
  wc.hInstance = thisModule();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kPreviewClass;
  return RegisterClassA(&wc) != 0;
}

Preview* currentPreview(HOCSINSTANCE instance) {
  if (!instance || !instance->print || !instance->print->preview) return nullptr;
  return previewOf(instance->print->preview);
}

}  // namespace

namespace osk::win32 {

void destroyPreview(PrintState& state) {
  HWND window = state.preview;
  state.preview = nullptr;
  if (!window || !IsWindow(window)) return;
  if (Preview* preview = previewOf(window)) {
    if (preview->instance) preview->instance->core.setPrintPreviewWindow(nullptr);
    preview->instance = nullptr;
  }
  DestroyWindow(window);
}

}  // namespace osk::win32

extern "C" {

int32_t OSK_CALL OCS_CreatePrintPreviewWindow(HOCSINSTANCE instance, OskWindow parentWindow, const char* documentPath,
                                              int64_t documentTime, const char* streamFile) {
  if (!instance) return 0;
  HWND parent = reinterpret_cast<HWND>(parentWindow);
  osk::win32::PrintState& state = osk::win32::printStateOf(*instance);
  osk::win32::destroyPreview(state);
  HWND owner = parent ? parent : reinterpret_cast<HWND>(instance->core.frame());
  if (!parent || !IsWindow(parent) || !registerPreviewClass()) return 0;
  if (!osk::win32::choosePrinter(state)) {
    osk::win32::showError(owner, "No Printers installed");
    return 0;
  }
  auto preview = std::make_unique<Preview>();
  preview->instance = instance;
  preview->printer = osk::win32::createPrinterDC(state);
  if (!preview->printer) {
    osk::win32::showError(owner, "The printer cannot be used for the preview.");
    return 0;
  }
  preview->job = osk::win32::layOutJob(*instance, preview->printer, documentPath, documentTime, streamFile);
  if (preview->job.readFailed) {
    osk::win32::showError(owner, "Could not read the text to print.");
    return 0;
  }
  if (preview->job.status == osk::print::LayoutStatus::kNoRoom) {
    osk::win32::showError(owner, "The page margins leave no room to print on the page.");
    return 0;
  }
  if (preview->job.status != osk::print::LayoutStatus::kOk) return 0;
  preview->fonts = std::make_unique<osk::win32::GdiDevice>(preview->printer);
  preview->state = osk::print::PreviewState(static_cast<uint32_t>(preview->job.layout.pages.size()));
  RECT client;
  GetClientRect(parent, &client);
  Preview* raw = preview.release();
  HWND window = CreateWindowExA(0, kPreviewClass, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                                client.right, client.bottom, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(OCS_PREVIEW_CONTROL_ID)), thisModule(),
                                raw);
  if (!window) {
    delete raw;
    return 0;
  }
  state.preview = window;
  instance->core.setPrintPreviewWindow(reinterpret_cast<HWND__*>(window));
  raw->updateScrollBars(window);
  SendMessageA(parent, OCS_MSG_PREVIEW_LAYOUT, 0, reinterpret_cast<LPARAM>(window));
  return 1;
}

int32_t OSK_CALL OCS_PrintPreviewOperation(HOCSINSTANCE instance, int32_t operation) {
  Preview* preview = currentPreview(instance);
  if (!preview || !preview->state.apply(operation)) return 0;
  HWND window = instance->print->preview;
  if (operation == OCS_PREVIEW_ZOOM_IN || operation == OCS_PREVIEW_ZOOM_OUT) preview->scrollX = preview->scrollY = 0;
  preview->updateScrollBars(window);
  InvalidateRect(window, nullptr, FALSE);
  return 1;
}

int32_t OSK_CALL OCS_TestPrintPreviewOperation(HOCSINSTANCE instance, int32_t operation) {
  Preview* preview = currentPreview(instance);
  return preview && preview->state.possible(operation) ? 1 : 0;
}

}  // extern "C"
