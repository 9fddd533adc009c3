// Services entry points the program calls whose libraries' headers are not in the tree yet.
#pragma once

#include <windows.h>

#include <cstdint>

#include "services/win32/ocs_api.h"

extern "C" {
HMENU OSK_CALL OCS_CreateMenu(const char* name, HOCSINSTANCE instance, void* specialLists);
HMENU OSK_CALL OCS_CreatePopupMenu(const char* name, HOCSINSTANCE instance, void* specialLists);
int32_t OSK_CALL OCS_AddExtensionsToMenu(HOCSINSTANCE instance, HMENU menu);
void OSK_CALL OCS_EnableMacroCommands(HOCSINSTANCE instance, HMENU menu, uint32_t mask);
void OSK_CALL OCS_PartEnableMacroCommands(HOCSINSTANCE instance, HMENU menu, uint32_t bits, uint32_t values);
void OSK_CALL OCS_ProcessSpecialCommands(HOCSINSTANCE instance, HMENU menu);
void OSK_CALL OCS_CheckMacroCommands(HOCSINSTANCE instance, HMENU menu, const char* name, int32_t checked);
int32_t OSK_CALL OCS_LoadSettings(HOCSINSTANCE instance);
int32_t OSK_CALL OCS_SaveSettings(HOCSINSTANCE instance);
void OSK_CALL OCS_ResizeControlBars(HOCSINSTANCE instance, uint8_t* edges, HDWP* positions, RECT* rect);
int32_t OSK_CALL OCS_IsMoveableBar(HOCSINSTANCE instance, HWND window);
void OSK_CALL OCS_ActivationChanged(HOCSINSTANCE instance, int32_t active);
void OSK_CALL OCS_ColourChange(HOCSINSTANCE instance);
int32_t OSK_CALL OCS_SetToolBarProp(HOCSINSTANCE instance, const char* name, int32_t property, int32_t value);
int32_t OSK_CALL OCS_GetToolBarProp(HOCSINSTANCE instance, const char* name, int32_t property);
int32_t OSK_CALL OCS_ShowToolBar(HOCSINSTANCE instance, const char* name, int32_t show);
int32_t OSK_CALL OCS_ShowToolBarDlg(HOCSINSTANCE instance, HWND parent);
}
