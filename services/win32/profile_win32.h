// ProfileSettings: the settings file (an INI file) read and written through the system's profile functions.
#pragma once

#include <string>

#include "services/settings_store.h"

namespace osk::win32 {

class ProfileSettings : public SettingsStore {
 public:
  explicit ProfileSettings(std::string path) : path_(std::move(path)) {}
  std::string readString(std::string_view section, std::string_view key, std::string_view fallback,
                         size_t maxChars) override;
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) override;
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override;
  bool removeSection(std::string_view section) override;

 private:
  std::string path_;
};

}  // namespace osk::win32
