#include "app/clip_block.h"

#include "engine/lang/global_text_block.h"

namespace osk::app {

void releaseBlock(HGLOBALTEXT block) {
  if (block != nullptr) osk::ReleaseGlobalText(block);
}

}  // namespace osk::app
