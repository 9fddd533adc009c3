// What the uninstaller's second pass does with each log record, decided without touching anything: the records are
// turned, last first, into steps, and every path and key is checked against where an installation can have put it.
//
// Confinement: a file is removed only inside the installation directory (the folder that holds the log) or directly
// in the Windows directory; a directory only inside the installation directory, the installation directory itself,
// or one of its ancestors that the installer created on the way (never a drive root, the Windows directory or one of
// its ancestors); a registry key only as a direct child of the system's uninstall key or below
// HKEY_LOCAL_MACHINE\Software\<company> for a company that is not one of the system's own keys. Paths holding "." or
// ".." steps, empty steps, control characters or a root other than "X:\" or "\\server\share\" are refused.
// A refused record is reported like a failed one, so the user sees what was left.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/uninstall_log.h"

namespace osk::uninstall {

struct UninstallStep {
  enum class Kind { DeleteFile, DeleteDirectory, DeleteGroup, DeleteItem, DeleteKey, RefusedFile, RefusedDirectory };
  Kind kind;
  std::string path;    // file or directory; the group for DeleteGroup and DeleteItem; the parent key for DeleteKey
  std::string name;    // the item's title for DeleteItem; the key's name for DeleteKey

  bool operator==(const UninstallStep&) const = default;
};

// The directory a log's path names as the installation directory: everything before its last separator.
std::string installDirectoryOfLog(std::string_view logPath);

// The log path from the uninstaller's command line: blanks around it and one pair of enclosing quotes dropped.
std::string logPathFromCommandLine(std::string_view commandLine);

// A path in one canonical spelling (backslashes, no trailing separator), or nullopt when it is not a plain absolute
// path.
std::optional<std::string> canonicalPath(std::string_view path);

// True when path lies below (not at) directory; both canonical; case does not matter.
bool isBelow(std::string_view path, std::string_view directory);

bool mayDeleteFile(std::string_view path, std::string_view installDirectory, std::string_view windowsDirectory);
bool mayDeleteDirectory(std::string_view path, std::string_view installDirectory, std::string_view windowsDirectory);
// A DELRKY argument split at its last backslash; nullopt when it is not a key the installer may have made.
std::optional<std::pair<std::string, std::string>> deletableKey(std::string_view registryPath);

// The steps of the second pass in playback order (last record first). Unknown keywords, PDNAME and CPDISP give none.
std::vector<UninstallStep> planUninstall(const std::vector<setup::LogRecord>& records, std::string_view installDirectory,
                                         std::string_view windowsDirectory);

// Items that the program manager's reply about one group lists: its non-empty lines after the first.
std::size_t groupItemCount(std::string_view reply);

// Message text with one path, cut to fit the 324-byte buffer that carries it (the path is cut, never the words).
std::string pathMessage(std::string_view format, std::string_view path);

// For a removed help file: the same path with ".gid" and ".fts"; empty when the extension is not ".hlp".
std::vector<std::string> helpCompanions(std::string_view path);

}  // namespace osk::uninstall
