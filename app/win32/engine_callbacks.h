// The functions the engine calls back: the typed-character event and the three progress gauge steps.
//
// The gauge shows the hourglass and covers the status bar's message field while a long operation runs. Start takes
// the value the operation counts from and the number of steps it expects (both unsigned, so byte counts past 2 GB
// work); a step takes the value reached and answers nonzero when the user pressed Esc in this program, which
// aborts the operation. Calls nest safely: only the outermost start and end show and remove the gauge.
#pragma once

#include <windows.h>

#include "engine/ecd_types.h"

extern "C" {
int32_t OSK_CALL fbEdEventHandler(EcdEventRecord* event);
int32_t OSK_CALL OskInitGauge(int32_t first, int32_t count, const char* caption);
int32_t OSK_CALL OskUpdateGauge(int32_t step);
int32_t OSK_CALL OskDestroyGauge(void);
}
