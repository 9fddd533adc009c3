// Counts the lines of a file that match a pattern with the engine's buffer search, the way Count and Replace All
// walk a buffer: search, step to the line after the match, search again. Prints the line count, the matching lines
// and the best of several timed passes; loading the file into the line store is timed apart.
//
//   search_bench FILE PATTERN [regex 1|0] [passes]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/load_lines.h"
#include "engine/lang/buffer_search.h"
#include "engine/lang/regex_api.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int64_t CountMatchingLines(osk::LineStore& store, HCOMPILEDRE pattern) {
  osk::BufferSearchRequest request;
  request.pattern = reinterpret_cast<const uint8_t*>(pattern);
  int64_t count = 0;
  const int32_t lines = store.lineCount();
  while (request.startLine <= lines) {
    const osk::BufferSearchResult r = osk::SearchBuffer(store, request, osk::regex::ProcessMatcher());
    if (!r.found) break;
    ++count;
    request.startLine = r.line + 1;
    request.startColumn = 0;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FILE PATTERN [regex 1|0] [passes]\n", argv[0]);
    return 2;
  }
  const int regex = argc > 3 ? std::atoi(argv[3]) : 1;
  const int passes = argc > 4 ? std::atoi(argv[4]) : 3;

  const auto loadStart = std::chrono::steady_clock::now();
  osk::LineStore store;
  if (!osk::bench::loadLines(argv[1], store)) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  const double loadMs = Milliseconds(std::chrono::steady_clock::now() - loadStart);

  HCOMPILEDRE pattern = CompileRE(argv[2], regex);
  if (pattern == nullptr) {
    std::fprintf(stderr, "invalid pattern %s\n", argv[2]);
    return 1;
  }
  double best = 0;
  int64_t count = 0;
  for (int pass = 0; pass < passes; ++pass) {
    const auto start = std::chrono::steady_clock::now();
    count = CountMatchingLines(store, pattern);
    const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
    if (pass == 0 || ms < best) best = ms;
  }
  DestroyRE(pattern);
  std::printf("lines %d matching %lld search_ms %.1f load_ms %.1f\n", store.lineCount(),
              static_cast<long long>(count), best, loadMs);
  return 0;
}
