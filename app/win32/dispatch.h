// Dispatch: command strings executed on a target window, the handlers of the built-in commands, the condition
// mask handed to the services, check marks and the help context of menu items.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "app/command_table.h"

namespace osk::app {

// A handler gets the parameter text (at most 67 characters, never null).
using CommandHandler = void (*)(const char* parameter);
using HandlerTable = std::array<CommandHandler, kCommandCount>;

// Each group of commands puts its handlers into the table by name.
void setHandler(HandlerTable& table, std::string_view name, CommandHandler handler);
void registerFrameCommands(HandlerTable& table);
void registerEditingCommands(HandlerTable& table);
void registerMouseCommands(HandlerTable& table);
void registerFileCommands(HandlerTable& table);
// The window list "Select File", offered by the window menu when more than nine documents are open.
void showWindowListDialog();
void registerClipboardCommands(HandlerTable& table);
void registerPrintCommands(HandlerTable& table);
void registerSearchCommands(HandlerTable& table);
void registerTextCommands(HandlerTable& table);
void registerOpenBarCommands(HandlerTable& table);
void registerMacroCommands(HandlerTable& table);

// Runs a command string with `target` as the engine's current editor window when it is one of this program's
// editor windows (else with none). A name that neither the table nor an extension library knows is reported.
void executeCommand(const std::string& name, const std::string& parameter, HWND target, bool clearStatus);
// The editor window of the active document window, or null.
HWND activeEditor();
HWND activeDocument();
bool isEditorWindow(HWND window);

// The condition mask from the present state, handed to the services, and the check marks.
void refreshConditions();
void setConditionBits(uint32_t bits, uint32_t values);
void refreshCheckMarks();
void checkCommand(const char* name, bool checked);

// WM_MENUSELECT: the status message and help context of the highlighted item.
void menuSelected(HMENU menu, UINT item, UINT flags);
// Messages 2124 and 2125.
LRESULT commandDetails(WPARAM index, LPARAM record);
LRESULT menuListOptionDetails(WPARAM index, LPARAM record);

void beep();

// The editor's yes-or-no questions (modified, read-only, undo possible, a mark ...) answer 0 for yes and an error
// code for no.
inline bool editorSays(HWND editor, UINT question) {
  return editor != nullptr && SendMessageA(editor, question, 0, 0) == 0;
}

}  // namespace osk::app
