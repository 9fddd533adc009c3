// The 3-D controls library of the older shell: loaded and registered on Windows versions before 4, released at exit.
#pragma once

#include <windows.h>

namespace osk::setup {

class OldShellControls {
 public:
  explicit OldShellControls(HINSTANCE instance);
  ~OldShellControls();
  OldShellControls(const OldShellControls&) = delete;
  OldShellControls& operator=(const OldShellControls&) = delete;

 private:
  HINSTANCE instance_;
  HMODULE library_ = nullptr;
  BOOL(WINAPI* unregister_)(HINSTANCE) = nullptr;
};

}  // namespace osk::setup
