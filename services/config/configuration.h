// CConfiguration: one whole command surface of the editor (item groups, commands, menus, key map, tool bars,
// button images and the extension libraries it needs), as read from and written to an "OCFG" file.
//
// Every collection is an owning CListBase. Command numbers identify entries inside one configuration; 0xF000 is
// every group's separator entry, 0 and 0xFFFF never name a command. After loading, commands are numbered 1..N in
// list order and menus, tool bars and key mappings follow; a reference whose command is gone names nothing
// afterwards (menu items keep their place with number 0xFFFF, key mappings and tool bar buttons are dropped), never
// another command. Lookups of numbers or names that do not exist answer null.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "services/config/key_map.h"
#include "services/config/list_base.h"
#include "services/config/tool_bar_bitmaps.h"

struct HWND__;

namespace osk {

inline constexpr uint16_t kSeparatorNumber = 0xF000;
inline constexpr uint16_t kNoCommandNumber = 0xFFFF;
inline constexpr uint32_t kParameterBit = 0x04000000;

// Field limits, in characters.
inline constexpr size_t kGroupNameMax = 33;
inline constexpr size_t kCommandNameMax = 32;
inline constexpr size_t kParameterMax = 64;
inline constexpr size_t kHelpTextMax = 64;
inline constexpr size_t kMenuTextMax = 32;
inline constexpr size_t kMenuNameMax = 32;
inline constexpr size_t kToolBarNameMax = 32;
inline constexpr size_t kExtensionNameMax = 16;
// Deepest nesting a file can hold: the menu's root and 15 levels of submenus.
inline constexpr int kMaxMenuDepth = 16;

enum CommandStateBits : uint32_t {
  kStateTopLevel = 0x1,
  kStateDisabled = 0x2,
  kStateChecked = 0x4,
  kStateHighlighted = 0x8,
  kStateExtension = 0x10,   // added from an extension library at run time; never read from a file
  kStateResolved = 0x20,
};

// Special-list options of a top-level item.
enum SpecialListBits : int32_t {
  kListOpenWindows = 1,
  kListMacroFiles = 2,
  kListRecentFiles = 4,
  kListExtensionCommands = 8,
};

class CItemGroup : public CListElement {
 public:
  CItemGroup(int32_t id, std::string name) : id(id), name(std::move(name)) {}
  int32_t id;
  std::string name;
};

class CCommand : public CListElement {
 public:
  bool isSeparator() const { return number == kSeparatorNumber; }
  bool isTopLevel() const { return (state & kStateTopLevel) != 0; }
  // The special-list options of a top-level item share the image index field.
  int32_t specialListOptions() const { return isTopLevel() ? imageIndex : 0; }

  int32_t group = 0;
  uint16_t number = 0;
  uint16_t spareNumber = 0;       // used while renumbering
  std::uintptr_t enablingTest = 0;  // provider function reporting enabled and checked state; 0: none
  uint32_t conditionWord = 0;
  std::string name;
  std::string parameter;
  std::string helpText;
  std::string menuText;
  int32_t imageIndex = -1;
  int32_t menuRunState = 0xFFFF;
  int32_t buttonRunState = 0;
  uint32_t state = 0;
  // For an extension command: the short name of its library's entry in the extension list and the command's own
  // index within the library. The name, not a place in the list, so that it cannot point at another entry once
  // entries come and go.
  std::string extensionLibrary;
  int32_t extensionIndex = -1;
};

class CMenuItem : public CListElement {
 public:
  explicit CMenuItem(int32_t command = 0) : command(command) {}
  int32_t command;
  CList<CMenuItem> children;
};

class CMenuObject : public CListElement {
 public:
  explicit CMenuObject(std::string name) : name(std::move(name)) {}
  std::string name;
  CMenuItem root;
};

// Visits every item below `root` depth first; `f(item, depth, isLastOfParent)` with depth 1 for the root's items.
void forEachMenuItem(const CMenuItem& root, const std::function<void(const CMenuItem&, int, bool)>& f);

class CToolBarElement : public CListElement {
 public:
  explicit CToolBarElement(int32_t command) : command(command) {}
  int32_t command;   // 0xF000: a separator
};

class CToolBarObject : public CListElement {
 public:
  explicit CToolBarObject(std::string name) : name(std::move(name)) {}
  std::string name;
  CList<CToolBarElement> elements;
};

class CConfigExtensionDLL : public CListElement {
 public:
  explicit CConfigExtensionDLL(std::string name) : name(std::move(name)) {}
  std::string name;
  int32_t loaded = 0;     // non-zero: added at run time for a library the configuration did not list
  int32_t notSaved = 0;   // non-zero keeps the entry out of a saved file: its library is not installed
};

// What a provider of commands (the frame, an extension library) reports about command `index`.
struct CommandDetails {
  std::string name;
  uint32_t conditionWord = 0;
  std::uintptr_t enablingTest = 0;
};
// Fills `out` for index 0, 1, 2 ...; false past the provider's last command.
using CommandProvider = std::function<bool(int32_t index, CommandDetails& out)>;

// A command string bound to an event.
struct BoundCommand {
  std::string name;
  std::string parameter;
  bool enabled = true;
};

class CConfiguration {
 public:
  explicit CConfiguration(void* instance = nullptr, HWND__* owner = nullptr) : instance(instance), owner(owner) {}
  CConfiguration(const CConfiguration&) = delete;
  CConfiguration& operator=(const CConfiguration&) = delete;

  // Creates a group and the group's own separator entry.
  CItemGroup* addGroup(int32_t id, std::string name);
  CItemGroup* findGroup(int32_t id) const;
  // The first command entry with that number, separators included.
  CCommand* findCommand(int32_t number) const;
  CCommand* appendCommand(CCommand* command);
  // Compared without regard to ASCII case.
  CMenuObject* findMenu(std::string_view name) const;
  CToolBarObject* findToolBar(std::string_view name) const;

  // Adds or replaces a mapping; false (nothing changed) when the number names no command.
  bool addKeyMapping(uint16_t word, uint16_t context, int32_t menuString, int32_t command);
  std::optional<BoundCommand> mapKey(uint16_t word, uint16_t context) const;

  // Gives every non-separator entry the numbers 1, 2, 3 ... in list order and rewrites every reference.
  void renumber();
  // Takes condition words and enabling tests from the providers, in order; the count of named entries that no
  // provider knows.
  int32_t resolveNames(std::span<const CommandProvider> providers);
  // Number of command entries that are not separators.
  int32_t commandCount() const;
  int32_t imageCount() const { return bitmaps.imageCount(); }

  void* instance;
  CList<CItemGroup> groups;
  CList<CCommand> commands;
  CToolBarBitmaps bitmaps;
  int32_t nextFreeNumber = 1;
  uint32_t conditionMask = 0xFFFFFFFFu;
  CList<CMenuObject> menus;
  CList<CToolBarObject> toolBars;
  CKeyMapTable keyMap;
  CList<CConfigExtensionDLL> extensions;
  HWND__* owner;
};

}  // namespace osk
