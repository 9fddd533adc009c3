// The [Advanced] block of the settings: the options the program hands the engine as its twelve system option
// words at start-up. Until the settings file has been read, every value is its default.
#pragma once

#include <cstdint>

#include "engine/ecd_types.h"

namespace osk::app {

struct AdvancedSettings {
  bool applySyntaxHighlight = true;
  bool useDcScrolling = true;
  bool removeCtrlZOnLoad = false;
  bool addCtrlZOnSave = false;
  bool finaliseOnSave = false;
  bool allowEolSpace = false;          // the engine is told the inverse: strip blanks at line ends
  bool autoTabToLastLine = false;
  bool openReadOnlyAsReadOnly = true;
  int32_t extraCharSpacing = 0;
  int32_t extraLineSpacing = 0;
  bool showLineNumbers = false;
};

// The system option words for `settings`, in the engine's order; the third word is always 0.
EcdSystemOptions systemOptions(const AdvancedSettings& settings);

}  // namespace osk::app
