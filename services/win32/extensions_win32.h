// The extension list's part of the services' settings, for whatever reads and writes the settings file: loading
// shows "Failed to load extension DLL "path"" over the instance's frame for each library that fails.
#pragma once

#include "services/settings_store.h"

struct OcsInstance;

namespace osk::win32 {

void loadExtensionSettings(OcsInstance& instance, SettingsStore& settings);
void saveExtensionSettings(OcsInstance& instance, SettingsStore& settings);

}  // namespace osk::win32
