#include "app/bounded_text.h"

#include <algorithm>

namespace osk::app {

std::size_t copyBounded(std::span<char> destination, std::string_view source) {
  if (destination.empty()) return 0;
  const std::size_t n = std::min(source.size(), destination.size() - 1);
  std::copy_n(source.data(), n, destination.data());
  destination[n] = '\0';
  return n;
}

std::string searchTextFromHistory(std::string_view top) {
  // A text stops at a zero as it would in the buffer it came from.
  top = top.substr(0, top.find('\0'));
  return std::string(top.substr(0, kMaxSearchText));
}

std::string fillMessage(std::string_view message, std::string_view argument, std::size_t maxChars) {
  std::string out;
  bool filled = false;
  for (std::size_t i = 0; i < message.size() && out.size() < maxChars; ++i) {
    if (message[i] == '%' && i + 1 < message.size()) {
      if (message[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (message[i + 1] == 's' && !filled) {
        out.append(argument.substr(0, maxChars - out.size()));
        filled = true;
        ++i;
        continue;
      }
    }
    out += message[i];
  }
  if (out.size() > maxChars) out.resize(maxChars);
  return out;
}

}  // namespace osk::app
