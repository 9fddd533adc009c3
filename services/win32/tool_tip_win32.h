// The tool tip of the bars: one small window of class "OSK 2.0 Tool Tip" per process, shown under the button the
// mouse rests on and hidden when the mouse leaves it, a button is pressed, or the bar goes.
#pragma once

#include <windows.h>

#include <string>

namespace osk::win32 {

// Shows `text` with its top left corner at `at` (screen coordinates), for the bar `owner`.
void showToolTip(HWND owner, const std::string& text, POINT at);
// Hides the tip when `owner` shows it (any owner when null).
void hideToolTip(HWND owner);
// The window showing the tip now, null when none shows.
HWND visibleToolTip();

}  // namespace osk::win32

extern "C" LRESULT CALLBACK ToolTipWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
