// The file type list of the file dialogs: description and pattern pairs, kept as the dialogs' filter form
// (description, zero, pattern, zero, ..., and a zero after the last pair) in at most 1024 bytes.
//
// Reading stops at the end of the buffer even when the final zero is missing, and drops a description without a
// pattern. A list that does not fit is refused as a whole, never cut in the middle of a pair.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace osk {

struct FileType {
  std::string description;
  std::string pattern;
  bool operator==(const FileType&) const = default;
};

inline constexpr size_t kFileTypesSize = 1024;

std::vector<FileType> parseFileTypes(std::span<const char> filterForm);
// The filter form of `types`, its final zero included; nothing when it needs more than `capacity` bytes.
std::optional<std::string> formatFileTypes(std::span<const FileType> types, size_t capacity = kFileTypesSize);

// Why a pair cannot join a list: an empty description or pattern, or a character the filter form cannot hold
// (zero, or "|" and the tab, which other lists use to separate the two). Empty when it is acceptable.
std::string fileTypeProblem(const FileType& type);

}  // namespace osk
