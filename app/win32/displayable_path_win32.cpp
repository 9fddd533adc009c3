// Paths shortened for titles and menus by the common services, so both shorten alike.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/displayable_path.h"
#include "services/win32/ocs_file_api.h"

namespace osk::app {

std::string displayablePath(std::string_view path, std::size_t maxChars) {
  const std::string whole(path);
  const auto limit = static_cast<int32_t>(std::min<std::size_t>(maxChars, 4096));
  std::vector<char> shown(static_cast<std::size_t>(limit) + 1, '\0');
  OCS_fvGetDisplayablePath(whole.c_str(), limit, shown.data(), static_cast<int32_t>(shown.size()));
  return shown.data();
}

}  // namespace osk::app
