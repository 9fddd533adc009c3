// Carries out an uninstall plan: files, directories, program items and groups, registry keys, in the plan's order.
// Shared by the uninstaller and by the installer, which takes back what a failed or cancelled run had done.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "setup/win32/progman.h"
#include "uninstall/uninstall_plan.h"

namespace osk::setup {

// Called with the message for each file or directory that could not be removed (or was not the installer's to
// remove); registry failures are silent.
using PlaybackReport = std::function<void(const std::string& message)>;

void playBack(const std::vector<uninstall::UninstallStep>& steps, Progman& progman, const PlaybackReport& report);

// Opens an existing key by a path that starts with one of the four root names; never creates one.
HKEY openRegistryPath(const std::string& path, REGSAM access);

}  // namespace osk::setup
