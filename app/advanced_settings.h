// The [Advanced] section of the settings. Its first block is what the program hands the engine as its twelve
// system option words at start-up; the rest are the shell's own editing, file and autosave choices. Until the
// settings file has been read, every value is its default.
#pragma once

#include <cstdint>
#include <string>

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

  // The shell's own choices.
  bool autoScrollOnNewline = false;
  bool autoIndentOnNewline = true;
  bool newFilesMustBeNamed = false;
  bool overwriteWarning = true;
  bool autosaveModifiedFiles = false;
  int32_t autosaveDelay = 300;         // seconds, 1 to 86400
  bool autosaveOnDeactivation = false;
  bool autoloadOnActivation = false;
  std::string macroPath;               // empty until read: the settings reader fills in the Windows directory
  std::string wordPattern;             // empty: the built-in word pattern "[A-Za-z0-9_]+"
  bool useLongFileNames = true;
  bool useExplorerType = true;         // explorer-style file dialogs; needs useLongFileNames too
};

inline constexpr int32_t kMaxExtraSpacing = 64;   // pixels between characters or lines
inline constexpr int32_t kMaxAutosaveDelay = 86400;

// The system option words for `settings`, in the engine's order; the third word is always 0.
EcdSystemOptions systemOptions(const AdvancedSettings& settings);

}  // namespace osk::app
