// The settings of the tool bars in section [Extended] of the settings file, the text of a button's tool tip and
// the colours of the button images on screen.
//
// Global keys: "TBDouble" (large buttons), "TBWrap", "TBTTEnabled" (tool tips), "TBTipsWithKeyMaps". Each bar
// stores its keys under its tool bar's name followed directly by the setting ("Default Tool BarVisible"); a key
// that is missing leaves the bar's current value. The bar named "Print Preview Tool Bar" belongs to the preview
// window, which shows it: it never reads or writes "Visible" and always starts hidden. Values are decimal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "services/settings_store.h"

namespace osk {

inline constexpr std::string_view kToolBarSection = "Extended";
inline constexpr std::string_view kPrintPreviewToolBar = "Print Preview Tool Bar";

// Tool bar properties of OCS_SetToolBarProp and OCS_GetToolBarProp.
enum ToolBarProperty : int32_t {
  kPropLargeButtons = 1,
  kPropWrap = 2,
  kPropToolTips = 3,
  kPropTipsWithKeys = 4,
};

struct ToolBarOptions {
  int32_t largeButtons = 0;
  int32_t wrap = 1;
  int32_t toolTips = 1;
  int32_t tipsWithKeys = 1;

  // 0 for a property that does not exist; setting one answers whether the value changed.
  int32_t get(int32_t property) const;
  bool set(int32_t property, int32_t value);
  static bool isProperty(int32_t property) { return property >= kPropLargeButtons && property <= kPropTipsWithKeys; }
};

struct BarRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const BarRect&) const = default;
};

// Everything a bar keeps in the settings file.
struct ToolBarSettings {
  int32_t seqNo = -1;
  int32_t visible = 1;
  int32_t asPopup = 0;       // floating in a window of its own
  BarRect rect;              // where it floats
  int32_t vertical = 0;
  int32_t botRight = 0;      // docked at the bottom (horizontal) or right (vertical) edge
  ToolBarOptions options;
};

void readGlobalToolBarOptions(SettingsStore& store, ToolBarOptions& options);
void writeGlobalToolBarOptions(SettingsStore& store, const ToolBarOptions& options);
// Reads the keys of bar `name` over the current values in `settings`.
void readToolBarSettings(SettingsStore& store, std::string_view name, ToolBarSettings& settings);
void writeToolBarSettings(SettingsStore& store, std::string_view name, const ToolBarSettings& settings);

// The tip of a button: the menu text without "&" and "." (and without what follows a tab), then " (shortcut)"
// when key names are wanted and the command has one.
std::string toolTipText(std::string_view menuText, std::string_view shortcut, bool withKeys);

// A palette entry of the image strip as it shows on screen: black, dark grey, light grey and white become the
// system's button text, shadow, face and highlight colours (all 0x00RRGGBB); other colours stay.
struct ButtonColours {
  uint32_t text, shadow, face, highlight;
};
uint32_t displayColour(uint32_t stripColour, const ButtonColours& system);

}  // namespace osk
