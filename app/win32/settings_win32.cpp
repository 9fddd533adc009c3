#include "app/win32/settings_win32.h"

#include <windows.h>

#include <memory>

#include "app/win32/shell.h"
#include "engine/lang/colour_api.h"
#include "engine/lang/regex_api.h"

namespace osk::app {
namespace {

std::string windowsDirectory() {
  char directory[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryA(directory, sizeof directory);
  return length > 0 && length < sizeof directory ? std::string(directory, length) : std::string("C:\\Windows");
}

std::unique_ptr<win32::ProfileSettings>& profileSlot() {
  static std::unique_ptr<win32::ProfileSettings> store;
  return store;
}

std::vector<NamedColour> engineColours() {
  std::vector<NamedColour> colours;
  char name[64] = {};
  uint32_t defaultFore, fore, defaultBack, back;
  int32_t useDefault;
  for (uint32_t n = 0; n < 64 && ECD_fbGetNextColour(name, &defaultFore, &fore, &defaultBack, &back, &useDefault);
       ++n) {
    colours.push_back({name, {static_cast<int32_t>(fore), static_cast<int32_t>(back), useDefault}});
  }
  name[0] = 0;
  int32_t flag0, flag1;
  for (uint32_t n = 0; n < 256 && ECD_fbGetNextSyntaxColour(name, &defaultFore, &fore, &defaultBack, &back,
                                                            &useDefault, &flag0, &flag1);
       ++n) {
    colours.push_back({name, {static_cast<int32_t>(fore), static_cast<int32_t>(back), useDefault, flag0, flag1}});
  }
  return colours;
}

}  // namespace

ShellSettings& settings() {
  static ShellSettings values;
  return values;
}

win32::ProfileSettings& settingsFile() {
  auto& slot = profileSlot();
  if (!slot || shell().settingsPath.empty()) slot = std::make_unique<win32::ProfileSettings>(shell().settingsPath);
  return *slot;
}

std::string settingsFilePath(const std::string& option) {
  const std::string name = option.empty() ? std::string("OSK.INI") : option;
  if (name.find(':') == std::string::npos && name.find('\\') == std::string::npos) {
    return windowsDirectory() + "\\" + name;
  }
  return name;
}

void readSettings() {
  profileSlot().reset();
  SettingsEnvironment environment;
  environment.screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  environment.screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  environment.windowsDirectory = windowsDirectory();
  environment.patternCompiles = [](std::string_view pattern) {
    const std::string text(pattern);
    HCOMPILEDRE compiled = CompileRE(text.c_str(), 1);
    DestroyRE(compiled);
    return compiled != nullptr;
  };
  settings() = readShellSettings(settingsFile(), environment);
}

void writeSettings() {
  const std::vector<NamedColour> colours = shell().engineInitialised ? engineColours() : std::vector<NamedColour>{};
  writeShellSettings(settingsFile(), settings(), colours);
}

void applySavedColours() {
  for (const NamedColour& colour : engineColours()) {
    const auto values = readColour(settingsFile(), colour.name, colour.values.size());
    if (!values) continue;
    const auto& v = *values;
    if (v.size() == 3) {
      ECD_fbChangeColour(colour.name.c_str(), static_cast<uint32_t>(v[0]), static_cast<uint32_t>(v[1]), v[2]);
    } else if (v.size() == 5) {
      ECD_fbChangeSyntaxColour(colour.name.c_str(), static_cast<uint32_t>(v[0]), static_cast<uint32_t>(v[1]), v[2],
                               v[3], v[4]);
    }
  }
}

std::string startupMacro() { return settings().startup; }

std::size_t fileHistoryCount() { return settings().history.size(); }

}  // namespace osk::app
