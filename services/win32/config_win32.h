// Loading and saving configurations on Windows: paths, the built-in resource, the frame's command list and the
// messages the user sees. The services instance keeps the result; these functions never touch the configuration
// it already has, so a failed load leaves the previous one in force.
#pragma once

#include <windows.h>

#include <memory>
#include <span>

#include "services/config/config_reader.h"
#include "services/config/configuration.h"

namespace osk::win32 {

// The commands of the frame window, asked for with message 2124.
CommandProvider frameCommandProvider(HWND frame);

// "<program directory>\<name>" (inWindowsDirectory 0) or "<Windows directory>\<name>"; empty when it does not fit
// in a path.
std::string configurationPath(int inWindowsDirectory, const char* name);

// Loads a configuration file. Missing, foreign and oversized files fail quietly (the caller falls back to the
// built-in configuration); damaged ones show "Failed to load configuration."; commands no provider knows show
// "One or more commands in this configuration is invalid." and still load. The providers are asked in order (the
// frame first); messages are owned by `owner`. Null on failure.
std::unique_ptr<CConfiguration> loadConfigurationFile(void* instance, HWND owner, const std::string& path,
                                                      std::span<const CommandProvider> providers);

// Loads the configuration stored as resource "CONFIGFILE" `id` of `module`, within the resource's own size. A
// missing resource fails quietly.
std::unique_ptr<CConfiguration> loadConfigurationResource(void* instance, HWND owner, HMODULE module, int id,
                                                          std::span<const CommandProvider> providers);

// Writes the configuration through a temporary file; shows "Failed to save configuration." on failure, when the
// old file is left as it was.
bool saveConfiguration(HWND owner, const CConfiguration& cfg, const std::string& path);

// The character a virtual key gives on the user's keyboard, for key names of keys outside the name table; dead
// keys give 0.
int systemKeyChar(int virtualKey);

// The quick test of the selection dialog.
bool isConfigurationFile(const std::string& path);

}  // namespace osk::win32
