// The keystroke macro commands' entry points for the rest of the program: the places where other commands end a
// repeated play, the engine's end-of-play notification, the macro files of the macro menu, and the start-up macro.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/editing_commands.h"

namespace osk::app {

// Find Next and FindRepeat call this when a search finds nothing; Next and Previous Bookmark when they find no
// bookmark. A repeated play whose settings ask for it stops ("Repeat replay stopped"); otherwise nothing happens.
void stopRepeatPlayOnFailedSearch();
void stopRepeatPlayOnFailedBookmark();
// The frame's messages 1135 (a caret column was clamped), 1136 (a caret line was clamped) and 1531 (a document
// window closed).
void stopRepeatPlayOnFrameMessage(UINT message);

// A caret command ran from this caret position: a move held at an edge of the file or line may stop a repeated
// play, as the editor's own clamps do.
void noteCaretMove(CaretMove move, int32_t lineBefore, int32_t columnBefore);

// Notification 1324 from the engine: the status text, the next play of a repeat, the conditions.
void macroPlayEnded(WPARAM code);
// Menu items 16000 to 16008 load and play their file; 16009 offers every macro file of the macro folder.
void playMacroMenuItem(UINT id);
// Puts the macro files after the configuration's own items of the popup that asked for them.
void showMacroFilesIn(HMENU popup);
// The file named by "Startup" is loaded and played once; plays are then refused until a macro file is loaded.
void playStartupMacro();

}  // namespace osk::app
