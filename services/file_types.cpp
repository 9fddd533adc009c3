#include "services/file_types.h"

#include <algorithm>

namespace osk {

std::vector<FileType> parseFileTypes(std::span<const char> filterForm) {
  std::vector<FileType> types;
  size_t at = 0;
  auto next = [&](std::string& out) {
    const auto end = std::find(filterForm.begin() + at, filterForm.end(), '\0');
    out.assign(filterForm.begin() + at, end);
    at = static_cast<size_t>(end - filterForm.begin());
    if (at < filterForm.size()) ++at;   // past the zero
  };
  while (at < filterForm.size() && filterForm[at] != '\0') {
    FileType type;
    next(type.description);
    if (at >= filterForm.size() || filterForm[at] == '\0') break;   // a description without its pattern
    next(type.pattern);
    types.push_back(std::move(type));
  }
  return types;
}

std::optional<std::string> formatFileTypes(std::span<const FileType> types, size_t capacity) {
  std::string out;
  for (const FileType& t : types) {
    out += t.description;
    out += '\0';
    out += t.pattern;
    out += '\0';
  }
  out += '\0';
  if (types.empty()) out += '\0';
  if (out.size() > capacity) return std::nullopt;
  return out;
}

std::string fileTypeProblem(const FileType& type) {
  if (type.description.empty()) return "Enter a description for the file type.";
  if (type.pattern.empty()) return "Enter the file pattern, such as *.txt or *.c;*.h.";
  for (const std::string* s : {&type.description, &type.pattern})
    if (s->find_first_of(std::string_view("\0|\t", 3)) != std::string::npos)
      return "A file type may not contain the characters | or tab.";
  return {};
}

}  // namespace osk
