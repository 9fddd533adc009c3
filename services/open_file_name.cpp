#include "services/open_file_name.h"

namespace osk {
namespace {

constexpr std::string_view kWildcards = "*?";

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The last part of a path: after its last "\", "/" or drive colon.
std::string_view lastPart(std::string_view name) {
  const std::size_t cut = name.find_last_of("\\/:");
  return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

}  // namespace

std::string firstFilterExtension(std::string_view filterPattern) {
  const std::string_view first = trimmed(filterPattern.substr(0, filterPattern.find(';')));
  // What follows the last wildcard must be a dot and a plain extension: "*.c" and "x*.tar.gz", never "*.*".
  const std::size_t wildcard = first.find_last_of(kWildcards);
  const std::string_view rest = wildcard == std::string_view::npos ? lastPart(first) : first.substr(wildcard + 1);
  const std::size_t dot = rest.find('.');
  if (dot == std::string_view::npos || dot + 1 >= rest.size()) return {};
  const std::string_view extension = rest.substr(dot);
  if (extension.find_first_of("\\/:") != std::string_view::npos) return {};
  return std::string(extension);
}

std::optional<std::string> amendedOpenName(std::string_view name, std::string_view filterPattern,
                                           const std::function<bool(const std::string&)>& exists) {
  const std::string_view base = lastPart(name);
  if (base.empty() || base.find('.') != std::string_view::npos) return std::nullopt;
  if (name.find_first_of(kWildcards) != std::string_view::npos) return std::nullopt;
  if (exists(std::string(name))) return std::nullopt;
  const std::string extension = firstFilterExtension(filterPattern);
  if (extension.empty()) return std::nullopt;
  std::string amended = std::string(name) + extension;
  if (!exists(amended)) return std::nullopt;
  return amended;
}

}  // namespace osk
