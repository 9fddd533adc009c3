// The Options dialog's fields and the rules that decide what it may hand back: every field of the options record
// with its page, kind, limits and the control that shows it, and the store that checks a whole set of entered
// values before it changes the record.
//
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

#include "services/dialogs/file_types.h"
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
  // Editing
  kOptTabsAsSpaces = 4101, kOptTabLen, kOptIndent, kOptLMarg, kOptRMarg, kOptAutoMarg, kOptWordWrap, kOptSyncPanes,
  kOptUndos, kOptAutoIndent, kOptAutoScroll, kOptAutoTab, kOptCaretAfterPaste, kOptWrapBookMarks, kOptWordPattern,
  // Current file
  kOptActiveReadOnly = 4131, kOptActiveTabsAsSpaces, kOptActiveTabLen, kOptActiveIndent, kOptActiveLMarg,
  kOptActiveRMarg, kOptActiveAutoMarg, kOptActiveWordWrap, kOptActiveSyncPanes, kOptActiveUndo,
  // Files
  kOptNewUnix = 4161, kOptMustBeNamed, kOptRemoveCtrlZ, kOptAddCtrlZ, kOptFinalise, kOptStripBlanks,
  kOptOverwriteWarning, kOptOpenReadOnly, kOptAutosave, kOptAutosaveDelay, kOptAutosaveDeactivation,
  kOptAutoload, kOptLongNames, kOptExplorer, kOptMacroPath,
  // Display
  kOptHorzScroll = 4191, kOptVertScroll, kOptSyntax, kOptDCScrolling, kOptVScrollBoost, kOptStatBar,
  kOptLineNumbers, kOptCharSpacing, kOptLineSpacing, kOptFontName, kOptFontHeight, kOptFontBold, kOptFontItalic,
};

}  // namespace osk
