// OcsInstance: what an HOCSINSTANCE points at, for the services' Win32 files that reach the portable instance.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "services/instance.h"

namespace osk::win32 {
struct OpenBarHost;
}

struct OcsInstance {
  OcsInstance(HWND frame, std::string settingsPath)
      : core(reinterpret_cast<HWND__*>(frame), std::move(settingsPath)) {}
  osk::CInstance core;
  // Destroyed before the core, so the Open Bar can still save its settings through it.
  std::shared_ptr<osk::win32::OpenBarHost> openBar;
};
