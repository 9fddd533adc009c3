// Feeds arbitrary bytes to the syntax compiler; a compiled result is then used as the engine uses it: every
// definition decoded, file names mapped, lines coloured and block bits computed, for a few fixed lines and for the
// input's own lines held in a line store.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/lang/colouring.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"
#include "engine/store/line_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  osk::syntax::CompileResult r = osk::syntax::CompileSyntax(text);
  if (r.data == nullptr) return 0;
  const std::vector<uint8_t>& bytes = r.data->bytes();
  if (bytes.size() > osk::syntax::kMaxDataSize) __builtin_trap();
  uint32_t def = osk::syntax::ReadU32(bytes, osk::syntax::kHeaderFirstDefinition);
  // The input's own lines, as a buffer would hold them.
  osk::LineStore store;
  std::vector<std::string> own;
  for (size_t at = 0; at < text.size() && own.size() < 64;) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(at, std::min<size_t>(end - at, 1024)));
    std::erase(line, '\r');
    own.push_back(std::move(line));
    at = end + 1;
  }
  if (own.empty()) own.emplace_back();
  if (store.insertLines(0, std::vector<std::string_view>(own.begin(), own.end())) != osk::StoreStatus::kOk) {
    __builtin_trap();
  }
  static const char* const kLines[] = {"int a; /* open", "x */ y = \"s\\\"t\" // c", "'c' REM if ifdef (*x*)",
                                        "<!-- a --> <b>"};
  for (int steps = 0; def != 0 && steps < 2048; ++steps) {
    const osk::syntax::DecodedDefinition* d = r.data->Definition(def);
    if (d == nullptr) __builtin_trap();
    osk::syntax::LineScan scan;
    std::vector<osk::syntax::ColourRun> runs;
    for (const char* line : kLines) {
      osk::syntax::ScanLine(d, line, false, scan);
      osk::syntax::MakeRuns(scan, 0, 1, 1024, {}, runs);
      osk::syntax::ScanLine(d, line, true, scan);
      (void)osk::syntax::BlockBits(d, line);
    }
    osk::syntax::RecomputeBlockBits(store, d);
    osk::syntax::LineColourer colourer(store, d, 4);
    store.forEachLine(1, store.lineCount(), [&](int32_t line, std::string_view t) {
      colourer.colour(line, t, 1, 1024);
      if (osk::syntax::BlockBits(d, t) != store.properties().get(line, osk::syntax::kBlockBits)) __builtin_trap();
      return true;
    });
    def = osk::syntax::ReadU32(bytes, def + osk::syntax::kDefNext);
  }
  (void)r.data->DefinitionFor("C:\\src\\Makefile");
  (void)r.data->DefinitionFor("x.c");
  return 0;
}
