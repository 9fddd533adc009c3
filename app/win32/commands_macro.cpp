// The keystroke macro commands: record, play, repeat play with its dialog, load, save, the start-up macro and the
// macro files of the macro menu. The engine records and plays; the decisions are MacroRunState's and
// MacroFileList's.
#include "app/win32/commands_macro.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/macro_commands.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/file_dialogs.h"
#include "app/win32/macro_ids.h"
#include "app/win32/print_preview.h"
#include "app/win32/services_bridge.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/edit_api.h"
#include "engine/oek_api.h"

namespace osk::app {
namespace {

constexpr UINT kBlinkMs = 500;

MacroRunState& run() {
  static MacroRunState state;
  return state;
}

MacroEngineState engineState() {
  if (!shell().engineInitialised) return {};
  return {OEK_fbIsRecording() != 0, OEK_fbIsPlaying() != 0, OEK_fbMacroLoaded() != 0};
}

std::string macroFolder() { return settings().advanced.macroPath; }

std::vector<std::string> macroFilesInFolder() {
  std::vector<std::string> names;
  const std::string folder = macroFolder();
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(macroSearchPattern(folder).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(macroFullName(folder, found.cFileName));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// The list is made from the macro folder when it is first needed, and grows by the files saved afterwards.
MacroFileList& menuFiles() {
  static MacroFileList list;
  static bool built = false;
  if (!built) {
    list.build(macroFilesInFolder());
    built = true;
  }
  return list;
}

// Starts the engine's play of the current macro, once or as the first of a repeat.
void beginPlay() {
  Shell& s = shell();
  setStatusMessage(kMacroPlayingText);
  if (!OEK_fbPlayCurrMacro(s.frame)) {
    run().playRefused();
    setStatusMessage("");
    beep();
    refreshConditions();
    return;
  }
  // The Esc that may have ended an earlier play must not end this one.
  OEK_fbIsEscPressed();
  refreshConditions();
}

bool loadMacro(const std::string& name) {
  const bool loaded = OEK_fbLoadMacro(name.c_str()) != 0;
  if (loaded) run().macroFileLoaded();
  refreshConditions();
  if (!loaded) showStop(shell().frame, kMacroLoadErrorText);
  return loaded;
}

void loadAndPlay(const std::string& name) {
  closePrintPreview();
  if (!loadMacro(name)) return;
  if (!run().canPlay(engineState())) {
    beep();
    return;
  }
  run().playOnce();
  beginPlay();
}

// The file dialogs of the macro commands start in the macro folder, with the help of the command that asks;
// false when the user cancels.
bool askMacroFile(const char* title, bool save, std::string& name) {
  FileDialogRequest request;
  request.kind = FileDialogKind::kMacro;
  request.title = title;
  request.save = save;
  request.helpContext = shell().helpContext;
  request.initialName = name;
  request.initialFolder = macroFolder();
  request.types = {FileFilter{"Keystroke macros (*.kbd)", "*.kbd"}};
  request.fileMustExist = !save;
  request.keepCurrentFolder = true;
  request.defaultExtension = "kbd";
  request.confirmReplace = save;
  const auto answer = askFileNames(request);
  if (!answer || answer->names.empty()) return false;
  name = answer->names.front();
  return true;
}

void writeStartup(const std::string& name) {
  settings().startup = name;
  settingsFile().writeString("Flags", "Startup", name);
  refreshConditions();
}

// The popup that lists the macro files last, and whether a separator was put before them.
struct MacroPopup {
  HMENU menu = nullptr;
  bool separator = false;
};

MacroPopup& macroPopup() {
  static MacroPopup popup;
  return popup;
}

void fillMacroPopup(HMENU popup) {
  MacroPopup& known = macroPopup();
  for (UINT id = MacroFileList::kFirstId; id <= MacroFileList::kMoreId; ++id) DeleteMenu(popup, id, MF_BYCOMMAND);
  if (popup == known.menu && known.separator) {
    const int last = GetMenuItemCount(popup) - 1;
    if (last >= 0 && (GetMenuState(popup, static_cast<UINT>(last), MF_BYPOSITION) & MF_SEPARATOR)) {
      DeleteMenu(popup, static_cast<UINT>(last), MF_BYPOSITION);
    }
  }
  known.menu = popup;
  known.separator = false;
  const auto items = menuFiles().items();
  if (items.empty()) return;
  if (GetMenuItemCount(popup) > 0) {
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    known.separator = true;
  }
  const UINT state = engineState().recording || engineState().playing ? MF_GRAYED : MF_ENABLED;
  for (const MacroFileList::Item& item : items) AppendMenuA(popup, MF_STRING | state, item.id, item.text.c_str());
}

// "Select Keystroke Macro File": every macro file of the folder; the choice, or empty.
INT_PTR CALLBACK selectMacroProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* files = reinterpret_cast<std::vector<std::string>*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      HWND list = GetDlgItem(dialog, IDC_MACRO_FILES);
      int widest = 0;
      HDC dc = GetDC(list);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
      for (const std::string& name : *files) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SIZE size{};
        GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &size);
        widest = std::max<int>(widest, size.cx);
      }
      SelectObject(dc, old);
      ReleaseDC(list, dc);
      SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
      return TRUE;
    }
    case WM_COMMAND: {
      HWND list = GetDlgItem(dialog, IDC_MACRO_FILES);
      const int id = LOWORD(wParam);
      if (id == IDC_MACRO_FILES && HIWORD(wParam) == LBN_SELCHANGE) {
        EnableWindow(GetDlgItem(dialog, IDOK), SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR);
        return TRUE;
      }
      const bool chosen = id == IDOK || (id == IDC_MACRO_FILES && HIWORD(wParam) == LBN_DBLCLK);
      if (chosen) {
        const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR) return TRUE;
        auto* files = reinterpret_cast<std::vector<std::string>*>(GetWindowLongPtrA(dialog, DWLP_USER));
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == LB_ERR) return TRUE;
        std::vector<char> text(static_cast<size_t>(length) + 1);
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        files->assign(1, std::string(text.data()));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default: return FALSE;
  }
}

void selectMacroFile() {
  std::vector<std::string> files = macroFilesInFolder();
  if (DialogBoxParamA(shell().instance, MAKEINTRESOURCEA(IDD_SELECT_MACRO), shell().frame, selectMacroProc,
                      reinterpret_cast<LPARAM>(&files)) != IDOK ||
      files.size() != 1) {
    return;
  }
  loadAndPlay(files.front());
}

void enablePlays(HWND dialog) {
  const bool on = IsDlgButtonChecked(dialog, IDC_MACRO_STOP_AFTER) == BST_CHECKED;
  EnableWindow(GetDlgItem(dialog, IDC_MACRO_PLAYS), on);
  EnableWindow(GetDlgItem(dialog, IDC_MACRO_PLAYS_LABEL), on);
}

void centreOver(HWND dialog, HWND over) {
  RECT outer{}, inner{};
  GetWindowRect(over, &outer);
  GetWindowRect(dialog, &inner);
  const int width = inner.right - inner.left, height = inner.bottom - inner.top;
  int x = outer.left + (outer.right - outer.left - width) / 2;
  int y = outer.top + (outer.bottom - outer.top - height) / 2;
  x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
  y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

struct FlagControl {
  int id;
  bool RepeatPlayFlags::*flag;
};
constexpr FlagControl kFlagControls[] = {
    {IDC_MACRO_STOP_AFTER, &RepeatPlayFlags::stopAfter},
    {IDC_MACRO_STOP_FIND, &RepeatPlayFlags::stopIfFindFails},
    {IDC_MACRO_STOP_FILE_END, &RepeatPlayFlags::stopAtFileStartOrEnd},
    {IDC_MACRO_STOP_LINE_END, &RepeatPlayFlags::stopAtLineStartOrEnd},
    {IDC_MACRO_STOP_LAST_CLOSED, &RepeatPlayFlags::stopWhenLastFileClosed},
    {IDC_MACRO_STOP_BOOKMARK, &RepeatPlayFlags::stopIfBookmarkFails},
};

// "Repeat Play Current Keystroke Macro": the seven settings; "&Play" stores them.
INT_PTR CALLBACK repeatMacroProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  RepeatPlayFlags& flags = settings().repeatPlay;
  switch (message) {
    case WM_INITDIALOG:
      centreOver(dialog, shell().frame);
      for (const FlagControl& control : kFlagControls) {
        CheckDlgButton(dialog, control.id, flags.*control.flag ? BST_CHECKED : BST_UNCHECKED);
      }
      SendDlgItemMessageA(dialog, IDC_MACRO_PLAYS, EM_LIMITTEXT, 7, 0);
      SetDlgItemTextA(dialog, IDC_MACRO_PLAYS, std::to_string(std::max(flags.plays, 0)).c_str());
      enablePlays(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_MACRO_STOP_AFTER:
          enablePlays(dialog);
          if (IsDlgButtonChecked(dialog, IDC_MACRO_STOP_AFTER) == BST_CHECKED) {
            HWND plays = GetDlgItem(dialog, IDC_MACRO_PLAYS);
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(plays), TRUE);
            SendMessageA(plays, EM_SETSEL, 0, -1);
          }
          return TRUE;
        case IDOK: {
          for (const FlagControl& control : kFlagControls) {
            flags.*control.flag = IsDlgButtonChecked(dialog, control.id) == BST_CHECKED;
          }
          char plays[16] = {};
          GetDlgItemTextA(dialog, IDC_MACRO_PLAYS, plays, sizeof plays);
          flags.plays = parsePlayCount(plays);
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        case IDC_MACRO_HELP:
          openHelp(HELP_CONTEXT, 607);
          return TRUE;
        default: return FALSE;
      }
    default: return FALSE;
  }
}

void recordCommand(const char*) {
  Shell& s = shell();
  if (!s.engineInitialised) return;
  if (OEK_fbIsRecording()) {
    setStatusMessage(kMacroRecordedText);
    OEK_fbStopRecord();
    refreshConditions();
    return;
  }
  // The key that ended a recording is in the macro: played back, it changes nothing.
  if (OEK_fbIsPlaying()) return;
  if (!OEK_fbStartRecord(s.frame)) {
    beep();
    return;
  }
  SetTimer(s.frame, kBlinkTimer, kBlinkMs, nullptr);
  setStatusMessage(kMacroRecordingText);
  refreshConditions();
}

void playCommand(const char*) {
  if (!run().canPlay(engineState())) {
    beep();
    return;
  }
  run().playOnce();
  beginPlay();
}

void repeatPlayCommand(const char*) {
  if (!run().canPlay(engineState())) {
    beep();
    return;
  }
  if (DialogBoxParamA(shell().instance, MAKEINTRESOURCEA(IDD_REPEAT_MACRO), shell().frame, repeatMacroProc, 0) !=
      IDOK) {
    return;
  }
  // The dialog may have let something else start meanwhile.
  if (!run().canPlay(engineState()) || !run().startRepeat(settings().repeatPlay)) return;
  beginPlay();
}

void loadCommand(const char*) {
  closePrintPreview();
  std::string name;
  if (askMacroFile("Load Keystroke Macro", false, name)) loadMacro(name);
}

void saveCommand(const char*) {
  std::string name;
  if (!askMacroFile("Save Keystroke Macro", true, name)) return;
  if (!OEK_fbSaveCurrMacro(name.c_str())) {
    showStop(shell().frame, kMacroSaveErrorText);
    return;
  }
  char full[MAX_PATH + 1] = {};
  const DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
  if (menuFiles().add(length > 0 && length < sizeof full ? std::string(full) : name) && IsMenu(macroPopup().menu)) {
    fillMacroPopup(macroPopup().menu);
  }
}

void setStartupCommand(const char*) {
  std::string name = settings().startup;
  if (askMacroFile("Set Start-up Keystroke Macro", false, name)) writeStartup(name);
}

void clearStartupCommand(const char*) { writeStartup(""); }

void stopIf(MacroStop stop) {
  if (!shell().engineInitialised) return;
  const bool playing = OEK_fbIsPlaying() != 0;
  const std::size_t documents = stop == MacroStop::kLastWindowClosed ? documentWindows().size() : 0;
  if (run().shouldStop(stop, playing, documents)) OEK_fvAbortPlayback();
}

}  // namespace

void registerMacroCommands(HandlerTable& t) {
  setHandler(t, "KeyMacroRecord", recordCommand);
  setHandler(t, "KeyMacroPlay", playCommand);
  setHandler(t, "KeyMacroRepeatPlay", repeatPlayCommand);
  setHandler(t, "KeyMacroLoad", loadCommand);
  setHandler(t, "KeyMacroSave", saveCommand);
  setHandler(t, "KeyMacroSetStartup", setStartupCommand);
  setHandler(t, "KeyMacroClearStartup", clearStartupCommand);
}

void stopRepeatPlayOnFailedSearch() { stopIf(MacroStop::kFindFailed); }
void stopRepeatPlayOnFailedBookmark() { stopIf(MacroStop::kBookmarkFailed); }

void stopRepeatPlayOnFrameMessage(UINT message) {
  switch (message) {
    case kMsgAbortRepeat1: stopIf(MacroStop::kColumnClamped); break;
    case kMsgAbortRepeat2: stopIf(MacroStop::kLineClamped); break;
    case kMsgAbortRepeatNoWindow: stopIf(MacroStop::kLastWindowClosed); break;
    default: break;
  }
}

void noteCaretMove(CaretMove move, int32_t lineBefore, int32_t columnBefore) {
  if (!shell().engineInitialised || !OEK_fbIsPlaying() || GetCurEdWindow() == nullptr) return;
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  if (const auto stop = heldCaretStop(move, line != lineBefore || column != columnBefore)) stopIf(*stop);
}

void macroPlayEnded(WPARAM code) {
  if (code < 1 || code > 4) return;
  const MacroRunState::AfterEnd after = run().ended(static_cast<MacroEnd>(code));
  if (after.playAgain) {
    RedrawWindow(shell().frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!OEK_fbPlayCurrMacro(shell().frame)) {
      run().playRefused();
      setStatusMessage(kMacroRepeatStoppedText);
    }
  } else if (!after.status.empty()) {
    setStatusMessage(after.status);
  }
  refreshConditions();
}

void playMacroMenuItem(UINT id) {
  if (!shell().engineInitialised) return;
  if (engineState().recording || engineState().playing) {
    beep();
    return;
  }
  if (id == MacroFileList::kMoreId) {
    selectMacroFile();
    return;
  }
  if (const auto file = menuFiles().fileOf(id)) {
    loadAndPlay(*file);
  } else {
    beep();
  }
}

void showMacroFilesIn(HMENU popup) {
  if (popup != nullptr) fillMacroPopup(popup);
}

void playStartupMacro() {
  const std::string name = startupMacro();
  if (name.empty() || !OEK_fbLoadMacro(name.c_str())) return;
  run().playOnce();
  if (OEK_fbPlayCurrMacro(shell().frame)) run().lockAfterStartupPlay();
  refreshConditions();
}

}  // namespace osk::app
