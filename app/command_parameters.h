// The parameter texts of the commands that take one, taken apart as each command needs.
//
// Limits: a command's parameter is at most 67 characters (commandParameter cuts it). A quote left open is a fault
// that the caller reports; the names before it are kept. An empty or blank parameter means "no parameter" and
// gives nothing, so the caller opens its dialog or beeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk::app {

inline constexpr std::size_t kMaxCommandParameter = 67;

// The parameter as a command receives it: cut to 67 characters.
std::string commandParameter(std::string_view text);

// OpenFile: blank-separated names, each optionally in double or single quotes (to hold blanks).
struct FileNameList {
  std::vector<std::string> names;
  bool complete = true;   // false when a quote was left open; `names` holds those before it
};
FileNameList parseFileNames(std::string_view parameter);

// TrackMenu: the menu name, leading blanks skipped, in double or single quotes or up to the end (trailing blanks
// dropped). Nothing for an empty name or an open quote.
std::optional<std::string> trackMenuName(std::string_view parameter);

// RunApplication: the program (a path in double quotes may hold blanks; the quotes are dropped) and the arguments
// after the first blank behind it. Nothing for an empty parameter or an open quote.
struct ApplicationCommand {
  std::string program;
  std::string arguments;

  bool operator==(const ApplicationCommand&) const = default;
};
std::optional<ApplicationCommand> splitApplicationCommand(std::string_view parameter);

// The help commands: "[help file] number" (HelpContext), "[help file]" (HelpContents), "[help file] keyword"
// (HelpKey, HelpPartialKey). A first word is taken as the help file only when it ends in ".hlp" and something
// follows it (HelpContents: the whole parameter is the file). An empty file means the program's own help file.
// Nothing when the command cannot run: HelpContext without a number (or with more than a file and a number),
// HelpKey without a keyword, an open quote. HelpPartialKey without a keyword gives an empty one (the search).
enum class HelpCommand { Context, Contents, Key, PartialKey };
struct HelpRequest {
  std::string file;
  std::string keyword;   // HelpKey, HelpPartialKey
  uint32_t context = 0;  // HelpContext

  bool operator==(const HelpRequest&) const = default;
};
std::optional<HelpRequest> parseHelpParameter(HelpCommand command, std::string_view parameter);

}  // namespace osk::app
