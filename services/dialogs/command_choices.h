// The commands a user may pick in the Run Command and Customise dialogs.
//
// Names come from the providers (the frame's built-in commands, then the extension libraries) in the order they
// list them, then from the configuration's own entries that no provider listed; each name appears once and the
// result is sorted without regard to case. A command the configuration holds keeps the configuration's disabled
// state; a provider's enabling test is asked through `disabledByTest`. Nothing here fails: a missing configuration
// or provider contributes no names.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "services/config/configuration.h"

namespace osk {

struct CommandChoice {
  std::string name;
  uint32_t conditionWord = 0;
  std::uintptr_t enablingTest = 0;
  bool takesParameter() const { return (conditionWord & kParameterBit) != 0; }
};

// True when the enabling test at that address reports the command disabled now.
using EnablingProbe = std::function<bool(std::uintptr_t test)>;

// Enabled when every condition bit of the word, the parameter bit aside, is in the mask.
bool conditionsMet(uint32_t conditionWord, uint32_t mask);

std::vector<CommandChoice> allCommands(const CConfiguration* cfg, std::span<const CommandProvider> providers);
// Only those that are enabled under the configuration's condition mask (every bit set without a configuration).
std::vector<CommandChoice> enabledCommands(const CConfiguration* cfg, std::span<const CommandProvider> providers,
                                           const EnablingProbe& disabledByTest);

}  // namespace osk
