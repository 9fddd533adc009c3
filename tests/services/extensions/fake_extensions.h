// Extension libraries without files: a loader that hands out tables of entry points written in the test, each
// library keeping its own record of the calls it got.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "services/extensions/extension_dll.h"

namespace osk::test {

// One fake module: its entry points by name and how often it was loaded and freed.
struct FakeModule {
  std::map<std::string, void*> entries;
  int loads = 0;
  int frees = 0;
};

class FakeLoader : public ExtensionLoader {
 public:
  explicit FakeLoader(std::map<std::string, FakeModule*> files) : files_(std::move(files)) {}
  void* load(const std::string& path) override {
    auto it = files_.find(path);
    if (it == files_.end()) return nullptr;
    ++it->second->loads;
    return it->second;
  }
  void* find(void* module, const char* name) override {
    auto& entries = static_cast<FakeModule*>(module)->entries;
    auto it = entries.find(name);
    return it == entries.end() ? nullptr : it->second;
  }
  void free(void* module) override { ++static_cast<FakeModule*>(module)->frees; }

 private:
  std::map<std::string, FakeModule*> files_;
};

struct FakeCommand {
  const char* name;
  const char* menuText;
  uint32_t conditionWord = 0;
  const char* parameter = "";
};

struct FakeMenuItem {
  int32_t command;
  int32_t nesting;
};

// A well-behaved library. Each instantiation (by Id) is a library of its own with its own commands, menu and
// record of calls.
template <int Id>
struct Library {
  static inline std::vector<FakeCommand> commands;
  static inline std::vector<FakeMenuItem> menu;
  static inline std::vector<std::string> ran;          // "name|parameter" of every EXT_RunMacro call
  static inline std::vector<std::string> settingsLoads, settingsSaves;
  static inline bool answersEverything = false;        // EXT_RunMacro claims names it does not own

  static void reset() {
    commands.clear();
    menu.clear();
    ran.clear();
    settingsLoads.clear();
    settingsSaves.clear();
    answersEverything = false;
  }
  static const char* OSK_CALL description() { return "A test library"; }
  static int32_t OSK_CALL enablingTest() { return 0; }
  static int32_t OSK_CALL loadIni(const char* path) {
    settingsLoads.push_back(path);
    return 1;
  }
  static int32_t OSK_CALL saveIni(const char* path) {
    settingsSaves.push_back(path);
    return 1;
  }
  static int32_t OSK_CALL macroDetails(int32_t index, ExtMacroDetails* record) {
    if (index < 0 || index >= static_cast<int32_t>(commands.size())) return 0;
    std::strncpy(record->name, commands[index].name, sizeof record->name - 1);
    record->conditionWord = commands[index].conditionWord;
    record->enablingTest = &enablingTest;
    return 1;
  }
  static int32_t OSK_CALL commandDetails(int32_t index, ExtCommandDetails* record) {
    if (index < 0 || index >= static_cast<int32_t>(commands.size())) return 0;
    record->name = commands[index].name;
    record->parameter = commands[index].parameter;
    record->helpText = "help";
    record->menuText = commands[index].menuText;
    return 1;
  }
  static int32_t OSK_CALL menuDetails(int32_t index, ExtMenuDetails* record) {
    if (index < 0 || index >= static_cast<int32_t>(menu.size())) return 0;
    record->command = menu[index].command;
    record->nesting = menu[index].nesting;
    return 1;
  }
  static int32_t OSK_CALL isEnabled(const char*) { return 1; }
  static int32_t OSK_CALL run(const char* name, const char* parameter) {
    bool owned = answersEverything;
    for (const FakeCommand& c : commands) owned = owned || std::strcmp(c.name, name) == 0;
    if (!owned || !*name) return 0;
    ran.push_back(std::string(name) + "|" + parameter);
    return Id;
  }

  static FakeModule module() {
    FakeModule m;
    m.entries = {{"EXT_GetDescription", reinterpret_cast<void*>(&description)},
                 {"EXT_LoadINIDetails", reinterpret_cast<void*>(&loadIni)},
                 {"EXT_SaveINIDetails", reinterpret_cast<void*>(&saveIni)},
                 {"EXT_GetMacroDetails", reinterpret_cast<void*>(&macroDetails)},
                 {"EXT_GetCommandDetails", reinterpret_cast<void*>(&commandDetails)},
                 {"EXT_GetMenuDetails", reinterpret_cast<void*>(&menuDetails)},
                 {"EXT_IsMacroEnabled", reinterpret_cast<void*>(&isEnabled)},
                 {"EXT_RunMacro", reinterpret_cast<void*>(&run)}};
    return m;
  }
};

// A broken library: it answers every index for ever, its texts have no terminators, its menu nests deeper and
// deeper, and its command details name nothing it lists.
struct Endless {
  static inline char unterminated[300];   // filled with 'X', no zero anywhere
  static inline int32_t macroCalls = 0;
  static void reset() {
    std::memset(unterminated, 'X', sizeof unterminated);
    macroCalls = 0;
  }
  static const char* OSK_CALL description() { return unterminated; }
  static int32_t OSK_CALL ini(const char*) { return 1; }
  static int32_t OSK_CALL macroDetails(int32_t, ExtMacroDetails* record) {
    ++macroCalls;
    std::memset(record->name, 'Y', sizeof record->name);
    return 1;
  }
  static int32_t OSK_CALL commandDetails(int32_t index, ExtCommandDetails* record) {
    // Command 0 opens submenus; the others are items.
    record->name = index == 0 ? "" : unterminated;
    record->parameter = unterminated;
    record->helpText = unterminated;
    record->menuText = unterminated;
    return 1;
  }
  static int32_t OSK_CALL menuDetails(int32_t, ExtMenuDetails* record) {
    record->command = 0;
    record->nesting = 2;
    return 1;
  }
  static int32_t OSK_CALL isEnabled(const char*) { return 1; }
  static int32_t OSK_CALL run(const char*, const char*) { return 0; }
  static FakeModule module() {
    FakeModule m;
    m.entries = {{"EXT_GetDescription", reinterpret_cast<void*>(&description)},
                 {"EXT_LoadINIDetails", reinterpret_cast<void*>(&ini)},
                 {"EXT_SaveINIDetails", reinterpret_cast<void*>(&ini)},
                 {"EXT_GetMacroDetails", reinterpret_cast<void*>(&macroDetails)},
                 {"EXT_GetCommandDetails", reinterpret_cast<void*>(&commandDetails)},
                 {"EXT_GetMenuDetails", reinterpret_cast<void*>(&menuDetails)},
                 {"EXT_IsMacroEnabled", reinterpret_cast<void*>(&isEnabled)},
                 {"EXT_RunMacro", reinterpret_cast<void*>(&run)}};
    return m;
  }
};

}  // namespace osk::test
