// Freeing a global text block the program owns: on Windows the block is movable global memory, on the portable
// core the engine's heap block. A null block is ignored.
#pragma once

#include "engine/lang/regex_api.h"

namespace osk::app {

void releaseBlock(HGLOBALTEXT block);

}  // namespace osk::app
