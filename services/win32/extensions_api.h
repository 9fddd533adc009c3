// The OCS_ entry points of the extension libraries. The libraries themselves implement services/ext_api.h.
#pragma once

#include "services/ocs_config_api.h"

#ifdef __cplusplus
extern "C" {
#endif

struct HMENU__;

// Runs a command that the program's own table does not know: EXT_RunMacro of each loaded library in load order
// until one answers nonzero. That answer, or 0 when no library ran the command (the program then reports
// "Unknown command"). The parameter may be null (an empty text).
int32_t OSK_CALL OCS_RunExtensionCommand(HOCSINSTANCE instance, const char* name, const char* parameter);

// Appends to `menu` the menus the libraries describe (EXT_GetMenuDetails), for the libraries the current
// configuration got to know at run time: items carry their command numbers, so choosing one comes back as
// WM_COMMAND like any configured command. Nonzero when the menu was given.
int32_t OSK_CALL OCS_AddExtensionsToMenu(HOCSINSTANCE instance, struct HMENU__* menu);

// The libraries listed as "ExtDLL0", "ExtDLL1" ... in [Extended] of the instance's settings file: the list is
// emptied, then each library is loaded (one that cannot be, or lacks an entry point, is reported with "Failed to
// load extension DLL "path"" and skipped) and reads its settings; their commands are merged into the current
// configuration. Part of loading the services' settings. Answers the number of libraries loaded.
int32_t OSK_CALL OCS_LoadExtensionSettings(HOCSINSTANCE instance);
// Writes the list back (and lets each library save its own settings), ending it with an empty key. Part of
// saving the services' settings. Nonzero when an instance was given.
int32_t OSK_CALL OCS_SaveExtensionSettings(HOCSINSTANCE instance);

// The extensions dialog: the installed libraries with their descriptions, "Add Extension" (browsing "*.dll")
// and "Remove". Nonzero when the libraries changed, so the caller rebuilds its menus.
int32_t OSK_CALL OCS_ExtensionsDlg(HOCSINSTANCE instance, OskWindow owner);

#ifdef __cplusplus
}
#endif
