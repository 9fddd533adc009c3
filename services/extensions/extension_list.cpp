#include "services/extensions/extension_list.h"

#include <map>
#include <set>
#include <utility>

#include "services/config/config_writer.h"

namespace osk {
namespace {

constexpr const char* kSection = "Extended";
// The settings path buffer of the system's file functions.
constexpr size_t kPathMax = 260;
// A settings file can hold any number of keys; a list this long is certainly not a real one.
constexpr int32_t kMaxListedLibraries = 1000;

std::string listKey(int32_t n) { return "ExtDLL" + std::to_string(n); }

bool samePath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x == '/') x = '\\';
    if (y == '/') y = '\\';
    if (x != y) return false;
  }
  return true;
}

void forgetNumberInMenu(CMenuItem& parent, const std::set<int32_t>& gone) {
  for (CMenuItem& item : parent.children) {
    if (gone.count(item.command)) item.command = kNoCommandNumber;
    forgetNumberInMenu(item, gone);
  }
}

// Keys and buttons bound to commands that no longer exist are dropped, and menu items keep their place naming
// nothing, as after a renumbering.
void forgetNumbers(CConfiguration& cfg, const std::set<int32_t>& gone) {
  if (gone.empty()) return;
  for (int32_t number : gone) cfg.keyMap.removeCommand(number);
  for (CToolBarObject& bar : cfg.toolBars) {
    for (CToolBarElement* e = bar.elements.head(); e;) {
      CToolBarElement* following = bar.elements.nextOf(e);
      if (gone.count(e->command)) bar.elements.remove(e);
      e = following;
    }
  }
  for (CMenuObject& menu : cfg.menus) forgetNumberInMenu(menu.root, gone);
}

bool tooLargeToSave(const CConfiguration& cfg) {
  std::vector<uint8_t> scratch;
  return serializeConfiguration(cfg, scratch) == ConfigSaveStatus::kTooLarge;
}

const CCommand* findExtensionCommand(const CConfiguration& cfg, const std::string& library, int32_t index) {
  for (const CCommand& c : cfg.commands)
    if ((c.state & kStateExtension) && c.extensionIndex == index && c.extensionLibrary == library) return &c;
  return nullptr;
}

}  // namespace

const CExtensionDLL* CExtensionList::findByShortName(const std::string& shortName) const {
  for (const auto& dll : libraries_)
    if (dll->shortName() == shortName) return dll.get();
  return nullptr;
}

void CExtensionList::loadFromSettings(SettingsStore& settings, const std::string& settingsPath,
                                      const FailureReport& failed) {
  clear();
  for (int32_t n = 0; n < kMaxListedLibraries; ++n) {
    const std::string path = settings.readString(kSection, listKey(n), "", kPathMax);
    if (path.empty()) break;
    std::shared_ptr<CExtensionDLL> dll = CExtensionDLL::load(*loader_, path);
    if (!dll) {
      if (failed) failed(path);
      continue;
    }
    libraries_.push_back(dll);
    dll->loadSettings(settingsPath);
  }
}

void CExtensionList::saveToSettings(SettingsStore& settings, const std::string& settingsPath) const {
  int32_t n = 0;
  for (const auto& dll : std::vector(libraries_)) {
    settings.writeString(kSection, listKey(n++), profileQuoted(dll->path()));
    dll->saveSettings(settingsPath);
  }
  settings.writeString(kSection, listKey(n), "");
}

CExtensionList::AddResult CExtensionList::add(const std::string& path, const std::string& settingsPath) {
  for (const auto& dll : libraries_)
    if (samePath(dll->path(), path)) return AddResult::kAlreadyLoaded;
  std::shared_ptr<CExtensionDLL> dll = CExtensionDLL::load(*loader_, path);
  if (!dll) return AddResult::kFailed;
  // The same file under another name loads as the module already there.
  for (const auto& other : libraries_)
    if (other->module() == dll->module()) return AddResult::kAlreadyLoaded;
  libraries_.push_back(dll);
  dll->loadSettings(settingsPath);
  return AddResult::kAdded;
}

bool CExtensionList::remove(size_t index) {
  if (index >= libraries_.size()) return false;
  libraries_.erase(libraries_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

void CExtensionList::clear() {
  // Freed in reverse load order, the way they came.
  while (!libraries_.empty()) libraries_.pop_back();
}

int32_t CExtensionList::runCommand(const std::string& name, const std::string& parameter) const {
  // A copy: a command may change the list while it runs, and its own library must stay loaded until it returns.
  for (const auto& dll : std::vector(libraries_)) {
    const int32_t ran = dll->runMacro(name, parameter);
    if (ran) return ran;
  }
  return 0;
}

std::vector<CommandProvider> CExtensionList::providers() const {
  std::vector<CommandProvider> all;
  for (const auto& dll : libraries_) {
    std::weak_ptr<CExtensionDLL> weak = dll;
    all.push_back([weak](int32_t index, CommandDetails& out) {
      const std::shared_ptr<CExtensionDLL> live = weak.lock();
      return live && live->macroDetails(index, out);
    });
  }
  return all;
}

void CExtensionList::mergeInto(CConfiguration& cfg) const {
  // Reset, remembering the numbers the extension commands had.
  std::map<std::pair<std::string, int32_t>, uint16_t> previous;
  std::set<int32_t> removed;
  for (CCommand* c = cfg.commands.head(); c;) {
    CCommand* following = cfg.commands.nextOf(c);
    if (c->state & kStateExtension) {
      if (!c->isSeparator()) {
        previous[{c->extensionLibrary, c->extensionIndex}] = c->number;
        removed.insert(c->number);
      }
      cfg.commands.remove(c);
    }
    c = following;
  }
  for (CConfigExtensionDLL* e = cfg.extensions.head(); e;) {
    CConfigExtensionDLL* following = cfg.extensions.nextOf(e);
    if (e->loaded)
      cfg.extensions.remove(e);
    else
      e->notSaved = 1;
    e = following;
  }

  for (const auto& dll : libraries_) {
    const std::string& shortName = dll->shortName();
    CConfigExtensionDLL* entry = nullptr;
    for (CConfigExtensionDLL& e : cfg.extensions) {
      if (e.name == shortName) {
        entry = &e;
        break;
      }
    }
    if (entry) {
      entry->notSaved = 0;
      continue;
    }
    entry = cfg.extensions.append(new CConfigExtensionDLL(shortName));
    entry->loaded = 1;
    if (!cfg.findGroup(kExtensionGroup)) cfg.addGroup(kExtensionGroup, kExtensionGroupName);

    // The condition words come from the library's command details, matched by name.
    std::vector<CommandDetails> details;
    for (int32_t i = 0;; ++i) {
      CommandDetails d;
      if (!dll->macroDetails(i, d)) break;
      details.push_back(std::move(d));
    }

    std::vector<CCommand*> made;
    ExtensionCommandText text;
    for (int32_t index = 0; dll->commandDetails(index, text); ++index) {
      auto* c = new CCommand;
      c->group = kExtensionGroup;
      c->state = kStateExtension;
      c->extensionLibrary = shortName;
      c->extensionIndex = index;
      c->name = text.name;
      c->parameter = text.parameter;
      c->helpText = text.helpText;
      c->menuText = text.menuText;
      if (c->name.empty() && c->menuText.empty()) {
        c->number = kSeparatorNumber;
      } else {
        auto old = previous.find({shortName, index});
        if (old != previous.end() && !cfg.findCommand(old->second)) {
          c->number = old->second;
        } else if (cfg.nextFreeNumber < kSeparatorNumber) {
          c->number = static_cast<uint16_t>(cfg.nextFreeNumber);
        } else {
          delete c;   // no numbers left below the separator's
          break;
        }
        if (c->number >= cfg.nextFreeNumber) cfg.nextFreeNumber = c->number + 1;
        if (c->name.empty()) {
          // Opens a submenu; the image field of such an item holds its special-list options, none here.
          c->state |= kStateTopLevel;
          c->imageIndex = 0;
        } else {
          for (const CommandDetails& d : details) {
            if (d.name != c->name) continue;
            c->conditionWord = d.conditionWord;
            c->enablingTest = d.enablingTest;
            break;
          }
        }
      }
      made.push_back(cfg.appendCommand(c));
    }
    // A configuration file holds at most 61440 bytes. Commands of a library that would not fit any more are left
    // out, so that a library with a great many commands cannot make the configuration unsaveable; they still run
    // from the command list.
    while (!made.empty() && tooLargeToSave(cfg)) {
      cfg.commands.remove(made.back());
      made.pop_back();
    }
  }
  for (const CCommand& c : cfg.commands)
    if (c.state & kStateExtension) removed.erase(c.number);
  forgetNumbers(cfg, removed);
}

void CExtensionList::addMenus(const CConfiguration& cfg, ExtensionMenuSink& sink, void* menu,
                              KeyCharMapper keyChars) const {
  if (!menu) return;
  for (const CConfigExtensionDLL& entry : cfg.extensions) {
    if (!entry.loaded || entry.notSaved) continue;
    const CExtensionDLL* dll = findByShortName(entry.name);
    if (!dll) continue;
    void* stack[kMaxMenuDepth] = {menu};
    int level = 1;
    int32_t command = 0, nesting = 0;
    for (int32_t index = 0; dll->menuDetails(index, command, nesting); ++index) {
      const CCommand* c = findExtensionCommand(cfg, entry.name, command);
      if (!c) break;
      void* current = stack[level - 1];
      if (!c->isTopLevel()) {
        if (c->isSeparator())
          sink.appendSeparator(current);
        else {
          const std::string shortcut = cfg.keyMap.shortcutText(c->number, keyChars);
          sink.appendItem(current, c->number, shortcut.empty() ? c->menuText : c->menuText + "\t" + shortcut);
        }
        if (nesting == 1 && level > 1) --level;
      } else {
        void* popup = sink.appendPopup(current, c->menuText);
        // At the deepest level a submenu's items stay where they are rather than go deeper.
        if (nesting == 2 && popup && level < kMaxMenuDepth) stack[level++] = popup;
      }
    }
  }
}

}  // namespace osk
