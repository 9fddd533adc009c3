#include "app/win32/frame_window.h"

#include <shellapi.h>

#include <cstring>

#include "app/command_parameters.h"
#include "app/win32/alerts.h"
#include "app/win32/commands_clipboard.h"
#include "app/win32/dispatch.h"
#include "app/displayable_path.h"
#include "app/win32/document_panes.h"
#include "app/win32/document_window.h"
#include "services/win32/extensions_api.h"
#include "services/win32/ocs_bars_api.h"
#include "app/win32/services_bridge.h"
#include "app/win32/session.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "engine/oek_api.h"
#include "services/win32/ocs_api.h"

namespace osk::app {
namespace {

constexpr UINT kFirstDocumentId = 20000;
constexpr UINT kFileHistoryFirstId = 15000;
constexpr UINT kOpenBarListFirstId = 15100;

bool createMdiClient(HWND frame) {
  CLIENTCREATESTRUCT client{};
  client.hWindowMenu = nullptr;
  client.idFirstChild = kFirstDocumentId;
  HWND mdiClient = CreateWindowExA(
      0, "MDICLIENT", nullptr,
      WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES,
      0, 0, 0, 0, frame, nullptr, shell().instance, &client);
  if (mdiClient == nullptr) return false;
  // The client repaints whole when resized, so centred contents stay centred.
  SetClassLongPtrA(mdiClient, GCL_STYLE, GetClassLongPtrA(mdiClient, GCL_STYLE) | CS_HREDRAW | CS_VREDRAW);
  shell().mdiClient = mdiClient;
  return true;
}

bool loadConfiguration(HWND frame) {
  Shell& s = shell();
  ShellSettings& values = settings();
  if (!values.configFile.empty() &&
      OCS_LoadConfiguration(s.services, frame, values.inWinDir, values.configFile.c_str())) {
    return true;
  }
  values.configFile.clear();
  return OCS_LoadConfigurationResource(s.services, frame, s.instance, 1001) != 0;
}

void centreBanner() {
  Shell& s = shell();
  if (s.banner == nullptr) return;
  RECT client, banner;
  GetClientRect(s.mdiClient, &client);
  GetWindowRect(s.banner, &banner);
  const int width = banner.right - banner.left, height = banner.bottom - banner.top;
  SetWindowPos(s.banner, nullptr, (client.right - width) / 2, (client.bottom - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int onCreate(HWND frame) {
  Shell& s = shell();
  s.frame = frame;
  s.services = OCS_CreateInstance(frame, s.settingsPath.c_str());
  if (s.services == nullptr) return -1;
  if (!createMdiClient(frame)) return -1;
  s.statusBar = createStatusBar(frame);
  handSettingsToServices();
  OCS_LoadSettings(s.services);
  if (!loadConfiguration(frame)) return -1;
  s.history = OCS_CreateHistoryStore();
  if (s.history != nullptr) OCS_LoadHistorySettings(s.history, s.settingsPath.c_str());
  if (!buildFrameMenu()) return -1;
  refreshConditions();
  refreshCheckMarks();
  if (settings().showStatBar && s.statusBar != nullptr) ShowWindow(s.statusBar, SW_SHOWNA);
  DragAcceptFiles(frame, TRUE);
  checkCommand("StatusBarToggle", settings().showStatBar);
  restartAutosaveTimer();
  layOutFrame();
  return 0;
}

// The file history entries as a popup: each the shortened directory, a tab, and the file name.
HMENU fileHistoryPopup() {
  HMENU popup = CreatePopupMenu();
  UINT id = kFileHistoryFirstId;
  for (const FileHistoryRecord& record : settings().history.records()) {
    const std::string text = historyItemText(record.name, displayablePath);
    AppendMenuA(popup, MF_STRING, id++, text.c_str());
  }
  return popup;
}

// Replaces the items bound to FileHistory and OBGotoList by popups of the same text; `remember` keeps the popups
// for the menu help of the frame menu.
void expandDynamicItems(HMENU menu, bool remember) {
  Shell& s = shell();
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    HMENU sub = GetSubMenu(menu, position);
    if (sub != nullptr) {
      expandDynamicItems(sub, remember);
      continue;
    }
    const UINT id = GetMenuItemID(menu, position);
    if (id == static_cast<UINT>(-1) || id == 0) continue;
    char name[OCS_COMMAND_NAME_SIZE + 14] = {};
    char parameter[OCS_PARAMETER_SIZE + 15] = {};
    if (!OCS_GetMacroString(s.services, static_cast<int32_t>(id), name, parameter)) continue;
    const bool history = std::strcmp(name, "FileHistory") == 0;
    const bool lists = std::strcmp(name, "OBGotoList") == 0;
    if (!history && !lists) continue;
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    char help[OCS_HELP_TEXT_SIZE] = {};
    OCS_GetHelpString(s.services, static_cast<int32_t>(id), help);
    HMENU popup = history ? fileHistoryPopup() : CreatePopupMenu();
    if (lists) fillOpenBarGotoMenu(popup, kOpenBarListFirstId);
    ModifyMenuA(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), text);
    if (remember && history) {
      s.fileHistoryPopup = popup;
      s.fileHistoryHelp = help;
    }
    if (remember && lists) {
      s.openBarListPopup = popup;
      s.openBarListHelp = help;
    }
  }
}

}  // namespace

void expandMenuItems(HMENU menu) { expandDynamicItems(menu, false); }

namespace {

HMENU windowPopupOf(HMENU menu) {
  for (const SpecialPopupView& special : specialPopups()) {
    if (special.options & 1) return special.menu;
  }
  // Without a window list entry the last popup of the bar takes the window list, as usual for MDI programs.
  const int count = GetMenuItemCount(menu);
  return count > 0 ? GetSubMenu(menu, count - 1) : nullptr;
}

void onTimer(HWND frame, UINT_PTR timer) {
  Shell& s = shell();
  if (timer == kBlinkTimer) {
    blinkRecordMark();
    return;
  }
  if (timer != kAutosaveTimer || !IsWindowEnabled(frame)) return;
  const DWORD now = GetTickCount();
  if (now - s.lastAutosave < static_cast<DWORD>(settings().advanced.autosaveDelay) * 1000u) return;
  autosaveAll();
  s.lastAutosave = GetTickCount();
}

void onActivateApp(bool active) {
  Shell& s = shell();
  if (!active) {
    if (settings().advanced.autosaveOnDeactivation) autosaveAll();
  } else {
    setConditionBits(kCondClipboardText, IsClipboardFormatAvailable(CF_TEXT) ? kCondClipboardText : 0);
    if (settings().advanced.autoloadOnActivation) autoloadChangedFiles();
  }
  if (s.services != nullptr) OCS_ActivationChanged(s.services, active ? 1 : 0);
}

LRESULT ownerMessage(WPARAM code, LPARAM lParam) {
  Shell& s = shell();
  switch (code) {
    case 1: {
      HWND editor = activeEditor();
      return editor != nullptr ? SendMessageA(editor, ECD_GET_BUFFER, 0, 0) : 0;
    }
    case 2:
      setStatusMessage(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
      return 0;
    case 3:
      if (isDocumentWindow(reinterpret_cast<HWND>(lParam))) {
        SendMessageA(s.mdiClient, WM_MDIACTIVATE, static_cast<WPARAM>(lParam), 0);
      }
      return 0;
    case 4:
      return SendMessageA(s.mdiClient, WM_MDIGETACTIVE, 0, 0);
    case 5:
    case 6: {
      const std::vector<HWND> documents = documentWindows();
      HWND after = reinterpret_cast<HWND>(lParam);
      for (size_t i = 0; i < documents.size(); ++i) {
        if (documents[i] != after) continue;
        if (code == 5) return i + 1 < documents.size() ? reinterpret_cast<LRESULT>(documents[i + 1]) : 0;
        return i > 0 ? reinterpret_cast<LRESULT>(documents[i - 1]) : 0;
      }
      return 0;
    }
    case 8: {
      HWND editor = editorOfDocument(reinterpret_cast<HWND>(lParam));
      return editor != nullptr && isDocumentWindow(reinterpret_cast<HWND>(lParam))
                 ? SendMessageA(editor, ECD_GET_BUFFER, 0, 0)
                 : 0;
    }
    case 9: {
      HWND window = reinterpret_cast<HWND>(lParam);
      if (!IsWindow(window)) return 0;
      return IsIconic(window) ? 2 : IsZoomed(window) ? 1 : 0;
    }
    case 10:
      openHelp(lParam == 0 ? HELP_CONTENTS : HELP_CONTEXT, static_cast<ULONG_PTR>(lParam));
      return 0;
    case 11: {
      // The request comes from inside this process (the engine's export); only a readable record is used.
      const auto* request = reinterpret_cast<const HWND*>(lParam);
      if (request == nullptr || IsBadReadPtr(request, sizeof(HWND) + sizeof(int32_t))) return 0;
      HWND window = request[0];
      int32_t state = 0;
      std::memcpy(&state, request + 1, sizeof state);
      if (!isDocumentWindow(window)) return 0;
      if (state == 1) {
        if (window == activeDocument()) SendMessageA(s.mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(window), 0);
      } else if (state == 2) {
        ShowWindow(window, SW_MINIMIZE);
      } else {
        SendMessageA(s.mdiClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(window), 0);
      }
      return 0;
    }
    case 12: {
      // Only a caller in this process can hand a buffer; the path is copied bounded by the name size.
      char* destination = reinterpret_cast<char*>(lParam);
      if (destination == nullptr || IsBadWritePtr(destination, MAX_PATH + 1)) return 0;
      lstrcpynA(destination, s.settingsPath.c_str(), MAX_PATH + 1);
      return 1;
    }
    default:
      return 0;
  }
}

void onDropFiles(HWND frame, HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char name[MAX_PATH + 1] = {};
    const UINT length = DragQueryFileA(drop, i, name, sizeof name);
    if (length == 0 || length > 260) continue;
    const std::string list = "\"" + std::string(name) + "\"";
    if (SendMessageA(frame, kMsgOpenList, 0, reinterpret_cast<LPARAM>(list.c_str())) != 0) break;
  }
  DragFinish(drop);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void refreshAfterOpening() {
  refreshConditions();
  refreshCheckMarks();
  caretReport(activeEditor());
}

LRESULT openList(const char* list) {
  if (list == nullptr) return 1;
  bool failed = false;
  for (const std::string& name : parseFileNames(list).names) {
    if (!openDocument(name, shell().openReadOnly)) {
      failed = true;
      break;
    }
  }
  refreshAfterOpening();
  return failed ? 1 : 0;
}

void onCommand(HWND frame, WPARAM wParam, LPARAM lParam) {
  Shell& s = shell();
  const UINT id = LOWORD(wParam);
  char name[OCS_COMMAND_NAME_SIZE + 14] = {};
  char parameter[OCS_PARAMETER_SIZE + 15] = {};
  if (s.services != nullptr && OCS_GetMacroString(s.services, static_cast<int32_t>(id), name, parameter)) {
    executeCommand(name, parameter, activeEditor(), true);
    return;
  }
  if (id >= kFileHistoryFirstId && id < kFileHistoryFirstId + 15) {
    openFromHistory(id - kFileHistoryFirstId);
    return;
  }
  if (id >= kOpenBarListFirstId && id <= kOpenBarListFirstId + 63) {
    goToOpenBarList(static_cast<int32_t>(id - kOpenBarListFirstId));
    return;
  }
  if (id >= 16000 && id <= 16009) {
    playMacroFromMenu(id);
    return;
  }
  if (id == 20009) {
    showWindowList();
    return;
  }
  DefFrameProcA(frame, s.mdiClient, WM_COMMAND, wParam, lParam);
}

void onInitMenuPopup(HMENU popup) {
  Shell& s = shell();
  for (const SpecialPopupView& special : specialPopups()) {
    if (special.menu != popup) continue;
    if (special.options & 1) SendMessageA(s.mdiClient, WM_MDIREFRESHMENU, 0, 0);
    if (special.options & 2) fillMacroFilePopup(popup);
    if (special.options & 4) fillLastFourPopup(popup);
  }
}

LRESULT CALLBACK WndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  Shell& s = shell();
  if (message == s.ownerMessage && s.ownerMessage != 0) return ownerMessage(wParam, lParam);
  if (message == s.commonDialogHelp && s.commonDialogHelp != 0) {
    openHelp(s.helpContext != 0 ? HELP_CONTEXT : HELP_CONTENTS, s.helpContext);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      return onCreate(frame);
    case WM_SIZE:
      layOutFrame();
      return 0;
    case WM_COMMAND:
      onCommand(frame, wParam, lParam);
      return 0;
    case WM_TIMER:
      onTimer(frame, wParam);
      return 0;
    case WM_ACTIVATEAPP:
      onActivateApp(wParam != FALSE);
      break;
    case WM_SYSCOLORCHANGE:
      if (s.services != nullptr) OCS_ColourChange(s.services);
      break;
    case WM_PALETTECHANGED:
      for (HWND document : documentWindows()) InvalidateRect(document, nullptr, TRUE);
      break;
    case WM_ENABLE: {
      // The bars of the services follow the frame. A modal dialog the frame owns is left alone: it is what
      // disabled the frame.
      struct Enable {
        HWND frame;
        BOOL enable;
      } e{frame, static_cast<BOOL>(wParam)};
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND window, LPARAM data) -> BOOL {
            const auto& e = *reinterpret_cast<Enable*>(data);
            if (window != e.frame && GetWindow(window, GW_OWNER) == e.frame && shell().services != nullptr &&
                OCS_IsMoveableBar(shell().services, window)) {
              EnableWindow(window, e.enable);
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&e));
      break;
    }
    case WM_INITMENUPOPUP:
      onInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      break;
    case WM_MENUSELECT:
      menuSelected(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam));
      break;
    case WM_DROPFILES:
      onDropFiles(frame, reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      if (shutDown()) {
        if (!s.helpPath.empty() && GetFileAttributesA(s.helpPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
          WinHelpA(frame, s.helpPath.c_str(), HELP_QUIT, 0);
        }
        DestroyWindow(frame);
      }
      return 0;
    case WM_QUERYENDSESSION:
      return shutDown() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wParam) {
        if (s.mdiClient != nullptr) DestroyWindow(s.mdiClient);
        s.mdiClient = nullptr;
        if (s.engineInitialised) ECD_flTerminate();
      }
      return 0;
    case WM_DESTROY:
      DragAcceptFiles(frame, FALSE);
      if (s.editorFont != nullptr) {
        DeleteObject(s.editorFont);
        s.editorFont = nullptr;
      }
      KillTimer(frame, kAutosaveTimer);
      s.mdiClient = nullptr;
      PostQuitMessage(0);
      return 0;

    case kMsgCaretMoved:
      if (reinterpret_cast<HWND>(wParam) == activeEditor() || wParam == 0) caretReport(activeEditor());
      return 0;
    case kMsgInsertMode:
      if (reinterpret_cast<HWND>(wParam) == activeEditor()) {
        checkCommand("InsertModeToggle", lParam != 0);
        showInsertMode(lParam != 0);
      }
      return 0;
    case kMsgEditorFocus: {
      HWND editor = reinterpret_cast<HWND>(wParam);
      HWND document = editor != nullptr ? GetParent(editor) : nullptr;
      if (lParam != 0) rememberPane(editor);
      if (lParam != 0 && isDocumentWindow(document) && document != activeDocument()) {
        SendMessageA(s.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
      }
      refreshConditions();
      refreshCheckMarks();
      caretReport(activeEditor());
      return 0;
    }
    case kMsgModified:
    case kMsgNamed: {
      HWND editor = reinterpret_cast<HWND>(wParam);
      if (editor != nullptr && isDocumentWindow(GetParent(editor))) refreshTitle(GetParent(editor));
      refreshConditions();
      return 0;
    }
    case kMsgCanUndo:
      setConditionBits(kCondCanUndo, lParam ? kCondCanUndo : 0);
      return 0;
    case kMsgCanRedo:
      setConditionBits(kCondCanRedo, lParam ? kCondCanRedo : 0);
      return 0;
    case kMsgMarkChanged:
      setConditionBits(kCondHasMark, lParam ? kCondHasMark : 0);
      return 0;
    case kMsgAbortRepeat1:
    case kMsgAbortRepeat2:
    case kMsgAbortRepeatNoWindow:
      abortRepeatPlay(message);
      return 0;
    case kMsgMacroNotify:
      macroNotification(wParam, lParam);
      return 0;
    case kMsgRelayToActive:
      if (HWND document = activeDocument()) SendMessageA(document, kMsgActivated, 0, 0);
      refreshConditions();
      refreshCheckMarks();
      caretReport(activeEditor());
      return 0;
    case kMsgBringToTop:
      if (IsIconic(frame)) ShowWindow(frame, SW_RESTORE);
      SetForegroundWindow(frame);
      BringWindowToTop(frame);
      return 0;
    case kMsgStatusText:
      // Only text inside this process can be read; another process's pointer is not trusted.
      if (lParam != 0 && !IsBadStringPtrA(reinterpret_cast<const char*>(lParam), 1024)) {
        setStatusMessage(std::string(reinterpret_cast<const char*>(lParam), strnlen(reinterpret_cast<const char*>(lParam), 1024)));
      }
      return 0;
    case kMsgStatusAtom: {
      char text[1025] = {};
      if (wParam != 0 && GlobalGetAtomNameA(static_cast<ATOM>(wParam), text, sizeof text) > 0) setStatusMessage(text);
      return 0;
    }
    case kMsgSetHelpContext: {
      const uint16_t old = s.helpContext;
      s.helpContext = static_cast<uint16_t>(lParam);
      return old;
    }
    case kMsgHelp:
      if (lParam != 0) {
        openHelp(HELP_CONTEXT, static_cast<ULONG_PTR>(lParam));
      } else {
        openHelp(s.helpContext != 0 ? HELP_CONTEXT : HELP_CONTENTS, s.helpContext);
      }
      return 0;
    case kMsgCommandDetails:
      return commandDetails(wParam, lParam);
    case kMsgMenuListOption:
      return menuListOptionDetails(wParam, lParam);
    case kMsgServicesStatus:
      if (lParam != 0 && statusMessage() != reinterpret_cast<const char*>(lParam)) {
        setStatusMessage(reinterpret_cast<const char*>(lParam));
      }
      return 0;
    case kMsgBarsChanged:
      layOutFrame();
      if (wParam == 1) checkCommand("OpenBarToggle", lParam != 0);
      return 0;
    case kMsgOpenBarRefresh:
      openBarRefresh();
      return 0;
    case kMsgMinimise:
      ShowWindow(frame, SW_MINIMIZE);
      return 0;
    case kMsgOpenList:
      return openList(reinterpret_cast<const char*>(lParam));
    case kMsgOpenByAtom: {
      char name[MAX_PATH + 1] = {};
      LRESULT failed = 1;
      if (wParam != 0 && GlobalGetAtomNameA(static_cast<ATOM>(wParam), name, sizeof name) > 0) {
        failed = openDocument(name, s.openReadOnly) ? 0 : 1;
      }
      refreshAfterOpening();
      return failed;
    }
    case kMsgUpdateHistory: {
      HWND document = wParam != 0 ? reinterpret_cast<HWND>(wParam) : activeDocument();
      updateHistoryRecord(document);
      return 0;
    }
    default:
      if (message >= 2224 && message <= 2228) return dragMessage(message, wParam, lParam);
      break;
  }
  return DefFrameProcA(frame, s.mdiClient, message, wParam, lParam);
}

LRESULT CALLBACK BannerWndProc(HWND banner, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(banner, &ps);
      auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(banner, GWLP_USERDATA));
      if (bitmap != nullptr) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      EndPaint(banner, &ps);
      return 0;
    }
    case WM_DESTROY:
      DeleteObject(reinterpret_cast<HBITMAP>(GetWindowLongPtrA(banner, GWLP_USERDATA)));
      return 0;
    default:
      return DefWindowProcA(banner, message, wParam, lParam);
  }
}

}  // namespace

bool registerFrameClasses(HINSTANCE instance) {
  WNDCLASSEXA frameClass{};
  frameClass.cbSize = sizeof frameClass;
  frameClass.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
  frameClass.lpfnWndProc = WndProc;
  frameClass.hInstance = instance;
  frameClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  frameClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
  frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frameClass.lpszClassName = kFrameClass;
  if (RegisterClassExA(&frameClass) == 0) return false;

  WNDCLASSEXA bannerClass{};
  bannerClass.cbSize = sizeof bannerClass;
  bannerClass.lpfnWndProc = BannerWndProc;
  bannerClass.hInstance = instance;
  bannerClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  bannerClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  bannerClass.lpszClassName = "OSK_SIGN_ON";
  return RegisterClassExA(&bannerClass) != 0;
}

HWND createFrame(HINSTANCE instance, const std::string& title) {
  const FramePlacement& place = settings().frame;
  const auto coordinate = [](int32_t value) { return value == kDefaultPosition ? CW_USEDEFAULT : value; };
  HWND frame = CreateWindowExA(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               coordinate(place.left), coordinate(place.top), coordinate(place.width),
                               coordinate(place.height), nullptr, nullptr, instance, nullptr);
  shell().frame = frame;
  return frame;
}

void layOutFrame() {
  Shell& s = shell();
  if (s.frame == nullptr || IsIconic(s.frame) || s.mdiClient == nullptr) return;
  RECT client;
  GetClientRect(s.frame, &client);
  const bool statusShown = statusBarShown();
  HDWP positions = BeginDeferWindowPos(4);
  if (statusShown) {
    const int height = statusBarHeight();
    positions = DeferWindowPos(positions, s.statusBar, nullptr, -1, client.bottom - height, client.right + 2,
                               height + 1, SWP_NOZORDER | SWP_NOACTIVATE);
    client.bottom -= height;
  }
  uint8_t edges = statusShown ? 8 : 0;
  if (s.services != nullptr) {
    void* deferred = positions;
    OCS_ResizeControlBars(s.services, &edges, &deferred, &client);
    positions = static_cast<HDWP>(deferred);
  }
  if (s.banner != nullptr) ShowWindow(s.banner, SW_HIDE);
  if (positions != nullptr) {
    positions = DeferWindowPos(positions, s.mdiClient, nullptr, client.left, client.top, client.right - client.left,
                               client.bottom - client.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // A deferred move that failed on the way (the bars then moved at once) is done window by window.
  if (positions == nullptr || !EndDeferWindowPos(positions)) {
    if (statusShown) {
      const int height = statusBarHeight();
      RECT frameClient;
      GetClientRect(s.frame, &frameClient);
      MoveWindow(s.statusBar, -1, frameClient.bottom - height, frameClient.right + 2, height + 1, TRUE);
    }
    MoveWindow(s.mdiClient, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
  }
  if (s.banner != nullptr) {
    centreBanner();
    ShowWindow(s.banner, SW_SHOWNA);
  }
}

bool buildFrameMenu() {
  Shell& s = shell();
  resetSpecialPopups();
  // The popups of the menu going away must not be filled again.
  s.openBarListPopup = nullptr;
  HMENU menu = OCS_CreateMenu("Default", s.services, specialPopupTable());
  if (menu == nullptr) return false;
  expandDynamicItems(menu, true);
  if (specialPopupWants(8)) OCS_AddExtensionsToMenu(s.services, menu);
  HMENU old = s.frameMenu;
  s.frameMenu = menu;
  if (s.mdiClient != nullptr) {
    SendMessageA(s.mdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                 reinterpret_cast<LPARAM>(windowPopupOf(menu)));
  } else {
    SetMenu(s.frame, menu);
  }
  if (old != nullptr && old != menu) DestroyMenu(old);
  DrawMenuBar(s.frame);
  return true;
}

void showStatusBar(bool show) {
  Shell& s = shell();
  if (s.statusBar == nullptr) return;
  ShowWindow(s.statusBar, show ? SW_SHOWNA : SW_HIDE);
  settings().showStatBar = show;
  checkCommand("StatusBarToggle", show);
  layOutFrame();
}

void restartAutosaveTimer() {
  Shell& s = shell();
  KillTimer(s.frame, kAutosaveTimer);
  if (settings().advanced.autosaveModifiedFiles) {
    SetTimer(s.frame, kAutosaveTimer, 1000, nullptr);
    s.lastAutosave = GetTickCount();
  }
}

void createBanner() {
  Shell& s = shell();
  auto bitmap = static_cast<HBITMAP>(LoadImageA(s.instance, MAKEINTRESOURCEA(1005), IMAGE_BITMAP, 0, 0, 0));
  if (bitmap == nullptr) return;
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  s.banner = CreateWindowExA(0, "OSK_SIGN_ON", "", WS_CHILD, 0, 0, info.bmWidth, info.bmHeight, s.mdiClient, nullptr,
                             s.instance, nullptr);
  if (s.banner == nullptr) {
    DeleteObject(bitmap);
    return;
  }
  SetWindowLongPtrA(s.banner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
  layOutFrame();
}

bool openNamedFile(const std::string& name) {
  const bool opened = openDocument(name, shell().openReadOnly);
  refreshAfterOpening();
  return opened;
}

}  // namespace osk::app
