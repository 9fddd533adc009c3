#include "app/file_information.h"

namespace osk::app {

void countLine(FileCounts& counts, std::string_view line, const WordPattern& words) {
  ++counts.lines;
  counts.characters += static_cast<int64_t>(line.size());
  counts.words += static_cast<int64_t>(words.words(line).size());
}

int64_t estimatedFileSize(const FileCounts& counts) {
  return counts.characters + (counts.unixLineEnds ? 1 : 2) * counts.lines + 1;
}

std::string fileNamePart(std::string_view path) {
  const size_t cut = path.find_last_of("\\:");
  const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  return name.empty() ? std::string("Untitled") : std::string(name);
}

std::string lineEndKind(const FileCounts& counts) { return counts.unixLineEnds ? "LF" : "CRLF"; }

std::string countText(int64_t value, bool aborted) { return aborted ? "-aborted-" : std::to_string(value); }

}  // namespace osk::app
