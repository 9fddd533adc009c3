#include "services/dialogs/options_form.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstring>

namespace osk {

namespace {

using P = OptionsPage;
using K = FieldKind;

constexpr int32_t kMaxMargin = 1024;

// Where a field lives in the record: a 32-bit integer, one byte, or a text of `size` bytes.
struct Place {
  int controlId;
  size_t offset;
  size_t size;
};

#define OSK_FIELD(id, member) Place{id, offsetof(OcsOptions, member), sizeof(OcsOptions::member)}

constexpr OptionsField kFields[] = {
    {kOptTabsAsSpaces, P::kEditing, K::kCheck, "Tabs as spaces", 0, 1},
    {kOptTabLen, P::kEditing, K::kNumber, "Tab length", 1, 32},
    {kOptIndent, P::kEditing, K::kNumber, "Indent", 0, kMaxMargin},
    {kOptLMarg, P::kEditing, K::kNumber, "Left margin", 0, kMaxMargin},
    {kOptRMarg, P::kEditing, K::kNumber, "Right margin", 1, kMaxMargin},
    {kOptAutoMarg, P::kEditing, K::kCheck, "Automatic margins", 0, 1},
    {kOptWordWrap, P::kEditing, K::kCheck, "Word wrap", 0, 1},
    {kOptSyncPanes, P::kEditing, K::kCheck, "Synchronise panes", 0, 1},
    {kOptUndos, P::kEditing, K::kNumber, "Undo levels", 0, 2000},
    {kOptAutoIndent, P::kEditing, K::kCheck, "Auto indent", 0, 1},
    {kOptAutoScroll, P::kEditing, K::kCheck, "Auto scroll", 0, 1},
    {kOptAutoTab, P::kEditing, K::kCheck, "Tab to last line", 0, 1},
    {kOptCaretAfterPaste, P::kEditing, K::kCheck, "Caret after paste", 0, 1},
    {kOptWrapBookMarks, P::kEditing, K::kNumber, "Bookmark search wrap", 0, 2},
    {kOptWordPattern, P::kEditing, K::kText, "Word pattern", 0, OCS_WORD_PATTERN_SIZE - 1},

    {kOptActiveReadOnly, P::kCurrentFile, K::kCheck, "Read only", 0, 1},
    {kOptActiveTabsAsSpaces, P::kCurrentFile, K::kCheck, "Tabs as spaces", 0, 1},
    {kOptActiveTabLen, P::kCurrentFile, K::kNumber, "Tab length", 1, 32},
    {kOptActiveIndent, P::kCurrentFile, K::kNumber, "Indent", 0, kMaxMargin},
    {kOptActiveLMarg, P::kCurrentFile, K::kNumber, "Left margin", 0, kMaxMargin},
    {kOptActiveRMarg, P::kCurrentFile, K::kNumber, "Right margin", 1, kMaxMargin},
    {kOptActiveAutoMarg, P::kCurrentFile, K::kCheck, "Automatic margins", 0, 1},
    {kOptActiveWordWrap, P::kCurrentFile, K::kCheck, "Word wrap", 0, 1},
    {kOptActiveSyncPanes, P::kCurrentFile, K::kCheck, "Synchronise panes", 0, 1},
    {kOptActiveUndo, P::kCurrentFile, K::kNumber, "Undo levels", 0, 3276},

    {kOptNewUnix, P::kFiles, K::kCheck, "New files with Unix line ends", 0, 1},
    {kOptMustBeNamed, P::kFiles, K::kCheck, "New files must be named", 0, 1},
    {kOptRemoveCtrlZ, P::kFiles, K::kCheck, "Remove Ctrl+Z on load", 0, 1},
    {kOptAddCtrlZ, P::kFiles, K::kCheck, "Add Ctrl+Z on save", 0, 1},
    {kOptFinalise, P::kFiles, K::kCheck, "Finalise on save", 0, 1},
    {kOptStripBlanks, P::kFiles, K::kCheck, "Remove blanks at line ends", 0, 1},
    {kOptOverwriteWarning, P::kFiles, K::kCheck, "Warn before overwriting", 0, 1},
    {kOptOpenReadOnly, P::kFiles, K::kCheck, "Open read-only files read-only", 0, 1},
    {kOptAutosave, P::kFiles, K::kCheck, "Autosave", 0, 1},
    {kOptAutosaveDelay, P::kFiles, K::kNumber, "Autosave interval (seconds)", 1, 86400},
    {kOptAutosaveDeactivation, P::kFiles, K::kCheck, "Save on deactivation", 0, 1},
    {kOptAutoload, P::kFiles, K::kCheck, "Reload on activation", 0, 1},
    {kOptLongNames, P::kFiles, K::kCheck, "Long file names", 0, 1},
    {kOptExplorer, P::kFiles, K::kCheck, "Explorer-style dialogs", 0, 1},
    {kOptMacroPath, P::kFiles, K::kText, "Macro folder", 0, OCS_MACRO_PATH_SIZE - 1},

    {kOptHorzScroll, P::kDisplay, K::kCheck, "Horizontal scroll bar", 0, 1},
    {kOptVertScroll, P::kDisplay, K::kCheck, "Vertical scroll bar", 0, 1},
    {kOptSyntax, P::kDisplay, K::kCheck, "Syntax colouring", 0, 1},
    {kOptDCScrolling, P::kDisplay, K::kCheck, "Fast scrolling", 0, 1},
    {kOptVScrollBoost, P::kDisplay, K::kNumber, "Scroll acceleration", 0, 10},
    {kOptStatBar, P::kDisplay, K::kCheck, "Status bar", 0, 1},
    {kOptLineNumbers, P::kDisplay, K::kCheck, "Line numbers", 0, 1},
    {kOptCharSpacing, P::kDisplay, K::kNumber, "Extra character spacing", 0, 64},
    {kOptLineSpacing, P::kDisplay, K::kNumber, "Extra line spacing", 0, 64},
    {kOptFontName, P::kDisplay, K::kText, "Font", 0, OCS_FONT_NAME_SIZE - 1},
    {kOptFontHeight, P::kDisplay, K::kNumber, "Font height", -255, 255},
    {kOptFontBold, P::kDisplay, K::kCheck, "Bold", 0, 1},
    {kOptFontItalic, P::kDisplay, K::kCheck, "Italic", 0, 1},
};

constexpr Place kPlaces[] = {
    OSK_FIELD(kOptTabsAsSpaces, tabsAsSpaces),
    OSK_FIELD(kOptTabLen, tabLen),
    OSK_FIELD(kOptIndent, indent),
    OSK_FIELD(kOptLMarg, lMarg),
    OSK_FIELD(kOptRMarg, rMarg),
    OSK_FIELD(kOptAutoMarg, autoMarg),
    OSK_FIELD(kOptWordWrap, wordWrap),
    OSK_FIELD(kOptSyncPanes, syncPanes),
    OSK_FIELD(kOptUndos, undos),
    OSK_FIELD(kOptAutoIndent, autoIndentOnNewline),
    OSK_FIELD(kOptAutoScroll, autoScrollOnNewline),
    OSK_FIELD(kOptAutoTab, autoTabToLastline),
    OSK_FIELD(kOptCaretAfterPaste, caretAfterPaste),
    OSK_FIELD(kOptWrapBookMarks, wrapBookMarksMode),
    OSK_FIELD(kOptWordPattern, wordPattern),
    OSK_FIELD(kOptActiveReadOnly, activeReadOnly),
    OSK_FIELD(kOptActiveTabsAsSpaces, activeTabsAsSpaces),
    OSK_FIELD(kOptActiveTabLen, activeTabLen),
    OSK_FIELD(kOptActiveIndent, activeIndent),
    OSK_FIELD(kOptActiveLMarg, activeLMarg),
    OSK_FIELD(kOptActiveRMarg, activeRMarg),
    OSK_FIELD(kOptActiveAutoMarg, activeAutoMarg),
    OSK_FIELD(kOptActiveWordWrap, activeWordWrap),
    OSK_FIELD(kOptActiveSyncPanes, activeSyncPanes),
    OSK_FIELD(kOptActiveUndo, activeUndoCapacity),
    OSK_FIELD(kOptNewUnix, newFilesForUnix),
    OSK_FIELD(kOptMustBeNamed, newFilesMustBeNamed),
    OSK_FIELD(kOptRemoveCtrlZ, removeCtrlZOnLoad),
    OSK_FIELD(kOptAddCtrlZ, addCtrlZOnSave),
    OSK_FIELD(kOptFinalise, finaliseOnSave),
    OSK_FIELD(kOptStripBlanks, stripBlanks),
    OSK_FIELD(kOptOverwriteWarning, overwriteWarning),
    OSK_FIELD(kOptOpenReadOnly, openReadOnlyAsReadOnly),
    OSK_FIELD(kOptAutosave, autosaveModifiedFiles),
    OSK_FIELD(kOptAutosaveDelay, autosaveDelay),
    OSK_FIELD(kOptAutosaveDeactivation, autosaveOnDeactivation),
    OSK_FIELD(kOptAutoload, autoloadOnActivation),
    OSK_FIELD(kOptLongNames, useLongFileNames),
    OSK_FIELD(kOptExplorer, useExplorerType),
    OSK_FIELD(kOptMacroPath, macroPath),
    OSK_FIELD(kOptHorzScroll, horzScroll),
    OSK_FIELD(kOptVertScroll, vertScroll),
    OSK_FIELD(kOptSyntax, applySyntaxHighlight),
    OSK_FIELD(kOptDCScrolling, useDCScrolling),
    OSK_FIELD(kOptVScrollBoost, vScrollBoost),
    OSK_FIELD(kOptStatBar, showStatBar),
    OSK_FIELD(kOptLineNumbers, showLineNumbers),
    OSK_FIELD(kOptCharSpacing, extraCharSpacing),
    OSK_FIELD(kOptLineSpacing, extraLineSpacing),
    OSK_FIELD(kOptFontName, fontName),
    OSK_FIELD(kOptFontHeight, fontHeight),
    OSK_FIELD(kOptFontBold, fontWeight),
    OSK_FIELD(kOptFontItalic, fontItalic),
};
#undef OSK_FIELD
static_assert(std::size(kFields) == std::size(kPlaces));

const Place& placeOf(int controlId) {
  for (const Place& p : kPlaces)
    if (p.controlId == controlId) return p;
  return kPlaces[0];   // every field has a place: the tests walk the whole table
}

int32_t readInt(const OcsOptions& r, size_t offset) {
  int32_t v;
  std::memcpy(&v, reinterpret_cast<const char*>(&r) + offset, sizeof v);
  return v;
}
void writeInt(OcsOptions& r, size_t offset, int32_t v) {
  std::memcpy(reinterpret_cast<char*>(&r) + offset, &v, sizeof v);
}

// The record's value of a field as the dialog shows it.
std::string showField(const OptionsField& f, const OcsOptions& r) {
  const Place& p = placeOf(f.controlId);
  const char* at = reinterpret_cast<const char*>(&r) + p.offset;
  if (f.controlId == kOptFontBold) return readInt(r, p.offset) > 400 ? "1" : "0";
  if (f.kind == FieldKind::kText) return std::string(at, strnlen(at, p.size));
  const int32_t v = p.size == 1 ? static_cast<uint8_t>(*at) : readInt(r, p.offset);
  if (f.kind == FieldKind::kCheck) return v ? "1" : "0";
  return std::to_string(v);
}

std::optional<int32_t> parseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int32_t v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

}  // namespace

std::span<const OptionsField> optionsFields() { return kFields; }

const OptionsField* findOptionsField(int controlId) {
  for (const OptionsField& f : kFields)
    if (f.controlId == controlId) return &f;
  return nullptr;
}

OptionsValues loadOptionsValues(const OcsOptions& record) {
  OptionsValues values;
  for (const OptionsField& f : kFields) values.text[f.controlId] = showField(f, record);
  values.fileTypes = parseFileTypes(record.fileTypes);
  return values;
}

std::string marginProblem(int32_t indent, int32_t lMarg, int32_t rMarg, bool autoMarg) {
  if (!autoMarg) {
    if (rMarg < 8 - indent || rMarg < indent + 8)
      return "The right margin must be at least 8 columns beyond the indent.";
    return {};
  }
  if (rMarg > kMaxMargin || rMarg < 8) return "The right margin must lie between 8 and 1024.";
  if (rMarg < lMarg) return "The left margin must not lie beyond the right margin.";
  if (rMarg < lMarg + indent || lMarg + indent < 1)
    return "The left margin plus the indent must lie between 1 and the right margin.";
  return {};
}

std::optional<OptionsProblem> storeOptionsValues(const OptionsValues& values, OcsOptions& record,
                                                 const PatternCheck& patternCompiles) {
  OcsOptions out = record;
  const bool active = record.editorActive != 0;
  std::vector<int> changed;
  const auto anyChanged = [&](std::initializer_list<int> ids) {
    for (int id : ids)
      if (std::find(changed.begin(), changed.end(), id) != changed.end()) return true;
    return false;
  };
  for (const OptionsField& f : kFields) {
    if (f.page == OptionsPage::kCurrentFile && !active) continue;
    const auto it = values.text.find(f.controlId);
    if (it == values.text.end()) continue;   // not shown: kept as it was
    const std::string& text = it->second;
    // What the program handed in is its own business: only what the user changed is checked and stored.
    if (text == showField(f, record)) continue;
    changed.push_back(f.controlId);
    const Place& p = placeOf(f.controlId);
    char* at = reinterpret_cast<char*>(&out) + p.offset;
    auto problem = [&](std::string message) { return OptionsProblem{f.controlId, f.page, std::move(message)}; };
    switch (f.kind) {
      case FieldKind::kText:
        if (text.size() > static_cast<size_t>(f.max))
          return problem(std::string(f.label) + " may be at most " + std::to_string(f.max) + " characters long.");
        if (text.find('\0') != std::string::npos) return problem(std::string(f.label) + " may not hold a zero.");
        std::memset(at, 0, p.size);
        std::memcpy(at, text.data(), text.size());
        break;
      case FieldKind::kCheck: {
        const bool set = !text.empty() && text != "0";
        if (f.controlId == kOptFontBold) {
          const bool wasBold = readInt(record, p.offset) > 400;
          if (set != wasBold) writeInt(out, p.offset, set ? 700 : 400);
        } else if (p.size == 1) {
          *at = set ? 1 : 0;
        } else if ((readInt(record, p.offset) != 0) != set) {
          writeInt(out, p.offset, set ? 1 : 0);   // an unchanged box keeps the program's own non-zero value
        }
        break;
      }
      case FieldKind::kNumber: {
        const auto v = parseNumber(text);
        if (!v || *v < f.min || *v > f.max)
          return problem(std::string(f.label) + " must be a whole number from " + std::to_string(f.min) + " to " +
                         std::to_string(f.max) + ".");
        writeInt(out, p.offset, *v);
        break;
      }
    }
  }

  if (std::string m = marginProblem(out.indent, out.lMarg, out.rMarg, out.autoMarg != 0);
      !m.empty() && anyChanged({kOptIndent, kOptLMarg, kOptRMarg, kOptAutoMarg}))
    return OptionsProblem{kOptRMarg, OptionsPage::kEditing, m};
  if (active && anyChanged({kOptActiveIndent, kOptActiveLMarg, kOptActiveRMarg, kOptActiveAutoMarg})) {
    if (std::string m = marginProblem(out.activeIndent, out.activeLMarg, out.activeRMarg, out.activeAutoMarg != 0);
        !m.empty())
      return OptionsProblem{kOptActiveRMarg, OptionsPage::kCurrentFile, m};
  }
  const std::string pattern(out.wordPattern, strnlen(out.wordPattern, sizeof out.wordPattern));
  if (anyChanged({kOptWordPattern}) && !pattern.empty() && patternCompiles && !patternCompiles(pattern))
    return OptionsProblem{kOptWordPattern, OptionsPage::kEditing,
                          "The word pattern is not a valid regular expression."};
  // An unchanged list keeps the program's bytes as they were.
  if (values.fileTypes != parseFileTypes(record.fileTypes)) {
    for (const FileType& t : values.fileTypes)
      if (std::string m = fileTypeProblem(t); !m.empty()) return OptionsProblem{0, OptionsPage::kFileTypes, m};
    const auto form = formatFileTypes(values.fileTypes, sizeof out.fileTypes);
    if (!form) return OptionsProblem{0, OptionsPage::kFileTypes, "The file types do not fit in 1024 characters."};
    std::memset(out.fileTypes, 0, sizeof out.fileTypes);
    std::memcpy(out.fileTypes, form->data(), form->size());
  }

  record = out;
  return std::nullopt;
}

}  // namespace osk
