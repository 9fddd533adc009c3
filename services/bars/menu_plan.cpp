#include "services/bars/menu_plan.h"

namespace osk {
namespace {

// Sets or clears `bit` in a command's state; records the change when there is one.
void setState(CCommand& c, uint32_t bit, bool on, std::vector<CommandStateChange>& changes) {
  const uint32_t after = on ? (c.state | bit) : (c.state & ~bit);
  if (after == c.state) return;
  changes.push_back({c.number, c.state, after});
  c.state = after;
}

std::vector<CommandStateChange> recompute(CConfiguration& cfg) {
  std::vector<CommandStateChange> changes;
  for (CCommand& c : cfg.commands) {
    if (c.isSeparator() || c.enablingTest != 0) continue;
    setState(c, kStateDisabled, !conditionHolds(c.conditionWord, cfg.conditionMask), changes);
  }
  return changes;
}

std::vector<CommandStateChange> setByName(CConfiguration& cfg, std::string_view name, uint32_t bit, bool on) {
  std::vector<CommandStateChange> changes;
  for (CCommand& c : cfg.commands)
    if (!c.isSeparator() && c.name == name) setState(c, bit, on, changes);
  return changes;
}

}  // namespace

std::string menuTextOf(const CConfiguration& cfg, const CCommand& command, KeyCharMapper mapper) {
  std::string text = command.menuText;
  const std::string shortcut = cfg.keyMap.shortcutText(command.number, mapper);
  if (!shortcut.empty()) text += "\t" + shortcut;
  return text;
}

std::optional<MenuPlan> planMenu(const CConfiguration& cfg, std::string_view name, KeyCharMapper mapper) {
  const CMenuObject* menu = cfg.findMenu(name);
  if (!menu) return std::nullopt;
  MenuPlan plan;
  // stack[level] is the menu that items at that level go into; -1 where the tree's parent opened no popup.
  int32_t stack[kMenuStackDepth + 1];
  for (int32_t& m : stack) m = -1;
  stack[0] = 0;
  forEachMenuItem(menu->root, [&](const CMenuItem& item, int depth, bool) {
    const int level = depth - 1;
    if (level >= kMenuStackDepth) return;
    // A new item at this level ends whatever popup the previous item at this level opened.
    stack[level + 1] = -1;
    const int32_t into = stack[level];
    if (into < 0) return;
    MenuPlanEntry e;
    e.menu = into;
    e.command = item.command;
    if (item.command == kSeparatorNumber) {
      e.kind = MenuPlanEntry::Kind::kSeparator;
      plan.entries.push_back(std::move(e));
      return;
    }
    const CCommand* c = cfg.findCommand(item.command);
    if (c && !c->isSeparator()) e.text = menuTextOf(cfg, *c, mapper);
    if (c && c->isTopLevel() && level + 1 < kMenuStackDepth) {
      e.kind = MenuPlanEntry::Kind::kPopup;
      e.popup = plan.menuCount++;
      e.specialOptions = c->specialListOptions();
      stack[level + 1] = e.popup;
    }
    plan.entries.push_back(std::move(e));
  });
  for (const CCommand& c : cfg.commands) {
    if (c.isSeparator()) continue;
    if (c.state & kStateDisabled) plan.greyed.push_back(c.number);
    if (c.state & kStateChecked) plan.checked.push_back(c.number);
  }
  return plan;
}

std::vector<CommandStateChange> applyConditionMask(CConfiguration& cfg, uint32_t mask) {
  cfg.conditionMask = mask;
  return recompute(cfg);
}

std::vector<CommandStateChange> changeConditionBits(CConfiguration& cfg, uint32_t bits, uint32_t values) {
  const uint32_t mask = (cfg.conditionMask & ~bits) | (values & bits);
  if (mask == cfg.conditionMask) return {};
  return applyConditionMask(cfg, mask);
}

std::vector<CommandStateChange> applyEnablingTests(CConfiguration& cfg, const EnablingTestRunner& run) {
  std::vector<CommandStateChange> changes;
  if (!run) return changes;
  for (CCommand& c : cfg.commands) {
    if (c.isSeparator() || c.enablingTest == 0) continue;
    const int32_t answer = run(c.enablingTest);
    const size_t first = changes.size();
    setState(c, kStateDisabled, (answer & 1) != 0, changes);
    setState(c, kStateChecked, (answer & 2) != 0, changes);
    // One command, one change record.
    if (changes.size() == first + 2) {
      changes[first].after = changes[first + 1].after;
      changes.pop_back();
    }
  }
  return changes;
}

std::vector<CommandStateChange> setCheckedByName(CConfiguration& cfg, std::string_view name, bool on) {
  return setByName(cfg, name, kStateChecked, on);
}

std::vector<CommandStateChange> setHighlightedByName(CConfiguration& cfg, std::string_view name, bool on) {
  return setByName(cfg, name, kStateHighlighted, on);
}

}  // namespace osk
