// The Open Bar commands: each one a step on the services' Open Bar, after which the frame's condition bits and
// check marks follow the bar. Deleting the selected files asks first and sends them to the recycle bin.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/open_bar_commands.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/services_bridge.h"
#include "app/win32/shell.h"
#include "services/ocs_openbar_api.h"

namespace osk::app {
namespace {

constexpr UINT kFirstListId = 15100;   // the frame's identifiers for the lists, as in its menu

int32_t barProperty(int32_t property) {
  Shell& s = shell();
  return s.services != nullptr ? OCS_GetOpenBarProp(s.services, property) : 0;
}

std::vector<std::string> selectedFiles() {
  std::vector<std::string> paths;
  Shell& s = shell();
  char path[OCS_PATH_SIZE] = {};
  // The bar holds at most a list box's worth of entries; the bound only guards against an answer that never ends.
  for (int32_t at = -1, guard = 0; guard < 65536; ++guard) {
    const int32_t next = OCS_GetNextSelectedFile(s.services, at, path);
    if (next < 0 || next <= at) break;
    paths.emplace_back(path);
    at = next;
  }
  return paths;
}

// The lists as a menu at the pointer; the chosen one becomes current.
void pickList() {
  Shell& s = shell();
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  fillOpenBarGotoMenu(menu, kFirstListId);
  POINT at{};
  GetCursorPos(&at);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN |
                                                                 TPM_RIGHTBUTTON, at.x, at.y, 0, s.frame, nullptr));
  DestroyMenu(menu);
  if (chosen >= kFirstListId) goToOpenBarList(static_cast<int32_t>(chosen - kFirstListId));
}

void deleteFiles() {
  Shell& s = shell();
  const std::vector<std::string> paths = selectedFiles();
  const auto list = shellFileList(paths);
  if (!list) {
    beep();
    return;
  }
  if (MessageBoxA(s.frame, deleteQuestion(paths).c_str(), "OSK", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  SHFILEOPSTRUCTA operation{};
  operation.hwnd = s.frame;
  operation.wFunc = FO_DELETE;
  operation.pFrom = list->c_str();
  // The question was asked above; failures are reported below in the program's own words.
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  const int result = SHFileOperationA(&operation);
  // The list shows what is left even with automatic refresh off.
  OCS_SetOpenBarProp(s.services, kObRefresh, 0);
  if (result != 0 || operation.fAnyOperationsAborted) {
    showStop(s.frame, paths.size() == 1 ? "The file could not be deleted." : "Not all of the files could be deleted.");
  }
}

void runStep(const char* command) {
  Shell& s = shell();
  const auto step = openBarStep(command);
  if (!step || s.services == nullptr) return;
  switch (step->kind) {
    case OpenBarStepKind::kAction:
      if (!OCS_SetOpenBarProp(s.services, step->property, 0) && step->property != kObNewList &&
          step->property != kObListSettings && step->property != kObFont) {
        beep();   // refused: the only list, no next list, nothing selected
      }
      break;
    case OpenBarStepKind::kToggle:
      OCS_SetOpenBarProp(s.services, step->property, barProperty(step->property) != 0 ? 0 : 1);
      break;
    case OpenBarStepKind::kHide:
      OCS_SetOpenBarProp(s.services, kObVisible, 0);
      break;
    case OpenBarStepKind::kPickList:
      pickList();
      break;
    case OpenBarStepKind::kDeleteFiles:
      deleteFiles();
      break;
  }
  openBarRefresh();
}

template <const char* Name>
void handler(const char*) {
  runStep(Name);
}

constexpr char kNextList[] = "OBNextList";
constexpr char kPrevList[] = "OBPrevList";
constexpr char kGotoList[] = "OBGotoList";
constexpr char kNewList[] = "OBNewList";
constexpr char kSettings[] = "OBSettings";
constexpr char kRefresh[] = "OBRefresh";
constexpr char kOpen[] = "OBOpen";
constexpr char kMaxToggle[] = "OBMaxToggle";
constexpr char kClose[] = "OBClose";
constexpr char kFont[] = "OBFont";
constexpr char kAutoRefresh[] = "OBAutoRefresh";
constexpr char kHide[] = "OBHide";
constexpr char kDeleteFiles[] = "OBDeleteFiles";
constexpr char kToggle[] = "OpenBarToggle";

}  // namespace

void registerOpenBarCommands(HandlerTable& t) {
  setHandler(t, kNextList, handler<kNextList>);
  setHandler(t, kPrevList, handler<kPrevList>);
  setHandler(t, kGotoList, handler<kGotoList>);
  setHandler(t, kNewList, handler<kNewList>);
  setHandler(t, kSettings, handler<kSettings>);
  setHandler(t, kRefresh, handler<kRefresh>);
  setHandler(t, kOpen, handler<kOpen>);
  setHandler(t, kMaxToggle, handler<kMaxToggle>);
  setHandler(t, kClose, handler<kClose>);
  setHandler(t, kFont, handler<kFont>);
  setHandler(t, kAutoRefresh, handler<kAutoRefresh>);
  setHandler(t, kHide, handler<kHide>);
  setHandler(t, kDeleteFiles, handler<kDeleteFiles>);
  setHandler(t, kToggle, handler<kToggle>);
}

}  // namespace osk::app
