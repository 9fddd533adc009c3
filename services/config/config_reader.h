// Reading "OCFG" configuration files and resources into a CConfiguration.
//
// The reader trusts nothing in the data: every section is located from the header's counts and checked against
// the length of the data before it is read, every list stops at its count even when its end record is missing,
// strings stop at their field widths, and the image strip is checked against its own header. A failed parse leaves
// nothing behind, so the caller keeps whatever configuration it had.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "services/config/configuration.h"

namespace osk {

enum class ConfigLoadStatus {
  kOk,
  kUnreadable,         // missing file, or a read failed before the header was complete
  kNotConfiguration,   // wrong magic, version or header size
  kTooLarge,           // the header promises more than 61440 bytes
  kDamaged,            // shorter than the header promises, or broken inside
};

// Whether a failure is reported to the user ("Failed to load configuration."); the others only fail quietly so
// that the caller can fall back to the built-in configuration.
inline bool loadFailureIsReported(ConfigLoadStatus s) { return s == ConfigLoadStatus::kDamaged; }

// Parses a whole file or resource image into `into`, which must be empty; renumbers the commands. On failure
// `into` may hold a partial parse and is to be discarded.
ConfigLoadStatus parseConfiguration(std::span<const uint8_t> bytes, CConfiguration& into);

// Reads exactly the length the file's header promises.
ConfigLoadStatus readConfigurationFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);

// The quick test of the selection dialog: the first 32 bytes carry the magic, version and header size.
bool isConfigurationFile(const std::filesystem::path& path);

struct ConfigLoadResult {
  ConfigLoadStatus status = ConfigLoadStatus::kUnreadable;
  std::unique_ptr<CConfiguration> config;   // set only on success
  int32_t unresolved = 0;                   // named commands that no provider knows
};

// Parses, resolves the command names through the providers and renumbers: the whole load after the bytes are in.
ConfigLoadResult loadConfiguration(std::span<const uint8_t> bytes, std::span<const CommandProvider> providers,
                                   void* instance = nullptr, HWND__* owner = nullptr);

}  // namespace osk
