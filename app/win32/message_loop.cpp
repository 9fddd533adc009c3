#include "app/win32/message_loop.h"

#include "app/event_context.h"
#include "app/win32/dispatch.h"
#include "services/win32/ocs_bars_api.h"
#include "app/win32/services_bridge.h"
#include "app/win32/shell.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "engine/oek_api.h"
#include "services/win32/ocs_api.h"

namespace osk::app {
namespace {

bool isMouseMessage(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK; }

// Dialog keys go to the active window of this thread when it is a dialog (not the frame, not a bar).
bool isDialogKey(MSG& message) {
  Shell& s = shell();
  HWND active = GetActiveWindow();
  if (active == nullptr || active == s.frame) return false;
  if (GetWindowThreadProcessId(active, nullptr) != GetCurrentThreadId()) return false;
  if (s.services != nullptr && OCS_IsMoveableBar(s.services, active)) return false;
  return IsDialogMessageA(active, &message) != FALSE;
}

// The key map consumed the event: with a command it runs, without one the program beeps.
bool mapKey(const MSG& message) {
  Shell& s = shell();
  if (s.services == nullptr || IsIconic(s.frame)) return false;
  const uint16_t word = static_cast<uint16_t>(modifierBits() | ((message.wParam & 0xFF) << 3));
  int32_t enabled = 0;
  char name[OCS_COMMAND_NAME_SIZE] = {};
  char parameter[OCS_PARAMETER_SIZE] = {};
  if (!OCS_MapKeyDown(s.services, &word, keyContext(message.hwnd), &enabled, name, parameter)) return false;
  if (name[0] == 0 || !enabled) {
    beep();
    return true;
  }
  executeCommand(name, parameter, activeEditor(), true);
  return true;
}

bool mapMouse(const MSG& message) {
  Shell& s = shell();
  if (s.services == nullptr || IsIconic(s.frame)) return false;
  const int32_t code = OCS_MapMouseMessageToKeyEvent(message.message);
  if (code == 0) return false;
  const uint16_t word = static_cast<uint16_t>(modifierBits() | (code << 3));
  int32_t enabled = 0;
  char name[OCS_COMMAND_NAME_SIZE] = {};
  char parameter[OCS_PARAMETER_SIZE] = {};
  if (!OCS_MapKeyDown(s.services, &word, mouseContext(message.hwnd, message.lParam), &enabled, name, parameter)) {
    return false;
  }
  if (name[0] == 0 || !enabled) {
    beep();
    return true;
  }
  executeCommand(name, parameter, message.hwnd, message.message != WM_MOUSEMOVE);
  return true;
}

}  // namespace

uint16_t modifierBits() {
  uint16_t bits = 0;
  if (GetKeyState(VK_SHIFT) < 0) bits |= 1;
  if (GetKeyState(VK_CONTROL) < 0) bits |= 2;
  if (GetKeyState(VK_MENU) < 0) bits |= 4;
  return bits;
}

uint16_t keyContext(HWND window) {
  Shell& s = shell();
  KeyEventTarget target;
  target.previewOpen = s.printPreview != nullptr;
  if (isEditorWindow(window)) {
    target.window = EventWindow::Editor;
    target.editorHasMark = editorSays(window, ECD_HAS_MARK);
  } else if (s.services != nullptr && OCS_IsPartOfOpenBar(s.services, window) != 0) {
    target.window = EventWindow::OpenBar;
  }
  return static_cast<uint16_t>(keyEventContext(target));
}

uint16_t mouseContext(HWND window, LPARAM position) {
  Shell& s = shell();
  MouseEventTarget target;
  target.isEditor = isEditorWindow(window);
  if (target.isEditor) {
    OskWindow previous = GetCurEdWindow();
    SetCurEdWindow(window);
    int32_t line = 0, cell = 0, where = 0;
    target.positionFound = CharFromPos(static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position)),
                                       0, &line, &cell, 0, &where) != 0;
    target.where = where;
    SetCurEdWindow(previous);
  } else if (s.services != nullptr) {
    char toolBar[OCS_TOOL_BAR_NAME_SIZE] = {};
    target.servicesContext = OCS_GetPositionConstraint(s.services, window, toolBar);
    if (target.servicesContext == kContextToolBar) toolBarUnderMouse(toolBar);
  }
  return static_cast<uint16_t>(mouseEventContext(target));
}

int runMessageLoop() {
  Shell& s = shell();
  MSG message;
  while (true) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (s.services != nullptr && s.frameMenu != nullptr) OCS_ProcessSpecialCommands(s.services, s.frameMenu);
      if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    } else if (message.message == WM_QUIT) {
      break;
    }
    if (message.message == 1) continue;
    if (message.message == WM_CANCELJOURNAL) {
      if (s.engineInitialised && OEK_fbIsPlaying()) OEK_fvAbortPlayback();
      continue;
    }
    if (isDialogKey(message)) continue;
    if (s.mdiClient != nullptr && s.printPreview == nullptr && TranslateMDISysAccel(s.mdiClient, &message)) continue;
    if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && mapKey(message)) continue;
    if (isMouseMessage(message.message) && mapMouse(message)) continue;
    if (message.message == WM_SYSCHAR && message.wParam == VK_BACK) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void endServices() {
  Shell& s = shell();
  if (s.history != nullptr) {
    OCS_SaveHistorySettings(s.history, s.settingsPath.c_str());
    OCS_DestroyHistoryStore(s.history);
    s.history = nullptr;
  }
  if (s.services != nullptr) {
    OCS_SaveSettings(s.services);
    OCS_DestroyInstance(s.services);
    s.services = nullptr;
  }
  freeClipBuffers();
  if (s.palette != nullptr) {
    DeleteObject(s.palette);
    s.palette = nullptr;
  }
  if (s.frame != nullptr && IsWindow(s.frame)) DestroyWindow(s.frame);
}

}  // namespace osk::app
