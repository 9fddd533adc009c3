// CInstanceExtensions: the extension libraries of one services instance, kept in step with its configuration.
//
// Whenever the libraries change (settings loaded, a library added or removed) and whenever a configuration is
// installed, the libraries' commands are merged into the configuration in force and the instance's command
// providers are replaced, so that name resolution and the command lists see exactly the libraries loaded now.
// When the libraries change, the configuration's commands that they name are resolved through them again.
// A library's enabling tests are functions inside it: before a library is freed, the commands of the configuration
// in force that took one of its tests lose it, so nothing calls into a library that is gone. Must live no longer
// than its instance.
#pragma once

#include <memory>
#include <string>

#include "services/extensions/extension_list.h"
#include "services/instance.h"

namespace osk {

class CInstanceExtensions {
 public:
  CInstanceExtensions(CInstance& instance, std::unique_ptr<ExtensionLoader> loader);
  CInstanceExtensions(const CInstanceExtensions&) = delete;
  CInstanceExtensions& operator=(const CInstanceExtensions&) = delete;

  const CExtensionList& libraries() const { return list_; }

  // The list from the settings file (libraries that fail are reported and skipped), then merged.
  void loadSettings(SettingsStore& settings, const CExtensionList::FailureReport& failed);
  void saveSettings(SettingsStore& settings) const;
  CExtensionList::AddResult add(const std::string& path);
  bool remove(size_t index);

  int32_t runCommand(const std::string& name, const std::string& parameter) const {
    return list_.runCommand(name, parameter);
  }
  // Nothing without a configuration.
  void addMenus(ExtensionMenuSink& sink, void* menu, KeyCharMapper keyChars = usKeyboardChar) const;

 private:
  void refresh();
  void forgetEnablingTestsOf(const CExtensionDLL& dll);

  CInstance& instance_;
  CExtensionList list_;
};

}  // namespace osk
