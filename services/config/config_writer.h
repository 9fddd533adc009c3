// Writing a CConfiguration as an "OCFG" configuration file.
//
// The writer produces only files the reader loads again: it refuses a configuration that would exceed 61440
// bytes, whose key mappings or tool bar buttons name commands that do not exist, whose groups or commands carry
// numbers that would end their lists early, or whose menus nest deeper than a file can hold. Strings longer than
// their fields are cut to the field. Unused bytes are zero, so one configuration always gives the same bytes.
// Saving goes to a temporary file beside the target that replaces it only when it was written completely.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "services/config/configuration.h"

namespace osk {

enum class ConfigSaveStatus {
  kOk,
  kTooLarge,            // more than 61440 bytes
  kDanglingReference,   // a key mapping or tool bar button names no command
  kBadStructure,        // group 0, command number 0, a key bound to nothing, menus nested too deep
  kFileError,           // the file could not be written or replaced; the old file is untouched
};

ConfigSaveStatus serializeConfiguration(const CConfiguration& cfg, std::vector<uint8_t>& out);

// Writes `bytes` to a temporary file in the target's directory and then moves it over `path`.
bool replaceFileContents(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

ConfigSaveStatus saveConfigurationFile(const CConfiguration& cfg, const std::filesystem::path& path);

}  // namespace osk
