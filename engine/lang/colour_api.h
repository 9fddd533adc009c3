// The engine's exported colour functions: the standard colour table, the syntax colours of the syntax data, the
// palette the painter selects, and the colours of a buffer line's cells for extension libraries.
//
// Name buffers: ECD_fbGetNextColour needs 14 bytes, ECD_fbGetNextSyntaxColour and EnumerateColours 33; pass an
// empty name for the first entry and the returned name for the next; 0 after the last entry or for an unknown
// name. Colours are 0x00bbggrr or palette-relative 0x02bbggrr values; 0xFFFFFFFF is none. Without syntax data the
// syntax functions return 0 (GetColourFromComment 99). Null pointers are refused with 0.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"

#ifdef __cplusplus
extern "C" {
#endif

struct HPALETTE__;
typedef struct HPALETTE__* OskPalette;   // HPALETTE

// 3: "Normal Text", "Selected Text", "Bookmark".
uint32_t OSK_CALL ECD_fuGetColourCount(void);
int32_t OSK_CALL ECD_fbGetNextColour(char* name, uint32_t* defaultFore, uint32_t* currentFore,
                                     uint32_t* defaultBack, uint32_t* currentBack, int32_t* useDefault);
int32_t OSK_CALL ECD_fbChangeColour(const char* name, uint32_t fore, uint32_t back, int32_t useDefault);

uint32_t OSK_CALL ECD_fuGetSyntaxColourCount(void);
int32_t OSK_CALL ECD_fbGetNextSyntaxColour(char* name, uint32_t* defaultFore, uint32_t* currentFore,
                                           uint32_t* defaultBack, uint32_t* currentBack, int32_t* useDefault,
                                           int32_t* currentBackNone, int32_t* defaultBackNone);
// Writes the current colours and the three flags; never the defaults.
int32_t OSK_CALL ECD_fbChangeSyntaxColour(const char* name, uint32_t fore, uint32_t back, int32_t useDefault,
                                          int32_t currentBackNone, int32_t defaultBackNone);
int32_t OSK_CALL EnumerateColours(char* name);

// Keeps the palette for the painter; returns it when the engine is initialised, else 0.
OskPalette OSK_CALL ECD_fhSetPalette(OskPalette palette);
// The index of the syntax colour with that display name; 99 when none.
int32_t OSK_CALL GetColourFromComment(const char* name);
// Fills cells (1024 bytes) with 96, then per cell of the line 98 for plain text or the syntax colour index.
// 0, or an engine code (-20 unknown buffer, -16 line outside the buffer, -3 null array).
int32_t OSK_CALL GetCellLineColours(HEDBUFFER buffer, int32_t line, uint8_t* cells);

#ifdef __cplusplus
}
#endif
