#include "services/openbar/file_store.h"

#include <algorithm>

namespace osk {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool lessWithoutCase(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(lower(a[i]));
    const auto cb = static_cast<unsigned char>(lower(b[i]));
    if (ca != cb) return ca < cb;
  }
  return a.size() < b.size();
}

std::string storedName(std::string_view fileName, SortType sort) {
  if (sort != SortType::ByType) return std::string(fileName);
  const size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos) return std::string(fileName);
  std::string s(fileName.substr(dot + 1));
  s += '.';
  s += fileName.substr(0, dot);
  return s;
}

std::string shownName(std::string_view stored, SortType sort) {
  if (sort != SortType::ByType) return std::string(stored);
  const size_t dot = stored.find('.');
  if (dot == std::string_view::npos) return std::string(stored);
  std::string s(stored.substr(dot + 1));
  s += '.';
  s += stored.substr(0, dot);
  return s;
}

bool CFileStore::insert(std::string_view stored) {
  const auto at = std::lower_bound(names_.begin(), names_.end(), stored,
                                   [](const std::string& a, std::string_view b) { return lessWithoutCase(a, b); });
  if (at != names_.end() && !lessWithoutCase(stored, *at)) return false;
  if (names_.size() == names_.capacity()) {
    // Grow in fixed steps: directories of a few hundred files should not double a large array again and again.
    const auto index = at - names_.begin();
    names_.reserve(names_.size() + kGrowth);
    names_.insert(names_.begin() + index, std::string(stored));
    return true;
  }
  names_.insert(at, std::string(stored));
  return true;
}

std::optional<size_t> CFileStore::find(std::string_view stored) const {
  const auto at = std::lower_bound(names_.begin(), names_.end(), stored,
                                   [](const std::string& a, std::string_view b) { return lessWithoutCase(a, b); });
  if (at == names_.end() || lessWithoutCase(stored, *at)) return std::nullopt;
  return static_cast<size_t>(at - names_.begin());
}

}  // namespace osk
