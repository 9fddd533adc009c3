// The message loop: idle work of the services, dialog keys, MDI accelerators, and every key and mouse event looked
// up in the key map of the configuration in its event context before it is dispatched.
#pragma once

#include <windows.h>

#include <cstdint>

namespace osk::app {

int runMessageLoop();
// The event context of a key pressed in `window`, and of a mouse message over it.
uint16_t keyContext(HWND window);
uint16_t mouseContext(HWND window, LPARAM position);
// The modifier bits of a key event word from the keyboard state.
uint16_t modifierBits();

// Step 14 of start-up: the history store, the services and the palette go, after the loop has ended.
void endServices();

}  // namespace osk::app
