#include "app/file_history.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace osk::app {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char folded(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c + ('a' - 'A'));
  if (c == '/') return '\\';
  return c;
}

bool validName(std::string_view name) { return !name.empty() && name.size() <= kMaxFileName; }

// A decimal number with an optional sign at the front of `text`, saturating rather than overflowing.
std::optional<int64_t> leadingNumber(std::string_view text, std::size_t& used) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  int64_t value = 0;
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 9;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (value < kLimit) value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i == digits) return std::nullopt;
  used = i;
  return negative ? -value : value;
}

// Numbers separated by blanks from the front of `text`, up to `max` of them, stopping at anything else.
}  // namespace

std::vector<int64_t> blankSeparatedNumbers(std::string_view text, std::size_t max) {
  std::vector<int64_t> numbers;
  std::size_t pos = 0;
  while (numbers.size() < max) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    std::size_t used = 0;
    const std::optional<int64_t> n = leadingNumber(text.substr(pos), used);
    if (!n || (pos + used < text.size() && !isBlank(text[pos + used]))) break;
    numbers.push_back(*n);
    pos += used;
  }
  return numbers;
}

namespace {

bool isNumberToken(std::string_view token) {
  std::size_t used = 0;
  return leadingNumber(token, used) && used == token.size();
}

}  // namespace

int32_t saturated32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

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
  if (!validName(record.name)) return false;
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
  if (!validName(record.name) || records_.size() >= kFileHistorySize || find(record.name)) return false;
  records_.push_back(std::move(record));
  return true;
}

std::vector<FileHistoryRecord> FileHistory::lastFour() const {
  return {records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(std::min(kLastFourSize, size()))};
}

std::optional<NamedNumbers> splitNamedNumbers(std::string_view line, std::size_t maxNumbers) {
  std::size_t pos = 0;
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  line.remove_prefix(pos);
  NamedNumbers out;
  if (!line.empty() && line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) return std::nullopt;
    out.name.assign(line.substr(1, close - 1));
    out.numbers = blankSeparatedNumbers(line.substr(close + 1), maxNumbers);
  } else {
    // Split into blank-separated tokens and find where the run of numbers at the end begins.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < line.size(); ++i)
      if (!isBlank(line[i]) && (i == 0 || isBlank(line[i - 1]))) starts.push_back(i);
    std::size_t first = starts.size();
    while (first > 1) {
      const std::size_t s = starts[first - 1];
      std::size_t e = s;
      while (e < line.size() && !isBlank(line[e])) ++e;
      if (!isNumberToken(line.substr(s, e - s))) break;
      --first;
    }
    std::string_view name = first < starts.size() ? line.substr(0, starts[first]) : line;
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    out.name.assign(name);
    if (first < starts.size()) out.numbers = blankSeparatedNumbers(line.substr(starts[first]), maxNumbers);
  }
  if (out.name.empty()) return std::nullopt;
  return out;
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
  if (!split || !validName(split->name)) return std::nullopt;
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
