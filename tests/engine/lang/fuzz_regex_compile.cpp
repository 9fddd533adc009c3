// Fuzzes the pattern compiler, and the matcher on what compiles: input = flags byte, pattern, zero, line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/lang/regex_api.h"
#include "engine/lang/regex_matcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t split = input.find('\0');
  const std::string pattern = input.substr(0, split);
  const std::string line = split == std::string::npos ? std::string("abc") : input.substr(split + 1);

  HCOMPILEDRE re = CompileRE(pattern.c_str(), (flags & 1) ? 0 : 1);
  if (re == nullptr) return 0;
  const auto length = static_cast<int32_t>(line.find('\0') == std::string::npos ? line.size() : line.find('\0'));
  const osk::regex::Matcher& matcher = osk::regex::ProcessMatcher();
  for (int direction = 0; direction < 2; ++direction) {
    int32_t col = direction == 0 ? (flags >> 2) % (length + 1) : length;
    int32_t len = 0;
    const int32_t from = col;
    if (HitTest(re, line.c_str(), direction == 0, flags & 2, &col, &len) == 1) {
      // A match lies inside the line, is never empty and starts (or ends, backwards) on the right side of `from`.
      const int32_t first = direction == 0 ? col : col - len + 1;
      if (len < 1 || first < 0 || first + len > length) std::abort();
      if (direction == 0 ? col < from : col > from) std::abort();
      for (int g = 0; g < 10; ++g) {
        const auto& slot = matcher.Slot(g);
        if (slot.start < 0 || slot.length < 0 || slot.start + slot.length > length) std::abort();
      }
    }
  }
  DestroyRE(re);
  return 0;
}
