// OcsInstance: what an HOCSINSTANCE points at, for the services' Win32 files that reach the portable instance.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "services/instance.h"

namespace osk::win32 {
class ControlBars;
void destroyControlBars(ControlBars* bars);
struct OpenBarHost;
}

struct OcsInstance {
  OcsInstance(HWND frame, std::string settingsPath)
      : core(reinterpret_cast<HWND__*>(frame), std::move(settingsPath)) {}
  osk::CInstance core;
  // The movable bars; they go before the configuration they were built from.
  std::unique_ptr<osk::win32::ControlBars, void (*)(osk::win32::ControlBars*)> bars{nullptr,
                                                                                   osk::win32::destroyControlBars};
  // Destroyed first: the Open Bar leaves the bar list before the bars go, and the core is still there.
  std::shared_ptr<osk::win32::OpenBarHost> openBar;
};
