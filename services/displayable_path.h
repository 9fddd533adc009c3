// A path shortened to fit a number of characters, as menus and window titles show it: the root ("C:\" or
// "\\server\share\") is kept, then "...", then as many whole trailing parts as fit. A path that fits stays as it
// is; when not even the last part fits beside the root, the path's last characters are kept after "...". The
// result never has more than maxChars characters (none for 0).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace osk {

std::string displayablePath(std::string_view path, std::size_t maxChars);

}  // namespace osk
