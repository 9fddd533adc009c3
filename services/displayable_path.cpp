#include "services/displayable_path.h"

namespace osk {
namespace {

constexpr std::string_view kEllipsis = "...";

std::size_t rootLength(std::string_view path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') return 3;
  if (path.size() >= 2 && path[1] == ':') return 2;
  if (path.substr(0, 2) == "\\\\") {
    // \\server\share\ : the two parts after the leading pair.
    std::size_t at = path.find('\\', 2);
    if (at != std::string_view::npos) at = path.find('\\', at + 1);
    return at == std::string_view::npos ? path.size() : at + 1;
  }
  return path.substr(0, 1) == "\\" ? 1 : 0;
}

}  // namespace

std::string displayablePath(std::string_view path, std::size_t maxChars) {
  if (path.size() <= maxChars) return std::string(path);
  if (maxChars <= kEllipsis.size()) return std::string(path.substr(path.size() - maxChars));
  const std::size_t root = rootLength(path);
  // The trailing parts, each starting at a "\", as many as fit after the root and "...".
  std::size_t cut = path.size();
  while (true) {
    const std::size_t previous = cut == 0 ? std::string_view::npos : path.rfind('\\', cut - 1);
    if (previous == std::string_view::npos || previous < root) break;
    if (root + kEllipsis.size() + (path.size() - previous) > maxChars) break;
    cut = previous;
  }
  if (cut < path.size() && root + kEllipsis.size() + (path.size() - cut) <= maxChars) {
    return std::string(path.substr(0, root)) + std::string(kEllipsis) + std::string(path.substr(cut));
  }
  return std::string(kEllipsis) + std::string(path.substr(path.size() - (maxChars - kEllipsis.size())));
}

}  // namespace osk
