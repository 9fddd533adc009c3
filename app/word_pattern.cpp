#include "app/word_pattern.h"

#include "engine/lang/regex_api.h"

namespace osk::app {

WordPattern::WordPattern() { set(kDefault); }

WordPattern::~WordPattern() { DestroyRE(static_cast<HCOMPILEDRE>(compiled_)); }

bool WordPattern::set(std::string_view pattern) {
  if (pattern.empty()) return false;
  const std::string text(pattern);
  HCOMPILEDRE compiled = CompileRE(text.c_str(), 1);
  if (compiled == nullptr) return false;
  DestroyRE(static_cast<HCOMPILEDRE>(compiled_));
  compiled_ = compiled;
  text_ = text;
  return true;
}

std::vector<WordSpan> WordPattern::words(std::string_view line) const {
  std::vector<WordSpan> found;
  if (compiled_ == nullptr) return found;
  const std::string text(line.substr(0, 1024));
  int32_t from = 0;
  const auto size = static_cast<int32_t>(text.size());
  while (from < size) {
    int32_t column = from;
    int32_t length = 0;
    if (HitTest(static_cast<HCOMPILEDRE>(compiled_), text.c_str(), 1, 1, &column, &length) == 0) break;
    if (length <= 0) {
      from = column + 1;
      continue;
    }
    found.push_back({column + 1, length});
    from = column + length;
  }
  return found;
}

bool WordPattern::wordAt(std::string_view line, int32_t column, WordSpan& out) const {
  bool found = false;
  for (const WordSpan& word : words(line)) {
    if (word.column > column) break;
    if (column < word.end()) {
      out = word;
      return true;   // inside a word beats just after one
    }
    if (column == word.end()) {
      out = word;
      found = true;
    }
  }
  return found;
}

}  // namespace osk::app
