#include "services/dialogs/customise.h"

#include <algorithm>
#include <cctype>

namespace osk {

namespace {

bool isMouseCode(int code) { return code >= kMouseLeftDown && code <= kMouseMiddleDoubleClick; }

std::string lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

const EventContextInfo* contextInfo(uint16_t value) {
  for (const EventContextInfo& info : eventContexts())
    if (info.value == value) return &info;
  return nullptr;
}

}  // namespace

std::vector<KeyMapRow> keyMapRows(const CConfiguration& cfg, KeyCharMapper mapper) {
  std::vector<KeyMapRow> rows;
  for (const EventContextInfo& info : eventContexts()) {
    cfg.keyMap.forEach([&](const CKeyMap& m) {
      if (m.context != info.value) return;
      const CCommand* c = cfg.findCommand(m.command);
      if (!c || c->isSeparator()) return;
      KeyMapRow row;
      row.context = m.context;
      row.keyWord = static_cast<uint16_t>(m.keyWord & kKeyWordMask);
      row.key = formatKeyName(m.keyWord, mapper).value_or("Key " + std::to_string(keyCodeOf(m.keyWord)));
      row.command = c->parameter.empty() ? c->name : c->name + " " + c->parameter;
      row.menuString = m.menuString != 0;
      row.helpText = c->helpText;
      rows.push_back(std::move(row));
    });
  }
  return rows;
}

std::string bindMessage(BindResult result) {
  switch (result) {
    case BindResult::kBound: return {};
    case BindResult::kNeedsOverwrite:
      return "This key is currently mapped to a different item. Overwrite this mapping?";
    case BindResult::kKeyNotBindable:
      return "This key cannot be mapped with these modifiers. Letters, digits and most keys need Ctrl or Alt.";
    case BindResult::kWrongContext:
      return "This event cannot happen in the chosen constraint: mouse events need a \"Mouse Over\" constraint "
             "and keys a \"Focus on\" constraint (\"None\" and \"Print Preview\" take both).";
    case BindResult::kUnknownCommand: return "Choose a command from the list.";
    case BindResult::kTextTooLong: return "The parameter may be at most 64 characters long.";
    case BindResult::kNoRoom: return "The configuration has no room for another command.";
  }
  return {};
}

std::optional<BoundCommand> CustomiseModel::boundTo(uint16_t word, uint16_t context) const {
  const CKeyMap* m = cfg_.keyMap.find(word, context, false);
  if (!m) return std::nullopt;
  const CCommand* c = cfg_.findCommand(m->command);
  if (!c || c->isSeparator()) return std::nullopt;
  return BoundCommand{c->name, c->parameter, (c->state & kStateDisabled) == 0};
}

CCommand* CustomiseModel::entryFor(const std::string& name, const std::string& parameter, BindResult& why) {
  if (name.empty()) {
    why = BindResult::kUnknownCommand;
    return nullptr;
  }
  if (name.size() > kCommandNameMax || parameter.size() > kParameterMax) {
    why = BindResult::kTextTooLong;
    return nullptr;
  }
  const CCommand* sameName = nullptr;
  for (CCommand& c : cfg_.commands) {
    if (c.isSeparator() || c.isTopLevel() || c.name != name) continue;
    if (c.parameter == parameter) return &c;
    if (!sameName) sameName = &c;
  }
  CommandDetails details;
  bool known = sameName != nullptr;
  if (sameName) {
    details.conditionWord = sameName->conditionWord;
    details.enablingTest = sameName->enablingTest;
  }
  for (const CommandProvider& provider : providers_) {
    if (known || !provider) break;
    for (int32_t index = 0; index < 65536; ++index) {
      CommandDetails d;
      if (!provider(index, d)) break;
      if (d.name == name) {
        details = d;
        known = true;
        break;
      }
    }
  }
  if (!known) {
    why = BindResult::kUnknownCommand;
    return nullptr;
  }
  const CItemGroup* group = sameName ? cfg_.findGroup(sameName->group) : cfg_.groups.head();
  int32_t number = cfg_.nextFreeNumber;
  while (number < kSeparatorNumber && cfg_.findCommand(number)) ++number;
  if (!group || number >= kSeparatorNumber) {
    why = BindResult::kNoRoom;
    return nullptr;
  }
  auto* c = new CCommand;
  c->group = group->id;
  c->number = static_cast<uint16_t>(number);
  c->conditionWord = details.conditionWord;
  c->enablingTest = details.enablingTest;
  c->name = name;
  c->parameter = parameter;
  if (sameName) c->helpText = sameName->helpText;
  cfg_.nextFreeNumber = number + 1;
  return cfg_.appendCommand(c);
}

BindResult CustomiseModel::bind(uint16_t word, uint16_t context, const std::string& name,
                                const std::string& parameter, bool menuString, bool overwrite) {
  const EventContextInfo* where = contextInfo(context);
  if (!where) return BindResult::kWrongContext;
  if (!formatKeyName(word, mapper_)) return BindResult::kKeyNotBindable;
  if (isMouseCode(keyCodeOf(word)) ? !where->mouse : !where->keys) return BindResult::kWrongContext;
  if (const auto current = boundTo(word, context);
      current && !overwrite && (current->name != name || current->parameter != parameter))
    return BindResult::kNeedsOverwrite;
  BindResult why = BindResult::kBound;
  const CCommand* entry = entryFor(name, parameter, why);
  if (!entry) return why;
  cfg_.addKeyMapping(word, context, menuString ? 1 : 0, entry->number);
  changed_ = true;
  return BindResult::kBound;
}

bool CustomiseModel::unbind(uint16_t word, uint16_t context) {
  if (!cfg_.keyMap.remove(word, context)) return false;
  changed_ = true;
  return true;
}

std::vector<std::string> configurationChoices(std::vector<std::string> fileNames) {
  std::sort(fileNames.begin(), fileNames.end(), [](const std::string& a, const std::string& b) {
    const std::string x = lowered(a), y = lowered(b);
    return x != y ? x < y : a < b;
  });
  fileNames.insert(fileNames.begin(), kDefaultConfigurationName);
  return fileNames;
}

std::optional<std::string> configurationSaveName(std::string_view typed, std::string& problem) {
  while (!typed.empty() && typed.front() == ' ') typed.remove_prefix(1);
  while (!typed.empty() && typed.back() == ' ') typed.remove_suffix(1);
  std::string name(typed);
  if (name.empty()) {
    problem = "Enter a name for the configuration file.";
    return std::nullopt;
  }
  if (name == kDefaultConfigurationName) {
    problem = "The default configuration cannot be replaced; save under another name.";
    return std::nullopt;
  }
  for (unsigned char c : name) {
    if (c < 32 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      problem = "Enter a file name without a folder and without any of the characters \\ / : * ? \" < > |";
      return std::nullopt;
    }
  }
  if (name.find('.') == std::string::npos) name += ".cfg";
  if (name.back() == '.' || name.size() > 255) {
    problem = "Enter a valid file name.";
    return std::nullopt;
  }
  return name;
}

}  // namespace osk
