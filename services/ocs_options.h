// OcsOptions: the record the program fills from its settings, hands to OCS_OptionsDlg and applies when the dialog
// answers OK. Its layout is a contract between two separately built modules, so it is packed and fixed here:
// 32-bit integers in a fixed order, byte fields where said, the two handle fields pointer-sized. Everything from
// showStatBar onwards lies at 2-byte alignment.
//
// Booleans are 0 or 1 (the dialog treats any non-zero value as set). Text fields are zero-terminated within their
// size; the dialog never writes past a field and always terminates what it writes.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct HPALETTE__;

// Bytes of the file type list and of the text fields, terminators included.
enum {
  OCS_FILE_TYPES_SIZE = 1024,
  OCS_FONT_NAME_SIZE = 33,
  OCS_MACRO_PATH_SIZE = 261,
  OCS_WORD_PATTERN_SIZE = 129,
};

#pragma pack(push, 2)

typedef struct OcsOptions {
  // Display, editing and file options.
  int32_t horzScroll;
  int32_t vertScroll;
  int32_t applySyntaxHighlight;
  int32_t autoScrollOnNewline;
  int32_t autoIndentOnNewline;
  int32_t autoTabToLastline;
  int32_t useDCScrolling;
  int32_t caretAfterPaste;
  int32_t vScrollBoost;             // 0 to 10
  int32_t newFilesForUnix;
  int32_t newFilesMustBeNamed;
  int32_t removeCtrlZOnLoad;
  int32_t addCtrlZOnSave;
  int32_t finaliseOnSave;
  int32_t stripBlanks;              // the inverse of AllowEOLSpace
  int32_t overwriteWarning;
  int32_t openReadOnlyAsReadOnly;
  int32_t autosaveModifiedFiles;
  int32_t autosaveDelay;            // seconds
  int32_t autosaveOnDeactivation;
  int32_t autoloadOnActivation;
  // The file type list of the file dialogs in their filter form: description, zero, pattern, zero, ... and one more
  // zero after the last pair (an empty list is two zeros).
  char fileTypes[OCS_FILE_TYPES_SIZE];
  uint8_t unused[2];                // left as the program set them

  // Defaults for new documents.
  int32_t showStatBar;
  int32_t tabsAsSpaces;
  int32_t wordWrap;
  int32_t syncPanes;
  int32_t tabLen;
  int32_t rMarg;
  int32_t autoMarg;
  int32_t lMarg;
  int32_t indent;
  int32_t undos;                    // 0 to 2000

  // The active document, when editorActive is set; its settings are shown and changed only then.
  int32_t editorActive;
  int32_t activeReadOnly;
  int32_t activeTabsAsSpaces;
  int32_t activeWordWrap;
  int32_t activeSyncPanes;
  int32_t activeTabLen;
  int32_t activeRMarg;
  int32_t activeAutoMarg;
  int32_t activeLMarg;
  int32_t activeIndent;
  int32_t activeUndoCapacity;       // the buffer's undo capacity (editor messages 1090 and 1062)

  // The display palette and its colours, passed through untouched.
  struct HPALETTE__* palette;
  uint32_t* paletteColours;

  // The editor font.
  int32_t fontHeight;               // logical units; negative: character height
  int32_t fontWeight;               // 400 normal, 700 bold
  uint8_t fontItalic;
  char fontName[OCS_FONT_NAME_SIZE];   // empty: the engine's own font

  int32_t extraCharSpacing;         // pixels
  int32_t extraLineSpacing;         // pixels
  int32_t showLineNumbers;
  int32_t wrapBookMarksMode;
  char macroPath[OCS_MACRO_PATH_SIZE];
  char wordPattern[OCS_WORD_PATTERN_SIZE];   // a regular expression without the "#" the settings file adds
  int32_t useLongFileNames;
  int32_t useExplorerType;
} OcsOptions;

#pragma pack(pop)

#ifdef __cplusplus
}  // extern "C"

#include <cstddef>

// The layout both modules rely on; the fields after the palette move with the size of a pointer.
static_assert(offsetof(OcsOptions, autoloadOnActivation) == 80);
static_assert(offsetof(OcsOptions, fileTypes) == 84);
static_assert(offsetof(OcsOptions, unused) == 1108);
static_assert(offsetof(OcsOptions, showStatBar) == 1110);
static_assert(offsetof(OcsOptions, undos) == 1146);
static_assert(offsetof(OcsOptions, editorActive) == 1150);
static_assert(offsetof(OcsOptions, activeUndoCapacity) == 1190);
static_assert(offsetof(OcsOptions, palette) == 1194);
static_assert(offsetof(OcsOptions, paletteColours) == 1194 + sizeof(void*));
static_assert(offsetof(OcsOptions, fontHeight) == 1194 + 2 * sizeof(void*));
static_assert(offsetof(OcsOptions, fontItalic) == 1202 + 2 * sizeof(void*));
static_assert(offsetof(OcsOptions, fontName) == 1203 + 2 * sizeof(void*));
static_assert(offsetof(OcsOptions, extraCharSpacing) == 1236 + 2 * sizeof(void*));
static_assert(offsetof(OcsOptions, macroPath) == 1252 + 2 * sizeof(void*));
static_assert(offsetof(OcsOptions, wordPattern) == 1513 + 2 * sizeof(void*));
static_assert(offsetof(OcsOptions, useLongFileNames) == 1642 + 2 * sizeof(void*));
static_assert(sizeof(OcsOptions) == 1650 + 2 * sizeof(void*));
#endif
