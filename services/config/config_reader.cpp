#include "services/config/config_reader.h"

#include <cstring>
#include <fstream>

#include "services/config/config_format.h"

namespace osk {
namespace {

class Cursor {
 public:
  explicit Cursor(std::span<const uint8_t> bytes) : b_(bytes) {}
  uint16_t u16(uint64_t off) const { return static_cast<uint16_t>(b_[off] | (b_[off + 1] << 8)); }
  uint32_t u32(uint64_t off) const { return u16(off) | (static_cast<uint32_t>(u16(off + 2)) << 16); }
  // A zero-terminated string in a field of `width` bytes, at most `limit` characters.
  std::string str(uint64_t off, uint32_t width, size_t limit) const {
    const char* p = reinterpret_cast<const char*>(b_.data() + off);
    size_t n = strnlen(p, width);
    return std::string(p, n < limit ? n : limit);
  }
  std::span<const uint8_t> span(uint64_t off, uint64_t len) const { return b_.subspan(off, len); }

 private:
  std::span<const uint8_t> b_;
};

bool parseMenuItems(const Cursor& in, uint64_t& record, uint64_t recordEnd, CMenuObject& menu) {
  CMenuItem* parents[kMaxMenuDepth] = {&menu.root};
  int depth = 1;
  for (;;) {
    if (record >= recordEnd) return false;   // the menu's end record is missing
    const uint64_t off = record++ * kMenuItemRecordSize;
    const uint16_t number = in.u16(off);
    const uint16_t mark = in.u16(off + 2);
    if (number == 0) return true;
    // Once the top level has been closed, only the menu's end record may follow.
    if (depth < 1) return false;
    CMenuItem* item = parents[depth - 1]->children.append(new CMenuItem(number));
    switch (mark) {
      case kMarkItem: break;
      case kMarkLastChild: --depth; break;
      case kMarkOpensSubmenu:
        if (depth >= kMaxMenuDepth) return false;
        parents[depth++] = item;
        break;
      default: return false;
    }
  }
}

}  // namespace

ConfigLoadStatus parseConfiguration(std::span<const uint8_t> bytes, CConfiguration& cfg) {
  using namespace command_record;
  const std::optional<ConfigHeader> header = readConfigHeader(bytes);
  if (!header) return bytes.size() < kConfigHeaderSize ? ConfigLoadStatus::kUnreadable
                                                        : ConfigLoadStatus::kNotConfiguration;
  const ConfigHeader::Offsets at = header->offsets();
  if (at.end > kConfigMaxLength) return ConfigLoadStatus::kTooLarge;
  if (at.end > bytes.size()) return ConfigLoadStatus::kDamaged;
  const Cursor in(bytes);

  for (uint32_t i = 0; i < header->groups; ++i) {
    const uint64_t off = at.groups + uint64_t{i} * kGroupRecordSize;
    const uint16_t id = in.u16(off);
    if (id == 0) break;
    cfg.addGroup(id, in.str(off + 2, kGroupRecordSize - 2, kGroupNameMax));
  }

  if (!cfg.bitmaps.assign(in.span(at.images, header->imageBytes))) return ConfigLoadStatus::kDamaged;
  const int32_t images = cfg.bitmaps.imageCount();

  for (uint32_t i = 0; i < header->commands; ++i) {
    const uint64_t off = at.commands + uint64_t{i} * kCommandRecordSize;
    const uint16_t group = in.u16(off + kGroup);
    if (group == 0) break;
    const uint16_t number = in.u16(off + kNumber);
    if (number == kSeparatorNumber) continue;
    if (number >= cfg.nextFreeNumber) cfg.nextFreeNumber = number + 1;
    if (!cfg.findGroup(group)) continue;
    auto* c = new CCommand;
    c->group = group;
    c->number = number;
    c->conditionWord = in.u32(off + kCondition);
    if (in.u16(off + kTopLevel) != 0) c->state |= kStateTopLevel;
    c->name = in.str(off + kName, kNameWidth, kCommandNameMax);
    c->parameter = in.str(off + kParameter, kParameterWidth, kParameterMax);
    c->helpText = in.str(off + kHelp, kHelpWidth, kHelpTextMax);
    c->menuText = in.str(off + kMenuText, kMenuTextWidth, kMenuTextMax);
    c->imageIndex = static_cast<int16_t>(in.u16(off + kImage));
    // A top-level item keeps its special-list options in this field; only real image indexes are checked.
    if (!c->isTopLevel() && (c->imageIndex < 0 || c->imageIndex >= images)) c->imageIndex = -1;
    cfg.appendCommand(c);
  }

  const uint64_t menuRecords = uint64_t{header->menus} + header->menuItems;
  uint64_t record = 0;
  for (uint32_t m = 0; m < header->menus; ++m) {
    auto* menu = cfg.menus.append(new CMenuObject(in.str(at.menuNames + uint64_t{m} * kMenuNameSize, kMenuNameSize,
                                                        kMenuNameMax)));
    Cursor items(in.span(at.menuItems, menuRecords * kMenuItemRecordSize));
    if (!parseMenuItems(items, record, menuRecords, *menu)) return ConfigLoadStatus::kDamaged;
  }

  for (uint32_t i = 0; i < header->keys; ++i) {
    const uint64_t off = at.keys + uint64_t{i} * kKeyRecordSize;
    const uint16_t command = in.u16(off + 6);
    if (command == 0) break;
    if (!cfg.addKeyMapping(in.u16(off), in.u16(off + 4), in.u16(off + 2), command))
      return ConfigLoadStatus::kDamaged;
  }

  const uint64_t barRecords = uint64_t{header->toolBars} + header->toolBarItems;
  record = 0;
  for (uint32_t t = 0; t < header->toolBars; ++t) {
    auto* bar = cfg.toolBars.append(new CToolBarObject(
        in.str(at.toolBarNames + uint64_t{t} * kToolBarNameSize, kToolBarNameSize, kToolBarNameMax)));
    for (;;) {
      if (record >= barRecords) return ConfigLoadStatus::kDamaged;
      const uint16_t number = in.u16(at.toolBarItems + record++ * kToolBarItemSize);
      if (number == 0) break;
      if (number == kSeparatorNumber) {
        bar->elements.append(new CToolBarElement(number));
        continue;
      }
      const CCommand* c = cfg.findCommand(number);
      if (!c) return ConfigLoadStatus::kDamaged;
      if (c->imageIndex < 0 || c->isTopLevel()) continue;
      bar->elements.append(new CToolBarElement(number));
    }
  }

  if (header->extensions != 0) {
    for (uint64_t off = at.extensions; off + kExtensionRecordSize <= bytes.size(); off += kExtensionRecordSize) {
      if (bytes[off] == 0) break;
      cfg.extensions.append(new CConfigExtensionDLL(in.str(off, kExtensionRecordSize, kExtensionNameMax)));
    }
  }

  cfg.renumber();
  return ConfigLoadStatus::kOk;
}

ConfigLoadStatus readConfigurationFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::ifstream f(path, std::ios::binary);
  if (!f) return ConfigLoadStatus::kUnreadable;
  uint8_t head[kConfigHeaderSize];
  if (!f.read(reinterpret_cast<char*>(head), sizeof head)) return ConfigLoadStatus::kUnreadable;
  const std::optional<ConfigHeader> header = readConfigHeader(head);
  if (!header) return ConfigLoadStatus::kNotConfiguration;
  const uint64_t length = header->expectedLength();
  if (length > kConfigMaxLength) return ConfigLoadStatus::kTooLarge;
  bytes.resize(length);
  f.seekg(0);
  if (!f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(length))) {
    bytes.clear();
    return ConfigLoadStatus::kDamaged;
  }
  return ConfigLoadStatus::kOk;
}

bool isConfigurationFile(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  uint8_t head[kConfigHeaderSize];
  return f && f.read(reinterpret_cast<char*>(head), sizeof head) && readConfigHeader(head).has_value();
}

ConfigLoadResult loadConfiguration(std::span<const uint8_t> bytes, std::span<const CommandProvider> providers,
                                   void* instance, HWND__* owner) {
  ConfigLoadResult result;
  auto cfg = std::make_unique<CConfiguration>(instance, owner);
  result.status = parseConfiguration(bytes, *cfg);
  if (result.status != ConfigLoadStatus::kOk) return result;
  result.unresolved = cfg->resolveNames(providers);
  result.config = std::move(cfg);
  return result;
}

}  // namespace osk
