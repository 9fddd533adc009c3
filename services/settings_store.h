// SettingsStore: reading and writing keys of the settings file, as the services see it.
//
// Reading follows the rules of the system's profile functions: a value comes back without the blanks around it
// and without one pair of matching quotes that encloses it, cut to the size asked for; a missing key gives the
// default. Writers that need a value back exactly as given use profileQuoted() when writing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace osk {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string readString(std::string_view section, std::string_view key, std::string_view fallback,
                                 size_t maxChars) = 0;
  // A missing or empty key gives `fallback`; a value that does not start with a number gives 0, as the system's
  // profile functions answer.
  virtual int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) = 0;
  virtual bool writeString(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual bool removeSection(std::string_view section) = 0;
};

// The value as it must be written so that reading gives back exactly `value`: enclosed in double quotes when it
// begins or ends with a blank or a quote character, otherwise unchanged.
std::string profileQuoted(std::string_view value);

}  // namespace osk
