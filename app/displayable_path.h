// A path shortened to fit a number of characters for menus and titles: the root ("C:\" or "\\server\share\") is
// kept, then "...", then as many whole trailing parts as fit. A path that fits stays as it is; when not even the
// last part fits beside the root, the path's last characters are kept after "...".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace osk::app {

std::string displayablePath(std::string_view path, std::size_t maxChars);

}  // namespace osk::app
