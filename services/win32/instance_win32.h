// OcsInstance: what an HOCSINSTANCE points at, for the services' Win32 files that reach the portable instance.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "services/extensions/instance_extensions.h"
#include "services/instance.h"

namespace osk::win32 {
class ControlBars;
void destroyControlBars(ControlBars* bars);
// The system's library loader, for extension libraries.
std::unique_ptr<ExtensionLoader> makeLibraryLoader();
struct OpenBarHost;
struct PrintState;
void destroyPrintState(PrintState* state);
struct PrintStateDeleter {
  void operator()(PrintState* state) const { destroyPrintState(state); }
};
}  // namespace osk::win32

struct OcsInstance {
  OcsInstance(HWND frame, std::string settingsPath)
      : core(reinterpret_cast<HWND__*>(frame), std::move(settingsPath)),
        extensions(core, osk::win32::makeLibraryLoader()) {}
  osk::CInstance core;
  osk::CInstanceExtensions extensions;   // destroyed before the instance it merges into
  // The movable bars; they go before the configuration they were built from.
  std::unique_ptr<osk::win32::ControlBars, void (*)(osk::win32::ControlBars*)> bars{nullptr,
                                                                                   osk::win32::destroyControlBars};
  // Destroyed before the bars: the Open Bar leaves the bar list first, while the core is still there.
  std::shared_ptr<osk::win32::OpenBarHost> openBar;
  // The printer and preview of this instance, made on first use.
  std::unique_ptr<osk::win32::PrintState, osk::win32::PrintStateDeleter> print;
};
