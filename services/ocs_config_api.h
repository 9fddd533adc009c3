// The OCS_ entry points of the configuration files, key mapping, histories and dates, and the records they share
// with the main program.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"

#ifdef __cplusplus
extern "C" {
#endif

// What the frame fills for message 2124 (wParam = index, lParam = this record); a zero result ends the list.
typedef struct OcsCommandDetails {
  char name[34];            // zero-terminated, at most 33 characters
  uint32_t conditionWord;   // with bit 26 for a command that takes a parameter
  int32_t(OSK_CALL* enablingTest)(void);   // bit 0 of its result: disabled, bit 1: checked; or zero
} OcsCommandDetails;

enum { OCS_MSG_COMMAND_DETAILS = 2124 };

struct OcsHistoryStore;
typedef struct OcsHistoryStore* HOCSHISTORY;

// The mouse event code (240 to 249) of a mouse button or move message, 0 for any other message.
int32_t OSK_CALL OCS_MapMouseMessageToKeyEvent(uint32_t message);
int32_t OSK_CALL MapMouseMessageToKeyEvent(uint32_t message);

// A new, empty history store; null when out of memory.
HOCSHISTORY OSK_CALL OCS_CreateHistoryStore(void);
void OSK_CALL OCS_DestroyHistoryStore(HOCSHISTORY store);
void OSK_CALL OCS_AddHistoryString(HOCSHISTORY store, const char* text, int32_t historyId);
// Fills the combo box's list, most recent first; with no history, keeps the text that was typed.
void OSK_CALL OCS_FillCombo(HOCSHISTORY store, OskWindow combo, int32_t historyId);
// Copies at most `size` characters of the most recent string and a zero at buffer[size]; the buffer holds
// size + 1 bytes. Nothing happens when the history does not exist or size is negative.
void OSK_CALL OCS_GetTopString(HOCSHISTORY store, char* buffer, int32_t size, int32_t historyId);
void OSK_CALL OCS_LoadHistorySettings(HOCSHISTORY store, const char* settingsPath);
void OSK_CALL OCS_SaveHistorySettings(HOCSHISTORY store, const char* settingsPath);

// The date by the user's short (0) or long (nonzero) date picture, and the time as "13:7:9", for a time in seconds
// since 1 January 1970, in local time. The text lives in a buffer of the library that the next call of the same
// function overwrites; a time that cannot be converted gives "".
const char* OSK_CALL OCS_FormatDate(int32_t longDate, int64_t time);
const char* OSK_CALL OCS_FormatTime(int64_t time);

#ifdef __cplusplus
}
#endif
