// Menus built from a configuration: the plan of AppendMenu calls that makes a named menu, and the command states
// (greyed, checked, highlighted) that menus and tool buttons show.
//
// A plan is a flat list of entries in the order the menu system must receive them. Menu 0 is the menu asked for;
// every popup entry opens the next menu number, and its items follow it. The deepest nesting a configuration can
// hold is 16 levels; an item that would open a popup deeper than that is appended as a plain item instead. Items
// below a tree node whose command is not a top-level item have no popup to go into and are left out, never put
// into a menu they do not belong to. A menu item whose number names no command is kept, with an empty text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/config/configuration.h"
#include "services/config/key_map.h"

namespace osk {

inline constexpr int kMenuStackDepth = 16;

struct MenuPlanEntry {
  enum class Kind { kItem, kSeparator, kPopup };
  Kind kind = Kind::kItem;
  int32_t menu = 0;        // the menu the entry is appended to
  int32_t popup = -1;      // kPopup: the number of the menu it opens
  int32_t command = 0;     // the item identifier (the command number)
  std::string text;        // menu text, then a tab and the shortcut when the command has one
  int32_t specialOptions = 0;   // kPopup: the special-list option bits of its command
};

struct MenuPlan {
  int32_t menuCount = 1;   // menu 0 and every popup
  std::vector<MenuPlanEntry> entries;
  // After the walk, by command number: the commands to grey and to check in the new menu.
  std::vector<int32_t> greyed;
  std::vector<int32_t> checked;
};

// The plan for the menu named `name` (compared without regard to case); nothing when there is no such menu.
std::optional<MenuPlan> planMenu(const CConfiguration& cfg, std::string_view name,
                                 KeyCharMapper mapper = usKeyboardChar);

// The text of a command in menus: its menu text, and a tab and its shortcut when a mapping flagged for menus has a
// key name.
std::string menuTextOf(const CConfiguration& cfg, const CCommand& command, KeyCharMapper mapper = usKeyboardChar);

// Whether a special-list table entry with bits `entryBits` receives a popup whose options are `options`: every
// option bit must be among the entry's.
inline bool specialListTakes(int32_t entryBits, int32_t options) {
  return options != 0 && (entryBits & options) == options;
}

// One command whose state bits changed.
struct CommandStateChange {
  int32_t command;
  uint32_t before;
  uint32_t after;
  bool enabledChanged() const { return ((before ^ after) & kStateDisabled) != 0; }
  bool checkedChanged() const { return ((before ^ after) & kStateChecked) != 0; }
  bool highlightChanged() const { return ((before ^ after) & kStateHighlighted) != 0; }
  bool disabled() const { return (after & kStateDisabled) != 0; }
  bool checked() const { return (after & kStateChecked) != 0; }
  bool highlighted() const { return (after & kStateHighlighted) != 0; }
};

// Whether a condition word is satisfied by a mask; the parameter mark (bit 26) is not a condition.
inline bool conditionHolds(uint32_t conditionWord, uint32_t mask) {
  const uint32_t required = conditionWord & ~kParameterBit;
  return (mask & required) == required;
}

// Stores the mask and recomputes the enabled state of every command without an enabling test; the commands whose
// state changed, in list order.
std::vector<CommandStateChange> applyConditionMask(CConfiguration& cfg, uint32_t mask);
// (old AND NOT bits) OR (values AND bits); nothing is recomputed when the mask stays the same.
std::vector<CommandStateChange> changeConditionBits(CConfiguration& cfg, uint32_t bits, uint32_t values);

// The answer of a command's enabling test: bit 0 disabled, bit 1 checked.
using EnablingTestRunner = std::function<int32_t(std::uintptr_t test)>;
// Asks every command that has an enabling test and applies its answer.
std::vector<CommandStateChange> applyEnablingTests(CConfiguration& cfg, const EnablingTestRunner& run);

// Every command with exactly that name (case-sensitive) takes the checked or highlighted state.
std::vector<CommandStateChange> setCheckedByName(CConfiguration& cfg, std::string_view name, bool on);
std::vector<CommandStateChange> setHighlightedByName(CConfiguration& cfg, std::string_view name, bool on);

}  // namespace osk
