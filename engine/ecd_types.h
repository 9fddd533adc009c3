// Types shared by the engine's public interface and its portable core: handles, records and callbacks.
//
// Window handles are declared as the same opaque structure pointers that <windows.h> uses, so that Win32 callers
// pass an HWND without a cast while the portable core never needs the Windows headers.
// Records given as "32-bit words" keep their word order; a word that holds a pointer or a handle is pointer-sized,
// every other word is a 32-bit integer, with natural C alignment.
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define OSK_CALL __stdcall
#else
#define OSK_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

struct HWND__;
typedef struct HWND__* OskWindow;   // HWND
struct OskBufferRecord;
typedef struct OskBufferRecord* HEDBUFFER;   // buffer handle

// Argument of the event callback: a typed character.
typedef struct EcdEventRecord {
  int32_t kind;        // always 20: a typed character
  int32_t code;        // character code (low byte)
  int32_t value;       // character value
  int32_t modifiers;   // bit 1 Shift down, bit 2 Ctrl down
} EcdEventRecord;

enum { ECD_EVENT_CHAR = 20 };

typedef int32_t(OSK_CALL* EcdEventProc)(EcdEventRecord* event);
typedef int32_t(OSK_CALL* EcdGaugeStartProc)(int32_t first, int32_t count, const char* caption);
typedef int32_t(OSK_CALL* EcdGaugeStepProc)(int32_t step);
typedef int32_t(OSK_CALL* EcdGaugeEndProc)(void);

// Argument of ECD_flOpenBuffer and lParam of message 1024.
typedef struct EcdOpenRecord {
  const char* fileName;     // zero or empty: a new unnamed buffer
  int32_t undoCapacity;     // in records; capacity * 20 above 65535 becomes 3276
  int32_t tabLength;        // outside 1 to 32 becomes 1
  int32_t flags;            // ECD_OPEN_*
  HEDBUFFER buffer;         // out: the new buffer
  const char* caption;      // progress caption while the file is read, or zero
} EcdOpenRecord;

enum {
  ECD_OPEN_READ = 0x01,
  ECD_OPEN_HSCROLL = 0x02,
  ECD_OPEN_VSCROLL = 0x04,
  ECD_OPEN_TABS_AS_SPACES = 0x08,
  ECD_OPEN_READ_ONLY = 0x10,
  ECD_OPEN_FLAG6 = 0x20,
  ECD_OPEN_UNIX = 0x80,
  ECD_OPEN_ALLOW_DUPLICATE = 0x100,
};

// System options, twelve words (ECD_fvSetSystemOptions / ECD_fvGetSystemOptions).
typedef struct EcdSystemOptions {
  int32_t word[12];
} EcdSystemOptions;

enum {
  ECD_OPT_SYNTAX_HIGHLIGHT = 0,
  ECD_OPT_DC_SCROLLING = 1,
  ECD_OPT_READER = 2,
  ECD_OPT_REMOVE_CTRLZ = 3,
  ECD_OPT_ADD_CTRLZ = 4,
  ECD_OPT_FINALISE_ON_SAVE = 5,
  ECD_OPT_STRIP_EOL_SPACE = 6,
  ECD_OPT_AUTO_TAB_TO_LAST_LINE = 7,
  ECD_OPT_READ_ONLY_AS_READ_ONLY = 8,
  ECD_OPT_EXTRA_CHAR_SPACING = 9,
  ECD_OPT_EXTRA_LINE_SPACING = 10,
  ECD_OPT_SHOW_LINE_NUMBERS = 11,
};

// lParam of message 1026 (save).
typedef struct EcdSaveRecord {
  const char* caption;
  const char* fileName;     // zero: the buffer's own file
  int32_t mayFinalise;      // nonzero: the save may discard the undo history
} EcdSaveRecord;

typedef struct EcdLineCol {
  int32_t line;
  int32_t column;
} EcdLineCol;

#ifdef __cplusplus
}
#endif
