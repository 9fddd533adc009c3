#include "services/config/config_writer.h"

#include <cstring>
#include <fstream>
#include <system_error>

#include "services/config/config_format.h"

namespace osk {
namespace {

class Out {
 public:
  explicit Out(std::vector<uint8_t>& v) : v_(v) {}
  void u16(uint32_t x) {
    v_.push_back(static_cast<uint8_t>(x));
    v_.push_back(static_cast<uint8_t>(x >> 8));
  }
  void u32(uint32_t x) {
    u16(x & 0xFFFF);
    u16(x >> 16);
  }
  // The string cut to `limit` characters, zero-padded to `width` bytes.
  void str(const std::string& s, size_t width, size_t limit) {
    const size_t n = s.size() < limit ? s.size() : limit;
    v_.insert(v_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    v_.insert(v_.end(), width - n, 0);
  }
  void bytes(const std::vector<uint8_t>& b) { v_.insert(v_.end(), b.begin(), b.end()); }

 private:
  std::vector<uint8_t>& v_;
};

// The records of one menu. A submenu that is the last item of another submenu cannot end both levels with its
// single mark, so a separator is written after it to close the outer one; otherwise every item that follows
// would be read one level too deep.
struct MenuRecord {
  uint16_t number;
  uint16_t mark;
};

bool collectMenu(const CMenuItem& parent, int depth, bool parentIsRoot, std::vector<MenuRecord>& out) {
  for (const CMenuItem& item : parent.children) {
    const bool last = parent.children.nextOf(&item) == nullptr;
    // Number 0 would end the menu in the file; an item that names nothing is kept as such.
    const uint16_t number = item.command == 0 ? kNoCommandNumber : static_cast<uint16_t>(item.command);
    if (!item.children.empty()) {
      if (depth >= kMaxMenuDepth) return false;
      out.push_back({number, kMarkOpensSubmenu});
      if (!collectMenu(item, depth + 1, false, out)) return false;
      if (last && !parentIsRoot) out.push_back({kSeparatorNumber, kMarkLastChild});
    } else {
      out.push_back({number, last ? kMarkLastChild : kMarkItem});
    }
  }
  return true;
}

}  // namespace

ConfigSaveStatus serializeConfiguration(const CConfiguration& cfg, std::vector<uint8_t>& out) {
  using namespace command_record;
  out.clear();
  ConfigHeader h;
  const uint64_t imageBytes = cfg.bitmaps.bytes().size();
  uint64_t groups = cfg.groups.count(), commands = cfg.commands.count();
  for (const CItemGroup& g : cfg.groups)
    if (g.id <= 0 || g.id > 0xFFFF) return ConfigSaveStatus::kBadStructure;
  for (const CCommand& c : cfg.commands)
    if (c.group <= 0 || c.group > 0xFFFF || c.number == 0) return ConfigSaveStatus::kBadStructure;

  std::vector<std::vector<MenuRecord>> menus;
  uint64_t menuItems = 0;
  for (const CMenuObject& m : cfg.menus) {
    menus.emplace_back();
    if (!collectMenu(m.root, 1, true, menus.back())) return ConfigSaveStatus::kBadStructure;
    menuItems += menus.back().size();
  }

  bool dangling = false, boundToNothing = false;
  cfg.keyMap.forEach([&](const CKeyMap& k) {
    if (k.command == 0 || k.command == kSeparatorNumber) boundToNothing = true;
    else if (!cfg.findCommand(k.command)) dangling = true;
  });
  uint64_t barItems = 0;
  for (const CToolBarObject& t : cfg.toolBars)
    for (const CToolBarElement& e : t.elements) {
      ++barItems;
      if (e.command == 0) boundToNothing = true;
      else if (e.command != kSeparatorNumber && !cfg.findCommand(e.command)) dangling = true;
    }
  if (boundToNothing) return ConfigSaveStatus::kBadStructure;
  if (dangling) return ConfigSaveStatus::kDanglingReference;
  uint64_t extensions = 0;
  for (const CConfigExtensionDLL& e : cfg.extensions)
    if (e.notSaved == 0) ++extensions;

  // Every count is checked against the limit before it is narrowed into its 16-bit header field.
  const uint64_t keys = static_cast<uint64_t>(cfg.keyMap.count());
  const uint64_t length = kConfigHeaderSize + imageBytes + kGroupRecordSize * (groups + 1) +
                          kCommandRecordSize * (commands + 1) + kMenuNameSize * cfg.menus.count() +
                          kMenuItemRecordSize * (menuItems + cfg.menus.count()) + kKeyRecordSize * (keys + 1) +
                          kToolBarNameSize * cfg.toolBars.count() +
                          kToolBarItemSize * (barItems + cfg.toolBars.count()) +
                          (extensions ? kExtensionRecordSize * (extensions + 1) : 0);
  if (length > kConfigMaxLength) return ConfigSaveStatus::kTooLarge;
  h.imageBytes = static_cast<uint16_t>(imageBytes);
  h.groups = static_cast<uint16_t>(groups);
  h.commands = static_cast<uint16_t>(commands);
  h.menus = static_cast<uint16_t>(cfg.menus.count());
  h.menuItems = static_cast<uint16_t>(menuItems);
  h.keys = static_cast<uint16_t>(keys);
  h.toolBars = static_cast<uint16_t>(cfg.toolBars.count());
  h.toolBarItems = static_cast<uint16_t>(barItems);
  h.extensions = static_cast<uint16_t>(extensions);

  out.reserve(length + kExtensionRecordSize);
  out.resize(kConfigHeaderSize);
  writeConfigHeader(h, out.data());
  Out o(out);
  o.bytes(cfg.bitmaps.bytes());

  for (const CItemGroup& g : cfg.groups) {
    o.u16(static_cast<uint16_t>(g.id));
    o.str(g.name, kGroupRecordSize - 2, kGroupNameMax);
  }
  o.u16(0);
  o.str({}, kGroupRecordSize - 2, 0);

  for (const CCommand& c : cfg.commands) {
    o.u16(static_cast<uint16_t>(c.group));
    o.u32(c.conditionWord);
    o.u16(c.number);
    o.u16(c.isTopLevel() ? 1 : 0);
    o.str(c.name, kNameWidth, kCommandNameMax);
    o.str(c.parameter, kParameterWidth, kParameterMax);
    o.str(c.helpText, kHelpWidth, kHelpTextMax);
    o.str(c.menuText, kMenuTextWidth, kMenuTextMax);
    o.u16(static_cast<uint16_t>(c.imageIndex));
  }
  out.insert(out.end(), kCommandRecordSize, 0);

  for (const CMenuObject& m : cfg.menus) o.str(m.name, kMenuNameSize, kMenuNameMax);
  for (const auto& records : menus) {
    for (const MenuRecord& r : records) {
      o.u16(r.number);
      o.u16(r.mark);
    }
    o.u32(0);
  }

  uint16_t lastWord = 0, lastContext = 0;
  cfg.keyMap.forEach([&](const CKeyMap& k) {
    o.u16(k.keyWord);
    o.u16(static_cast<uint16_t>(k.menuString));
    o.u16(k.context);
    o.u16(static_cast<uint16_t>(k.command));
    lastWord = k.keyWord;
    lastContext = k.context;
  });
  o.u16(lastWord);
  o.u16(0);
  o.u16(lastContext);
  o.u16(0);

  for (const CToolBarObject& t : cfg.toolBars) o.str(t.name, kToolBarNameSize, kToolBarNameMax);
  for (const CToolBarObject& t : cfg.toolBars) {
    for (const CToolBarElement& e : t.elements) o.u16(static_cast<uint16_t>(e.command));
    o.u16(0);
  }

  for (const CConfigExtensionDLL& e : cfg.extensions)
    if (e.notSaved == 0) o.str(e.name, kExtensionRecordSize, kExtensionNameMax);
  // The end record is written even for an empty list.
  out.insert(out.end(), kExtensionRecordSize, 0);
  return ConfigSaveStatus::kOk;
}

bool replaceFileContents(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::path temp = path;
  temp += ".new";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    f.close();
    if (!f) {
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    return false;
  }
  return true;
}

ConfigSaveStatus saveConfigurationFile(const CConfiguration& cfg, const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  const ConfigSaveStatus s = serializeConfiguration(cfg, bytes);
  if (s != ConfigSaveStatus::kOk) return s;
  return replaceFileContents(path, bytes) ? ConfigSaveStatus::kOk : ConfigSaveStatus::kFileError;
}

}  // namespace osk
