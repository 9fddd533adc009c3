// The layout of an "OCFG" configuration file: the 32-byte header, the record sizes and the section offsets.
//
// All numbers are little-endian. The header is followed by nine sections in fixed order without padding: images,
// item groups, commands, menu names, menu items, key map, tool bar names, tool bar items, extension libraries.
// The extension section is counted only when the header names at least one library, yet a writer always ends
// the file with its empty end record. Section sizes are computed in 64 bits, so no header can overflow them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace osk {

inline constexpr uint16_t kConfigVersion = 259;
inline constexpr uint16_t kConfigHeaderSize = 32;
inline constexpr uint32_t kConfigMaxLength = 61440;

inline constexpr uint32_t kGroupRecordSize = 36;
inline constexpr uint32_t kCommandRecordSize = 208;
inline constexpr uint32_t kMenuNameSize = 32;
inline constexpr uint32_t kMenuItemRecordSize = 4;
inline constexpr uint32_t kKeyRecordSize = 8;
inline constexpr uint32_t kToolBarNameSize = 32;
inline constexpr uint32_t kToolBarItemSize = 2;
inline constexpr uint32_t kExtensionRecordSize = 17;

// Command record field offsets and widths.
namespace command_record {
inline constexpr uint32_t kGroup = 0;
inline constexpr uint32_t kCondition = 2;
inline constexpr uint32_t kNumber = 6;
inline constexpr uint32_t kTopLevel = 8;
inline constexpr uint32_t kName = 10, kNameWidth = 33;
inline constexpr uint32_t kParameter = 43, kParameterWidth = 65;
inline constexpr uint32_t kHelp = 108, kHelpWidth = 65;
inline constexpr uint32_t kMenuText = 173, kMenuTextWidth = 33;
inline constexpr uint32_t kImage = 206;
}  // namespace command_record

// Menu item nesting marks.
inline constexpr uint16_t kMarkItem = 0;
inline constexpr uint16_t kMarkLastChild = 1;
inline constexpr uint16_t kMarkOpensSubmenu = 2;

struct ConfigHeader {
  uint16_t imageBytes = 0;      // B
  uint16_t groups = 0;          // G
  uint16_t commands = 0;        // N, separators included
  uint16_t menus = 0;           // M
  uint16_t menuItems = 0;       // I, end records not counted
  uint16_t keys = 0;            // K
  uint16_t toolBars = 0;        // T
  uint16_t toolBarItems = 0;    // U, end records not counted
  uint16_t extensions = 0;      // X

  struct Offsets {
    uint64_t images, groups, commands, menuNames, menuItems, keys, toolBarNames, toolBarItems, extensions, end;
  };
  Offsets offsets() const;
  // The length the header promises: every section, the extension section only when X is not 0.
  uint64_t expectedLength() const { return offsets().end; }
};

// The header of `bytes` when its magic, version and header size are right; nothing otherwise.
std::optional<ConfigHeader> readConfigHeader(std::span<const uint8_t> bytes);
void writeConfigHeader(const ConfigHeader& h, uint8_t out[kConfigHeaderSize]);

}  // namespace osk
