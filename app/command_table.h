// The program's built-in commands: 153 records in their fixed enumeration order, with the help topic, the
// condition word that enables each, and whether it takes a parameter; plus the condition bits of the mask.
//
// Names match case-sensitively. The table is constant data; which commands have a handler is the dispatcher's
// business, so a record here says nothing about whether the command can run in this build.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace osk::app {

// The bits of the condition mask, and of a command's condition word.
enum ConditionBit : uint32_t {
  kCondEditorActive = 0x1,           // the active MDI child is a document window with an editor window
  kCondSplit = 0x2,                  // the active document window is split into panes
  kCondAnyModified = 0x4,            // some document window holds unsaved changes
  kCondActiveModified = 0x8,         // the active document holds unsaved changes
  kCondMacroLoaded = 0x10,
  kCondStartupMacro = 0x20,
  kCondClipboardText = 0x80,
  kCondCanRedo = 0x100,
  kCondHasMark = 0x200,
  kCondCanUndo = 0x400,
  kCondWritable = 0x800,             // the active document is not read-only
  kCondNoMacroRunning = 0x1000,      // no keystroke macro is being recorded or played
  kCondEditorNotMinimised = 0x4000,
  kCondOtherChild = 0x8000,          // an editor is active and there is at least one other MDI child
  kCondFileHistory = 0x10000,
  kCondActiveUnmodified = 0x20000,
  kCondActiveNamed = 0x40000,
  kCondSearchText = 0x80000,
  kCondOpenBarLists = 0x100000,      // the Open Bar holds more than one list
  kCondOpenBarSelection = 0x200000,
  kCondPrintPreview = 0x400000,
  kCondAnyChild = 0x800000,
};

// Marks a command that accepts a parameter; never a condition.
inline constexpr uint32_t kTakesParameter = 0x04000000;

struct CommandRecord {
  std::string_view name;
  uint16_t helpContext;
  uint32_t conditionWord;   // kTakesParameter included for commands that accept one
};

inline constexpr int kCommandCount = 153;

std::span<const CommandRecord> commandTable();
// Index of the command with exactly this name, or nothing.
std::optional<int> findCommand(std::string_view name);
// Whether a command with this condition word is enabled under the mask; the parameter bit is ignored.
constexpr bool isEnabled(uint32_t mask, uint32_t conditionWord) {
  const uint32_t needed = conditionWord & ~kTakesParameter;
  return (mask & needed) == needed;
}

// The special list options that a top-level menu item may carry, in the order the configuration dialog lists
// them (message 2125); nothing past the last.
struct MenuListOption {
  std::string_view text;
  uint16_t value;
};
std::optional<MenuListOption> menuListOption(int index);

}  // namespace osk::app
