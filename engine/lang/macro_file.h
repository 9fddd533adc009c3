// Macro files (".kbd"): the bytes 1 and 0, the number of events N (32 bits), then N events of 20 bytes each
// (message, paramL, paramH, time, window; all 32-bit little-endian), written and read field by field.
//
// Reading never trusts the file: a file is refused whole, leaving the macro empty, when its format bytes differ,
// when it declares no events or more than 4096, when it is shorter than it declares, or when any event is not a
// key message (0x0100 to 0x0108). Bytes after the declared events are ignored. Saving refuses an empty macro, and
// a file that could not be written completely is deleted.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/lang/macro_buffer.h"

namespace osk::macro {

constexpr std::size_t kHeaderBytes = 6;
constexpr std::size_t kFileEventBytes = 20;

enum class LoadResult {
  kLoaded,
  kCannotRead,
  kBadFormat,        // format bytes other than 1, 0
  kNoEvents,         // declares 0 events
  kTooManyEvents,    // declares more than 4096
  kTruncated,        // shorter than 6 + 20 x N bytes
  kNotKeyMessage,    // an event that is not a key message
};

std::vector<uint8_t> encodeMacro(const KeystrokeMacro& macro);
// Fills `macro` from file bytes; on anything but kLoaded the macro is left empty.
LoadResult decodeMacro(std::span<const uint8_t> bytes, KeystrokeMacro& macro);

// false for an empty macro or a file that cannot be written (which is then removed).
bool saveMacroFile(const KeystrokeMacro& macro, const std::string& path);
LoadResult loadMacroFile(const std::string& path, KeystrokeMacro& macro);

}  // namespace osk::macro
