#include "setup/install_rules.h"

#include <algorithm>
#include <cctype>

#include "setup/uninstall_log.h"

namespace osk::setup {

namespace {

std::string argument(std::string_view text) {
  if (text.find_first_of(", ") == std::string_view::npos) return std::string(text);
  return '"' + std::string(text) + '"';
}

}  // namespace

std::string kilobytesText(std::uint64_t bytes) {
  const std::string digits = std::to_string(bytes / 1024);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text + "  K Bytes";
}

std::uint8_t bandBlue(int band) {
  return static_cast<std::uint8_t>((-255 * band) / 64 - 1);
}

unsigned percentComplete(std::uint64_t position, std::uint64_t range) {
  if (range == 0) return 0;
  return static_cast<unsigned>(std::min<std::uint64_t>(100, position * 100 / range));
}

std::string confirmationText(std::string_view directory, std::string_view group) {
  std::string text = "Install directory:\r\n    ";
  text += directory;
  text += "\r\n\r\nProgram Group:\r\n    ";
  text += group;
  return text;
}

bool isGroupName(std::string_view group) {
  if (group.empty() || group.size() > kMaxPathText) return false;
  if (group.front() == ' ' || group.back() == ' ') return false;
  return std::none_of(group.begin(), group.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::string_view("[]()\",").find(c) != std::string_view::npos;
  });
}

std::string createGroupCommand(std::string_view group) { return "[CreateGroup(" + argument(group) + ")]"; }

std::string showGroupCommand(std::string_view group, unsigned how) {
  return "[ShowGroup(" + argument(group) + "," + std::to_string(how) + ")]";
}

std::string addItemCommand(std::string_view commandLine, std::string_view title) {
  // The command line carries its own quotes around the program's path.
  return "[AddItem(" + std::string(commandLine) + "," + argument(title) + ")]";
}

std::string deleteItemCommand(std::string_view title) { return "[DeleteItem(" + argument(title) + ")]"; }

std::string deleteGroupCommand(std::string_view group) { return "[DeleteGroup(" + argument(group) + ")]"; }

std::string programCommandLine(std::string_view installDirectory, std::string_view command) {
  const std::size_t blank = command.find(' ');
  std::string line = "\"";
  line += installDirectory;
  line += '\\';
  line += command.substr(0, blank);
  line += '"';
  if (blank != std::string_view::npos && blank + 1 < command.size()) {
    line += ' ';
    line += command.substr(blank + 1);
  }
  return line;
}

std::string uninstallCommandLine(std::string_view uninstallerPath, std::string_view installDirectory) {
  std::string line(uninstallerPath);
  line += ' ';
  line += installDirectory;
  line += '\\';
  line += kLogFileName;
  return line;
}

std::optional<std::vector<std::string>> installDirectorySteps(std::string_view path) {
  if (path.size() <= 2 || path.size() > kMaxPathText) return std::nullopt;
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  while (text.size() > 3 && text.back() == '\\') text.pop_back();
  std::size_t rootLength = 0;
  if (text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' && text[2] == '\\') {
    rootLength = 3;
  } else if (text.starts_with("\\\\")) {
    // \\server\share\ is the root of a network path.
    const std::size_t server = text.find('\\', 2);
    if (server == std::string::npos || server == 2) return std::nullopt;
    const std::size_t share = text.find('\\', server + 1);
    if (share == std::string::npos || share == server + 1) return std::nullopt;
    rootLength = share + 1;
  } else {
    return std::nullopt;
  }
  if (text.size() <= rootLength) return std::nullopt;
  std::vector<std::string> steps;
  std::size_t start = rootLength;
  while (start <= text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view step = std::string_view(text).substr(start, end - start);
    // Commas and brackets would end an argument of the program manager commands that carry the path.
    if (step.empty() || step == "." || step == ".." || step.find_first_of(":*?\"<>|,[]") != std::string_view::npos ||
        std::any_of(step.begin(), step.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
      return std::nullopt;
    }
    steps.push_back(text.substr(0, end));
    start = end + 1;
  }
  return steps;
}

std::vector<std::string> groupNames(std::string_view reply) {
  std::vector<std::string> names;
  reply = reply.substr(0, reply.find('\0'));
  std::size_t start = 0;
  while (start < reply.size()) {
    std::size_t end = reply.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = reply.size();
    const std::string_view name = reply.substr(start, end - start);
    if (!name.empty() && name.find('\0') == std::string_view::npos) names.emplace_back(name);
    start = end + 1;
  }
  return names;
}

}  // namespace osk::setup
