#include "app/advanced_settings.h"

namespace osk::app {

EcdSystemOptions systemOptions(const AdvancedSettings& s) {
  EcdSystemOptions o{};
  o.word[ECD_OPT_SYNTAX_HIGHLIGHT] = s.applySyntaxHighlight ? 1 : 0;
  o.word[ECD_OPT_DC_SCROLLING] = s.useDcScrolling ? 1 : 0;
  o.word[ECD_OPT_READER] = 0;
  o.word[ECD_OPT_REMOVE_CTRLZ] = s.removeCtrlZOnLoad ? 1 : 0;
  o.word[ECD_OPT_ADD_CTRLZ] = s.addCtrlZOnSave ? 1 : 0;
  o.word[ECD_OPT_FINALISE_ON_SAVE] = s.finaliseOnSave ? 1 : 0;
  o.word[ECD_OPT_STRIP_EOL_SPACE] = s.allowEolSpace ? 0 : 1;
  o.word[ECD_OPT_AUTO_TAB_TO_LAST_LINE] = s.autoTabToLastLine ? 1 : 0;
  o.word[ECD_OPT_READ_ONLY_AS_READ_ONLY] = s.openReadOnlyAsReadOnly ? 1 : 0;
  o.word[ECD_OPT_EXTRA_CHAR_SPACING] = s.extraCharSpacing;
  o.word[ECD_OPT_EXTRA_LINE_SPACING] = s.extraLineSpacing;
  o.word[ECD_OPT_SHOW_LINE_NUMBERS] = s.showLineNumbers ? 1 : 0;
  return o;
}

}  // namespace osk::app
