// Translates the exported regular-expression and global text functions to the language services' C++ core.
#include <cstring>

#include "engine/lang/buffer_search.h"
#include "engine/lang/compiled_nodes.h"
#include "engine/lang/global_text_block.h"
#include "engine/lang/regex_api.h"
#include "engine/lang/regex_compiler.h"
#include "engine/lang/regex_matcher.h"
#include "engine/lang/substitution.h"

namespace {

const uint8_t* Block(HCOMPILEDRE pattern) { return reinterpret_cast<const uint8_t*>(pattern); }

}  // namespace

extern "C" {

HCOMPILEDRE OSK_CALL CompileRE(const char* pattern, int32_t regex) {
  if (pattern == nullptr) return nullptr;
  return reinterpret_cast<HCOMPILEDRE>(osk::regex::CompilePattern(pattern, regex));
}

int32_t OSK_CALL DestroyRE(HCOMPILEDRE pattern) {
  if (pattern == nullptr) return 0;
  osk::regex::FreeNodeBlock(reinterpret_cast<uint8_t*>(pattern));
  return 1;
}

int32_t OSK_CALL HitTest(HCOMPILEDRE pattern, const char* text, int32_t forward, int32_t matchCase, int32_t* col,
                         int32_t* len) {
  osk::regex::Matcher& matcher = osk::regex::ProcessMatcher();
  if (col == nullptr || len == nullptr || text == nullptr) return 0;
  // One character past the limit is enough to refuse the line without reading all of it.
  const size_t length = strnlen(text, osk::regex::kMaxLineLength + 1);
  int32_t column = *col;
  int32_t found = 0;
  if (!matcher.Match(Block(pattern), {text, length}, forward != 0, matchCase != 0, column, found)) return 0;
  *col = column;
  *len = found;
  return 1;
}

int32_t OSK_CALL LineHitTest(HCOMPILEDRE pattern, int32_t forward, int32_t matchCase, int32_t progress,
                             int32_t limitLine, int32_t* line, int32_t* col, int32_t* len, int32_t* aborted) {
  if (aborted != nullptr) *aborted = 0;
  osk::SearchTarget target;
  if (pattern == nullptr || line == nullptr || col == nullptr || len == nullptr ||
      !osk::CurrentSearchTarget(target, progress != 0)) {
    return 0;
  }
  osk::BufferSearchRequest request;
  request.pattern = Block(pattern);
  request.forward = forward != 0;
  request.matchCase = matchCase != 0;
  request.tabLength = target.tabLength;
  request.startLine = *line;
  request.startColumn = *col;
  request.limitLine = limitLine;
  if (progress != 0) {
    request.progress = target.progress;
    request.progressContext = target.progressContext;
  }
  const osk::BufferSearchResult result = osk::SearchBuffer(*target.store, request, osk::regex::ProcessMatcher());
  if (result.aborted && aborted != nullptr) *aborted = 1;
  if (!result.found) return 0;
  *line = result.line;
  *col = result.column;
  *len = result.length;
  return 1;
}

HCOMPILEDGS OSK_CALL CompileGS(const char* text, int32_t regex) {
  return reinterpret_cast<HCOMPILEDGS>(osk::regex::CompileSubstitution(text != nullptr ? text : "", regex));
}

int32_t OSK_CALL DestroyGS(HCOMPILEDGS substitution) {
  if (substitution == nullptr) return 0;
  osk::regex::FreeNodeBlock(reinterpret_cast<uint8_t*>(substitution));
  return 1;
}

int32_t OSK_CALL GetSubsString(HCOMPILEDGS substitution, char* out) {
  return osk::regex::ExpandSubstitution(reinterpret_cast<const uint8_t*>(substitution),
                                        osk::regex::ProcessMatcher(), out)
             ? 1
             : 0;
}

HGLOBALTEXT OSK_CALL AddGlobalLine(HGLOBALTEXT block, const char* text, int32_t mode) {
  return osk::AddGlobalText(block, text, mode);
}

int32_t OSK_CALL GetFirstGlobalLine(HGLOBALTEXT block, char* out) { return osk::FirstGlobalLine(block, out); }

int32_t OSK_CALL GetNextGlobalLine(char* out) { return osk::NextGlobalLine(out); }

HGLOBALTEXT OSK_CALL CopyGlobalLine(HGLOBALTEXT block) { return osk::CopyGlobalText(block); }

}  // extern "C"
