// Extension libraries on Windows: the system's library loader, the entry points that run and show the libraries'
// commands, their place in the settings file, and the extensions dialog.
#include <windows.h>
#include <commdlg.h>

#include <new>
#include <string>

#include "services/win32/config_win32.h"
#include "services/win32/extensions_api.h"
#include "services/win32/extensions_resource.h"
#include "services/win32/extensions_win32.h"
#include "services/win32/instance_win32.h"
#include "services/win32/profile_win32.h"

namespace osk::win32 {
namespace {

class LibraryLoader : public ExtensionLoader {
 public:
  void* load(const std::string& path) override {
    // A library that cannot be found must not make the system ask the user to insert a disk.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path.c_str());
    SetErrorMode(previous);
    return module;
  }
  void* find(void* module, const char* name) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
  }
  void free(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }
};

class MenuSink : public ExtensionMenuSink {
 public:
  void* appendPopup(void* menu, const std::string& text) override {
    HMENU popup = CreatePopupMenu();
    if (!popup) return nullptr;
    if (!AppendMenuA(static_cast<HMENU>(menu), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                     text.c_str())) {
      DestroyMenu(popup);
      return nullptr;
    }
    return popup;
  }
  void appendItem(void* menu, uint16_t number, const std::string& text) override {
    AppendMenuA(static_cast<HMENU>(menu), MF_STRING, number, text.c_str());
  }
  void appendSeparator(void* menu) override { AppendMenuA(static_cast<HMENU>(menu), MF_SEPARATOR, 0, nullptr); }
};

void reportLoadFailure(HWND owner, const std::string& path) {
  MessageBoxA(owner, extensionLoadFailureText(path).c_str(), "OSK", MB_OK);
}

void showError(HWND owner, const char* text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(owner, text, "OSK", MB_OK | MB_ICONSTOP);
}

HMODULE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&thisModule), &module);
  return module;
}

// ---- The extensions dialog. ----

struct DialogState {
  OcsInstance* instance;
  bool changed = false;
};

void fillList(HWND dialog, const DialogState& state, int select) {
  HWND list = GetDlgItem(dialog, IDC_EXT_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  const CExtensionList& libraries = state.instance->extensions.libraries();
  for (size_t i = 0; i < libraries.count(); ++i)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(libraries.at(i).path().c_str()));
  const int count = static_cast<int>(libraries.count());
  if (select >= count) select = count - 1;
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

void showSelected(HWND dialog, const DialogState& state) {
  const LRESULT at = SendDlgItemMessageA(dialog, IDC_EXT_LIST, LB_GETCURSEL, 0, 0);
  const CExtensionList& libraries = state.instance->extensions.libraries();
  const bool selected = at != LB_ERR && static_cast<size_t>(at) < libraries.count();
  SetDlgItemTextA(dialog, IDC_EXT_DESCRIPTION,
                  selected ? libraries.at(static_cast<size_t>(at)).description().c_str() : "");
  EnableWindow(GetDlgItem(dialog, IDC_EXT_REMOVE), selected);
}

void addExtension(HWND dialog, DialogState& state) {
  char path[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = dialog;
  ofn.lpstrFilter = "Extension DLLs (*.dll)\0*.dll\0All Files (*.*)\0*.*\0";
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrTitle = "Add Extension";
  ofn.lpstrDefExt = "dll";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameA(&ofn)) return;
  switch (state.instance->extensions.add(path)) {
    case CExtensionList::AddResult::kAdded:
      state.changed = true;
      fillList(dialog, state, static_cast<int>(state.instance->extensions.libraries().count()) - 1);
      showSelected(dialog, state);
      break;
    case CExtensionList::AddResult::kAlreadyLoaded:
      showError(dialog, "Extension DLL already loaded.");
      break;
    case CExtensionList::AddResult::kFailed:
      reportLoadFailure(dialog, path);
      break;
  }
}

void removeExtension(HWND dialog, DialogState& state) {
  const LRESULT at = SendDlgItemMessageA(dialog, IDC_EXT_LIST, LB_GETCURSEL, 0, 0);
  if (at == LB_ERR) return;
  if (state.instance->extensions.remove(static_cast<size_t>(at))) {
    state.changed = true;
    fillList(dialog, state, static_cast<int>(at));
    showSelected(dialog, state);
  }
}

INT_PTR CALLBACK extensionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<DialogState*>(lParam);
      fillList(dialog, *state, 0);
      showSelected(dialog, *state);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_EXT_LIST:
          if (HIWORD(wParam) == LBN_SELCHANGE) showSelected(dialog, *state);
          return TRUE;
        case IDC_EXT_ADD:
          addExtension(dialog, *state);
          return TRUE;
        case IDC_EXT_REMOVE:
          removeExtension(dialog, *state);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::unique_ptr<ExtensionLoader> makeLibraryLoader() { return std::make_unique<LibraryLoader>(); }

void loadExtensionSettings(OcsInstance& instance, SettingsStore& settings) {
  HWND owner = reinterpret_cast<HWND>(instance.core.frame());
  instance.extensions.loadSettings(settings, [owner](const std::string& path) { reportLoadFailure(owner, path); });
}

void saveExtensionSettings(OcsInstance& instance, SettingsStore& settings) {
  instance.extensions.saveSettings(settings);
}

}  // namespace osk::win32

extern "C" {

int32_t OSK_CALL OCS_RunExtensionCommand(HOCSINSTANCE instance, const char* name, const char* parameter) {
  if (!instance || !name) return 0;
  try {
    return instance->extensions.runCommand(name, parameter ? parameter : "");
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int32_t OSK_CALL OCS_AddExtensionsToMenu(HOCSINSTANCE instance, HMENU__* menu) {
  if (!instance || !menu) return 0;
  try {
    osk::win32::MenuSink sink;
    instance->extensions.addMenus(sink, menu, osk::win32::systemKeyChar);
  } catch (const std::bad_alloc&) {
  }
  return 1;
}

int32_t OSK_CALL OCS_LoadExtensionSettings(HOCSINSTANCE instance) {
  if (!instance) return 0;
  try {
    osk::win32::ProfileSettings settings(instance->core.settingsPath());
    osk::win32::loadExtensionSettings(*instance, settings);
    return static_cast<int32_t>(instance->extensions.libraries().count());
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int32_t OSK_CALL OCS_SaveExtensionSettings(HOCSINSTANCE instance) {
  if (!instance) return 0;
  try {
    osk::win32::ProfileSettings settings(instance->core.settingsPath());
    osk::win32::saveExtensionSettings(*instance, settings);
  } catch (const std::bad_alloc&) {
  }
  return 1;
}

int32_t OSK_CALL OCS_ExtensionsDlg(HOCSINSTANCE instance, OskWindow owner) {
  if (!instance) return 0;
  osk::win32::DialogState state{instance};
  DialogBoxParamA(osk::win32::thisModule(), MAKEINTRESOURCEA(IDD_EXTENSIONS), reinterpret_cast<HWND>(owner),
                  osk::win32::extensionsDialogProc, reinterpret_cast<LPARAM>(&state));
  return state.changed ? 1 : 0;
}

}  // extern "C"
