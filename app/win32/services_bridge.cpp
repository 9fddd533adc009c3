#include "app/win32/services_bridge.h"

#include <cstring>

#include "app/win32/alerts.h"
#include "app/win32/commands_clipboard.h"
#include "app/win32/commands_macro.h"
#include "app/win32/document_window.h"
#include "app/win32/frame_window.h"
#include "app/win32/print_preview.h"
#include "services/win32/ocs_bars_api.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/oek_api.h"
#include "services/win32/extensions_api.h"
#include "app/open_bar_commands.h"
#include "services/ocs_openbar_api.h"

namespace osk::app {
namespace {

SpecialPopupRecord& table() {
  static SpecialPopupRecord entries{};
  return entries;
}

std::string& toolBarName() {
  static std::string name;
  return name;
}

}  // namespace

void resetSpecialPopups() {
  table() = SpecialPopupRecord{{{1, 0}, {2, 0}, {4, 0}, {8, 0}, {0, 0}}};
}

OcsSpecialList* specialPopupTable() { return table().data(); }

std::array<SpecialPopupView, 4> specialPopups() {
  std::array<SpecialPopupView, 4> views{};
  for (size_t i = 0; i < views.size(); ++i) {
    views[i] = {table()[i].bits, reinterpret_cast<HMENU>(static_cast<intptr_t>(static_cast<int32_t>(table()[i].menu)))};
  }
  return views;
}

bool specialPopupWants(uint16_t options) {
  for (const SpecialPopupView& view : specialPopups()) {
    if ((view.options & options) && view.menu != nullptr) return true;
  }
  return false;
}

SpecialPopupRecord saveSpecialPopups() { return table(); }
void restoreSpecialPopups(const SpecialPopupRecord& record) { table() = record; }

bool runExtensionCommand(const std::string& name, const char* parameter) {
  return shell().services != nullptr && OCS_RunExtensionCommand(shell().services, name.c_str(), parameter) != 0;
}

void refreshOpenBarCheckMarks() {
  Shell& s = shell();
  if (s.services == nullptr) return;
  checkCommand("OpenBarToggle", OCS_GetOpenBarProp(s.services, OCS_OB_VISIBLE) != 0);
  checkCommand("OBMaxToggle", OCS_GetOpenBarProp(s.services, OCS_OB_MAXIMISED) != 0);
  checkCommand("OBAutoRefresh", OCS_GetOpenBarProp(s.services, OCS_OB_AUTO_REFRESH) != 0);
}

void fillOpenBarGotoMenu(HMENU popup, UINT firstId) {
  if (popup == nullptr) return;
  // The popup is filled again whenever the lists change: what it held before goes first.
  for (int count = GetMenuItemCount(popup); count > 0; --count) DeleteMenu(popup, 0, MF_BYPOSITION);
  if (shell().services != nullptr) OCS_FillOpenBarGotoMenu(shell().services, popup, static_cast<int32_t>(firstId));
}

void goToOpenBarList(int32_t list) {
  Shell& s = shell();
  if (s.services == nullptr || !OCS_SetOpenBarProp(s.services, OCS_OB_GOTO_LIST, list)) beep();
  openBarRefresh();
}

void openBarRefresh() {
  Shell& s = shell();
  if (s.services == nullptr) return;
  const int32_t lists = OCS_GetOpenBarProp(s.services, OCS_OB_LIST_COUNT);
  const int32_t selected = OCS_GetOpenBarProp(s.services, OCS_OB_SELECTED_COUNT);
  setConditionBits(kCondOpenBarLists | kCondOpenBarSelection, openBarConditions(lists, selected));
  refreshOpenBarCheckMarks();
  if (s.openBarListPopup != nullptr && IsMenu(s.openBarListPopup)) fillOpenBarGotoMenu(s.openBarListPopup, 15100);
}

decltype(OcsCommandDetails::enablingTest) previewEnablingTest(std::string_view name) {
  return printPreviewEnablingTest(name);
}

void toolBarUnderMouse(const char* name) {
  toolBarName() = name != nullptr ? name : "";
  Shell& s = shell();
  if (s.services == nullptr) return;
  const char* bar = toolBarName().c_str();
  checkCommand("TBLargeToggle", OCS_GetToolBarProp(s.services, bar, 1) != 0);
  checkCommand("TBWrapToggle", OCS_GetToolBarProp(s.services, bar, 2) != 0);
  checkCommand("TBTipsToggle", OCS_GetToolBarProp(s.services, bar, 3) != 0);
  checkCommand("StatusBarToggle", statusBarShown());
}

const std::string& toolBarUnderMouseName() { return toolBarName(); }

void freeClipBuffers() { releaseClipBuffers(); }

void blinkRecordMark() {
  if (shell().engineInitialised && OEK_fbIsRecording()) {
    static bool on = false;
    on = !on;
    checkCommand("KeyMacroRecord", on);
    return;
  }
  KillTimer(shell().frame, kBlinkTimer);
  checkCommand("KeyMacroRecord", false);
}

void abortRepeatPlay(UINT message) { stopRepeatPlayOnFrameMessage(message); }
void macroNotification(WPARAM wParam, LPARAM) { macroPlayEnded(wParam); }
void playMacroFromMenu(UINT id) { playMacroMenuItem(id); }
void fillMacroFilePopup(HMENU popup) { showMacroFilesIn(popup); }
void showWindowList() { showWindowListDialog(); }

}  // namespace osk::app
