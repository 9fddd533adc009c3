// The file dialogs' hook: centring, the first focus, the old style's amendment on OK; and the choices kept per
// dialog between one dialog and the next.
#include "app/win32/file_dialogs.h"

#include <commdlg.h>
#include <dlgs.h>

#include <array>

#include "app/win32/services_bridge.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "services/win32/ocs_file_api.h"

namespace osk::app {
namespace {

std::array<FilterChoice, static_cast<std::size_t>(FileDialogKind::kCount)>& choices() {
  static std::array<FilterChoice, static_cast<std::size_t>(FileDialogKind::kCount)> kept;
  return kept;
}

// What the hook needs while one dialog is up. The dialogs are modal and never nested, so one at a time.
struct HookState {
  FileDialogStyle style;
  bool several = false;
  bool amendMissing = false;
  const FilterChoice* choice = nullptr;
  std::vector<FileFilter> types;
};
HookState* current = nullptr;

bool exists(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Through the services, which decide what a name lacks; relative names against the current folder, which the
// old-style dialog keeps at the folder it shows.
std::optional<std::string> amendThroughServices(const std::string& name, const std::string& pattern) {
  if (pattern.empty()) return std::nullopt;
  std::string buffer(kOpenFieldLimit + 1, '\0');
  if (name.size() >= buffer.size()) return std::nullopt;
  name.copy(buffer.data(), name.size());
  if (!OCS_AmendOpenFile(nullptr, pattern.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()))) {
    return std::nullopt;
  }
  return std::string(buffer.c_str());
}

void centre(HWND dialog) {
  RECT frame{}, box{};
  GetWindowRect(shell().frame, &frame);
  GetWindowRect(dialog, &box);
  HMONITOR monitor = MonitorFromWindow(shell().frame, MONITOR_DEFAULTTONEAREST);
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  if (!GetMonitorInfoA(monitor, &screen)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen.rcWork, 0);
  const ScreenPlace at = centredOver({frame.left, frame.top, frame.right, frame.bottom}, box.right - box.left,
                                     box.bottom - box.top,
                                     {screen.rcWork.left, screen.rcWork.top, screen.rcWork.right, screen.rcWork.bottom});
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string controlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) return {};
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The description of the filter the old-style dialog shows now.
std::string shownFilter(HWND dialog) {
  HWND combo = GetDlgItem(dialog, cmb1);
  const LRESULT index = combo != nullptr ? SendMessageA(combo, CB_GETCURSEL, 0, 0) : CB_ERR;
  if (index == CB_ERR) return {};
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void amendOldStyleField(HWND dialog) {
  if (current == nullptr || !current->amendMissing) return;
  const std::string pattern = filterPatternNamed(*current->choice, current->types, shownFilter(dialog));
  const auto field = amendedOpenField(controlText(dialog, edt1), current->several, exists,
                                      [&](const std::string& name) { return amendThroughServices(name, pattern); });
  if (field) SetDlgItemTextA(dialog, edt1, field->c_str());
}

// The dialog's help context through the program's own help, as the frame shows it for every other dialog.
void showHelp() {
  const uint16_t context = shell().helpContext;
  openHelp(context != 0 ? HELP_CONTEXT : HELP_CONTENTS, context);
}

// The explorer dialog itself, watched for its Help button: not every system tells the hook about it.
WNDPROC explorerProc = nullptr;
constexpr char kWatched[] = "OskHelpWatched";

LRESULT CALLBACK explorerHelpProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == pshHelp && HIWORD(wParam) == BN_CLICKED) {
    showHelp();
    return 0;
  }
  if (message == WM_NCDESTROY) RemovePropA(dialog, kWatched);
  return IsWindowUnicode(dialog) ? CallWindowProcW(explorerProc, dialog, message, wParam, lParam)
                                 : CallWindowProcA(explorerProc, dialog, message, wParam, lParam);
}

void watchHelpButton(HWND dialog) {
  // Once per dialog: watching twice would make the watcher call itself.
  if (GetPropA(dialog, kWatched) != nullptr) return;
  SetPropA(dialog, kWatched, reinterpret_cast<HANDLE>(1));
  const LONG_PTR watcher = reinterpret_cast<LONG_PTR>(explorerHelpProc);
  explorerProc = reinterpret_cast<WNDPROC>(IsWindowUnicode(dialog)
                                               ? SetWindowLongPtrW(dialog, GWLP_WNDPROC, watcher)
                                               : SetWindowLongPtrA(dialog, GWLP_WNDPROC, watcher));
}

UINT_PTR CALLBACK hookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool explorer = current != nullptr && current->style.explorer;
  if (explorer) {
    // The hook sits in a child of the explorer dialog, which is its parent. A hooked explorer dialog reports its
    // Help button to the hook rather than to the owner.
    if (message != WM_NOTIFY) return 0;
    const UINT code = reinterpret_cast<NMHDR*>(lParam)->code;
    if (code == CDN_INITDONE) {
      centre(GetParent(dialog));
      watchHelpButton(GetParent(dialog));
    }
    if (code == CDN_HELP) showHelp();
    return 0;
  }
  switch (message) {
    case WM_INITDIALOG:
      centre(dialog);
      if (HWND name = GetDlgItem(dialog, edt1)) {
        SetFocus(name);
        SendMessageA(name, EM_SETSEL, 0, -1);
      }
      return FALSE;   // the focus is set
    case WM_COMMAND:
      // Help is answered here, so that the help shows once whether or not the dialog would tell the owner.
      if (LOWORD(wParam) == pshHelp) {
        showHelp();
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK) amendOldStyleField(dialog);
      return 0;       // the dialog goes on with OK itself
    default:
      return 0;
  }
}

}  // namespace

FileDialogStyle currentFileDialogStyle() {
  const AdvancedSettings& a = settings().advanced;
  return fileDialogStyle(shell().newShell, a.useExplorerType, a.useLongFileNames);
}

std::optional<FileDialogAnswer> askFileNames(const FileDialogRequest& request) {
  FilterChoice& choice = choices()[static_cast<std::size_t>(request.kind)];
  HookState state;
  state.style = currentFileDialogStyle();
  state.several = !request.save && request.several && openMayChooseSeveral(state.style);
  state.amendMissing = !request.save && request.amendMissing;
  state.choice = &choice;
  state.types = request.types.empty() ? settings().filters : request.types;
  const std::string filters = filterBlock(state.types);

  std::array<char, kCustomFilterSize> custom = customFilterBuffer(choice);
  std::string names(std::max(request.nameSize, request.initialName.size() + 1), '\0');
  request.initialName.copy(names.data(), request.initialName.size());
  const std::string title = request.title + (state.several ? " [Multi Select]" : "");

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = shell().frame;
  dialog.lpstrFilter = state.types.empty() ? nullptr : filters.c_str();
  // An explorer dialog given an empty custom filter may show no file types at all on some systems: it gets the
  // buffer only when it holds a filter. Old-style dialogs take an empty one and fill in what the user types.
  if (custom[0] != '\0' || custom[1] != '\0' || !state.style.explorer) {
    dialog.lpstrCustomFilter = custom.data();
    dialog.nMaxCustFilter = static_cast<DWORD>(custom.size());
  }
  dialog.nFilterIndex = choice.index;
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  dialog.lpfnHook = hookProc;
  dialog.Flags = OFN_ENABLEHOOK | OFN_SHOWHELP | OFN_PATHMUSTEXIST |
                 (state.style.explorer ? OFN_EXPLORER : 0) |
                 (state.style.longNames ? OFN_LONGNAMES : OFN_NOLONGNAMES) |
                 (request.readOnlyBox && !request.save ? 0 : OFN_HIDEREADONLY) |
                 (state.several ? OFN_ALLOWMULTISELECT : 0) |
                 (request.save ? 0 : OFN_SHAREAWARE) |
                 (!request.save && (request.fileMustExist || openNeedsExistingFile(state.style)) ? OFN_FILEMUSTEXIST
                                                                                                  : 0) |
                 (request.keepCurrentFolder ? OFN_NOCHANGEDIR : 0) |
                 (request.save && request.confirmReplace ? OFN_OVERWRITEPROMPT : 0);

  BOOL chosen = FALSE;
  {
    HelpContextDuring help(request.helpContext);
    current = &state;
    chosen = request.save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    current = nullptr;
  }
  // The custom filter the user typed and the filter chosen stay for this dialog's next time, even after Cancel.
  choice = choiceAfterDialog(custom, dialog.nFilterIndex, state.types.size());
  if (!chosen) return std::nullopt;

  FileDialogAnswer answer;
  answer.readOnly = (dialog.Flags & OFN_READONLY) != 0;
  answer.names = dialogResultNames(names, state.style.explorer, state.several);
  // One file chosen in an old-style dialog is its full name, which may hold blanks where the system kept the long
  // names of its folders: it is not split.
  if (!state.style.explorer && state.several && exists(names.c_str())) answer.names = {names.c_str()};
  if (state.amendMissing && state.style.explorer) {
    const std::string pattern = filterPatternAt(choice, state.types, dialog.nFilterIndex);
    for (std::string& name : answer.names) {
      if (exists(name)) continue;
      if (auto amended = amendThroughServices(name, pattern)) name = *amended;
    }
  }
  if (answer.names.empty()) return std::nullopt;
  return answer;
}

}  // namespace osk::app
