// The installer's decisions that need no window: texts it shows, program manager commands, the installation
// directory's path steps, progress percentages and the background's colours.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk::setup {

inline constexpr std::size_t kMaxPathText = 260;
inline constexpr const char* kUninstallRoot = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* kSoftwareRoot = "HKEY_LOCAL_MACHINE\\Software";

// Bytes as whole kilobytes with thousands separated by commas, then "  K Bytes": 1536000 -> "1,500  K Bytes".
std::string kilobytesText(std::uint64_t bytes);

// Blue of background band i (0 <= i < 64), from 255 down in steps of about 4.
std::uint8_t bandBlue(int band);

// Whole percentage of position in range, at most 100; 0 for an empty range.
unsigned percentComplete(std::uint64_t position, std::uint64_t range);

// The confirmation page's text, lines ended by CR LF.
std::string confirmationText(std::string_view directory, std::string_view group);

// A program group name that program manager commands carry safely: not empty, at most 260 characters, and without
// control characters or any of [ ] ( ) " , (a comma would also split the log's item records in the wrong place).
bool isGroupName(std::string_view group);

// Program manager commands. Arguments are quoted when they hold a comma or a blank; texts that hold brackets or
// quotes are never passed (isGroupName and the archive's title rule refuse them first).
std::string createGroupCommand(std::string_view group);
std::string showGroupCommand(std::string_view group, unsigned how);
std::string addItemCommand(std::string_view commandLine, std::string_view title);
std::string deleteItemCommand(std::string_view title);
std::string deleteGroupCommand(std::string_view group);

// An item's command line: the quoted full path of the installation directory, a backslash and the file name, then a
// blank and the arguments when the command has any.
std::string programCommandLine(std::string_view installDirectory, std::string_view command);
// The uninstaller's command line: its path, a blank, the installation directory and "\uninstal.dat".
std::string uninstallCommandLine(std::string_view uninstallerPath, std::string_view installDirectory);

// A full installation path split into the directories to check from the root down: "C:\A\B" -> "C:\A", "C:\A\B".
// Accepts "X:\..." and "\\server\share\..."; nullopt for anything else, for a "." or ".." step, an empty step
// (two separators in a row), a step holding a character that file names cannot hold or one of , [ ] (which would
// break the program items' commands), or a path of two characters or fewer. A trailing separator is dropped.
std::optional<std::vector<std::string>> installDirectorySteps(std::string_view fullPath);

// Group names from the program manager's "GROUPS" reply: one per line, lines ended by CR or CR LF; empty lines skipped.
std::vector<std::string> groupNames(std::string_view reply);

}  // namespace osk::setup
