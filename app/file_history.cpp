#include "app/file_history.h"

#include <algorithm>
#include <cstdio>

namespace osk::app {
namespace {

char folded(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + ('a' - 'A'));
  if (c == '/') return '\\';
  return c;
}

}  // namespace

bool sameFileName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return folded(x) == folded(y); });
}

const FileHistoryRecord* FileHistory::find(std::string_view name) const {
  for (const FileHistoryRecord& r : records_)
    if (sameFileName(r.name, name)) return &r;
  return nullptr;
}

bool FileHistory::push(FileHistoryRecord record) {
  if (!storableFileName(record.name)) return false;
  std::erase_if(records_, [&](const FileHistoryRecord& r) { return sameFileName(r.name, record.name); });
  records_.insert(records_.begin(), std::move(record));
  if (records_.size() > kFileHistorySize) records_.resize(kFileHistorySize);
  return true;
}

bool FileHistory::refresh(const FileHistoryRecord& record) {
  for (FileHistoryRecord& r : records_) {
    if (!sameFileName(r.name, record.name)) continue;
    r.readOnly = record.readOnly;
    r.reserved = record.reserved;
    r.settings = record.settings;
    return true;
  }
  return false;
}

bool FileHistory::append(FileHistoryRecord record) {
  if (!storableFileName(record.name) || records_.size() >= kFileHistorySize || find(record.name)) return false;
  records_.push_back(std::move(record));
  return true;
}

std::vector<FileHistoryRecord> FileHistory::lastFour() const {
  return {records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(std::min(kLastFourSize, size()))};
}

namespace {

std::string menuText(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

}  // namespace

std::string historyItemText(std::string_view name, const PathShortener& shorten) {
  const std::size_t slash = name.rfind('\\');
  if (slash == std::string_view::npos) return menuText(shorten(name, 64));
  std::string_view file = name.substr(slash + 1);
  std::string shownFile(file);
  if (file.size() > 35) shownFile = std::string(file.substr(0, 32)) + "..";
  return menuText(shorten(name.substr(0, slash + 1), 56)) + "\t" + menuText(shownFile);
}

std::string lastFourItemText(std::size_t number, std::string_view name, const PathShortener& shorten) {
  return "&" + std::to_string(number) + " " + menuText(shorten(name, 64));
}

std::string formatHistoryLine(const FileHistoryRecord& r) {
  const PerFileSettings& s = r.settings;
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, " %u %u %d %d %d %d %d %d %d %d", static_cast<unsigned>(r.readOnly),
                static_cast<unsigned>(r.reserved), s.tabsAsSpaces, s.tabLength, s.indent, s.leftMargin,
                s.rightMargin, s.autoMargin, s.syncPanes, s.wordWrap);
  return "\"" + r.name + "\"" + numbers;
}

std::optional<FileHistoryRecord> parseHistoryLine(std::string_view line, const PerFileSettings& defaults) {
  const std::optional<NamedNumbers> split = splitNamedNumbers(line, 10);
  if (!split || !storableFileName(split->name)) return std::nullopt;
  const std::vector<int64_t>& n = split->numbers;
  auto at = [&](std::size_t i, int32_t fallback) { return i < n.size() ? saturated32(n[i]) : fallback; };
  FileHistoryRecord r;
  r.name = split->name;
  r.readOnly = at(0, 0) != 0 ? 1 : 0;
  r.reserved = 0;
  r.settings.tabsAsSpaces = at(2, defaults.tabsAsSpaces);
  r.settings.tabLength = at(3, defaults.tabLength);
  r.settings.indent = at(4, defaults.indent);
  r.settings.leftMargin = at(5, defaults.leftMargin);
  r.settings.rightMargin = at(6, defaults.rightMargin);
  r.settings.autoMargin = at(7, defaults.autoMargin);
  r.settings.syncPanes = at(8, defaults.syncPanes);
  r.settings.wordWrap = at(9, defaults.wordWrap);
  r.settings = validated(r.settings);
  return r;
}

}  // namespace osk::app
