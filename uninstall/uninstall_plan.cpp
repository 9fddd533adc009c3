#include "uninstall/uninstall_plan.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "setup/install_rules.h"

namespace osk::uninstall {

namespace {

char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

bool startsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && sameText(text.substr(0, prefix.size()), prefix);
}

// Length of the root: 3 for "X:\", up to the separator after the share for "\\server\share\"; 0 when neither.
std::size_t rootLength(std::string_view path) {
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
    return 3;
  }
  if (path.starts_with("\\\\")) {
    const std::size_t server = path.find('\\', 2);
    if (server == std::string_view::npos || server == 2) return 0;
    const std::size_t share = path.find('\\', server + 1);
    if (share == server + 1) return 0;
    return share == std::string_view::npos ? path.size() : share + 1;
  }
  return 0;
}

}  // namespace

std::string installDirectoryOfLog(std::string_view logPath) {
  const std::size_t separator = logPath.find_last_of("\\/");
  return separator == std::string_view::npos ? std::string() : std::string(logPath.substr(0, separator));
}

std::string logPathFromCommandLine(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
  return std::string(line.substr(0, setup::kMaxPathText));
}

std::optional<std::string> canonicalPath(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  const std::size_t root = rootLength(text);
  if (root == 0) return std::nullopt;
  while (text.size() > root && text.back() == '\\') text.pop_back();
  std::size_t start = root;
  while (start < text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view step = std::string_view(text).substr(start, end - start);
    if (step.empty() || step == "." || step == ".." || step.find_first_of(":*?\"<>|") != std::string_view::npos ||
        std::any_of(step.begin(), step.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }) ||
        step.back() == '.' || step.back() == ' ') {
      // Windows drops trailing dots and blanks: "dir." would name "dir".
      return std::nullopt;
    }
    start = end + 1;
  }
  return text;
}

bool isBelow(std::string_view path, std::string_view directory) {
  if (directory.empty()) return false;
  const bool rooted = directory.back() == '\\';   // "C:\" already ends in its separator
  const std::size_t length = directory.size() + (rooted ? 0 : 1);
  return path.size() > length && startsWithText(path, directory) && (rooted || path[directory.size()] == '\\');
}

bool mayDeleteFile(std::string_view path, std::string_view installDirectory, std::string_view windowsDirectory) {
  const auto file = canonicalPath(path);
  const auto install = canonicalPath(installDirectory);
  if (!file) return false;
  if (install && isBelow(*file, *install)) return true;
  const auto windows = canonicalPath(windowsDirectory);
  return windows && isBelow(*file, *windows) && file->find('\\', windows->size() + 1) == std::string::npos;
}

bool mayDeleteDirectory(std::string_view path, std::string_view installDirectory, std::string_view windowsDirectory) {
  const auto directory = canonicalPath(path);
  const auto install = canonicalPath(installDirectory);
  if (!directory || !install) return false;
  if (directory->size() <= rootLength(*directory)) return false;
  const auto windows = canonicalPath(windowsDirectory);
  if (windows && (sameText(*directory, *windows) || isBelow(*windows, *directory) || isBelow(*directory, *windows))) {
    return false;
  }
  return sameText(*directory, *install) || isBelow(*directory, *install) || isBelow(*install, *directory);
}

std::optional<std::pair<std::string, std::string>> deletableKey(std::string_view registryPath) {
  const std::size_t separator = registryPath.rfind('\\');
  if (separator == std::string_view::npos || separator + 1 >= registryPath.size()) return std::nullopt;
  if (std::any_of(registryPath.begin(), registryPath.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
    return std::nullopt;
  }
  std::string parent(registryPath.substr(0, separator));
  std::string name(registryPath.substr(separator + 1));
  if (name == "." || name == ".." || parent.find("\\\\") != std::string::npos) return std::nullopt;
  // Root names are matched exactly, as the registry walk that opens the parent does.
  if (!registryPath.starts_with("HKEY_LOCAL_MACHINE\\")) return std::nullopt;
  if (sameText(parent, setup::kUninstallRoot)) return std::pair{parent, name};
  const std::string software = std::string(setup::kSoftwareRoot) + "\\";
  if (!startsWithText(registryPath, software)) return std::nullopt;
  const std::string_view below = registryPath.substr(software.size());
  const std::string_view company = below.substr(0, below.find('\\'));
  static constexpr std::array<std::string_view, 8> systemKeys = {
      "Microsoft", "Classes", "Policies", "Wow6432Node", "Clients", "RegisteredApplications", "Wine", "ODBC"};
  for (std::string_view key : systemKeys) {
    if (sameText(company, key)) return std::nullopt;
  }
  return std::pair{parent, name};
}

std::vector<UninstallStep> planUninstall(const std::vector<setup::LogRecord>& records, std::string_view installDirectory,
                                         std::string_view windowsDirectory) {
  using Kind = UninstallStep::Kind;
  std::vector<UninstallStep> steps;
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    const std::string& argument = it->argument;
    if (it->keyword == setup::kDeleteFile) {
      const bool allowed = mayDeleteFile(argument, installDirectory, windowsDirectory);
      steps.push_back({allowed ? Kind::DeleteFile : Kind::RefusedFile, argument, {}});
    } else if (it->keyword == setup::kDeleteDirectory) {
      const bool allowed = mayDeleteDirectory(argument, installDirectory, windowsDirectory);
      steps.push_back({allowed ? Kind::DeleteDirectory : Kind::RefusedDirectory, argument, {}});
    } else if (it->keyword == setup::kDeleteGroup) {
      if (setup::isGroupName(argument)) steps.push_back({Kind::DeleteGroup, argument, {}});
    } else if (it->keyword == setup::kDeleteItem) {
      std::string group;
      std::string title;
      if (setup::splitItemArgument(argument, group, title) && setup::isGroupName(group) && !title.empty() &&
          title.find_first_of("[]()\"") == std::string::npos) {
        steps.push_back({Kind::DeleteItem, group, title});
      }
    } else if (it->keyword == setup::kDeleteRegistryKey) {
      if (auto key = deletableKey(argument)) steps.push_back({Kind::DeleteKey, key->first, key->second});
    }
  }
  return steps;
}

std::size_t groupItemCount(std::string_view reply) {
  reply = reply.substr(0, reply.find('\0'));
  std::size_t count = 0;
  bool first = true;
  std::size_t start = 0;
  while (start < reply.size()) {
    std::size_t end = reply.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = reply.size();
    if (end > start) {
      if (!first) ++count;
      first = false;
    }
    start = end + 1;
  }
  return count;
}

std::string pathMessage(std::string_view format, std::string_view path) {
  constexpr std::size_t kBuffer = 324;
  const std::size_t marker = format.find("%s");
  if (marker == std::string_view::npos) return std::string(format.substr(0, kBuffer - 1));
  const std::size_t words = format.size() - 2;
  const std::size_t room = words < kBuffer - 1 ? kBuffer - 1 - words : 0;
  std::string text(format.substr(0, marker));
  text += path.substr(0, room);
  text += format.substr(marker + 2);
  return text;
}

std::vector<std::string> helpCompanions(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t separator = path.find_last_of("\\/");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) return {};
  if (!sameText(path.substr(dot), ".hlp")) return {};
  const std::string stem(path.substr(0, dot));
  return {stem + ".gid", stem + ".fts"};
}

}  // namespace osk::uninstall
