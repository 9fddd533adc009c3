#include "services/config/config_format.h"

#include <cstring>

namespace osk {
namespace {

uint16_t u16(std::span<const uint8_t> b, size_t off) { return static_cast<uint16_t>(b[off] | (b[off + 1] << 8)); }
void put16(uint8_t* out, uint16_t v) {
  out[0] = static_cast<uint8_t>(v);
  out[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

ConfigHeader::Offsets ConfigHeader::offsets() const {
  Offsets o{};
  o.images = kConfigHeaderSize;
  o.groups = o.images + imageBytes;
  o.commands = o.groups + uint64_t{kGroupRecordSize} * (groups + 1u);
  o.menuNames = o.commands + uint64_t{kCommandRecordSize} * (commands + 1u);
  o.menuItems = o.menuNames + uint64_t{kMenuNameSize} * menus;
  o.keys = o.menuItems + uint64_t{kMenuItemRecordSize} * (menus + uint64_t{menuItems});
  o.toolBarNames = o.keys + uint64_t{kKeyRecordSize} * (keys + 1u);
  o.toolBarItems = o.toolBarNames + uint64_t{kToolBarNameSize} * toolBars;
  o.extensions = o.toolBarItems + uint64_t{kToolBarItemSize} * (toolBars + uint64_t{toolBarItems});
  o.end = o.extensions + (extensions ? uint64_t{kExtensionRecordSize} * (extensions + 1u) : 0);
  return o;
}

std::optional<ConfigHeader> readConfigHeader(std::span<const uint8_t> b) {
  if (b.size() < kConfigHeaderSize) return std::nullopt;
  if (std::memcmp(b.data(), "OCFG", 4) != 0 || u16(b, 4) != kConfigVersion || u16(b, 6) != kConfigHeaderSize)
    return std::nullopt;
  ConfigHeader h;
  h.imageBytes = u16(b, 8);
  h.groups = u16(b, 10);
  h.commands = u16(b, 12);
  h.menus = u16(b, 14);
  h.menuItems = u16(b, 16);
  h.keys = u16(b, 18);
  h.toolBars = u16(b, 20);
  h.toolBarItems = u16(b, 22);
  h.extensions = u16(b, 24);
  return h;
}

void writeConfigHeader(const ConfigHeader& h, uint8_t out[kConfigHeaderSize]) {
  std::memset(out, 0, kConfigHeaderSize);
  std::memcpy(out, "OCFG", 4);
  put16(out + 4, kConfigVersion);
  put16(out + 6, kConfigHeaderSize);
  put16(out + 8, h.imageBytes);
  put16(out + 10, h.groups);
  put16(out + 12, h.commands);
  put16(out + 14, h.menus);
  put16(out + 16, h.menuItems);
  put16(out + 18, h.keys);
  put16(out + 20, h.toolBars);
  put16(out + 22, h.toolBarItems);
  put16(out + 24, h.extensions);
}

}  // namespace osk
