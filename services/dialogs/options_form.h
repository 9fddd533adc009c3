// The Options dialog's fields and the rules that decide what it may hand back: every field of the options record
// with its page, kind, limits and the control that shows it, and the store that checks a whole set of entered
// values before it changes the record.
//
// Only values the user changed are checked and stored; a value shown as the program handed it in stays exactly as
// it was, even one outside the dialog's ranges, so the dialog never refuses what the user did not touch.
// A store either succeeds completely or changes nothing: the first problem (in page and field order) is reported
// with the field it belongs to, so the dialog can show the page, put the focus there and say what is wrong. The
// settings of the active document are checked and stored only when the record says an editor is active. Margins
// are checked by the rules the program applies to margins it reads, so a value the program would quietly replace
// is refused here with a reason instead.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>

#include "services/dialogs/dialog_ids.h"
#include "services/file_types.h"
#include "services/ocs_options.h"

namespace osk {

enum class OptionsPage { kEditing, kCurrentFile, kFiles, kDisplay, kFileTypes };

enum class FieldKind { kCheck, kNumber, kText };

struct OptionsField {
  int controlId;
  OptionsPage page;
  FieldKind kind;
  const char* label;     // as the user knows the field, for messages
  int32_t min, max;      // numbers: the accepted range; texts: max is the longest text
};

// Every field in page order.
std::span<const OptionsField> optionsFields();
const OptionsField* findOptionsField(int controlId);

// What the dialog shows: one text per control (checks as "0" or "1"), plus the file type list.
struct OptionsValues {
  std::map<int, std::string> text;
  std::vector<FileType> fileTypes;
};

OptionsValues loadOptionsValues(const OcsOptions& record);

struct OptionsProblem {
  int controlId;          // the field to show; 0 for the file type list
  OptionsPage page;
  std::string message;
};

// Answers whether a word pattern compiles; the dialog passes the engine's compiler.
using PatternCheck = std::function<bool(const std::string&)>;

// Checks every value and, when all pass, writes them into `record`; otherwise `record` is left as it was.
std::optional<OptionsProblem> storeOptionsValues(const OptionsValues& values, OcsOptions& record,
                                                 const PatternCheck& patternCompiles);

// The margin rules for one set of per-file settings; empty when the program would keep them as they are.
std::string marginProblem(int32_t indent, int32_t lMarg, int32_t rMarg, bool autoMarg);

// Control identifiers of the fields.
enum OptionsControl : int {
  kOptTabsAsSpaces = IDC_OPT_TABS_AS_SPACES, kOptTabLen = IDC_OPT_TAB_LEN, kOptIndent = IDC_OPT_INDENT,
  kOptLMarg = IDC_OPT_LMARG, kOptRMarg = IDC_OPT_RMARG, kOptAutoMarg = IDC_OPT_AUTO_MARG,
  kOptWordWrap = IDC_OPT_WORD_WRAP, kOptSyncPanes = IDC_OPT_SYNC_PANES, kOptUndos = IDC_OPT_UNDOS,
  kOptAutoIndent = IDC_OPT_AUTO_INDENT, kOptAutoScroll = IDC_OPT_AUTO_SCROLL, kOptAutoTab = IDC_OPT_AUTO_TAB,
  kOptCaretAfterPaste = IDC_OPT_CARET_AFTER_PASTE, kOptWrapBookMarks = IDC_OPT_WRAP_BOOKMARKS,
  kOptWordPattern = IDC_OPT_WORD_PATTERN,
  kOptActiveReadOnly = IDC_OPT_ACTIVE_READ_ONLY, kOptActiveTabsAsSpaces = IDC_OPT_ACTIVE_TABS_AS_SPACES,
  kOptActiveTabLen = IDC_OPT_ACTIVE_TAB_LEN, kOptActiveIndent = IDC_OPT_ACTIVE_INDENT,
  kOptActiveLMarg = IDC_OPT_ACTIVE_LMARG, kOptActiveRMarg = IDC_OPT_ACTIVE_RMARG,
  kOptActiveAutoMarg = IDC_OPT_ACTIVE_AUTO_MARG, kOptActiveWordWrap = IDC_OPT_ACTIVE_WORD_WRAP,
  kOptActiveSyncPanes = IDC_OPT_ACTIVE_SYNC_PANES, kOptActiveUndo = IDC_OPT_ACTIVE_UNDO,
  kOptNewUnix = IDC_OPT_NEW_UNIX, kOptMustBeNamed = IDC_OPT_MUST_BE_NAMED, kOptRemoveCtrlZ = IDC_OPT_REMOVE_CTRLZ,
  kOptAddCtrlZ = IDC_OPT_ADD_CTRLZ, kOptFinalise = IDC_OPT_FINALISE, kOptStripBlanks = IDC_OPT_STRIP_BLANKS,
  kOptOverwriteWarning = IDC_OPT_OVERWRITE_WARNING, kOptOpenReadOnly = IDC_OPT_OPEN_READ_ONLY,
  kOptAutosave = IDC_OPT_AUTOSAVE, kOptAutosaveDelay = IDC_OPT_AUTOSAVE_DELAY,
  kOptAutosaveDeactivation = IDC_OPT_AUTOSAVE_DEACTIVATION, kOptAutoload = IDC_OPT_AUTOLOAD,
  kOptLongNames = IDC_OPT_LONG_NAMES, kOptExplorer = IDC_OPT_EXPLORER, kOptMacroPath = IDC_OPT_MACRO_PATH,
  kOptHorzScroll = IDC_OPT_HORZ_SCROLL, kOptVertScroll = IDC_OPT_VERT_SCROLL, kOptSyntax = IDC_OPT_SYNTAX,
  kOptDCScrolling = IDC_OPT_DC_SCROLLING, kOptVScrollBoost = IDC_OPT_VSCROLL_BOOST, kOptStatBar = IDC_OPT_STAT_BAR,
  kOptLineNumbers = IDC_OPT_LINE_NUMBERS, kOptCharSpacing = IDC_OPT_CHAR_SPACING,
  kOptLineSpacing = IDC_OPT_LINE_SPACING, kOptFontName = IDC_OPT_FONT_NAME, kOptFontHeight = IDC_OPT_FONT_HEIGHT,
  kOptFontBold = IDC_OPT_FONT_BOLD, kOptFontItalic = IDC_OPT_FONT_ITALIC,
};

}  // namespace osk
