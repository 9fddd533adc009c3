// A settings file held in memory that reads values the way the system's profile functions do: blanks around a
// value and one pair of enclosing matching quotes are dropped, integers are read from the leading digits.
#pragma once

#include <cstdlib>
#include <map>
#include <string>

#include "services/settings_store.h"

namespace osk::test {

class MemorySettings : public SettingsStore {
 public:
  std::map<std::string, std::map<std::string, std::string>> sections;

  std::string readString(std::string_view section, std::string_view key, std::string_view fallback,
                         size_t maxChars) override {
    std::string v = std::string(fallback);
    auto s = sections.find(std::string(section));
    if (s != sections.end()) {
      auto k = s->second.find(std::string(key));
      if (k != s->second.end()) v = k->second;
    }
    const size_t first = v.find_first_not_of(" \t");
    v = first == std::string::npos ? std::string() : v.substr(first, v.find_last_not_of(" \t") - first + 1);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    if (v.size() > maxChars) v.resize(maxChars);
    return v;
  }
  int32_t readInt(std::string_view section, std::string_view key, int32_t fallback) override {
    const std::string v = readString(section, key, "", 64);
    if (v.empty()) return fallback;
    char* end = nullptr;
    const long long n = std::strtoll(v.c_str(), &end, 10);
    return end == v.c_str() ? 0 : static_cast<int32_t>(n);
  }
  bool writeString(std::string_view section, std::string_view key, std::string_view value) override {
    sections[std::string(section)][std::string(key)] = std::string(value);
    return true;
  }
  bool removeSection(std::string_view section) override { return sections.erase(std::string(section)) > 0; }
};

}  // namespace osk::test
