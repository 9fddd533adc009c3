// The frame window a services test hands the library, and the folder of the test program, where the libraries
// and the files the tests write lie.
#pragma once

#include <windows.h>

#include <string>

namespace osk::test {

// A top-level window of a class of its own (registered with `proc` on first use) titled "OSK", at `place`;
// nullptr when it cannot be made.
HWND createTestFrame(const char* windowClass, WNDPROC proc, RECT place, DWORD style = WS_OVERLAPPEDWINDOW);

// The folder of the running test program, without a separator at the end.
std::string programDirectory();

}  // namespace osk::test
