// OcsInstance: what an HOCSINSTANCE points at, for the services' Win32 files that reach the portable instance.
#pragma once

#include <windows.h>

#include <string>

#include "services/instance.h"

struct OcsInstance {
  OcsInstance(HWND frame, std::string settingsPath)
      : core(reinterpret_cast<HWND__*>(frame), std::move(settingsPath)) {}
  osk::CInstance core;
};
