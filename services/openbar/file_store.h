// CFileStore: the file names of one Open Bar list, sorted without regard to case and without duplicates.
//
// Names that differ only in case count as the same file, as they do on the system's file systems; the first one
// inserted is kept. A list sorted "By Type" stores each name turned around (extension + "." + base name, split at
// the last dot) so that the plain order groups files by extension; shownName() turns a stored name back (split at
// the first dot). A name without a dot is stored unchanged, so it sorts as if its whole name were the extension.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk {

enum class SortType : int32_t { ByName = 0, ByType = 1 };

// The stored form of a file name for a sort type, and the shown form of a stored one.
std::string storedName(std::string_view fileName, SortType sort);
std::string shownName(std::string_view stored, SortType sort);

// Less-than on names compared character by character without regard to ASCII case.
bool lessWithoutCase(std::string_view a, std::string_view b);

class CFileStore {
 public:
  // The array grows by this many entries at a time.
  static constexpr size_t kGrowth = 32;

  void clear() { names_.clear(); }
  // Inserts a stored name in order; false (and nothing changes) when an equal name is already there.
  bool insert(std::string_view stored);
  size_t size() const { return names_.size(); }
  bool empty() const { return names_.empty(); }
  const std::string& operator[](size_t i) const { return names_[i]; }
  std::optional<size_t> find(std::string_view stored) const;
  const std::vector<std::string>& names() const { return names_; }
  void swap(CFileStore& other) noexcept { names_.swap(other.names_); }

 private:
  std::vector<std::string> names_;
};

}  // namespace osk
