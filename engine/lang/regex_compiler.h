// Compiles a search pattern into a node block (see compiled_nodes.h) for the matcher.
//
// Expression syntax: literals, `.`, classes `[...]` / `[^...]` with ranges, `*` `+` `?` on the single item before
// them (the last character of a literal run), groups `( )` for capturing, `^` as the first and `$` as the last
// character of the pattern; `\t` and `\f` are tab and form feed, a backslash before any other character stands for
// that character. Plain syntax (regexFlag zero) takes the whole pattern as literal text.
// Every invalid pattern gives null: an empty pattern or one that consumes no character, unbalanced groups, more than
// nine groups, a stray `]`, a doubled quantifier, a trailing lone backslash, a reversed range such as `[z-a]`, a
// range after a range, a range without an end (`[a-`), a block over 20000 bytes, or memory running out.
#pragma once

#include <cstdint>
#include <string_view>

namespace osk::regex {

// The compiled block, owned by the caller (free with FreeNodeBlock), or null when the pattern is invalid.
uint8_t* CompilePattern(std::string_view pattern, int32_t regexFlag);

// The character that a backslash before `c` stands for: tab for `t`, form feed for `f`, else `c` itself.
uint8_t TranslateEscape(uint8_t c);

}  // namespace osk::regex
