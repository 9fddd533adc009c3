// Message boxes the user must see: titled "OSK", a stop icon after an error beep.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace osk::app {

// owner may be zero; the box is then task-modal.
void showStop(HWND owner, const std::string& text);

// The text of an engine error code, any value accepted.
void showEngineError(HWND owner, int32_t code);

}  // namespace osk::app
