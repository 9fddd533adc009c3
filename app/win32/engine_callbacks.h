// The functions the engine calls back: the typed-character event and the three progress gauge steps.
//
// The gauge shows the hourglass while a long operation runs; a step answers nonzero when the user holds Esc in
// one of this program's windows, which aborts the operation. Calls nest safely: only the outermost start and end
// change the cursor.
#pragma once

#include "engine/ecd_types.h"

extern "C" {
int32_t OSK_CALL fbEdEventHandler(EcdEventRecord* event);
int32_t OSK_CALL OskInitGauge(int32_t first, int32_t count, const char* caption);
int32_t OSK_CALL OskUpdateGauge(int32_t step);
int32_t OSK_CALL OskDestroyGauge(void);
}
