#include "app/win32/dispatch.h"

#include <algorithm>
#include <cstring>

#include "app/condition_mask.h"
#include "app/win32/alerts.h"
#include "app/win32/document_panes.h"
#include "app/win32/document_window.h"
#include "app/win32/search_dialog.h"
#include "services/win32/ocs_bars_api.h"
#include "app/win32/services_bridge.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "engine/oek_api.h"
#include "services/ocs_config_api.h"
#include "services/ocs_openbar_api.h"

namespace osk::app {
namespace {

constexpr size_t kParameterBuffer = 68;   // parameters are at most 67 characters

const HandlerTable& handlers() {
  static const HandlerTable table = [] {
    HandlerTable t{};
    registerFrameCommands(t);
    registerEditingCommands(t);
    registerMouseCommands(t);
    registerFileCommands(t);
    registerClipboardCommands(t);
    registerPrintCommands(t);
    registerSearchCommands(t);
    registerTextCommands(t);
    registerOpenBarCommands(t);
    registerMacroCommands(t);
    return t;
  }();
  return table;
}

bool hasClipboardText() { return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_OEMTEXT); }

bool searchTextExists() {
  if (shell().history == nullptr) return false;
  char top[2] = {};
  OCS_GetTopString(shell().history, top, 1, 1);
  return top[0] != 0;
}

ShellState describeShell() {
  Shell& s = shell();
  ShellState state;
  HWND document = activeDocument();
  HWND editor = activeEditor();
  for (HWND child = s.mdiClient ? GetWindow(s.mdiClient, GW_CHILD) : nullptr; child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindow(child, GW_OWNER) != nullptr) continue;   // the icon titles of minimised children
    ++state.mdiChildren;
    HWND childEditor = editorOfDocument(child);
    if (childEditor != nullptr && editorSays(childEditor, ECD_IS_MODIFIED)) state.anyModified = true;
  }
  if (editor != nullptr) {
    state.editorActive = true;
    state.activeMinimised = IsIconic(document) != FALSE;
    state.activeSplit = isSplit(document);
    state.activeModified = editorSays(editor, ECD_IS_MODIFIED);
    state.activeReadOnly = editorSays(editor, ECD_IS_READ_ONLY);
    char name[MAX_PATH + 1] = {};
    state.activeNamed = SendMessageA(editor, ECD_GET_FILE_NAME, 0, reinterpret_cast<LPARAM>(name)) == 0 && name[0] != 0;
    state.activeCanUndo = editorSays(editor, ECD_CAN_UNDO);
    state.activeCanRedo = editorSays(editor, ECD_CAN_REDO);
    state.activeHasMark = editorSays(editor, ECD_HAS_MARK);
  }
  if (s.engineInitialised) {
    state.macroLoaded = OEK_fbMacroLoaded() != 0;
    state.macroRunning = OEK_fbIsRecording() != 0 || OEK_fbIsPlaying() != 0;
  }
  state.startupMacroSet = !startupMacro().empty();
  state.clipboardText = hasClipboardText();
  state.fileHistory = fileHistoryCount() > 0;
  state.searchText = searchTextExists();
  state.printPreview = s.printPreview != nullptr;
  if (s.services != nullptr) {
    state.openBarLists = OCS_GetOpenBarProp(s.services, OCS_OB_LIST_COUNT);
    state.openBarSelection = OCS_GetOpenBarProp(s.services, OCS_OB_SELECTED_COUNT) > 0;
  }
  return state;
}

}  // namespace

void beep() { MessageBeep(MB_ICONHAND); }

void setHandler(HandlerTable& table, std::string_view name, CommandHandler handler) {
  if (const auto index = findCommand(name)) table[static_cast<size_t>(*index)] = handler;
}

bool isEditorWindow(HWND window) {
  if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpiA(name, kEditorClass) == 0;
}

HWND activeDocument() {
  if (shell().mdiClient == nullptr) return nullptr;
  HWND child = reinterpret_cast<HWND>(SendMessageA(shell().mdiClient, WM_MDIGETACTIVE, 0, 0));
  return isDocumentWindow(child) ? child : nullptr;
}

HWND activeEditor() { return editorOfDocument(activeDocument()); }

void executeCommand(const std::string& name, const std::string& parameter, HWND target, bool clearStatus) {
  if (clearStatus) setStatusMessage("");
  char buffer[kParameterBuffer] = {};
  std::memcpy(buffer, parameter.data(), std::min(parameter.size(), kParameterBuffer - 1));

  OskWindow previous = GetCurEdWindow();
  SetCurEdWindow(isEditorWindow(target) ? target : nullptr);

  bool ran = false;
  if (const auto index = findCommand(name)) {
    if (CommandHandler handler = handlers()[static_cast<size_t>(*index)]) {
      handler(buffer);
      ran = true;
    }
  }
  if (!ran && shell().services != nullptr) ran = runExtensionCommand(name, buffer);
  if (!ran) showStop(shell().frame, "Unknown command");

  // The command may have closed the window that was current before it.
  SetCurEdWindow(IsWindow(previous) ? previous : nullptr);
  setConditionBits(kCondClipboardText, hasClipboardText() ? kCondClipboardText : 0);
  refreshStatusFields(activeEditor());
}

void refreshConditions() {
  Shell& s = shell();
  const uint32_t mask = conditionMask(describeShell());
  s.conditionMask = mask;
  if (s.services != nullptr && s.frameMenu != nullptr) OCS_EnableMacroCommands(s.services, s.frameMenu, mask);
  // Macro files in the menu cannot be played while a macro records or plays.
  if (s.frameMenu != nullptr) {
    const UINT state = (mask & kCondNoMacroRunning) ? MF_ENABLED : MF_GRAYED;
    for (UINT id = 16000; id <= 16009; ++id) EnableMenuItem(s.frameMenu, id, MF_BYCOMMAND | state);
  }
  refreshSearchDialog();
}

void setConditionBits(uint32_t bits, uint32_t values) {
  Shell& s = shell();
  s.conditionMask = (s.conditionMask & ~bits) | (values & bits);
  if (s.services != nullptr && s.frameMenu != nullptr) OCS_PartEnableMacroCommands(s.services, s.frameMenu, bits, values);
}

void checkCommand(const char* name, bool checked) {
  Shell& s = shell();
  if (s.services != nullptr && s.frameMenu != nullptr) OCS_CheckMacroCommands(s.services, s.frameMenu, name, checked ? 1 : 0);
}

void refreshCheckMarks() {
  HWND editor = activeEditor();
  checkCommand("StatusBarToggle", statusBarShown());
  checkCommand("WordWrapToggle", editor != nullptr && editorSays(editor, ECD_IS_WORD_WRAP));
  checkCommand("InsertModeToggle", editor != nullptr && editorSays(editor, ECD_IS_INSERT_MODE));
  HWND document = activeDocument();
  const SplitFractions split = document != nullptr ? splitFractionsOf(document) : SplitFractions{};
  checkCommand("SplitWindowHorizontally", split.horizontal > 0);
  checkCommand("SplitWindowVertically", split.vertical > 0);
  refreshOpenBarCheckMarks();
}

void menuSelected(HMENU menu, UINT item, UINT flags) {
  Shell& s = shell();
  s.helpContext = 0;
  setStatusMessage("");
  if (flags == 0xFFFF && menu == nullptr) return;   // the menu closed
  if (flags & MF_POPUP) {
    HMENU popup = GetSubMenu(menu, static_cast<int>(item));
    if (popup != nullptr && popup == s.fileHistoryPopup) {
      s.helpContext = 107;
      setStatusMessage(s.fileHistoryHelp);
    } else if (popup != nullptr && popup == s.openBarListPopup) {
      setStatusMessage(s.openBarListHelp);
    }
    return;
  }
  if (flags & (MF_SEPARATOR | MF_BITMAP | MF_SYSMENU)) return;
  if (item >= 15000 && item <= 15014) {
    s.helpContext = 107;
    char text[65] = {};
    LoadStringA(s.instance, 1024, text, sizeof text);
    setStatusMessage(text);
    return;
  }
  if ((item >= 15100 && item <= 15163) || (item >= 16000 && item <= 16008) || item >= 20000) return;
  char name[OCS_COMMAND_NAME_SIZE + 14] = {};
  char parameter[OCS_PARAMETER_SIZE + 15] = {};
  if (s.services != nullptr && OCS_GetMacroString(s.services, static_cast<int32_t>(item), name, parameter)) {
    if (const auto index = findCommand(name)) s.helpContext = commandTable()[static_cast<size_t>(*index)].helpContext;
    char help[OCS_HELP_TEXT_SIZE] = {};
    OCS_GetHelpString(s.services, static_cast<int32_t>(item), help);
    setStatusMessage(help);
  }
}

LRESULT commandDetails(WPARAM index, LPARAM record) {
  const auto table = commandTable();
  if (index >= table.size() || record == 0) return 0;
  auto* details = reinterpret_cast<OcsCommandDetails*>(record);
  const CommandRecord& command = table[index];
  std::memset(details->name, 0, sizeof details->name);
  std::memcpy(details->name, command.name.data(), std::min(command.name.size(), sizeof details->name - 1));
  details->conditionWord = command.conditionWord;
  details->enablingTest = previewEnablingTest(command.name);
  return 1;
}

LRESULT menuListOptionDetails(WPARAM index, LPARAM record) {
  const auto option = menuListOption(static_cast<int>(index));
  if (!option || record == 0) return 0;
  auto* details = reinterpret_cast<OcsCommandDetails*>(record);
  std::memset(details->name, 0, sizeof details->name);
  std::memcpy(details->name, option->text.data(), std::min(option->text.size(), sizeof details->name - 1));
  // The option value lies where a command's condition word does.
  details->conditionWord = option->value;
  return 1;
}

}  // namespace osk::app
