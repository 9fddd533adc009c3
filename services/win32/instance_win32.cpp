// The services instance's entry points: configurations loaded, saved and asked about through the instance.
#include <windows.h>

#include <memory>
#include <new>
#include <vector>

#include "services/ocs_config_api.h"
#include "services/win32/config_win32.h"
#include "services/win32/extensions_api.h"
#include "services/win32/bars_win32.h"
#include "services/win32/instance_win32.h"
#include "services/win32/openbar_host_win32.h"

namespace {

// The frame answers first, then the extension libraries.
std::vector<osk::CommandProvider> providersOf(const osk::CInstance& instance) {
  std::vector<osk::CommandProvider> all;
  all.push_back(osk::win32::frameCommandProvider(reinterpret_cast<HWND>(instance.frame())));
  const auto more = instance.extensionProviders();
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

HWND__* parentOf(HWND__* window) { return reinterpret_cast<HWND__*>(GetParent(reinterpret_cast<HWND>(window))); }

}  // namespace

extern "C" {

HOCSINSTANCE OSK_CALL OCS_CreateInstance(OskWindow frame, const char* settingsPath) {
  try {
    auto instance = std::make_unique<OcsInstance>(reinterpret_cast<HWND>(frame), settingsPath ? settingsPath : "");
    osk::win32::attachControlBars(*instance);
    // The extension list is part of the services' settings: it loads and saves with them.
    OcsInstance* raw = instance.get();
    raw->core.addSettingsHook({[raw](osk::SettingsStore&) { OCS_LoadExtensionSettings(raw); },
                               [raw](osk::SettingsStore&) { OCS_SaveExtensionSettings(raw); }});
    osk::win32::attachOpenBar(*instance);
    return instance.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void OSK_CALL OCS_DestroyInstance(HOCSINSTANCE instance) { delete instance; }

int32_t OSK_CALL OCS_LoadConfiguration(HOCSINSTANCE instance, OskWindow owner, int32_t inWindowsDirectory,
                                       const char* name) {
  if (!instance) return 0;
  try {
    const std::string path = osk::win32::configurationPath(inWindowsDirectory, name);
    if (path.empty()) return 0;
    const auto providers = providersOf(instance->core);
    return instance->core.install(
        osk::win32::loadConfigurationFile(&instance->core, reinterpret_cast<HWND>(owner), path, providers));
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int32_t OSK_CALL OCS_LoadConfigurationResource(HOCSINSTANCE instance, OskWindow owner, void* module, int32_t id) {
  if (!instance) return 0;
  try {
    const auto providers = providersOf(instance->core);
    return instance->core.install(osk::win32::loadConfigurationResource(
        &instance->core, reinterpret_cast<HWND>(owner), static_cast<HMODULE>(module), id, providers));
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

int32_t OSK_CALL OCS_SaveConfiguration(HOCSINSTANCE instance, const char* path) {
  if (!instance || !path || !*path) return 0;
  const osk::CConfiguration* cfg = instance->core.configuration();
  if (!cfg) return 0;
  return osk::win32::saveConfiguration(reinterpret_cast<HWND>(instance->core.frame()), *cfg, path);
}

int32_t OSK_CALL OCS_IsConfigurationFile(const char* path) {
  return path && *path && osk::win32::isConfigurationFile(path);
}

int32_t OSK_CALL OCS_MapKeyDown(HOCSINSTANCE instance, const uint16_t* keyWord, uint16_t context, int32_t* enabled,
                                char* name, char* parameter) {
  if (!instance || !keyWord) return 0;
  const auto bound = instance->core.mapKeyDown(*keyWord, context);
  if (!bound) return 0;
  osk::copyToBuffer(bound->name, name, OCS_COMMAND_NAME_SIZE);
  osk::copyToBuffer(bound->parameter, parameter, OCS_PARAMETER_SIZE);
  if (enabled) *enabled = bound->enabled ? 1 : 0;
  return 1;
}

int32_t OSK_CALL OCS_GetMacroString(HOCSINSTANCE instance, int32_t number, char* name, char* parameter) {
  if (!instance) return 0;
  const osk::CCommand* c = instance->core.command(number);
  if (!c) return 0;
  osk::copyToBuffer(c->name, name, OCS_COMMAND_NAME_SIZE);
  osk::copyToBuffer(c->parameter, parameter, OCS_PARAMETER_SIZE);
  return 1;
}

int32_t OSK_CALL OCS_GetHelpString(HOCSINSTANCE instance, int32_t number, char* helpText) {
  const osk::CCommand* c = instance ? instance->core.command(number) : nullptr;
  osk::copyToBuffer(c ? std::string_view(c->helpText) : std::string_view(), helpText, OCS_HELP_TEXT_SIZE);
  return c != nullptr;
}

int32_t OSK_CALL OCS_GetPositionConstraint(HOCSINSTANCE instance, OskWindow window, char* toolBarName) {
  if (!instance) return 0;
  const osk::PositionConstraint where = instance->core.positionConstraint(window, parentOf);
  if (where.context == osk::kContextMouseToolBar) osk::copyToBuffer(where.toolBarName, toolBarName,
                                                                     OCS_TOOL_BAR_NAME_SIZE);
  return where.context;
}

int32_t OSK_CALL OCS_IsPartOfOpenBar(HOCSINSTANCE instance, OskWindow window) {
  return instance && instance->core.isPartOfOpenBar(window, parentOf);
}

}  // extern "C"
