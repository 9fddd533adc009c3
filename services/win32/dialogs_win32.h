// What the services' dialogs share on Windows: the library's own module (which holds the dialog templates), the
// providers of command names, reading controls and telling the user what is wrong.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "services/config/configuration.h"
#include "services/dialogs/dialog_ids.h"
#include "services/instance.h"

namespace osk::win32 {

// The module of OSKOCS32 itself, whatever loaded it.
HMODULE servicesModule();   // defined with the tool bars, which need it too

// The frame's commands (message 2124), then the extension libraries'.
std::vector<CommandProvider> commandProviders(const CInstance& instance);

// Calls a provider's enabling test; true when it reports the command disabled now.
bool disabledByEnablingTest(std::uintptr_t test);

std::string controlText(HWND dialog, int id);

// An error beep and a message box titled "OSK" with the stop icon.
void reportProblem(HWND owner, const std::string& text);

// The key capture field: keys and mouse clicks typed into it show as their key names ("Ctrl+Q", "Left Mouse
// Down"); text set into it is taken as a key name too.
void makeKeyCaptureField(HWND edit);

}  // namespace osk::win32
