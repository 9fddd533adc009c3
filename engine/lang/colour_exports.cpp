// The exported colour functions, translated onto the colour tables and the colouring.
#include "engine/lang/colour_api.h"

#include "engine/lang/colour_tables.h"
#include "engine/lang/colouring.h"
#include "engine/lang/syntax_file.h"

using namespace osk::syntax;

namespace {
template <typename T>
void Put(T* out, T value) {
  if (out != nullptr) *out = value;
}
}  // namespace

extern "C" {

uint32_t OSK_CALL ECD_fuGetColourCount(void) { return kStandardColourCount; }

int32_t OSK_CALL ECD_fbGetNextColour(char* name, uint32_t* defaultFore, uint32_t* currentFore,
                                     uint32_t* defaultBack, uint32_t* currentBack, int32_t* useDefault) {
  StandardColourEntry e;
  if (!NextStandardColour(name, e)) return 0;
  Put(defaultFore, e.defaultFore);
  Put(currentFore, e.currentFore);
  Put(defaultBack, e.defaultBack);
  Put(currentBack, e.currentBack);
  Put(useDefault, e.useDefault ? 1 : 0);
  return 1;
}

int32_t OSK_CALL ECD_fbChangeColour(const char* name, uint32_t fore, uint32_t back, int32_t useDefault) {
  return ChangeStandardColour(name, fore, back, useDefault != 0) ? 1 : 0;
}

uint32_t OSK_CALL ECD_fuGetSyntaxColourCount(void) { return SyntaxColourCount(); }

int32_t OSK_CALL ECD_fbGetNextSyntaxColour(char* name, uint32_t* defaultFore, uint32_t* currentFore,
                                           uint32_t* defaultBack, uint32_t* currentBack, int32_t* useDefault,
                                           int32_t* currentBackNone, int32_t* defaultBackNone) {
  SyntaxColourEntry e;
  if (!NextSyntaxColour(name, e)) return 0;
  Put(defaultFore, e.defaultFore);
  Put(currentFore, e.currentFore);
  Put(defaultBack, e.defaultBack);
  Put(currentBack, e.currentBack);
  Put(useDefault, static_cast<int32_t>(e.flags & 1));
  Put(currentBackNone, static_cast<int32_t>((e.flags >> 1) & 1));
  Put(defaultBackNone, static_cast<int32_t>((e.flags >> 2) & 1));
  return 1;
}

int32_t OSK_CALL ECD_fbChangeSyntaxColour(const char* name, uint32_t fore, uint32_t back, int32_t useDefault,
                                          int32_t currentBackNone, int32_t defaultBackNone) {
  const uint32_t flags = (useDefault ? 1u : 0u) | (currentBackNone ? 2u : 0u) | (defaultBackNone ? 4u : 0u);
  return ChangeSyntaxColour(name, fore, back, flags) ? 1 : 0;
}

int32_t OSK_CALL EnumerateColours(char* name) { return NextSyntaxColourName(name) ? 1 : 0; }

OskPalette OSK_CALL ECD_fhSetPalette(OskPalette palette) {
  SetPalette(palette);
  return SyntaxInitialised() ? palette : nullptr;
}

int32_t OSK_CALL GetColourFromComment(const char* name) { return ColourFromDisplayName(name); }

int32_t OSK_CALL GetCellLineColours(HEDBUFFER buffer, int32_t line, uint8_t* cells) {
  return CellLineColours(buffer, line, cells);
}

}  // extern "C"
