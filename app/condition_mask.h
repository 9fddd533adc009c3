// The condition mask: which of the condition bits hold for the program's present state. The shell describes its
// state in a ShellState; the mask follows from it alone.
#pragma once

#include <cstdint>

namespace osk::app {

struct ShellState {
  // The active MDI child, when it is a document window with an editor.
  bool editorActive = false;
  bool activeSplit = false;
  bool activeMinimised = false;
  bool activeModified = false;
  bool activeReadOnly = false;
  bool activeNamed = false;
  bool activeCanUndo = false;
  bool activeCanRedo = false;
  bool activeHasMark = false;
  int32_t mdiChildren = 0;           // document windows and the print preview
  bool anyModified = false;
  bool macroLoaded = false;
  bool startupMacroSet = false;
  bool macroRunning = false;         // being recorded or played
  bool clipboardText = false;
  bool fileHistory = false;
  bool searchText = false;
  int32_t openBarLists = 0;
  bool openBarSelection = false;
  bool printPreview = false;
};

uint32_t conditionMask(const ShellState& state);

}  // namespace osk::app
