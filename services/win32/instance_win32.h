// OcsInstance: what an HOCSINSTANCE points at, for the services' Win32 files that reach the portable instance.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "services/instance.h"

namespace osk::win32 {
struct PrintState;
void destroyPrintState(PrintState* state);
struct PrintStateDeleter {
  void operator()(PrintState* state) const { destroyPrintState(state); }
};
}  // namespace osk::win32

struct OcsInstance {
  OcsInstance(HWND frame, std::string settingsPath)
      : core(reinterpret_cast<HWND__*>(frame), std::move(settingsPath)) {}
  osk::CInstance core;
  // The printer and preview of this instance, made on first use.
  std::unique_ptr<osk::win32::PrintState, osk::win32::PrintStateDeleter> print;
};
