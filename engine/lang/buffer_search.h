// The buffer search: runs a compiled pattern over the lines of a line store, from a start position towards a limit
// line, forwards or backwards, and reports the first match; lines that cannot match are skipped by a quick scan of
// the stored text for the pattern's leading literal characters (the search key).
//
// The result is exactly what HitTest would give line by line: the start line is searched from the start column,
// later lines from their start (forwards) or their end (backwards); a backward match reports its last character.
// The key only ever skips lines and start columns that cannot match. An invalid request (start line outside the
// text, a limit outside 1 to the line count or behind the start in the search direction, a negative column), an empty
// store or a malformed pattern give "not found". With a tab length, lines are matched with their tabs expanded to
// display cells (at most 1024), and columns are cells.
// Progress is reported before each run of lines is read (runs start at 8 lines and grow to 256, or to 32 when the
// key cannot skip lines); a true answer stops the search as aborted. The matcher's last match (for substitutions) is the one found.
#pragma once

#include <cstdint>
#include <string>

#include "engine/lang/regex_matcher.h"

namespace osk {

class LineStore;

struct BufferSearchRequest {
  const uint8_t* pattern = nullptr;
  bool forward = true;
  bool matchCase = true;
  int32_t tabLength = 0;      // 0: lines are matched as stored
  int32_t startLine = 1;      // 1-based
  int32_t startColumn = 0;    // 0-based
  int32_t limitLine = 0;      // 0: the last line forwards, line 1 backwards
  // Called with the line about to be searched; returning true aborts the search.
  bool (*progress)(void* context, int32_t line) = nullptr;
  void* progressContext = nullptr;
};

struct BufferSearchResult {
  bool found = false;
  bool aborted = false;
  int32_t line = 0;     // 1-based
  int32_t column = 0;   // first character forwards, last character backwards
  int32_t length = 0;
};

BufferSearchResult SearchBuffer(LineStore& store, const BufferSearchRequest& request, regex::Matcher& matcher);

// The literal text that every match of a pattern contains.
struct SearchKey {
  std::string text;            // at most 32 characters; empty: no key, every line is matched
  // False when every match starts with the key (forwards) or ends with it (backwards), so the pattern needs trying
  // only where the key stands; true when the whole line must be matched once it holds the key.
  bool wholeLine = true;
};

// The key of a compiled pattern for a search in the given direction; with expanded tabs the key stops at its first
// space (a space in the pattern may stand for a tab in the stored text) and the whole line is matched.
SearchKey PrepareSearchKey(const uint8_t* pattern, bool forward, bool expandedTabs);

// Expands the tabs of `line` into `out` (room for 1025 bytes) by `tabLength`, stopping at 1024 cells; returns the
// expanded length.
int32_t ExpandTabs(std::string_view line, int32_t tabLength, char* out);

// What LineHitTest searches: the engine fills it for its current target (after writing back any pending line),
// or answers false when there is none.
struct SearchTarget {
  LineStore* store = nullptr;
  int32_t tabLength = 0;
  bool (*progress)(void* context, int32_t line) = nullptr;
  void* progressContext = nullptr;
};
using SearchTargetProvider = bool (*)(SearchTarget& target, bool withProgress);

// Installed by the engine at start-up; null removes it (LineHitTest then finds nothing).
void SetSearchTargetProvider(SearchTargetProvider provider);
bool CurrentSearchTarget(SearchTarget& target, bool withProgress);

}  // namespace osk
