// Fuzzes the substitution compiler and its expansion after a match: input = flags byte, replacement, zero, line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/lang/regex_api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t split = input.find('\0');
  const std::string replacement = input.substr(0, split);
  const std::string line = split == std::string::npos ? std::string("xaabbby") : input.substr(split + 1);

  HCOMPILEDGS gs = CompileGS(replacement.c_str(), flags & 1);
  if (gs == nullptr) return 0;
  static HCOMPILEDRE re = CompileRE("(.)(.?)(.*)", 1);
  int32_t col = 0, len = 0;
  HitTest(re, line.c_str(), (flags & 2) == 0, 1, &col, &len);
  char out[1025 + 16];
  std::memset(out, 0x55, sizeof out);
  if (GetSubsString(gs, out) != 1) std::abort();
  // The expansion stays within its 1025 bytes.
  if (std::memchr(out, 0, 1025) == nullptr) std::abort();
  for (size_t i = 1025; i < sizeof out; ++i) {
    if (static_cast<uint8_t>(out[i]) != 0x55) std::abort();
  }
  DestroyGS(gs);
  return 0;
}
