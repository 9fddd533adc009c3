#include "services/dialogs/command_choices.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

namespace osk {

namespace {

// A provider that never says "past the end" must not hang a dialog.
constexpr int32_t kMaxProviderCommands = 65536;

bool lessNoCase(const std::string& a, const std::string& b) {
  std::string x = a, y = b;
  for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : y) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return x != y ? x < y : a < b;
}

}  // namespace

bool conditionsMet(uint32_t conditionWord, uint32_t mask) {
  const uint32_t needed = conditionWord & ~kParameterBit;
  return (mask & needed) == needed;
}

std::vector<CommandChoice> allCommands(const CConfiguration* cfg, std::span<const CommandProvider> providers) {
  std::vector<CommandChoice> out;
  std::unordered_set<std::string> seen;
  for (const CommandProvider& provider : providers) {
    if (!provider) continue;
    for (int32_t index = 0; index < kMaxProviderCommands; ++index) {
      CommandDetails details;
      if (!provider(index, details)) break;
      if (details.name.empty() || !seen.insert(details.name).second) continue;
      out.push_back({details.name, details.conditionWord, details.enablingTest});
    }
  }
  if (cfg) {
    for (const CCommand& c : cfg->commands) {
      if (c.isSeparator() || c.isTopLevel() || c.name.empty() || !seen.insert(c.name).second) continue;
      out.push_back({c.name, c.conditionWord, c.enablingTest});
    }
  }
  std::sort(out.begin(), out.end(), [](const CommandChoice& a, const CommandChoice& b) {
    return lessNoCase(a.name, b.name);
  });
  return out;
}

std::vector<CommandChoice> enabledCommands(const CConfiguration* cfg, std::span<const CommandProvider> providers,
                                           const EnablingProbe& disabledByTest) {
  const uint32_t mask = cfg ? cfg->conditionMask : 0xFFFFFFFFu;
  std::vector<CommandChoice> out;
  for (CommandChoice& choice : allCommands(cfg, providers)) {
    if (!conditionsMet(choice.conditionWord, mask)) continue;
    if (choice.enablingTest && disabledByTest && disabledByTest(choice.enablingTest)) continue;
    bool disabledInMenus = false;
    if (cfg) {
      for (const CCommand& c : cfg->commands)
        if (!c.isSeparator() && c.name == choice.name && (c.state & kStateDisabled)) disabledInMenus = true;
    }
    if (!disabledInMenus) out.push_back(std::move(choice));
  }
  return out;
}

}  // namespace osk
