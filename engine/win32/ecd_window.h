// The editor window's Win32 entry points, exported from the engine library beside the ECD_ functions.
#pragma once

#include <windows.h>

#include "engine/ecd_api.h"

extern "C" {
LRESULT CALLBACK ECD_flEDWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI ECD_flPrivateMessageHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           int32_t* useDefault);
int32_t WINAPI ECD_flMessage(UINT message, WPARAM wParam, LPARAM lParam);
}

namespace osk::win32 {
// Registers the editor window class for the engine library's module.
bool registerEditorClass(HINSTANCE module);
void unregisterEditorClass(HINSTANCE module);
// Loads the engine's cursors at initialisation from this module's resources.
void initialiseOwnerServices(HINSTANCE module);
// Global text blocks become movable global memory, the clipboard's own kind.
void useMovableGlobalMemory();
}  // namespace osk::win32
