// Builds "OCFG" file images record by record, so that tests can write exactly the bytes a damaged, hostile or
// foreign file would hold.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace osk::test {

struct RawCommand {
  uint16_t group = 1;
  uint32_t condition = 0;
  uint16_t number = 0;
  uint16_t topLevel = 0;
  std::string name, parameter, help, menuText;
  int16_t image = -1;
};

struct RawMenu {
  std::string name;
  std::vector<std::pair<uint16_t, uint16_t>> items;   // (number, mark); the end record is added
};

struct RawKey {
  uint16_t word, flag, context, command;
};

struct RawToolBar {
  std::string name;
  std::vector<uint16_t> items;   // the end record is added
};

struct RawConfig {
  std::vector<uint8_t> images;
  std::vector<std::pair<uint16_t, std::string>> groups;
  std::vector<RawCommand> commands;
  std::vector<RawMenu> menus;
  std::vector<RawKey> keys;
  std::vector<RawToolBar> toolBars;
  std::vector<std::string> extensions;
  bool extensionEndRecord = true;
  // Header fields forced to other values than the records imply; -1 keeps the counted value.
  int forceGroups = -1, forceCommands = -1, forceKeys = -1, forceMenuItems = -1, forceImages = -1;

  std::vector<uint8_t> bytes() const {
    std::vector<uint8_t> b;
    auto u16 = [&](uint32_t v) {
      b.push_back(static_cast<uint8_t>(v));
      b.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto str = [&](const std::string& s, size_t width) {
      for (size_t i = 0; i < width; ++i) b.push_back(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    };
    size_t menuItems = 0, barItems = 0;
    for (const auto& m : menus) menuItems += m.items.size();
    for (const auto& t : toolBars) barItems += t.items.size();
    str("OCFG", 4);
    u16(259);
    u16(32);
    u16(forceImages >= 0 ? forceImages : images.size());
    u16(forceGroups >= 0 ? forceGroups : groups.size());
    u16(forceCommands >= 0 ? forceCommands : commands.size());
    u16(menus.size());
    u16(forceMenuItems >= 0 ? forceMenuItems : menuItems);
    u16(forceKeys >= 0 ? forceKeys : keys.size());
    u16(toolBars.size());
    u16(barItems);
    u16(extensions.size());
    str("", 6);
    b.insert(b.end(), images.begin(), images.end());
    for (const auto& [id, name] : groups) {
      u16(id);
      str(name, 34);
    }
    str("", 36);
    for (const RawCommand& c : commands) {
      u16(c.group);
      u16(c.condition & 0xFFFF);
      u16(c.condition >> 16);
      u16(c.number);
      u16(c.topLevel);
      str(c.name, 33);
      str(c.parameter, 65);
      str(c.help, 65);
      str(c.menuText, 33);
      u16(static_cast<uint16_t>(c.image));
    }
    str("", 208);
    for (const auto& m : menus) str(m.name, 32);
    for (const auto& m : menus) {
      for (auto [n, mark] : m.items) {
        u16(n);
        u16(mark);
      }
      u16(0);
      u16(0);
    }
    for (const RawKey& k : keys) {
      u16(k.word);
      u16(k.flag);
      u16(k.context);
      u16(k.command);
    }
    str("", 8);
    for (const auto& t : toolBars) str(t.name, 32);
    for (const auto& t : toolBars) {
      for (uint16_t n : t.items) u16(n);
      u16(0);
    }
    for (const auto& e : extensions) str(e, 17);
    if (extensionEndRecord) str("", 17);
    return b;
  }
};

// A 4-bit strip of `count` blank images with the standard palette.
inline std::vector<uint8_t> rawImageStrip(int count, int bitCount = 4, int height = 15, int widthPerImage = 16) {
  std::vector<uint8_t> b(40, 0);
  auto put32 = [&](size_t off, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<uint32_t>(count * widthPerImage));
  put32(8, static_cast<uint32_t>(height));
  b[12] = 1;
  b[14] = static_cast<uint8_t>(bitCount);
  const size_t palette = bitCount <= 8 ? (4u << bitCount) : 0;
  const size_t pixels = static_cast<size_t>(((bitCount * 16 + 7) >> 3) * count * 15);
  b.resize(40 + palette + pixels, 0x77);
  std::fill(b.begin() + 40, b.begin() + 40 + static_cast<std::ptrdiff_t>(palette), 0);
  return b;
}

}  // namespace osk::test
