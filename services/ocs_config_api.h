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

// Sizes of the buffers that receive a command's strings, terminator included.
enum { OCS_COMMAND_NAME_SIZE = 34, OCS_PARAMETER_SIZE = 65, OCS_HELP_TEXT_SIZE = 65, OCS_TOOL_BAR_NAME_SIZE = 33 };

// The services instance: made with the frame window, it holds the current configuration and everything built from
// it. Every function that takes one does nothing and answers 0 for a null instance.
struct OcsInstance;
typedef struct OcsInstance* HOCSINSTANCE;

// A new instance for the frame (whose message 2124 lists the program's commands) and the settings file; null when
// out of memory. The instance starts without a configuration.
HOCSINSTANCE OSK_CALL OCS_CreateInstance(OskWindow frame, const char* settingsPath);
// Frees the instance with its configuration; null is allowed.
void OSK_CALL OCS_DestroyInstance(HOCSINSTANCE instance);

// Loads "<program directory>\name" (inWindowsDirectory 0) or "<Windows directory>\name" and makes it the current
// configuration. Nonzero on success. A missing, foreign or oversized file fails quietly; a damaged one shows
// "Failed to load configuration."; either way the configuration loaded before stays in force.
int32_t OSK_CALL OCS_LoadConfiguration(HOCSINSTANCE instance, OskWindow owner, int32_t inWindowsDirectory,
                                       const char* name);
// The same for the resource "CONFIGFILE" `id` of `module` (the program's built-in configuration is 1001).
int32_t OSK_CALL OCS_LoadConfigurationResource(HOCSINSTANCE instance, OskWindow owner, void* module, int32_t id);
// Writes the current configuration to a full path through a temporary file, so the old file survives a failure.
// Refuses (shows "Failed to save configuration." and answers 0) a configuration that could not be loaded again.
int32_t OSK_CALL OCS_SaveConfiguration(HOCSINSTANCE instance, const char* path);
// The quick test of the selection dialog: nonzero when the file starts with a configuration header.
int32_t OSK_CALL OCS_IsConfigurationFile(const char* path);

// The command bound to the key event word in the event context (with the key map's fallbacks): nonzero when one
// is bound; the name (OCS_COMMAND_NAME_SIZE bytes) and parameter (OCS_PARAMETER_SIZE bytes) are copied into the
// buffers that are not null, cut to fit, and *enabled is 1 unless the command is disabled. Answers 0 and leaves the
// outputs alone when nothing is bound or no configuration is loaded.
int32_t OSK_CALL OCS_MapKeyDown(HOCSINSTANCE instance, const uint16_t* keyWord, uint16_t context, int32_t* enabled,
                                char* name, char* parameter);
// Copies the name and parameter of command `number` into the buffers that are not null; 1 when the number names
// a command, 0 for separators and unknown numbers.
int32_t OSK_CALL OCS_GetMacroString(HOCSINSTANCE instance, int32_t number, char* name, char* parameter);
// Copies the help text of command `number` (OCS_HELP_TEXT_SIZE bytes); an empty text for a number that names no
// command. Nonzero when it names one.
int32_t OSK_CALL OCS_GetHelpString(HOCSINSTANCE instance, int32_t number, char* helpText);

// The event context of a mouse over `window`: 25 for a tool bar (its name copied into toolBarName,
// OCS_TOOL_BAR_NAME_SIZE bytes, when not null), 21 for the Open Bar or a window inside it, 26 for the print
// preview, else 0.
int32_t OSK_CALL OCS_GetPositionConstraint(HOCSINSTANCE instance, OskWindow window, char* toolBarName);
// Nonzero when the window or one of its ancestors is the Open Bar.
int32_t OSK_CALL OCS_IsPartOfOpenBar(HOCSINSTANCE instance, OskWindow window);

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
