// The documents as a whole: shutdown that asks each one, the session lines, the file history records, autosave and
// autoload, and the last-four list of the file menu.
#pragma once

#include <windows.h>

#include <cstddef>

namespace osk::app {

// Asks every document, writes the session lines and all settings; false (and nothing written) when a document
// refused, a save failed or the user cancelled.
bool shutDown();
void restoreSession();
void updateHistoryRecord(HWND document);
void openFromHistory(std::size_t index);
// Saves every modified named document quietly, keeping its undo history; never asks, never saves an untitled
// buffer, and does nothing while a modal dialog is up or an autosave is already running.
void autosaveAll();
void autoloadChangedFiles();
void fillLastFourPopup(HMENU popup);
// Shows the caret of `editor` (or none) in the status bar.
void caretReport(HWND editor);

}  // namespace osk::app
