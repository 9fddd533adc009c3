// The OCS_ entry points of the Open Bar: the file lists docked beside the documents, and the open-search
// directories. Every function does nothing and answers 0 for a null instance or an instance without an Open Bar
// (one exists once a configuration has loaded for an instance with a frame).
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"
#include "services/ocs_config_api.h"

#ifdef __cplusplus
extern "C" {
#endif

// Actions (value ignored unless said) and properties of OCS_SetOpenBarProp / OCS_GetOpenBarProp.
enum {
  OCS_OB_NEXT_LIST = 1,
  OCS_OB_PREVIOUS_LIST = 2,
  OCS_OB_GOTO_LIST = 3,        // value: the list's number, 0 for the first
  OCS_OB_NEW_LIST = 4,         // the new-list dialog
  OCS_OB_LIST_SETTINGS = 5,    // the "Open List Settings" dialog of the current list
  OCS_OB_REFRESH = 6,          // every list scanned again
  OCS_OB_OPEN_SELECTED = 7,    // each selected file of the current list sent to the frame (message 13025)
  OCS_OB_CLOSE_LIST = 8,       // refused when it is the only list
  OCS_OB_FONT = 9,             // the font dialog
  OCS_OB_VISIBLE = 20,         // then the frame gets 2127 with wParam 1 and lParam the value
  OCS_OB_MAXIMISED = 21,       // only the current list shown
  OCS_OB_AUTO_REFRESH = 22,    // lists follow their directories' changes by themselves
  OCS_OB_LIST_COUNT = 30,      // read only
  OCS_OB_SELECTED_COUNT = 31,  // read only: selected files of the current list
};

// Messages to the frame: 2128 when the Open Bar's list count or selection changed; 13025 (wParam a global atom
// with a file's full path) for each file that action 7 opens, answered 1 when the file could not be opened, which
// ends the action. Files handed over are deselected.
enum { OCS_MSG_OPEN_BAR_CHANGED = 2128, OCS_MSG_OPEN_BY_ATOM = 13025 };

// Runs an action or sets a property; nonzero when something was done (an action refused, a dialog cancelled or a
// property unknown answers 0).
int32_t OSK_CALL OCS_SetOpenBarProp(HOCSINSTANCE instance, int32_t property, int32_t value);
int32_t OSK_CALL OCS_GetOpenBarProp(HOCSINSTANCE instance, int32_t property);
int32_t OSK_CALL OCS_GetNumSelectedFiles(HOCSINSTANCE instance);
// The index of the next selected entry of the current list after `previous` (-1 to start), its full path copied
// into `buffer`, which must hold OCS_PATH_SIZE bytes; -1 when there is none. An entry whose path would not fit is
// passed over.
enum { OCS_PATH_SIZE = 260 };
int32_t OSK_CALL OCS_GetNextSelectedFile(HOCSINSTANCE instance, int32_t previous, char* buffer);
int32_t OSK_CALL OCS_DeselectFile(HOCSINSTANCE instance, int32_t index);
// Appends one item per list (its title; the current one checked) with identifiers first, first + 1, ...; the
// number of items appended.
int32_t OSK_CALL OCS_FillOpenBarGotoMenu(HOCSINSTANCE instance, void* menu, int32_t firstId);
// The open-search directories dialog; nonzero when the user changed the list with OK. The list is kept in the
// instance and saved with the services' settings.
int32_t OSK_CALL OCS_OpenSearchDirsDlg(HOCSINSTANCE instance, OskWindow parent);
// Copies open-search directory `index` (0-based) into `buffer` (OCS_PATH_SIZE bytes); 0 past the end.
int32_t OSK_CALL OCS_GetOpenSearchDir(HOCSINSTANCE instance, int32_t index, char* buffer);

#ifdef __cplusplus
}
#endif
