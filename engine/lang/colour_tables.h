// The colour tables: the three standard colours ("Normal Text", "Selected Text", "Bookmark") kept by the engine,
// and the syntax colours, which are the colour records of the syntax data, read and changed in place.
//
// Colours are Windows colour values (0x00bbggrr, or 0x02bbggrr palette-relative); 0xFFFFFFFF is none: as a
// background the normal text background shows, as a foreground (a colour defined without RGB) the normal text
// colour. Enumeration goes by name: an empty name gives the first entry, a name the entry after it; after the
// last entry or for an unknown name there is none. Each enumeration remembers the entry it returned last, so it
// advances even past two colours that share a display name. Names are read from the caller's buffers only within
// their documented sizes. Without syntax data the syntax functions find nothing.
#pragma once

#include <cstdint>

namespace osk::syntax {

enum class SystemColour { kWindowText, kWindow, kHighlightText, kHighlight };
// The platform's colour for an element; the portable default is black text on white, white on dark blue.
using SystemColourSource = uint32_t (*)(SystemColour which);
void SetSystemColourSource(SystemColourSource source);

constexpr int32_t kNormalText = 0;
constexpr int32_t kSelectedText = 1;
constexpr int32_t kBookmark = 2;
constexpr uint32_t kStandardColourCount = 3;
constexpr int32_t kNoSuchColour = 99;

struct StandardColourEntry {
  uint32_t defaultFore = 0;
  uint32_t currentFore = 0;
  uint32_t defaultBack = 0;
  uint32_t currentBack = 0;
  bool useDefault = true;
};

struct SyntaxColourEntry {
  uint32_t defaultFore = 0;
  uint32_t currentFore = 0;
  uint32_t defaultBack = 0;
  uint32_t currentBack = 0;
  uint32_t flags = 0;   // bit 0 use the default pair, bit 1 current background none, bit 2 default background none
};

// Current colours back to the defaults, every use-default flag set; both enumerations start afresh.
void ResetStandardColours();

// `name` holds at least 14 bytes.
bool NextStandardColour(char* name, StandardColourEntry& entry);
// Finds the entry by name, without regard to case.
bool ChangeStandardColour(const char* name, uint32_t fore, uint32_t back, bool useDefault);
// The colours the painter uses for a standard entry.
void StandardColours(int32_t index, uint32_t& fore, uint32_t& back);

uint32_t SyntaxColourCount();
// `name` holds at least 33 bytes; display names compare with case; colours without a display name are skipped.
bool NextSyntaxColour(char* name, SyntaxColourEntry& entry);
bool NextSyntaxColourName(char* name);
// Writes the current colours and the three flags (never the defaults) of the colour with that display name.
bool ChangeSyntaxColour(const char* name, uint32_t fore, uint32_t back, uint32_t flags);
// The index of the colour with that display name, or 99.
int32_t ColourFromDisplayName(const char* name);
// The colours of syntax colour `index`: foreground (a colour without RGB gives the normal text colour) and
// background (0xFFFFFFFF: none). False for an index outside the table.
bool SyntaxColours(int32_t index, uint32_t& fore, uint32_t& back);

// The palette the painter selects; the engine keeps the handle only.
void SetPalette(void* palette);
void* Palette();

}  // namespace osk::syntax
