// OpenBarHost: what a services instance keeps of the Open Bar: the bar itself, made again after each
// configuration load, and the open-search directories.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "services/settings_store.h"
#include "services/win32/openbar_win32.h"

struct OcsInstance;

namespace osk::win32 {

class MoveableBar;

struct OpenBarHost {
  ~OpenBarHost();
  OcsInstance* instance = nullptr;
  std::unique_ptr<COpenBarWindow> bar;
  MoveableBar* dock = nullptr;   // the Open Bar's entry in the instance's bar list
  std::vector<std::string> searchDirectories;
};

// Gives the instance its Open Bar host: from now on every configuration load makes the Open Bar again, saving the
// old one's settings first, and puts it in the instance's bar list, which docks it with the tool bars. Its settings
// are read and written with the services' settings. When the host goes (with the instance), the bar is destroyed without saving: the
// services save their settings (saveOpenBarSettings) before the instance is destroyed.
void attachOpenBar(OcsInstance& instance);
COpenBarWindow* openBarOf(OcsInstance* instance);

// The Open Bar's part of the services' settings: the bar and its lists, and the open-search directories.
void loadOpenBarSettings(OcsInstance& instance, SettingsStore& store);
void saveOpenBarSettings(OcsInstance& instance, SettingsStore& store);

}  // namespace osk::win32
