// What the installer knows while it runs: the archive's catalogue, the user's choices, the program manager
// conversation and the wizard's windows.
#pragma once

#include <windows.h>

#include <string>

#include "setup/archive.h"
#include "setup/win32/progman.h"

namespace osk::setup {

inline constexpr const char* kSetupCaption = "Setup";
inline constexpr const char* kCorruptArchive = "Missing or corrupt osksetup.da_ file";

struct SetupState {
  HINSTANCE instance = nullptr;
  std::string archivePath;
  ArchiveCatalogue catalogue;
  std::string productKey;
  Progman progman;
  std::string directory;
  std::string group;
  HWND wizard = nullptr;
  HWND page = nullptr;
  int pageIndex = 0;
  bool filling = false;     // a page is being filled; Next and Back wait
  bool installing = false;
  bool cancelled = false;
};

// Message boxes of the installer: errors beep and carry the stop icon; questions answer true for Yes.
void showSetupError(HWND owner, const std::string& text);
bool askSetup(HWND owner, const std::string& question);

// Runs the installation steps; true when everything was installed and the log written. On failure or Cancel what
// this run had changed is taken back, and the user has been told why.
bool runInstallation(SetupState& state);

// The wizard over the background window; returns when it ends.
void runWizard(SetupState& state, HWND background);

}  // namespace osk::setup
