// OSK32's entry: start-up in order, the message loop, and the orderly end after it.
#include <windows.h>

#include "app/command_line.h"
#include "app/win32/alerts.h"
#include "app/win32/commands_macro.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/engine_callbacks.h"
#include "app/win32/frame_window.h"
#include "app/win32/message_loop.h"
#include "app/win32/session.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/lang/colour_api.h"
#include "engine/oek_api.h"
#include "services/win32/ocs_bars_api.h"
#include "app/win32/services_bridge.h"

namespace osk::app {

Shell& shell() {
  static Shell state;
  return state;
}

namespace {

void checkLibraryVersions() {
  // A mismatch is only a warning: the program starts all the same.
  if (!ECD_fbCheckVersion(ECD_HANDSHAKE)) showStop(nullptr, "Incorrect version of OSKECD32.DLL");
  if (!OCS_fbCheckVersion(OCS_HANDSHAKE)) showStop(nullptr, "Incorrect version of OSKOCS32.DLL");
}

std::string fullPath(const std::string& name) {
  char full[MAX_PATH + 1];
  const DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
  return (length == 0 || length >= sizeof full) ? name : std::string(full, length);
}

// Gives each file to a running copy's frame. Names are made full paths first: the other copy has its own current
// directory. A name that does not fit in a global atom cannot travel and is reported here.
void handOverFiles(HWND runningFrame, const ScannedCommandLine& line) {
  for (const FileToOpen& file : filesToOpen(line)) {
    const std::string name = fullPath(file.name);
    const ATOM atom = name.size() < 255 ? GlobalAddAtomA(name.c_str()) : 0;
    if (atom == 0) {
      showStop(nullptr, "Cannot pass " + name + " to the running copy of OSK.");
      continue;
    }
    SendMessageA(runningFrame, kMsgOpenByAtom, atom, 0);
    GlobalDeleteAtom(atom);
  }
}

void handOverToRunningCopy(HWND runningFrame, std::string_view commandLine, const ScannedCommandLine& line) {
  DWORD process = 0;
  GetWindowThreadProcessId(runningFrame, &process);
  AllowSetForegroundWindow(process);
  if (IsIconic(runningFrame)) ShowWindow(runningFrame, SW_RESTORE);
  SendMessageA(runningFrame, kMsgBringToTop, 0, 0);
  if (!commandLine.empty()) handOverFiles(runningFrame, line);
}

// Pass 0: the files, each opened as a running copy would be asked to open it; then pass 2 reports a fault.
void openCommandLineFiles(const ScannedCommandLine& line) {
  for (const FileToOpen& file : filesToOpen(line)) {
    shell().openReadOnly = file.readOnly;
    openNamedFile(file.name);
  }
  // The read-only choice of the command line ends with it.
  shell().openReadOnly = false;
  if (!line.valid) showStop(shell().frame, "Invalid option in command line");
}

std::string programFolder(HINSTANCE instance) {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

void applyEditingOptions() {
  Shell& s = shell();
  const ShellSettings& values = settings();
  s.editing.vScrollBoost = values.vScrollBoost;
  s.editing.autoIndentOnNewline = values.advanced.autoIndentOnNewline;
  s.editing.autoScrollOnNewline = values.advanced.autoScrollOnNewline;
  if (!values.advanced.wordPattern.empty()) s.words.set(values.advanced.wordPattern);
}

}  // namespace
}  // namespace osk::app

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLineText, int showCommand) {
  using namespace osk::app;
  Shell& state = shell();
  state.instance = instance;
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  state.newShell = !GetVersionExA(&version) || version.dwMajorVersion > 3;
#pragma GCC diagnostic pop

  checkLibraryVersions();

  const std::string_view commandLine = commandLineText != nullptr ? commandLineText : "";
  const ScannedCommandLine line = scanCommandLine(commandLine);
  const StartupOptions options = startupOptions(line);
  state.settingsPath = settingsFilePath(options.settingsFile);
  if (!options.frameTitle.empty()) state.frameTitle = options.frameTitle;
  state.singleInstance = options.singleInstance;
  if (options.singleInstance) {
    if (HWND running = FindWindowA(kFrameClass, nullptr)) {
      handOverToRunningCopy(running, commandLine, line);
      return 0;
    }
  }

  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (!registerFrameClasses(instance) || !registerDocumentClass(instance) || !registerStatusBarClass(instance) ||
      !registerGaugeClass(instance)) {
    return 0;
  }
  readSettings();
  state.ownerMessage = RegisterWindowMessageA("EditorOwnerMessage");
  if (state.ownerMessage == 0) return 0;

  HWND frame = createFrame(instance, state.frameTitle);
  if (frame == nullptr) {
    endServices();
    return 0;
  }
  OEK_fvSetHelpHook(frame, instance);
  createBanner();
  const bool startupMacroSet = !startupMacro().empty();
  if (!startupMacroSet) {
    const bool minimised = showCommand == SW_MINIMIZE || showCommand == SW_SHOWMINIMIZED ||
                           showCommand == SW_SHOWMINNOACTIVE;
    ShowWindow(frame, settings().maximised && !minimised ? SW_SHOWMAXIMIZED : showCommand);
  } else {
    ShowWindow(frame, settings().maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
  }
  UpdateWindow(frame);
  state.helpPath = programFolder(instance) + "Osk32.hlp";

  // The engine is initialised only now because the frame is its owner window.
  const int32_t code = ECD_flInitialise(frame, fbEdEventHandler, OskInitGauge, OskUpdateGauge, OskDestroyGauge);
  if (code != 0) {
    showEngineError(frame, code);
    DestroyWindow(frame);
  } else {
    const EcdSystemOptions systemOptionWords = systemOptions(settings().advanced);
    ECD_fvSetSystemOptions(&systemOptionWords);
    state.lineClipboardFormat = RegisterClipboardFormatA("EdLineClipboardFormat");
    state.columnClipboardFormat = RegisterClipboardFormatA("EdColClipboardFormat");
    applyEditingOptions();
    makeEditorFont();
    if (HPALETTE palette = createDisplayPalette()) {
      state.palette = palette;
      ECD_fhSetPalette(palette);
    }
    applySavedColours();
    state.engineInitialised = true;
    if (!commandLine.empty()) openCommandLineFiles(line);
    if (startupMacroSet) playStartupMacro();
    state.commonDialogHelp = RegisterWindowMessageA("commdlg_help");
    refreshConditions();
    refreshCheckMarks();
  }

  const int exitCode = runMessageLoop();
  OEK_fvSetHelpHook(nullptr, nullptr);
  if (state.engineInitialised) ECD_flTerminate();
  endServices();
  return exitCode;
}
