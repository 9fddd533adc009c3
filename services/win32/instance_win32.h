// OcsInstance: what an HOCSINSTANCE points at, for the services' Win32 files that reach the portable instance.
#pragma once

#include <windows.h>

#include <string>

#include "services/extensions/instance_extensions.h"
#include "services/instance.h"

namespace osk::win32 {
// The system's library loader, for extension libraries.
std::unique_ptr<ExtensionLoader> makeLibraryLoader();
}  // namespace osk::win32

struct OcsInstance {
  OcsInstance(HWND frame, std::string settingsPath)
      : core(reinterpret_cast<HWND__*>(frame), std::move(settingsPath)),
        extensions(core, osk::win32::makeLibraryLoader()) {}
  osk::CInstance core;
  osk::CInstanceExtensions extensions;   // destroyed before the instance it merges into
};
