// The plain-named functions that need the platform: mouse pointers, the hourglass, the owner's services through
// "EditorOwnerMessage", error boxes, beeps and centring; and the engine's cursors, loaded at initialisation.
#include <windows.h>

#include "engine/edit_api.h"
#include "engine/engine_context.h"
#include "engine/win32/ecd_window.h"

namespace osk::win32 {

namespace {

// Slots: line, move, dragging allowed, dragging allowed with copy, dragging forbidden.
constexpr int kCursorIds[5] = {600, 601, 602, 604, 603};
HCURSOR gCursors[5] = {};
HINSTANCE gModule = nullptr;
int32_t gHourGlassDepth = 0;

HWND masterWindow() {
  Engine& e = Engine::instance();
  if (e.owner != nullptr) return reinterpret_cast<HWND>(e.owner);
  return e.currentWindow != nullptr ? GetParent(reinterpret_cast<HWND>(e.currentWindow)) : nullptr;
}

intptr_t ownerMessage(WPARAM code, LPARAM value) {
  static const UINT message = RegisterWindowMessageA("EditorOwnerMessage");
  HWND owner = masterWindow();
  if (owner == nullptr || message == 0) return 0;
  return SendMessageA(owner, message, code, value);
}

int32_t setPointer(int slot) {
  HCURSOR cursor = gCursors[slot];
  if (cursor == nullptr) return 0;
  SetCursor(cursor);
  return 1;
}

void loadCursors() {
  for (int i = 0; i < 5; ++i) gCursors[i] = LoadCursorA(gModule, MAKEINTRESOURCEA(kCursorIds[i]));
}

void destroyCursors() {
  // Cursors loaded from resources are shared and freed with the module; only the slots are cleared.
  for (HCURSOR& c : gCursors) c = nullptr;
  gHourGlassDepth = 0;
}

}  // namespace

void initialiseOwnerServices(HINSTANCE module) {
  gModule = module;
  Engine::instance().platformInitialise = loadCursors;
  Engine::instance().platformTerminate = destroyCursors;
}

}  // namespace osk::win32

using osk::win32::ownerMessage;

extern "C" {

OskWindow OSK_CALL GetMasterHwnd(void) { return reinterpret_cast<OskWindow>(osk::win32::masterWindow()); }

int32_t OSK_CALL SetLinePointer(void) { return osk::win32::setPointer(0); }
int32_t OSK_CALL SetMovePointer(void) { return osk::win32::setPointer(1); }
int32_t OSK_CALL SetDraggingOkPointer(void) { return osk::win32::setPointer(2); }
int32_t OSK_CALL SetDraggingOkPlusPointer(void) { return osk::win32::setPointer(3); }
int32_t OSK_CALL SetDraggingIllegalPointer(void) { return osk::win32::setPointer(4); }

int32_t OSK_CALL SetCharPointer(void) {
  SetCursor(LoadCursor(nullptr, IDC_IBEAM));
  return 1;
}

int32_t OSK_CALL SetArrowPointer(void) {
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return 1;
}

int32_t OSK_CALL ShowHourGlass(int32_t on) {
  int32_t& depth = osk::win32::gHourGlassDepth;
  if (on) {
    if (depth++ == 0) SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return 1;
  }
  if (depth == 0) return 0;
  if (--depth == 0) SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return 1;
}

intptr_t OSK_CALL OwnerCommand(uintptr_t w, intptr_t l) { return ownerMessage(w, l); }
intptr_t OSK_CALL OskStatMessage(const char* text) { return ownerMessage(2, reinterpret_cast<LPARAM>(text)); }
intptr_t OSK_CALL OskSetActiveMDIChild(OskWindow window) { return ownerMessage(3, reinterpret_cast<LPARAM>(window)); }
intptr_t OSK_CALL OskGetActiveMDIChild(void) { return ownerMessage(4, 0); }
intptr_t OSK_CALL OskGetNextMDIChild(OskWindow window) { return ownerMessage(5, reinterpret_cast<LPARAM>(window)); }
intptr_t OSK_CALL OskGetPrevMDIChild(OskWindow window) { return ownerMessage(6, reinterpret_cast<LPARAM>(window)); }
intptr_t OSK_CALL OskGetBufferMDI(HEDBUFFER buffer) { return ownerMessage(7, reinterpret_cast<LPARAM>(buffer)); }
intptr_t OSK_CALL OskGetMDIBuffer(OskWindow window) { return ownerMessage(8, reinterpret_cast<LPARAM>(window)); }
intptr_t OSK_CALL OskGetMDIState(OskWindow window) { return ownerMessage(9, reinterpret_cast<LPARAM>(window)); }
intptr_t OSK_CALL OskInvokeHelp(intptr_t x) { return ownerMessage(10, x); }

intptr_t OSK_CALL OskSetMDIState(int32_t a, int32_t b) {
  int32_t words[2] = {a, b};
  return ownerMessage(11, reinterpret_cast<LPARAM>(words));
}

intptr_t OSK_CALL OskGetINIFileName(char* destination) {
  return ownerMessage(12, reinterpret_cast<LPARAM>(destination));
}

int32_t OSK_CALL DisplayError(const char* text) {
  HWND active = GetActiveWindow();
  HWND parent = active != nullptr && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId()
                    ? active
                    : osk::win32::masterWindow();
  return MessageBoxA(parent, text != nullptr ? text : "", "OSK", MB_OK | MB_ICONSTOP);
}

int32_t OSK_CALL GoBeep(void) {
  MessageBeep(MB_ICONHAND);
  return 1;
}

int32_t OSK_CALL CenterWindow(OskWindow window) {
  HWND w = reinterpret_cast<HWND>(window);
  if (w == nullptr || !IsWindow(w)) return 0;
  RECT box, over;
  GetWindowRect(w, &box);
  HWND owner = GetWindow(w, GW_OWNER);
  if (owner == nullptr) owner = GetParent(w);
  if (owner != nullptr) {
    GetWindowRect(owner, &over);
  } else {
    over = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const int width = box.right - box.left, height = box.bottom - box.top;
  POINT at{over.left + (over.right - over.left - width) / 2, over.top + (over.bottom - over.top - height) / 2};
  // A child window is placed in its parent's client coordinates.
  if (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ScreenToClient(GetParent(w), &at);
  SetWindowPos(w, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return 1;
}

}  // extern "C"
