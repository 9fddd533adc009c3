// The functions the engine calls back: the typed-character event and the three progress gauge steps.
//
// The gauge shows the hourglass and a bar over the status bar while a long operation runs, its share counted from
// the start value in 64 bits; a step answers nonzero when the user holds Esc in one of this program's windows,
// which aborts the operation. Calls nest safely: only the outermost start and end show and remove the gauge.
#pragma once

#include <windows.h>

#include "engine/ecd_types.h"

namespace osk::app {
bool registerGaugeClass(HINSTANCE instance);
}

extern "C" {
int32_t OSK_CALL fbEdEventHandler(EcdEventRecord* event);
int32_t OSK_CALL OskInitGauge(int32_t first, int32_t count, const char* caption);
int32_t OSK_CALL OskUpdateGauge(int32_t step);
int32_t OSK_CALL OskDestroyGauge(void);
}
