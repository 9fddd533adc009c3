// Helpers of the services' dialogs: module, command providers, messages and the key capture field.
#include "services/win32/dialogs_win32.h"

#include "services/config/key_map.h"
#include "services/ocs_config_api.h"
#include "services/win32/config_win32.h"

namespace osk::win32 {

std::vector<CommandProvider> commandProviders(const CInstance& instance) {
  std::vector<CommandProvider> all;
  all.push_back(frameCommandProvider(reinterpret_cast<HWND>(instance.frame())));
  const auto more = instance.extensionProviders();
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

bool disabledByEnablingTest(std::uintptr_t test) {
  if (!test) return false;
  const auto probe = reinterpret_cast<int32_t(OSK_CALL*)(void)>(test);
  return (probe() & 1) != 0;
}

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return {};
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void reportProblem(HWND owner, const std::string& text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(owner, text.c_str(), "OSK", MB_OK | MB_ICONSTOP);
}

namespace {

constexpr char kPreviousProc[] = "OSK key capture";

void showKey(HWND edit, uint16_t word) {
  const auto name = formatKeyName(word, systemKeyChar);
  SetWindowTextA(edit, name ? name->c_str() : "");
  if (!name) MessageBeep(MB_ICONHAND);
  // The dialog follows the field's text to show what the key is mapped to.
  SendMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE), reinterpret_cast<LPARAM>(edit));
}

bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

LRESULT CALLBACK keyCaptureProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kPreviousProc));
  switch (msg) {
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wParam == VK_SHIFT || wParam == VK_CONTROL || wParam == VK_MENU) return 0;
      // Tab without modifiers still moves the focus, so the dialog stays usable from the keyboard.
      if (wParam == VK_TAB && !held(VK_CONTROL) && !held(VK_MENU)) {
        SendMessageA(GetParent(edit), WM_NEXTDLGCTL, held(VK_SHIFT), 0);
        return 0;
      }
      showKey(edit, makeKeyWord(0, static_cast<int>(wParam & 0xFF), held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU)));
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      SetFocus(edit);
      showKey(edit, makeKeyWord(0, mouseEventFromMessage(msg), (wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0,
                                held(VK_MENU)));
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropA(edit, kPreviousProc);
      break;
  }
  return CallWindowProcA(previous, edit, msg, wParam, lParam);
}

}  // namespace

void makeKeyCaptureField(HWND edit) {
  const LONG_PTR previous = SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keyCaptureProc));
  SetPropA(edit, kPreviousProc, reinterpret_cast<HANDLE>(previous));
}

}  // namespace osk::win32
