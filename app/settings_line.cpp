#include "app/settings_line.h"

#include <algorithm>
#include <limits>

namespace osk::app {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

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

bool isNumberToken(std::string_view token) {
  std::size_t used = 0;
  return leadingNumber(token, used) && used == token.size();
}

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

int32_t saturated32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

bool storableFileName(std::string_view name) {
  if (name.empty() || name.size() > kMaxFileName) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return c == '"' || static_cast<unsigned char>(c) < 32; });
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

}  // namespace osk::app
