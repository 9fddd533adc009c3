// The OCS_ entry points of the menus and tool bars: menus built from the current configuration, the command
// states they and the tool buttons show, and the movable bars around the frame's client area.
//
// Every function does nothing and answers 0 for a null instance, and answers nothing useful while no configuration
// is loaded. Menu handles, the deferred-position handle and rectangles are the system's own types, declared here
// as the same opaque structures <windows.h> uses so that callers pass them without casts.
#pragma once

#include <stdint.h>

#include "engine/ecd_types.h"
#include "services/ocs_config_api.h"

#ifdef __cplusplus
extern "C" {
#endif

struct HMENU__;
typedef struct HMENU__* OcsMenu;   // HMENU
struct tagRECT;                    // RECT

// One entry of the special-list table given to the menu builders. A table is ended by an entry whose bits are 0.
// The builder stores in `menu` the popup of every top-level item whose special-list options are all among the
// entry's bits (1 open windows, 2 macro files, 4 last opened files, 8 extension commands); entries that match no
// popup are left as they were. A menu handle always fits in 32 bits: convert it back with
// (HMENU)(intptr_t)(int32_t)entry.menu.
#pragma pack(push, 1)
typedef struct OcsSpecialList {
  uint16_t bits;
  uint32_t menu;
} OcsSpecialList;
#pragma pack(pop)

// Messages the bars send to the frame window.
enum {
  OCS_MSG_STATUS_TEXT = 2126,   // lParam: a zero-terminated text for the status bar's message field
  OCS_MSG_LAYOUT = 2127,        // wParam 0: a bar changed size, place or visibility; lay the frame out again
};

// Tool bar properties.
enum { OCS_TB_LARGE_BUTTONS = 1, OCS_TB_WRAP = 2, OCS_TB_TOOL_TIPS = 3, OCS_TB_TIPS_WITH_KEYS = 4 };

// Edge flags of OCS_ResizeControlBars.
enum { OCS_EDGE_LEFT = 1, OCS_EDGE_RIGHT = 2, OCS_EDGE_TOP = 4, OCS_EDGE_BOTTOM = 8 };

// A menu bar (OCS_CreateMenu) or popup menu (OCS_CreatePopupMenu) built from the configuration's menu of that name,
// compared without regard to case; 0 when no configuration is loaded or there is no such menu. Item identifiers
// are command numbers; a command with a shortcut flagged for menus shows "text<tab>shortcut". Commands that are
// disabled or checked at the time are greyed or checked in the new menu. `specialLists` may be null.
OcsMenu OSK_CALL OCS_CreateMenu(const char* name, HOCSINSTANCE instance, OcsSpecialList* specialLists);
OcsMenu OSK_CALL OCS_CreatePopupMenu(const char* name, HOCSINSTANCE instance, OcsSpecialList* specialLists);

// Command states. Each does nothing when `menu` is 0. A command changes in `menu` and on the tool buttons only when
// its state really changed.
// Stores the condition mask; every command without an enabling test is enabled when all of its condition bits
// other than bit 26 are in the mask.
void OSK_CALL OCS_EnableMacroCommands(HOCSINSTANCE instance, OcsMenu menu, uint32_t mask);
// The mask becomes (mask AND NOT bits) OR (values AND bits); nothing is recomputed when it stays the same.
void OSK_CALL OCS_PartEnableMacroCommands(HOCSINSTANCE instance, OcsMenu menu, uint32_t bits, uint32_t values);
// Calls the enabling test of every command that has one: bit 0 of its answer greys, bit 1 checks.
void OSK_CALL OCS_ProcessSpecialCommands(HOCSINSTANCE instance, OcsMenu menu);
// Every command named exactly `name` (case-sensitive) is checked or unchecked.
void OSK_CALL OCS_CheckMacroCommands(HOCSINSTANCE instance, OcsMenu menu, const char* name, int32_t checked);
// Every command named exactly `name` is highlighted or not on its tool buttons.
void OSK_CALL OCS_HilightMacroCommands(HOCSINSTANCE instance, const char* name, int32_t on);

// Reads or writes the services' keys in the instance's settings file: the global tool bar keys and every bar's
// keys in [Extended], and the keys other parts of the services keep there. Settings read before the first
// configuration is loaded apply to the bars that configuration makes.
void OSK_CALL OCS_LoadSettings(HOCSINSTANCE instance);
void OSK_CALL OCS_SaveSettings(HOCSINSTANCE instance);

// With a null or empty name the global property changes and, when it really changed, every tool bar follows;
// with a name, the tool bars of exactly that name change. The frame gets message 2127 when sizes change.
void OSK_CALL OCS_SetToolBarProp(HOCSINSTANCE instance, const char* name, int32_t property, int32_t value);
// The global value (null or empty name) or the named bar's value; 0 when there is no such bar or property.
int32_t OSK_CALL OCS_GetToolBarProp(HOCSINSTANCE instance, const char* name, int32_t property);
// Shows or hides the tool bars named exactly `name`, then sends the frame message 2127.
void OSK_CALL OCS_ShowToolBar(HOCSINSTANCE instance, const char* name, int32_t show);
// The modal "View Tool Bars" dialog: which bars show, and the four global properties. Nonzero after OK.
int32_t OSK_CALL OCS_ShowToolBarDlg(HOCSINSTANCE instance, OskWindow parent);

// Lays the bars out inside *rect in sequence order (the first bar is the outermost) and leaves in *rect what is
// left for the MDI client. *edges says which edges of the rectangle already hold a bar (OCS_EDGE_*) and gains
// the edges this call fills. Docked bars move through DeferWindowPos on *deferred, which is replaced by what
// DeferWindowPos answers; when it is null, or a deferred move fails, the bars move at once instead. Floating bars
// take nothing; their windows are fitted to their buttons and kept on the screen. Nonzero on success.
int32_t OSK_CALL OCS_ResizeControlBars(HOCSINSTANCE instance, uint8_t* edges, void** deferred, struct tagRECT* rect);
// 1 when the window is one of the instance's bars.
int32_t OSK_CALL OCS_IsMoveableBar(HOCSINSTANCE instance, OskWindow window);
// Floating bars follow the activation of the frame (their captions show active or inactive).
void OSK_CALL OCS_ActivationChanged(HOCSINSTANCE instance, int32_t active);
// The system colours changed: button images and faces are drawn again in the new colours.
void OSK_CALL OCS_ColourChange(HOCSINSTANCE instance);

#ifdef __cplusplus
}
#endif
