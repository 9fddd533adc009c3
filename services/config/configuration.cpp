#include "services/config/configuration.h"

#include <unordered_map>

namespace osk {
namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

void visit(const CMenuItem& parent, int depth, const std::function<void(const CMenuItem&, int, bool)>& f) {
  for (const CMenuItem& item : parent.children) {
    f(item, depth, parent.children.nextOf(&item) == nullptr);
    visit(item, depth + 1, f);
  }
}

void rewriteMenu(CMenuItem& parent, const std::unordered_map<int32_t, int32_t>& renumbered) {
  for (CMenuItem& item : parent.children) {
    if (item.command != kSeparatorNumber) {
      auto it = renumbered.find(item.command);
      item.command = it == renumbered.end() ? kNoCommandNumber : it->second;
    }
    rewriteMenu(item, renumbered);
  }
}

}  // namespace

void forEachMenuItem(const CMenuItem& root, const std::function<void(const CMenuItem&, int, bool)>& f) {
  visit(root, 1, f);
}

CItemGroup* CConfiguration::addGroup(int32_t id, std::string name) {
  CItemGroup* g = groups.append(new CItemGroup(id, std::move(name)));
  auto* separator = new CCommand;
  separator->group = id;
  separator->number = kSeparatorNumber;
  commands.append(separator);
  return g;
}

CItemGroup* CConfiguration::findGroup(int32_t id) const {
  for (CItemGroup& g : groups)
    if (g.id == id) return &g;
  return nullptr;
}

CCommand* CConfiguration::findCommand(int32_t number) const {
  for (CCommand& c : commands)
    if (c.number == number) return &c;
  return nullptr;
}

CCommand* CConfiguration::appendCommand(CCommand* command) { return commands.append(command); }

CMenuObject* CConfiguration::findMenu(std::string_view name) const {
  for (CMenuObject& m : menus)
    if (equalsNoCase(m.name, name)) return &m;
  return nullptr;
}

CToolBarObject* CConfiguration::findToolBar(std::string_view name) const {
  for (CToolBarObject& t : toolBars)
    if (t.name == name) return &t;
  return nullptr;
}

bool CConfiguration::addKeyMapping(uint16_t word, uint16_t context, int32_t menuString, int32_t command) {
  // A separator entry carries no command string, so binding a key to it binds nothing.
  if (command == kSeparatorNumber || !findCommand(command)) return false;
  keyMap.set(word, context, menuString, command);
  return true;
}

std::optional<BoundCommand> CConfiguration::mapKey(uint16_t word, uint16_t context) const {
  const CKeyMap* m = keyMap.find(word, context, true);
  if (!m || m->command == kSeparatorNumber) return std::nullopt;
  const CCommand* c = findCommand(m->command);
  if (!c) return std::nullopt;
  return BoundCommand{c->name, c->parameter, (c->state & kStateDisabled) == 0};
}

void CConfiguration::renumber() {
  // The old numbers are all collected before any reference is rewritten, so a reference can never be caught by a
  // number that another command has only just been given.
  std::unordered_map<int32_t, int32_t> renumbered;
  int32_t next = 1;
  for (CCommand& c : commands) {
    if (c.isSeparator()) continue;
    c.spareNumber = c.number;
    renumbered.emplace(c.number, next);
    c.number = static_cast<uint16_t>(next++);
  }
  for (CMenuObject& m : menus) rewriteMenu(m.root, renumbered);
  for (CToolBarObject& t : toolBars) {
    for (CToolBarElement* e = t.elements.head(); e;) {
      CToolBarElement* following = t.elements.nextOf(e);
      if (e->command != kSeparatorNumber) {
        auto it = renumbered.find(e->command);
        if (it == renumbered.end())
          t.elements.remove(e);
        else
          e->command = it->second;
      }
      e = following;
    }
  }
  for (int b = 0; b < kKeyMapBuckets; ++b) {
    CList<CKeyMap>& list = keyMap.bucket(b);
    for (CKeyMap* m = list.head(); m;) {
      CKeyMap* following = list.nextOf(m);
      auto it = renumbered.find(m->command);
      if (it == renumbered.end() || m->command == kSeparatorNumber)
        list.remove(m);
      else
        m->command = it->second;
      m = following;
    }
  }
  nextFreeNumber = next;
}

int32_t CConfiguration::resolveNames(std::span<const CommandProvider> providers) {
  for (CCommand& c : commands) c.state &= ~kStateResolved;
  // A provider that never says "past the end" must not hang the load.
  constexpr int32_t kMaxProviderCommands = 65536;
  CommandDetails details;
  for (const CommandProvider& provider : providers) {
    if (!provider) continue;
    for (int32_t index = 0; index < kMaxProviderCommands; ++index) {
      details = CommandDetails{};
      if (!provider(index, details)) break;
      if (details.name.empty()) continue;
      for (CCommand& c : commands) {
        if (c.name.empty() || c.name != details.name) continue;
        c.conditionWord = details.conditionWord;
        c.enablingTest = details.enablingTest;
        c.state |= kStateResolved;
      }
    }
  }
  int32_t unresolved = 0;
  for (const CCommand& c : commands)
    if (!c.name.empty() && !(c.state & kStateResolved)) ++unresolved;
  return unresolved;
}

int32_t CConfiguration::commandCount() const {
  int32_t n = 0;
  for (const CCommand& c : commands)
    if (!c.isSeparator()) ++n;
  return n;
}

}  // namespace osk
