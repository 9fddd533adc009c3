// The program's process-wide state: one instance, alive from start-up to exit, used only on the UI thread.
#pragma once

#include <windows.h>

#include <string>

namespace osk::app {

struct Shell {
  HINSTANCE instance = nullptr;
  std::string frameTitle = "OSK";   // at most 64 characters
  HWND frame = nullptr;
  HWND mdiClient = nullptr;
  bool engineInitialised = false;
};

Shell& shell();

}  // namespace osk::app
