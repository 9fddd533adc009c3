// CustomiseModel: what the Customise dialog does to a configuration: list the key and mouse mappings by event
// context, bind an event in a context to a command string, unbind it, and the rules for configuration files in
// the configuration folder.
//
// A command string is a name and a parameter. Binding one that the configuration has no entry for adds an entry
// (in the group of another entry with that name, else the first group, with that entry's condition word or the
// provider's), so a binding always names a command of this configuration and survives a save and a reload. A
// binding is refused, with the reason, for a key that cannot be bound with those modifiers, a mouse event in a
// key-only context (and the reverse), a name no provider or entry knows, or texts longer than their fields. A
// binding that would replace another command's mapping is only made when the caller says to overwrite.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "services/config/configuration.h"

namespace osk {

inline constexpr const char* kDefaultConfigurationName = "-- Default --";

struct KeyMapRow {
  uint16_t context = 0;
  uint16_t keyWord = 0;
  std::string key;        // the key's name ("Ctrl+Q", "Left Mouse Down")
  std::string command;    // the name, a blank and the parameter when there is one
  bool menuString = false;
  std::string helpText;
};

// Every mapping that names a command, by context in the order the dialogs list contexts, each context's mappings
// in table order. A key without a name shows as "Key <code>".
std::vector<KeyMapRow> keyMapRows(const CConfiguration& cfg, KeyCharMapper mapper = usKeyboardChar);

enum class BindResult {
  kBound,
  kNeedsOverwrite,     // mapped to a different command: ask, then bind again with overwrite
  kKeyNotBindable,
  kWrongContext,       // a mouse event where only keys happen, or a key where only the mouse does
  kUnknownCommand,
  kTextTooLong,
  kNoRoom,             // no group to hold a new entry, or the command numbers are used up
};
// The message the dialog shows for a refusal; empty for kBound.
std::string bindMessage(BindResult result);

class CustomiseModel {
 public:
  CustomiseModel(CConfiguration& cfg, std::vector<CommandProvider> providers, KeyCharMapper mapper = usKeyboardChar)
      : cfg_(cfg), providers_(std::move(providers)), mapper_(mapper) {}

  // The command string bound exactly to (word, context), without the fallbacks of key lookup.
  std::optional<BoundCommand> boundTo(uint16_t word, uint16_t context) const;
  BindResult bind(uint16_t word, uint16_t context, const std::string& name, const std::string& parameter,
                  bool menuString, bool overwrite);
  // False when nothing was bound there.
  bool unbind(uint16_t word, uint16_t context);
  bool changed() const { return changed_; }
  void markSaved() { changed_ = false; }

 private:
  // The entry for a command string, made when missing; null when it cannot be.
  CCommand* entryFor(const std::string& name, const std::string& parameter, BindResult& why);

  CConfiguration& cfg_;
  std::vector<CommandProvider> providers_;
  KeyCharMapper mapper_;
  bool changed_ = false;
};

// The choices of the configuration list: "-- Default --", then the names given (the "*.cfg" files of the folder)
// sorted without regard to case.
std::vector<std::string> configurationChoices(std::vector<std::string> fileNames);

// A name the user typed for saving, made a file name in the configuration folder: blanks around it removed and
// ".cfg" added when it has no extension. Nothing, with `problem` set, for an empty name, a path, a character
// file names cannot hold, or the default configuration's own label.
std::optional<std::string> configurationSaveName(std::string_view typed, std::string& problem);

}  // namespace osk
