// The interface between the editor and an extension library: the eight entry points a library exports by name
// and the records they fill. A library includes this header (and engine/edit_api.h for the editing functions it
// calls); the common services include it to call the library.
//
// Every entry point is required; a library that lacks one is refused with "Failed to load extension DLL "path"".
// The editor calls them on its one user-interface thread only:
//
//   EXT_GetDescription ()                        a zero-terminated text shown in the extensions dialog (at most
//                                                255 characters are shown); the text must stay valid while the
//                                                library is loaded.
//   EXT_LoadINIDetails (settings path)           once, just after the library is loaded: read its own settings.
//   EXT_SaveINIDetails (settings path)           when the editor writes its settings: write them back.
//   EXT_GetMacroDetails (index, record)          for index 0, 1, 2 ...: fill the record of command `index` and
//                                                answer nonzero, or answer 0 past the last command. The record is
//                                                the one the program's frame fills for its own commands.
//   EXT_GetCommandDetails (index, record)        for index 0, 1, 2 ...: the texts of command `index` (name,
//                                                parameter, help text, menu text), nonzero while there are more.
//                                                The strings must stay valid until the next call.
//   EXT_GetMenuDetails (index, record)           for index 0, 1, 2 ...: the menu the library wants, one item per
//                                                index (its command index and nesting mark), 0 past the last.
//   EXT_IsMacroEnabled (name)                    reserved; answer nonzero.
//   EXT_RunMacro (name, parameter)               run the command of that name with that parameter text (empty
//                                                when none) and answer nonzero, or answer 0 for a name the library
//                                                does not own: the next library is asked then.
//
// Limits the editor applies when it copies what a library gives: names 32 characters, parameters and help texts
// 64, menu texts 32, descriptions 255; longer texts are cut and a missing terminator never makes it read further.
// The index questions stop after EXT_MAX_INDEX answers whatever the library says. Names are compared exactly
// (case matters); the library's short name (its file name, first 16 characters) is how a configuration remembers
// it.
//
// Menus: the items are appended in index order to the popup that asked for extension commands. A command whose
// name is empty and whose menu text is not opens a submenu of that text; nesting mark 2 on it makes the items
// that follow its children, and mark 1 on an item ends the submenu after that item. A command whose name and menu
// text are both empty is a separator.
#pragma once

#include "services/ocs_config_api.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  EXT_MAX_INDEX = 1024,
  EXT_TAKES_PARAMETER = 0x04000000,   // condition word bit: the command takes a parameter text
  EXT_DESCRIPTION_MAX = 255,
};

// Filled by EXT_GetMacroDetails: the name, the condition word (with EXT_TAKES_PARAMETER for a command that takes
// a parameter) and an enabling test or zero.
typedef OcsCommandDetails ExtMacroDetails;

// Filled by EXT_GetCommandDetails; a null pointer stands for an empty text.
typedef struct ExtCommandDetails {
  const char* name;
  const char* parameter;   // the parameter the command is placed on menus and keys with
  const char* helpText;    // shown in the status bar while the menu item is selected
  const char* menuText;    // "&" marks the access key
} ExtCommandDetails;

// Filled by EXT_GetMenuDetails.
typedef struct ExtMenuDetails {
  int32_t command;   // index of the command, as EXT_GetCommandDetails counts them
  int32_t nesting;   // 0 an ordinary item, 2 opens a submenu, 1 the last item of the current submenu
} ExtMenuDetails;

typedef const char*(OSK_CALL* ExtGetDescriptionProc)(void);
typedef int32_t(OSK_CALL* ExtLoadINIDetailsProc)(const char* settingsPath);
typedef int32_t(OSK_CALL* ExtSaveINIDetailsProc)(const char* settingsPath);
typedef int32_t(OSK_CALL* ExtGetMacroDetailsProc)(int32_t index, ExtMacroDetails* record);
typedef int32_t(OSK_CALL* ExtGetCommandDetailsProc)(int32_t index, ExtCommandDetails* record);
typedef int32_t(OSK_CALL* ExtGetMenuDetailsProc)(int32_t index, ExtMenuDetails* record);
typedef int32_t(OSK_CALL* ExtIsMacroEnabledProc)(const char* name);
typedef int32_t(OSK_CALL* ExtRunMacroProc)(const char* name, const char* parameter);

#ifdef __cplusplus
}
#endif
