// The program's settings as read from its settings file at start-up, and their way back to the file.
#pragma once

#include <cstddef>
#include <string>

#include "app/shell_settings.h"
#include "services/win32/profile_win32.h"

namespace osk::app {

ShellSettings& settings();
win32::ProfileSettings& settingsFile();

// The full settings file path for the `ini` option's value (empty: OSK.INI); a name without ":" or "\" lies in
// the Windows directory.
std::string settingsFilePath(const std::string& option);

void readSettings();
// Every key, the colours as the engine enumerates them included.
void writeSettings();
// The [Colours] values that parse, handed to the engine.
void applySavedColours();

std::string startupMacro();
std::size_t fileHistoryCount();

}  // namespace osk::app
