#include "services/win32/profile_win32.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace osk::win32 {

std::string ProfileSettings::readString(std::string_view section, std::string_view key, std::string_view fallback,
                                        size_t maxChars) {
  std::vector<char> buffer(maxChars + 1, 0);
  const DWORD n = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                           std::string(fallback).c_str(), buffer.data(),
                                           static_cast<DWORD>(buffer.size()), path_.c_str());
  return std::string(buffer.data(), n < buffer.size() ? n : buffer.size() - 1);
}

int32_t ProfileSettings::readInt(std::string_view section, std::string_view key, int32_t fallback) {
  // Read as text so that negative and oversized values are seen for what they are.
  const std::string v = readString(section, key, "", 32);
  if (v.empty()) return fallback;
  char* end = nullptr;
  const long long n = std::strtoll(v.c_str(), &end, 10);
  if (end == v.c_str()) return 0;
  if (n > INT32_MAX) return INT32_MAX;
  if (n < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(n);
}

bool ProfileSettings::writeString(std::string_view section, std::string_view key, std::string_view value) {
  return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                    std::string(value).c_str(), path_.c_str()) != 0;
}

bool ProfileSettings::removeSection(std::string_view section) {
  return WritePrivateProfileStringA(std::string(section).c_str(), nullptr, nullptr, path_.c_str()) != 0;
}

}  // namespace osk::win32
