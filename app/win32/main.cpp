// OSK32's entry: start-up in order, the message loop, and the engine's termination after it.
#include <windows.h>

#include "app/advanced_settings.h"
#include "app/command_line.h"
#include "app/win32/alerts.h"
#include "app/win32/document_window.h"
#include "app/win32/engine_callbacks.h"
#include "app/win32/frame_window.h"
#include "app/win32/shell.h"
#include "engine/ecd_api.h"
#include "services/win32/ocs_api.h"

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

// Gives each file to a running copy's frame. Names are made full paths first: the other copy has its own current
// directory. A name that does not fit in a global atom cannot travel and is reported here.
void handOverFiles(HWND runningFrame, const ScannedCommandLine& line) {
  for (const FileToOpen& file : filesToOpen(line)) {
    char full[MAX_PATH + 1];
    const DWORD length = GetFullPathNameA(file.name.c_str(), sizeof full, full, nullptr);
    const std::string name = (length == 0 || length >= sizeof full) ? file.name : std::string(full, length);
    const ATOM atom = GlobalAddAtomA(name.c_str());
    if (atom == 0) {
      showEngineError(nullptr, ECD_ERR_INVALID_NAME);
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

void openCommandLineFiles(const ScannedCommandLine& line) {
  for (const FileToOpen& file : filesToOpen(line)) openDocument(file.name, file.readOnly);
  if (!line.valid) showStop(shell().frame, "Invalid option in command line");
}

int runMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (shell().mdiClient != nullptr && TranslateMDISysAccel(shell().mdiClient, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace
}  // namespace osk::app

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLineText, int showCommand) {
  using namespace osk::app;
  Shell& state = shell();
  state.instance = instance;

  checkLibraryVersions();

  const std::string_view commandLine = commandLineText != nullptr ? commandLineText : "";
  const ScannedCommandLine line = scanCommandLine(commandLine);
  const StartupOptions options = startupOptions(line);
  if (!options.frameTitle.empty()) state.frameTitle = options.frameTitle;
  if (options.singleInstance) {
    if (HWND running = FindWindowA(kFrameClass, nullptr)) {
      handOverToRunningCopy(running, commandLine, line);
      return 0;
    }
  }

  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (!registerFrameClass(instance) || !registerDocumentClass(instance)) return 0;
  HWND frame = createFrame(instance, state.frameTitle);
  if (frame == nullptr) return 0;
  ShowWindow(frame, showCommand);
  UpdateWindow(frame);

  // The engine is initialised only now because the frame is its owner window.
  const int32_t code = ECD_flInitialise(frame, fbEdEventHandler, OskInitGauge, OskUpdateGauge, OskDestroyGauge);
  if (code != 0) {
    showEngineError(frame, code);
    DestroyWindow(frame);
  } else {
    state.engineInitialised = true;
    // The settings file is not read yet: the engine gets the [Advanced] defaults.
    const EcdSystemOptions options = osk::app::systemOptions(osk::app::AdvancedSettings{});
    ECD_fvSetSystemOptions(&options);
    if (!commandLine.empty()) openCommandLineFiles(line);
  }

  const int exitCode = runMessageLoop();
  if (state.engineInitialised) ECD_flTerminate();
  return exitCode;
}
