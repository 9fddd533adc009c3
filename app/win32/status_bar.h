// The status bar "OSK_WSTAT": a strip at the bottom of the frame with the message field on the left and the caret
// position and typing mode of the active editor on the right. Its window text is the message field, so other
// programs (and tests) read it with WM_GETTEXT.
#pragma once

#include <windows.h>

#include <string>

namespace osk::app {

inline constexpr char kStatusBarClass[] = "OSK_WSTAT";

bool registerStatusBarClass(HINSTANCE instance);
HWND createStatusBar(HWND frame);
int statusBarHeight();
// Whether the status bar is switched on, also while the frame itself is not shown yet.
bool statusBarShown();

void setStatusMessage(const std::string& text);
std::string statusMessage();
// The caret of the active editor (line and cell), or none (0).
void showCaretPosition(long line, long cell);
void showInsertMode(bool insert);

}  // namespace osk::app
