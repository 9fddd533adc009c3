#include "services/bars/tool_bar_model.h"

#include <string>

namespace osk {
namespace {

int32_t readKey(SettingsStore& store, std::string_view name, std::string_view key, int32_t current) {
  return store.readInt(kToolBarSection, std::string(name) + std::string(key), current);
}

void writeKey(SettingsStore& store, std::string_view name, std::string_view key, int32_t value) {
  store.writeString(kToolBarSection, std::string(name) + std::string(key), std::to_string(value));
}

bool isPrintPreviewBar(std::string_view name) { return name == kPrintPreviewToolBar; }

}  // namespace

int32_t ToolBarOptions::get(int32_t property) const {
  switch (property) {
    case kPropLargeButtons: return largeButtons;
    case kPropWrap: return wrap;
    case kPropToolTips: return toolTips;
    case kPropTipsWithKeys: return tipsWithKeys;
    default: return 0;
  }
}

bool ToolBarOptions::set(int32_t property, int32_t value) {
  int32_t* field = nullptr;
  switch (property) {
    case kPropLargeButtons: field = &largeButtons; break;
    case kPropWrap: field = &wrap; break;
    case kPropToolTips: field = &toolTips; break;
    case kPropTipsWithKeys: field = &tipsWithKeys; break;
    default: return false;
  }
  if (*field == value) return false;
  *field = value;
  return true;
}

void readGlobalToolBarOptions(SettingsStore& store, ToolBarOptions& o) {
  o.largeButtons = store.readInt(kToolBarSection, "TBDouble", 0);
  o.wrap = store.readInt(kToolBarSection, "TBWrap", 1);
  o.toolTips = store.readInt(kToolBarSection, "TBTTEnabled", 1);
  o.tipsWithKeys = store.readInt(kToolBarSection, "TBTipsWithKeyMaps", 1);
}

void writeGlobalToolBarOptions(SettingsStore& store, const ToolBarOptions& o) {
  store.writeString(kToolBarSection, "TBDouble", std::to_string(o.largeButtons));
  store.writeString(kToolBarSection, "TBWrap", std::to_string(o.wrap));
  store.writeString(kToolBarSection, "TBTTEnabled", std::to_string(o.toolTips));
  store.writeString(kToolBarSection, "TBTipsWithKeyMaps", std::to_string(o.tipsWithKeys));
}

void readToolBarSettings(SettingsStore& store, std::string_view name, ToolBarSettings& s) {
  s.seqNo = readKey(store, name, "SeqNo", s.seqNo);
  if (isPrintPreviewBar(name)) s.visible = 0;
  else s.visible = readKey(store, name, "Visible", s.visible);
  s.asPopup = readKey(store, name, "AsPopup", s.asPopup);
  s.rect.left = readKey(store, name, "Left", s.rect.left);
  s.rect.top = readKey(store, name, "Top", s.rect.top);
  s.rect.right = readKey(store, name, "Right", s.rect.right);
  s.rect.bottom = readKey(store, name, "Bottom", s.rect.bottom);
  s.vertical = readKey(store, name, "Vertical", s.vertical);
  s.botRight = readKey(store, name, "BotRight", s.botRight);
  s.options.largeButtons = readKey(store, name, "DoubleSize", s.options.largeButtons);
  s.options.toolTips = readKey(store, name, "ToolTips", s.options.toolTips);
  s.options.tipsWithKeys = readKey(store, name, "TipsWithKeyMaps", s.options.tipsWithKeys);
  s.options.wrap = readKey(store, name, "Wrap", s.options.wrap);
}

void writeToolBarSettings(SettingsStore& store, std::string_view name, const ToolBarSettings& s) {
  writeKey(store, name, "SeqNo", s.seqNo);
  if (!isPrintPreviewBar(name)) writeKey(store, name, "Visible", s.visible);
  writeKey(store, name, "AsPopup", s.asPopup);
  writeKey(store, name, "Left", s.rect.left);
  writeKey(store, name, "Top", s.rect.top);
  writeKey(store, name, "Right", s.rect.right);
  writeKey(store, name, "Bottom", s.rect.bottom);
  writeKey(store, name, "Vertical", s.vertical);
  writeKey(store, name, "BotRight", s.botRight);
  writeKey(store, name, "DoubleSize", s.options.largeButtons);
  writeKey(store, name, "ToolTips", s.options.toolTips);
  writeKey(store, name, "TipsWithKeyMaps", s.options.tipsWithKeys);
  writeKey(store, name, "Wrap", s.options.wrap);
}

std::string toolTipText(std::string_view menuText, std::string_view shortcut, bool withKeys) {
  std::string tip;
  for (char ch : menuText) {
    if (ch == '\t') break;
    if (ch != '&' && ch != '.') tip += ch;
  }
  if (withKeys && !shortcut.empty()) {
    tip += " (";
    tip += shortcut;
    tip += ')';
  }
  return tip;
}

uint32_t displayColour(uint32_t stripColour, const ButtonColours& system) {
  switch (stripColour & 0xFFFFFF) {
    case 0x000000: return system.text;
    case 0x808080: return system.shadow;
    case 0xC0C0C0: return system.face;
    case 0xFFFFFF: return system.highlight;
    default: return stripColour & 0xFFFFFF;
  }
}

}  // namespace osk
