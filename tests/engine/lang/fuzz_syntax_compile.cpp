// Feeds arbitrary bytes to the syntax compiler; a compiled result is then used as the engine uses it: every
// definition decoded, file names mapped, lines coloured and block bits computed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/lang/colouring.h"
#include "engine/lang/syntax_compiler.h"
#include "engine/lang/syntax_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  osk::syntax::CompileResult r = osk::syntax::CompileSyntax(text);
  if (r.data == nullptr) return 0;
  const std::vector<uint8_t>& bytes = r.data->bytes();
  if (bytes.size() > osk::syntax::kMaxDataSize) __builtin_trap();
  uint32_t def = osk::syntax::ReadU32(bytes, osk::syntax::kHeaderFirstDefinition);
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
    def = osk::syntax::ReadU32(bytes, def + osk::syntax::kDefNext);
  }
  (void)r.data->DefinitionFor("C:\\src\\Makefile");
  (void)r.data->DefinitionFor("x.c");
  return 0;
}
