// Paths shortened for window titles and menus by the common services (OCS_fvGetDisplayablePath), so that the
// program and the services' own lists shorten alike: the root, "...", and the trailing parts that fit. Window
// titles use 64 characters, the file history popup 56 for its directories.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace osk::app {

// Defined by the program's Windows side, over the services library.
std::string displayablePath(std::string_view path, std::size_t maxChars);

}  // namespace osk::app
