// The clip buffers' life: freed at exit; the frame's drag messages are handled beside the clipboard commands.
#pragma once

#include <windows.h>

namespace osk::app {

void releaseClipBuffers();
// Messages 2224 to 2228 of a drag of marked text.
LRESULT dragMessage(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace osk::app
