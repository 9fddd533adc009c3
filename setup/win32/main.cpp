// OSKSETUP.exe: checks the archive beside it, opens the conversation with the program manager, and runs the wizard
// over the background window.
#include <windows.h>

#include "setup/win32/background.h"
#include "setup/win32/ctl3d.h"
#include "setup/win32/lz_archive.h"
#include "setup/win32/setup_state.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace osk::setup;
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetupState state;
  state.instance = instance;
  state.archivePath = archivePathBesideProgram();
  {
    // The whole archive is checked before anything is shown or written.
    LzArchiveSource source;
    std::optional<ArchiveCatalogue> catalogue;
    if (source.open(state.archivePath)) catalogue = readCatalogue(source);
    if (!catalogue) {
      MessageBoxA(nullptr, kCorruptArchive, kSetupCaption, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
      return 1;
    }
    state.catalogue = std::move(*catalogue);
  }
  state.productKey = productKey(state.catalogue.header);
  OldShellControls controls(instance);
  if (!state.progman.open()) {
    MessageBoxA(nullptr, "Cannot open DDE Communications", kSetupCaption, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    return 1;
  }
  state.directory = state.catalogue.header.defaultDirectory;
  state.group = state.catalogue.header.defaultGroup;
  HWND background = createBackground(instance, kSetupCaption, state.productKey, state.catalogue.header.displayLine);
  runWizard(state, background);
  state.progman.close();
  if (background) DestroyWindow(background);
  return state.cancelled ? 1 : 0;
}
