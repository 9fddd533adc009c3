// What FileInformation shows about a buffer: its name part, line-end kind, counts and the size its file would have.
//
// Counts are 64-bit so that no buffer size wraps them. A count stopped by Esc reads "-aborted-".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/word_pattern.h"

namespace osk::app {

struct FileCounts {
  int64_t lines = 0;
  int64_t words = 0;
  int64_t characters = 0;   // the sum of the line lengths, line ends not counted
  bool unixLineEnds = false;
  bool aborted = false;
};

// Adds one line to the counts.
void countLine(FileCounts& counts, std::string_view line, const WordPattern& words);
// Characters plus two bytes a line and one (CR LF), or plus one a line and one (LF).
int64_t estimatedFileSize(const FileCounts& counts);
// The part after the last "\" or ":", or "Untitled" for a buffer without a name.
std::string fileNamePart(std::string_view path);
std::string lineEndKind(const FileCounts& counts);
// "%ld" of the value, or "-aborted-" when the counting was stopped.
std::string countText(int64_t value, bool aborted);

}  // namespace osk::app
