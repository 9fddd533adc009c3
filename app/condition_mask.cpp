#include "app/condition_mask.h"

#include "app/command_table.h"

namespace osk::app {

uint32_t conditionMask(const ShellState& s) {
  uint32_t mask = 0;
  auto set = [&mask](bool on, uint32_t bit) {
    if (on) mask |= bit;
  };
  const bool editor = s.editorActive;
  set(editor, kCondEditorActive);
  set(editor && s.activeSplit, kCondSplit);
  set(s.anyModified || (editor && s.activeModified), kCondAnyModified);
  set(editor && s.activeModified, kCondActiveModified);
  set(s.macroLoaded, kCondMacroLoaded);
  set(s.startupMacroSet, kCondStartupMacro);
  set(s.clipboardText, kCondClipboardText);
  set(editor && s.activeCanRedo, kCondCanRedo);
  set(editor && s.activeHasMark, kCondHasMark);
  set(editor && s.activeCanUndo, kCondCanUndo);
  set(editor && !s.activeReadOnly, kCondWritable);
  set(!s.macroRunning, kCondNoMacroRunning);
  set(editor && !s.activeMinimised, kCondEditorNotMinimised);
  set(editor && s.mdiChildren > 1, kCondOtherChild);
  set(s.fileHistory, kCondFileHistory);
  set(editor && !s.activeModified, kCondActiveUnmodified);
  set(editor && s.activeNamed, kCondActiveNamed);
  set(s.searchText, kCondSearchText);
  set(s.openBarLists > 1, kCondOpenBarLists);
  set(s.openBarSelection, kCondOpenBarSelection);
  set(s.printPreview, kCondPrintPreview);
  set(s.mdiChildren > 0, kCondAnyChild);
  return mask;
}

}  // namespace osk::app
