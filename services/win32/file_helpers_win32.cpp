// The services' file and drawing helpers for the program: displayable paths, the Open dialog's name amendment, the
// long and short forms of names, and split bars.
#include <windows.h>

#include <cstring>
#include <string>

#include "services/displayable_path.h"
#include "services/instance.h"
#include "services/open_file_name.h"
#include "services/win32/ocs_file_api.h"

namespace {

bool isRooted(const std::string& name) {
  return (name.size() >= 2 && name[1] == ':') || (!name.empty() && (name[0] == '\\' || name[0] == '/'));
}

// The system's other form of a name, through one of its two conversions; 1 when it fits into result.
template <typename Convert>
int32_t otherForm(Convert convert, const char* name, char* result, int32_t resultSize) {
  if (name == nullptr || name[0] == '\0' || result == nullptr || resultSize < 1) return 0;
  std::string form(MAX_PATH, '\0');
  DWORD length = convert(name, form.data(), static_cast<DWORD>(form.size()));
  if (length >= form.size()) {   // the answer is the size it needs
    form.assign(length, '\0');
    length = convert(name, form.data(), static_cast<DWORD>(form.size()));
  }
  if (length == 0 || length >= form.size() || length + 1 > static_cast<DWORD>(resultSize)) return 0;
  memcpy(result, form.c_str(), length + 1);
  return 1;
}

}  // namespace

extern "C" {

int32_t OSK_CALL OCS_fbGetLongPathName(const char* name, char* result, int32_t resultSize) {
  return otherForm(GetLongPathNameA, name, result, resultSize);
}

int32_t OSK_CALL OCS_fbGetShortPathName(const char* name, char* result, int32_t resultSize) {
  return otherForm(GetShortPathNameA, name, result, resultSize);
}

void OSK_CALL OCS_fvGetDisplayablePath(const char* path, int32_t maxChars, char* result, int32_t resultSize) {
  if (result == nullptr || resultSize < 1) return;
  const size_t limit = static_cast<size_t>(maxChars < 0 ? 0 : maxChars);
  const std::string shown = osk::displayablePath(path != nullptr ? path : "", limit);
  osk::copyToBuffer(shown, result, static_cast<size_t>(resultSize));
}

int32_t OSK_CALL OCS_AmendOpenFile(const char* directory, const char* filterPattern, char* name, int32_t nameSize) {
  if (name == nullptr || filterPattern == nullptr || nameSize < 1) return 0;
  // The name must be whole within its buffer before anything is read from it.
  const void* end = memchr(name, '\0', static_cast<size_t>(nameSize));
  if (end == nullptr) return 0;
  const std::string folder = directory != nullptr ? directory : "";
  const auto exists = [&](const std::string& candidate) {
    std::string probe = candidate;
    if (!folder.empty() && !isRooted(candidate)) {
      probe = folder + (folder.back() == '\\' || folder.back() == '/' ? "" : "\\") + candidate;
    }
    const DWORD attributes = GetFileAttributesA(probe.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  const auto amended = osk::amendedOpenName(name, filterPattern, exists);
  if (!amended || amended->size() + 1 > static_cast<size_t>(nameSize)) return 0;
  memcpy(name, amended->c_str(), amended->size() + 1);
  return 1;
}

void OSK_CALL OCS_fvDrawSplitBar(HDC dc, const RECT* bar, int32_t vertical) {
  if (dc == nullptr || bar == nullptr || bar->right <= bar->left || bar->bottom <= bar->top) return;
  RECT r = *bar;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, EDGE_RAISED, vertical ? (BF_LEFT | BF_RIGHT) : (BF_TOP | BF_BOTTOM));
}

}  // extern "C"
