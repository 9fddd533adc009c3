// The program's side of the parts of the common services that the frame works with: the special popups of the
// menus, extension commands, the Open Bar, the tool bar under the mouse, the display palette, and the services'
// dialogs that commands open.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/win32/dispatch.h"
#include "services/ocs_config_api.h"
#include "services/win32/ocs_bars_api.h"

namespace osk::app {

// The special-list table the menu builders fill: window list, macro files, last four files, extension commands,
// and the entry that ends it.
using SpecialPopupRecord = std::array<OcsSpecialList, 5>;

// The four entries (window list, macro files, last four files, extension commands) with their popups as filled.
struct SpecialPopupView {
  uint16_t options;
  HMENU menu;
};
std::array<SpecialPopupView, 4> specialPopups();
void resetSpecialPopups();
OcsSpecialList* specialPopupTable();
// Whether the last menu built asked for these options.
bool specialPopupWants(uint16_t options);
SpecialPopupRecord saveSpecialPopups();
void restoreSpecialPopups(const SpecialPopupRecord& record);

// Replaces FileHistory and OBGotoList items by their popups (a TrackMenu menu: the popups are not remembered).
void expandMenuItems(HMENU menu);

// True when an extension library ran the command.
bool runExtensionCommand(const std::string& name, const char* parameter);
void refreshOpenBarCheckMarks();
void fillOpenBarGotoMenu(HMENU popup, UINT firstId);
void goToOpenBarList(int32_t list);
void openBarRefresh();
// The enabling test of a print preview command, or none.
decltype(OcsCommandDetails::enablingTest) previewEnablingTest(std::string_view name);

// The tool bar the mouse was last over (context 25), for the tool bar commands; its properties set the check marks.
void toolBarUnderMouse(const char* name);
const std::string& toolBarUnderMouseName();

HPALETTE createDisplayPalette();
void registerServiceDialogCommands(HandlerTable& table);
// The file type list and the long-name choices, as the services' file dialogs use them.
void handSettingsToServices();

// The clip buffers, the keystroke macro menu and the window list.
void freeClipBuffers();
void blinkRecordMark();
// 1135, 1136 or 1531: a repeated play may have to stop.
void abortRepeatPlay(UINT message);
void macroNotification(WPARAM wParam, LPARAM lParam);
void playMacroFromMenu(UINT id);
void fillMacroFilePopup(HMENU popup);
void showWindowList();
void openHelp(UINT command, ULONG_PTR data);

}  // namespace osk::app
