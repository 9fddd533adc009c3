// The menu entry points: menus built from the current configuration's plans, and the command states that menus
// and tool buttons show.
#include <windows.h>

#include <vector>

#include "services/bars/menu_plan.h"
#include "services/win32/bars_win32.h"
#include "services/win32/config_win32.h"
#include "services/win32/instance_win32.h"
#include "services/win32/ocs_bars_api.h"

namespace {

using osk::CommandStateChange;
using osk::MenuPlanEntry;

HMENU buildMenu(const char* name, HOCSINSTANCE instance, OcsSpecialList* specialLists, bool popup) {
  if (!instance || !name) return nullptr;
  const osk::CConfiguration* cfg = instance->core.configuration();
  if (!cfg) return nullptr;
  const auto plan = osk::planMenu(*cfg, name, osk::win32::systemKeyChar);
  if (!plan) return nullptr;
  std::vector<HMENU> menus(static_cast<size_t>(plan->menuCount), nullptr);
  menus[0] = popup ? CreatePopupMenu() : CreateMenu();
  if (!menus[0]) return nullptr;
  for (const MenuPlanEntry& e : plan->entries) {
    HMENU into = menus[static_cast<size_t>(e.menu)];
    switch (e.kind) {
      case MenuPlanEntry::Kind::kSeparator:
        AppendMenuA(into, MF_SEPARATOR, 0, nullptr);
        break;
      case MenuPlanEntry::Kind::kItem:
        AppendMenuA(into, MF_STRING, static_cast<UINT_PTR>(e.command), e.text.c_str());
        break;
      case MenuPlanEntry::Kind::kPopup: {
        HMENU sub = CreatePopupMenu();
        if (!sub) break;
        menus[static_cast<size_t>(e.popup)] = sub;
        AppendMenuA(into, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), e.text.c_str());
        if (specialLists && e.specialOptions != 0)
          for (OcsSpecialList* entry = specialLists; entry->bits != 0; ++entry)
            if (osk::specialListTakes(entry->bits, e.specialOptions))
              entry->menu = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(sub));
        break;
      }
    }
  }
  for (int32_t number : plan->greyed) EnableMenuItem(menus[0], static_cast<UINT>(number), MF_BYCOMMAND | MF_GRAYED);
  for (int32_t number : plan->checked) CheckMenuItem(menus[0], static_cast<UINT>(number), MF_BYCOMMAND | MF_CHECKED);
  return menus[0];
}

// Shows changed states in the menu and on the tool buttons.
void showChanges(HOCSINSTANCE instance, HMENU menu, const std::vector<CommandStateChange>& changes) {
  for (const CommandStateChange& c : changes) {
    const UINT id = static_cast<UINT>(c.command);
    if (menu && c.enabledChanged()) EnableMenuItem(menu, id, MF_BYCOMMAND | (c.disabled() ? MF_GRAYED : MF_ENABLED));
    if (menu && c.checkedChanged()) CheckMenuItem(menu, id, MF_BYCOMMAND | (c.checked() ? MF_CHECKED : MF_UNCHECKED));
  }
  if (auto* bars = osk::win32::controlBarsOf(instance)) bars->commandsChanged(changes);
}

osk::CConfiguration* configurationOf(HOCSINSTANCE instance) {
  return instance ? instance->core.configuration() : nullptr;
}

}  // namespace

extern "C" {

OcsMenu OSK_CALL OCS_CreateMenu(const char* name, HOCSINSTANCE instance, OcsSpecialList* specialLists) {
  return buildMenu(name, instance, specialLists, false);
}

OcsMenu OSK_CALL OCS_CreatePopupMenu(const char* name, HOCSINSTANCE instance, OcsSpecialList* specialLists) {
  return buildMenu(name, instance, specialLists, true);
}

void OSK_CALL OCS_EnableMacroCommands(HOCSINSTANCE instance, OcsMenu menu, uint32_t mask) {
  osk::CConfiguration* cfg = configurationOf(instance);
  if (!cfg || !menu) return;
  showChanges(instance, menu, osk::applyConditionMask(*cfg, mask));
}

void OSK_CALL OCS_PartEnableMacroCommands(HOCSINSTANCE instance, OcsMenu menu, uint32_t bits, uint32_t values) {
  osk::CConfiguration* cfg = configurationOf(instance);
  if (!cfg || !menu) return;
  showChanges(instance, menu, osk::changeConditionBits(*cfg, bits, values));
}

void OSK_CALL OCS_ProcessSpecialCommands(HOCSINSTANCE instance, OcsMenu menu) {
  osk::CConfiguration* cfg = configurationOf(instance);
  if (!cfg || !menu) return;
  showChanges(instance, menu, osk::applyEnablingTests(*cfg, [](std::uintptr_t test) {
                using Test = int32_t(OSK_CALL*)(void);
                return reinterpret_cast<Test>(test)();
              }));
}

void OSK_CALL OCS_CheckMacroCommands(HOCSINSTANCE instance, OcsMenu menu, const char* name, int32_t checked) {
  osk::CConfiguration* cfg = configurationOf(instance);
  if (!cfg || !menu || !name) return;
  showChanges(instance, menu, osk::setCheckedByName(*cfg, name, checked != 0));
}

void OSK_CALL OCS_HilightMacroCommands(HOCSINSTANCE instance, const char* name, int32_t on) {
  osk::CConfiguration* cfg = configurationOf(instance);
  if (!cfg || !name) return;
  showChanges(instance, nullptr, osk::setHighlightedByName(*cfg, name, on != 0));
}

}  // extern "C"
