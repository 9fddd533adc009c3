// The full-screen background behind the installer's and the uninstaller's dialogs: 64 bands of blue falling from
// full blue at the top, the product's title large at the top left and its display line at the bottom right.
#pragma once

#include <windows.h>

#include <string>

namespace osk::setup {

// Registers the class "Setup Main Class" (once per process) and creates the maximised popup window, shown.
HWND createBackground(HINSTANCE instance, const std::string& caption, const std::string& title,
                      const std::string& displayLine);

}  // namespace osk::setup
