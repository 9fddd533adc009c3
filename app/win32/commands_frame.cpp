// The frame's own commands: windows, help, the status and tool bars, the services' dialogs, menus at the mouse,
// running programs, and the file commands that every session needs.
#include <windows.h>

#include <shellapi.h>

#include <commdlg.h>

#include <string>

#include "app/command_parameters.h"
#include "app/file_transfer.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/file_dialogs.h"
#include "app/win32/frame_window.h"
#include "services/win32/extensions_api.h"
#include "services/win32/ocs_bars_api.h"
#include "app/win32/services_bridge.h"
#include "app/win32/session.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

Shell& s() { return shell(); }

void mdi(UINT message, WPARAM wParam = 0) { SendMessageA(s().mdiClient, message, wParam, 0); }

void refreshAll() {
  refreshConditions();
  refreshCheckMarks();
  caretReport(activeEditor());
}

// Help is opened only when the help file is there: the system's help viewer would otherwise stop for a while.
bool helpFileExists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

void callHelp(const std::string& file, UINT command, ULONG_PTR data) {
  const std::string path = file.empty() ? s().helpPath : file;
  if (!helpFileExists(path)) {
    showStop(s().frame, "Cannot open the help file " + path + " .");
    return;
  }
  WinHelpA(s().frame, path.c_str(), command, data);
}

void helpCommand(HelpCommand kind, const char* parameter) {
  const auto request = parseHelpParameter(kind, parameter);
  if (!request) {
    beep();
    return;
  }
  switch (kind) {
    case HelpCommand::Context:
      callHelp(request->file, HELP_CONTEXT, request->context);
      break;
    case HelpCommand::Contents:
      callHelp(request->file, HELP_CONTENTS, 0);
      break;
    case HelpCommand::Key:
      callHelp(request->file, HELP_KEY, reinterpret_cast<ULONG_PTR>(request->keyword.c_str()));
      break;
    case HelpCommand::PartialKey:
      callHelp(request->file, HELP_PARTIALKEY, reinterpret_cast<ULONG_PTR>(request->keyword.c_str()));
      break;
  }
}

// The next (or previous) document window in MDI order becomes active.
void nextWindow(bool forward) {
  HWND active = reinterpret_cast<HWND>(SendMessageA(s().mdiClient, WM_MDIGETACTIVE, 0, 0));
  if (active != nullptr) SendMessageA(s().mdiClient, WM_MDINEXT, reinterpret_cast<WPARAM>(active), forward ? 0 : 1);
}

bool runApplication(const std::string& commandText) {
  const auto command = splitApplicationCommand(commandText);
  if (!command) return false;
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(s().frame, "open", command->program.c_str(),
                                                              command->arguments.empty() ? nullptr
                                                                                         : command->arguments.c_str(),
                                                              ".", SW_SHOWNORMAL));
  return result > 32;
}

void runApplicationDialog() {
  FileDialogRequest request;
  request.kind = FileDialogKind::kRunApplication;
  request.title = "Run Application";
  request.helpContext = 512;
  request.types = {{"Applications (*.exe)", "*.exe"}};
  request.initialFolder.clear();
  request.keepCurrentFolder = true;
  // A failure keeps the user in the dialog: it comes back with the name typed.
  while (const auto answer = askFileNames(request)) {
    const std::string& name = answer->names.front();
    request.initialName = name;
    if (name.find_first_of("*?") != std::string::npos) continue;
    if (runApplication("\"" + name + "\"")) break;
    beep();
    showStop(s().frame, "Cannot run application");
  }
}

// The first visible modeless dialog of the program, not a bar; none: the mark of the current editor goes.
void cancelDialog(const char*) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == shell().frame &&
            !(shell().services != nullptr && OCS_IsMoveableBar(shell().services, window))) {
          reinterpret_cast<Search*>(data)->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr) {
    SendMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  if (GetCurEdWindow() != nullptr) UnMark();
}

void trackMenu(const char* parameter) {
  const auto name = trackMenuName(parameter);
  if (!name) {
    beep();
    return;
  }
  const SpecialPopupRecord saved = saveSpecialPopups();
  resetSpecialPopups();
  HMENU popup = OCS_CreatePopupMenu(name->c_str(), s().services, specialPopupTable());
  if (popup == nullptr) {
    restoreSpecialPopups(saved);
    beep();
    return;
  }
  expandMenuItems(popup);
  if (specialPopupWants(8)) OCS_AddExtensionsToMenu(s().services, popup);
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, s().frame, nullptr);
  DestroyMenu(popup);
  restoreSpecialPopups(saved);
}

void aboutBox(const char*) {
  char version[64] = {};
  ECD_fvGetPatchVersion(version);
  const std::string text = "OSK 2.0\r\nA programmer's text editor.\r\n\r\nEditor engine " + std::string(version);
  MessageBoxA(s().frame, text.c_str(), "About OSK", MB_OK | MB_ICONINFORMATION);
}

void toolBarToggle(int32_t property, const char* command) {
  const std::string& bar = toolBarUnderMouseName();
  const char* name = bar.empty() ? nullptr : bar.c_str();
  const int32_t value = OCS_GetToolBarProp(s().services, name, property) ? 0 : 1;
  OCS_SetToolBarProp(s().services, name, property, value);
  checkCommand(command, value != 0);
  layOutFrame();
}

bool askNewFileName(std::string& name) {
  FileDialogRequest request;
  request.kind = FileDialogKind::kNewFile;
  request.title = "New File";
  request.save = true;
  request.helpContext = 121;
  const auto answer = askFileNames(request);
  if (!answer) return false;
  name = answer->names.front();
  return true;
}

void newFile(const char*) {
  if (!newDocument()) {
    refreshAll();
    return;
  }
  if (settings().advanced.newFilesMustBeNamed) {
    // The new buffer is named at once; Cancel or any failure takes the new window away again.
    HWND document = activeDocument();
    std::string name;
    bool named = askNewFileName(name);
    if (named && settings().advanced.overwriteWarning && GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const std::string question = "Replace " + name + "?";
      named = MessageBoxA(s().frame, question.c_str(), "OSK", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    }
    if (named) {
      const auto code = static_cast<int32_t>(
          SendMessageA(editorOfDocument(document), ECD_SET_FILE_NAME, 0, reinterpret_cast<LPARAM>(name.c_str())));
      if (code != 0) {
        showEngineError(s().frame, code);
        named = false;
      }
    }
    if (named) {
      refreshTitle(document);
    } else if (document != nullptr) {
      SendMessageA(s().mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
    }
  }
  refreshAll();
}

void openFileDialog() {
  FileDialogRequest request;
  request.kind = FileDialogKind::kOpen;
  request.title = "Open";
  request.helpContext = 102;
  request.nameSize = 2048;
  request.readOnlyBox = true;
  request.several = true;
  request.amendMissing = true;
  // The marked text names the file to open when it is one existing file.
  if (activeEditor() != nullptr) {
    SetCurEdWindow(activeEditor());
    const std::string marked = markedOpenName();
    if (!marked.empty() && GetFileAttributesA(marked.c_str()) != INVALID_FILE_ATTRIBUTES) request.initialName = marked;
  }
  const auto answer = askFileNames(request);
  if (!answer) return;
  for (const std::string& name : answer->names) {
    if (!openDocument(name, answer->readOnly)) break;
  }
}

void openFile(const char* parameter) {
  const FileNameList list = parseFileNames(parameter);
  if (list.names.empty() && list.complete) {
    openFileDialog();
  } else {
    for (const std::string& name : list.names) {
      if (!openDocument(name, s().openReadOnly)) break;
    }
  }
  refreshAll();
}

void saveFile(const char*) {
  HWND document = activeDocument();
  if (document == nullptr) {
    beep();
    return;
  }
  saveDocument(document, SaveRequest{.evenIfUnmodified = true});
  refreshAll();
}

void saveFileAs(const char*) {
  HWND document = activeDocument();
  if (document == nullptr) {
    beep();
    return;
  }
  HWND editor = activeEditor();
  const bool readOnly = editorSays(editor, ECD_IS_READ_ONLY);
  if (saveDocument(document, SaveRequest{.saveAs = true, .evenIfUnmodified = true}) && readOnly) {
    SendMessageA(editor, ECD_SET_READ_ONLY, 0, 0);
    refreshTitle(document);
  }
  refreshAll();
}

void saveAllFiles(const char*) {
  for (HWND document : documentWindows()) {
    HWND editor = editorOfDocument(document);
    if (editor == nullptr || !editorSays(editor, ECD_IS_MODIFIED)) continue;
    const bool named = !documentFileName(document).empty();
    if (!saveDocument(document, SaveRequest{.askFirst = !named})) break;
  }
  refreshAll();
}

void closeFile(const char*) {
  if (HWND document = activeDocument()) SendMessageA(document, WM_CLOSE, 0, 0);
  refreshAll();
}

void closeAllFiles(const char*) {
  for (HWND document : documentWindows()) {
    SendMessageA(document, WM_CLOSE, 0, 0);
    if (IsWindow(document)) break;   // the user kept this one: the rest stay too
  }
  refreshAll();
}

}  // namespace

void openHelp(UINT command, ULONG_PTR data) { callHelp(std::string(), command, data); }


void registerFrameCommands(HandlerTable& t) {
  setHandler(t, "NewFile", newFile);
  setHandler(t, "OpenFile", openFile);
  setHandler(t, "SaveFile", saveFile);
  setHandler(t, "SaveFileAs", saveFileAs);
  setHandler(t, "SaveAllFiles", saveAllFiles);
  setHandler(t, "CloseFile", closeFile);
  setHandler(t, "CloseAllFiles", closeAllFiles);
  setHandler(t, "RestoreSession", [](const char*) { restoreSession(); });
  setHandler(t, "Exit", [](const char*) { PostMessageA(shell().frame, WM_CLOSE, 0, 0); });
  setHandler(t, "CascadeWindows", [](const char*) { mdi(WM_MDICASCADE); });
  setHandler(t, "TileWindowsHorizontally", [](const char*) { mdi(WM_MDITILE, MDITILE_HORIZONTAL); });
  setHandler(t, "TileWindowsVertically", [](const char*) { mdi(WM_MDITILE, MDITILE_VERTICAL); });
  setHandler(t, "ArrangeWindows", [](const char*) { mdi(WM_MDIICONARRANGE); });
  setHandler(t, "NextWindow", [](const char*) { nextWindow(true); });
  setHandler(t, "PreviousWindow", [](const char*) { nextWindow(false); });
  setHandler(t, "HelpAbout", aboutBox);
  setHandler(t, "HelpContext", [](const char* p) { helpCommand(HelpCommand::Context, p); });
  setHandler(t, "HelpContents", [](const char* p) { helpCommand(HelpCommand::Contents, p); });
  setHandler(t, "HelpKey", [](const char* p) { helpCommand(HelpCommand::Key, p); });
  setHandler(t, "HelpPartialKey", [](const char* p) { helpCommand(HelpCommand::PartialKey, p); });
  setHandler(t, "StatusBarToggle", [](const char*) {
    showStatusBar(!(statusBarShown()));
  });
  setHandler(t, "TrackMenu", trackMenu);
  setHandler(t, "RunApplication", [](const char* p) {
    if (p[0] == 0) {
      runApplicationDialog();
    } else if (!runApplication(p)) {
      beep();
      showStop(shell().frame, "Cannot run application");
    }
  });
  setHandler(t, "CancelDialog", cancelDialog);
  setHandler(t, "TBView", [](const char*) {
    OCS_ShowToolBarDlg(shell().services, shell().frame);
    layOutFrame();
  });
  setHandler(t, "TBLargeToggle", [](const char*) { toolBarToggle(1, "TBLargeToggle"); });
  setHandler(t, "TBWrapToggle", [](const char*) { toolBarToggle(2, "TBWrapToggle"); });
  setHandler(t, "TBTipsToggle", [](const char*) { toolBarToggle(3, "TBTipsToggle"); });
  setHandler(t, "TBHideHit", [](const char*) {
    const std::string& bar = toolBarUnderMouseName();
    if (bar.empty()) {
      beep();
      return;
    }
    OCS_ShowToolBar(shell().services, bar.c_str(), 0);
    layOutFrame();
  });
  registerServiceDialogCommands(t);
}

}  // namespace osk::app
