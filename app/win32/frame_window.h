// The main frame: an overlapped window of class "OSK32" whose client area is the MDI client that holds the
// document windows.
//
// Private messages served: 1624 brings the frame to the top (a second copy started with the i option sends it);
// 13025 opens the file named by the global atom in wParam and answers 1 when that failed, 0 when it opened.
#pragma once

#include <windows.h>

#include <string>

namespace osk::app {

inline constexpr char kFrameClass[] = "OSK32";
inline constexpr UINT kMsgBringToTop = 1624;
inline constexpr UINT kMsgOpenByAtom = 13025;

bool registerFrameClass(HINSTANCE instance);

// Creates the frame and its MDI client (recorded in the shell state); zero when either cannot be made.
HWND createFrame(HINSTANCE instance, const std::string& title);

}  // namespace osk::app
