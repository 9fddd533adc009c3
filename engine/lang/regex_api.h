// The engine's exported regular-expression, substitution, buffer search and global text block functions, for the
// main program and for extension libraries. Results are 1 for success and 0 for failure unless stated.
//
// A compiled pattern or substitution handle is the address of its block; the caller owns it from the compile until
// DestroyRE / DestroyGS. Matching state (the copy of the last matched line and its ten match slots) is one set for
// the whole process: GetSubsString expands the match of the latest HitTest or LineHitTest, and any later match
// attempt replaces it. User-interface thread only.
// A global text block handle is the allocator's handle (see engine/lang/global_text_block.h): on Windows a movable
// global memory handle that the clipboard accepts; on the portable core the address of a heap block.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"

#ifdef __cplusplus
extern "C" {
#endif

struct OskCompiledPattern;
struct OskCompiledSubstitution;
typedef struct OskCompiledPattern* HCOMPILEDRE;
typedef struct OskCompiledSubstitution* HCOMPILEDGS;
typedef void* HGLOBALTEXT;

// Compiles a zero-terminated pattern; regex non-zero selects the expression syntax, zero plain text. 0 when the
// pattern is empty or invalid, or memory runs out.
HCOMPILEDRE OSK_CALL CompileRE(const char* pattern, int32_t regex);
// Frees a compiled pattern; 0 for a zero handle.
int32_t OSK_CALL DestroyRE(HCOMPILEDRE pattern);
// Matches one zero-terminated line (at most 1024 characters) from *col (0-based) forwards or backwards; on a match
// *col is the first character (forwards) or the last character (backwards) and *len the length.
int32_t OSK_CALL HitTest(HCOMPILEDRE pattern, const char* text, int32_t forward, int32_t matchCase, int32_t* col,
                         int32_t* len);

// Compiles a replacement text; regex non-zero enables \0 to \9. A null text is the empty replacement.
HCOMPILEDGS OSK_CALL CompileGS(const char* text, int32_t regex);
// Frees a compiled substitution; 0 for a zero handle.
int32_t OSK_CALL DestroyGS(HCOMPILEDGS substitution);
// Writes the replacement for the last match into out (1025 bytes), zero-terminated; 0 when the handle does not
// begin with a Start node.
int32_t OSK_CALL GetSubsString(HCOMPILEDGS substitution, char* out);

// Searches the current target's buffer from (*line, 1-based; *col, 0-based) towards limitLine (0: the last line
// forwards, line 1 backwards). On a match sets *line, *col (as HitTest) and *len and returns 1. With progress
// non-zero the gauge is stepped and may abort the search, which sets *aborted (when not null) and returns 0.
int32_t OSK_CALL LineHitTest(HCOMPILEDRE pattern, int32_t forward, int32_t matchCase, int32_t progress,
                             int32_t limitLine, int32_t* line, int32_t* col, int32_t* len, int32_t* aborted);

// Appends text to a block (0: a new one): mode 1 adds CR LF after it, mode 0 does nothing, other modes append the
// text alone. Returns the block's handle, which may move, or 0 when memory ran out (the block is then freed).
HGLOBALTEXT OSK_CALL AddGlobalLine(HGLOBALTEXT block, const char* text, int32_t mode);
// Starts reading a block and reads its first line into out (1025 bytes; 0: skip): 0 no more text, 1 a line ended
// by a line end, 2 a last line without one. Lines over 1024 characters come in pieces of 1024.
int32_t OSK_CALL GetFirstGlobalLine(HGLOBALTEXT block, char* out);
// Reads the next line of the block being read; 0 when there is none.
int32_t OSK_CALL GetNextGlobalLine(char* out);
// A new block of the same size with the same text, or 0.
HGLOBALTEXT OSK_CALL CopyGlobalLine(HGLOBALTEXT block);

#ifdef __cplusplus
}
#endif
