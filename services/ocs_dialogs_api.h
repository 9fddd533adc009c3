// The OCS_ entry points of the services' dialogs that the program's commands open, and the small services the
// program hands its settings to. Every dialog is modal to the window given, runs on the user-interface thread and
// does nothing (answering 0) for a null instance or a null record. Failures the user must see are message boxes
// titled "OSK"; a refused entry leaves the dialog open with the focus on the field at fault.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"
#include "services/ocs_config_api.h"
#include "services/ocs_options.h"

#ifdef __cplusplus
extern "C" {
#endif

// The "Options" dialog: every field of the record on tabbed pages (Editing, Current File, Files, Display, File
// Types). The Current File page can be changed only when record->editorActive is set; activeEditor (may be 0) is
// the editor window whose settings those are, asked only for its file name to title the page. Only what the user
// changed is checked (whole numbers in their ranges, margins the program would keep, a word pattern that compiles,
// a file type list that fits); a refusal names the field and keeps the dialog open. OK answers 1 with the record
// updated; Cancel answers 0 and leaves every byte of the record as it was. Fields the dialog does not show (the
// palette and its colours, the two unused bytes) are never changed.
int32_t OSK_CALL OCS_OptionsDlg(HOCSINSTANCE instance, OskWindow frame, OcsOptions* record, OskWindow activeEditor);

// The "Run Command" dialog: the enabled commands of the frame, of the extension libraries and of the current
// configuration, each name once; the parameter field is enabled only for a command whose condition word has bit
// 26 and holds at most 64 characters. OK or a double click answers 1 with the name in `name`
// (OCS_COMMAND_NAME_SIZE bytes) and the parameter, empty when the field is disabled, in `parameter`
// (OCS_PARAMETER_SIZE bytes); the program runs that command string. Cancel answers 0 and writes nothing.
int32_t OSK_CALL OCS_RunCommandDlg(HOCSINSTANCE instance, OskWindow frame, char* name, char* parameter);

// "Current Keyboard and Mouse Mappings": the key and mouse mappings of the current configuration, one event
// context at a time, with the key names, command strings, whether the key shows in menus, and help texts.
// Answers 1 when it was shown, 0 without a configuration.
int32_t OSK_CALL OCS_KeyMapDlg(HOCSINSTANCE instance, OskWindow frame);

// "Customise": choose the configuration ("-- Default --", the program's resource CONFIGFILE 1001, or a "*.cfg" of
// the folder inWindowsDirectory selects, as OCS_LoadConfiguration reads it), bind and unbind a key or mouse event
// in an event context to a command string, and save the configuration under a file name in that folder (through
// a temporary file, so a failed save keeps the old file). configFile (260 characters and the terminator) holds the
// name in force when called ("" for the default) and, when the dialog answers 1, the name now in force, which the
// program stores as ConfigFile and from which it rebuilds its menus. Cancel answers 0 and puts the configuration
// that was in force back (reloading it when anything was changed); configFile is left alone.
int32_t OSK_CALL OCS_ConfigurationDlg(HOCSINSTANCE instance, OskWindow frame, int32_t inWindowsDirectory,
                                      char* configFile);

// The program's file type list in the file dialogs' filter form (description, zero, pattern, zero, ..., a final
// zero), read up to that final zero or 1024 bytes; a description without a pattern is dropped. A null list
// empties it.
void OSK_CALL OCS_SetGeneralFilters(HOCSINSTANCE instance, const char* filterForm);

// Whether the services' file dialogs use long file names, and explorer-style dialogs (only with long names).
void OSK_CALL OCS_fvSetUseLongFileNames(HOCSINSTANCE instance, int32_t useLongFileNames, int32_t useExplorerType);

// A palette for painting on a palette-based display (a halftone palette of the screen), or 0 when the display
// needs none. The caller owns the palette and deletes it.
struct HPALETTE__* OSK_CALL OCS_CreateDisplayPalette(void);

// Asks the user for one character in a small dialog whose field uses `font` (an HFONT; 0 for the dialog's own).
// Answers 1 with the character in *character when the user typed one and chose OK, else 0 and writes nothing.
int32_t OSK_CALL OCS_fbGetChar(HOCSINSTANCE instance, OskWindow owner, void* font, char* character);

#ifdef __cplusplus
}
#endif
