#include "services/settings_store.h"

namespace osk {

std::string profileQuoted(std::string_view value) {
  if (value.empty()) return {};
  auto special = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
  if (!special(value.front()) && !special(value.back())) return std::string(value);
  // Reading strips exactly one enclosing pair, so the inner text may itself start or end with quotes.
  return "\"" + std::string(value) + "\"";
}

}  // namespace osk
