// Feeds damaged configurations to the reader; whatever loads must save, and load again to the same bytes.
//
// Odd first bytes take the rest of the input as raw file bytes. Even ones patch a valid sample file with
// (offset, value) pairs and may cut it short, which reaches the deep sections far sooner than raw bytes do.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "services/config/config_reader.h"
#include "services/config/config_writer.h"

namespace {

std::vector<uint8_t> sampleFile() {
  using namespace osk;
  CConfiguration cfg;
  cfg.bitmaps.makeBlank(3);
  cfg.addGroup(1, "Top level Items");
  cfg.addGroup(2, "General");
  auto add = [&](int32_t group, const char* name, int32_t image, bool top) {
    auto* c = new CCommand;
    c->group = group;
    c->number = static_cast<uint16_t>(cfg.nextFreeNumber++);
    c->name = name;
    c->menuText = name;
    c->imageIndex = image;
    if (top) c->state |= kStateTopLevel;
    return cfg.appendCommand(c)->number;
  };
  const int32_t file = add(1, "", 4, true), date = add(1, "", 0, true);
  const int32_t a = add(2, "NewFile", 0, false), b = add(2, "OpenFile", 1, false), c = add(2, "Exit", -1, false);
  CMenuObject* menu = cfg.menus.append(new CMenuObject("Default"));
  CMenuItem* f = menu->root.children.append(new CMenuItem(file));
  f->children.append(new CMenuItem(a));
  CMenuItem* d = f->children.append(new CMenuItem(date));
  d->children.append(new CMenuItem(b));
  d->children.append(new CMenuItem(kSeparatorNumber));
  f->children.append(new CMenuItem(c));
  cfg.menus.append(new CMenuObject("Editor Menu"))->root.children.append(new CMenuItem(b));
  cfg.addKeyMapping((0x4E << 3) | kKeyCtrl, kContextEditor, 1, a);
  cfg.addKeyMapping((0x4E << 3) | kKeyCtrl, kContextNone, 0, b);
  cfg.addKeyMapping(240 << 3, kContextMouseEditor, 0, c);
  CToolBarObject* bar = cfg.toolBars.append(new CToolBarObject("Default Tool Bar"));
  bar->elements.append(new CToolBarElement(a));
  bar->elements.append(new CToolBarElement(kSeparatorNumber));
  bar->elements.append(new CToolBarElement(b));
  cfg.extensions.append(new CConfigExtensionDLL("EXT.DLL"));
  std::vector<uint8_t> bytes;
  serializeConfiguration(cfg, bytes);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> sample = sampleFile();
  if (size == 0) return 0;
  std::vector<uint8_t> input;
  if (data[0] & 1) {
    input.assign(data + 1, data + size);
  } else {
    input = sample;
    size_t i = 1;
    if (size > 1 && data[1] < 64) input.resize(input.size() * data[1] / 64), ++i;
    for (; i + 2 < size && !input.empty(); i += 3)
      input[(data[i] | data[i + 1] << 8) % input.size()] = data[i + 2];
  }
  // An exact-size copy, so that any read beyond the data is caught.
  input = std::vector<uint8_t>(input.begin(), input.end());
  osk::CConfiguration cfg;
  if (osk::parseConfiguration(input, cfg) != osk::ConfigLoadStatus::kOk) return 0;
  // Every mapping that was loaded must answer for its own key and context.
  cfg.keyMap.forEach([&](const osk::CKeyMap& m) {
    if (!cfg.mapKey(m.keyWord, m.context)) std::abort();
  });
  std::vector<uint8_t> saved;
  if (osk::serializeConfiguration(cfg, saved) != osk::ConfigSaveStatus::kOk) return 0;
  osk::CConfiguration again;
  if (osk::parseConfiguration(saved, again) != osk::ConfigLoadStatus::kOk) std::abort();
  std::vector<uint8_t> savedAgain;
  if (osk::serializeConfiguration(again, savedAgain) != osk::ConfigSaveStatus::kOk || savedAgain != saved)
    std::abort();
  return 0;
}
