// Small helpers of the common services for the program's file handling and drawing: paths shortened for display,
// names typed into an Open dialog completed with the filter's extension, the long and short forms of file names,
// and the split bars of document windows.
// None of them needs a services instance; every buffer is bounded by the size the caller gives.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"

#ifdef __cplusplus
extern "C" {
#endif

// Writes `path` shortened to at most maxChars characters into result (resultSize bytes, terminator included; the
// text is cut further when the buffer is smaller): the root ("C:\" or "\\server\share\"), "...", and the
// trailing parts that fit. Window titles use 64 characters, the file history popup 56. A null path gives "";
// nothing is written for a null result or a resultSize below 1.
void OSK_CALL OCS_fvGetDisplayablePath(const char* path, int32_t maxChars, char* result, int32_t resultSize);

// Offered a name typed into an Open dialog that names no existing file: when the name has no extension and the
// name with the first extension of filterPattern (the current filter's patterns, "*.c;*.h") exists, name
// (nameSize bytes) is rewritten with that extension and the answer is 1. Otherwise, or when the longer name would
// not fit, name is left alone and the answer is 0. A relative name is looked up in directory, or in the current
// directory when directory is null or empty; the name written back stays relative as typed.
int32_t OSK_CALL OCS_AmendOpenFile(const char* directory, const char* filterPattern, char* name, int32_t nameSize);

// Draws a split bar filling *bar (a RECT in the device context's coordinates) in the button-face colour with a
// raised 3-D edge: along its long sides, top and bottom for a horizontal bar (vertical 0), left and right for a
// vertical one. Nothing is drawn for a null context or rectangle, or an empty rectangle.
void OSK_CALL OCS_fvDrawSplitBar(struct HDC__* dc, const struct tagRECT* bar, int32_t vertical);

// The long form of name ("C:\\PROGRA~1\\NOTES~1.TXT" -> "C:\\Program Files\\notes file.txt") and the short,
// 8.3 form, written into result (resultSize bytes). The answer is 1 when the system gave a form and it fits; 0 when
// the file does not exist, the system has no such form, or it would not fit, and result is then left alone.
int32_t OSK_CALL OCS_fbGetLongPathName(const char* name, char* result, int32_t resultSize);
int32_t OSK_CALL OCS_fbGetShortPathName(const char* name, char* result, int32_t resultSize);

#ifdef __cplusplus
}
#endif
