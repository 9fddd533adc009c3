// Compiles a replacement text into a node block and expands it with the groups of the last match.
//
// Expression syntax (regexFlag non-zero): `\0` to `\9` insert the whole match or a group, `\t` and `\f` are tab and
// form feed, a backslash before any other character is that character, and a backslash that ends the text is
// dropped. Plain syntax takes the text as it stands. An empty text compiles to a substitution that expands to "".
// Expansion writes at most 1024 characters and a terminating zero: the piece that would cross the limit is cut to
// fit and expansion stops there. A group that did not take part in the last match (or the slots after a failed
// match) contributes nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/lang/regex_matcher.h"

namespace osk::regex {

// The compiled block, owned by the caller (free with FreeNodeBlock), or null when memory runs out or the block
// would exceed 20000 bytes.
uint8_t* CompileSubstitution(std::string_view text, int32_t regexFlag);

// Writes the expansion into `out` (room for 1025 bytes) and returns true, or returns false, writing nothing, when
// the block does not begin with a Start node or is malformed.
bool ExpandSubstitution(const uint8_t* substitution, const Matcher& lastMatch, char* out);

}  // namespace osk::regex
