// The buffer message interface: the buffer rows of the editor window messages, served for one buffer.
#pragma once

#include <cstdint>

namespace osk {

class Buffer;

// Serves message `code` for `buffer`; -30 for a code that is not a buffer row.
int32_t bufferMessage(Buffer& buffer, uint32_t code, uintptr_t wParam, intptr_t lParam);

// True for the codes of the buffer rows.
bool isBufferMessage(uint32_t code);

}  // namespace osk
