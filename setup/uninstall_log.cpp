#include "setup/uninstall_log.h"

namespace osk::setup {

namespace {

bool isOneLine(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

bool UninstallLogWriter::add(std::string_view keyword, std::string_view argument) {
  if (keyword.empty() || !isOneLine(keyword) || !isOneLine(argument)) return false;
  records_.push_back({std::string(keyword), std::string(argument)});
  return true;
}

bool UninstallLogWriter::addItem(std::string_view group, std::string_view title) {
  if (group.find(',') != std::string_view::npos) return false;
  std::string argument(group);
  argument += ',';
  argument += title;
  return add(kDeleteItem, argument);
}

bool UninstallLogWriter::addRegistryKey(std::string_view rootPath, std::string_view key) {
  std::string argument(rootPath);
  argument += '\\';
  argument += key;
  return add(kDeleteRegistryKey, argument);
}

std::string UninstallLogWriter::text() const {
  std::string text;
  for (const LogRecord& record : records_) {
    text += record.keyword;
    text += '\n';
    text += record.argument;
    text += '\n';
  }
  return text;
}

ParsedLog parseUninstallLog(std::string_view text) {
  if (text.size() > kMaxLogBytes) text = text.substr(0, kMaxLogBytes);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool complete = end != std::string_view::npos;
    if (!complete) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A NUL ends a line's text: nothing behind it on that line can be a path or a keyword.
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);
    lines.emplace_back(line);
    start = complete ? end + 1 : end;
  }
  ParsedLog log;
  std::size_t i = 0;
  for (; i + 1 < lines.size(); i += 2) log.records.push_back({lines[i], lines[i + 1]});
  log.danglingLine = i < lines.size();
  return log;
}

LogTitles logTitles(const std::vector<LogRecord>& records) {
  LogTitles titles;
  // Walked last to first like the playback; the first found from the start wins, as the installer writes each once.
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    if (it->keyword == kProductName) titles.productKey = it->argument;
    if (it->keyword == kDisplayLine) titles.displayLine = it->argument;
  }
  return titles;
}

bool splitItemArgument(std::string_view argument, std::string& group, std::string& title) {
  const std::size_t comma = argument.find(',');
  if (comma == std::string_view::npos) return false;
  group.assign(argument.substr(0, comma));
  title.assign(argument.substr(comma + 1));
  return true;
}

}  // namespace osk::setup
