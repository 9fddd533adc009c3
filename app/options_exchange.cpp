#include "app/options_exchange.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "app/bounded_text.h"

namespace osk::app {
namespace {

int32_t flag(bool b) { return b ? 1 : 0; }

// A text field as far as its terminator, or to its end when it has none.
template <std::size_t N>
std::string fieldText(const char (&field)[N]) {
  const void* zero = std::memchr(field, 0, N);
  return std::string(field, zero ? static_cast<const char*>(zero) - field : N);
}

template <std::size_t N>
void setField(char (&field)[N], std::string_view text) {
  copyBounded(std::span<char>(field, N), text);
}

}  // namespace

void fillOptions(const ShellSettings& s, const std::optional<ActiveDocumentOptions>& active, OcsOptions& r) {
  const AdvancedSettings& a = s.advanced;
  r.horzScroll = flag(s.horzScroll);
  r.vertScroll = flag(s.vertScroll);
  r.applySyntaxHighlight = flag(a.applySyntaxHighlight);
  r.autoScrollOnNewline = flag(a.autoScrollOnNewline);
  r.autoIndentOnNewline = flag(a.autoIndentOnNewline);
  r.autoTabToLastline = flag(a.autoTabToLastLine);
  r.useDCScrolling = flag(a.useDcScrolling);
  r.caretAfterPaste = flag(s.caretAfterPaste);
  r.vScrollBoost = s.vScrollBoost;
  r.newFilesForUnix = flag(s.newFilesForUnix);
  r.newFilesMustBeNamed = flag(a.newFilesMustBeNamed);
  r.removeCtrlZOnLoad = flag(a.removeCtrlZOnLoad);
  r.addCtrlZOnSave = flag(a.addCtrlZOnSave);
  r.finaliseOnSave = flag(a.finaliseOnSave);
  r.stripBlanks = flag(!a.allowEolSpace);
  r.overwriteWarning = flag(a.overwriteWarning);
  r.openReadOnlyAsReadOnly = flag(a.openReadOnlyAsReadOnly);
  r.autosaveModifiedFiles = flag(a.autosaveModifiedFiles);
  r.autosaveDelay = a.autosaveDelay;
  r.autosaveOnDeactivation = flag(a.autosaveOnDeactivation);
  r.autoloadOnActivation = flag(a.autoloadOnActivation);
  const std::string types = filterBlock(s.filters);   // at most the field's size, its two closing zeros included
  std::memset(r.fileTypes, 0, sizeof r.fileTypes);
  std::memcpy(r.fileTypes, types.data(), std::min(types.size(), sizeof r.fileTypes));

  r.showStatBar = flag(s.showStatBar);
  r.tabsAsSpaces = s.defaults.tabsAsSpaces;
  r.wordWrap = s.defaults.wordWrap;
  r.syncPanes = s.defaults.syncPanes;
  r.tabLen = s.defaults.tabLength;
  r.rMarg = s.defaults.rightMargin;
  r.autoMarg = s.defaults.autoMargin;
  r.lMarg = s.defaults.leftMargin;
  r.indent = s.defaults.indent;
  r.undos = s.undos;

  const ActiveDocumentOptions doc = active.value_or(ActiveDocumentOptions{});
  r.editorActive = flag(active.has_value());
  r.activeReadOnly = flag(doc.readOnly);
  r.activeTabsAsSpaces = doc.settings.tabsAsSpaces;
  r.activeWordWrap = doc.settings.wordWrap;
  r.activeSyncPanes = doc.settings.syncPanes;
  r.activeTabLen = doc.settings.tabLength;
  r.activeRMarg = doc.settings.rightMargin;
  r.activeAutoMarg = doc.settings.autoMargin;
  r.activeLMarg = doc.settings.leftMargin;
  r.activeIndent = doc.settings.indent;
  r.activeUndoCapacity = doc.undoCapacity;

  r.fontHeight = s.font.height;
  r.fontWeight = s.font.weight;
  r.fontItalic = s.font.italic ? 1 : 0;
  setField(r.fontName, s.font.name);
  r.extraCharSpacing = a.extraCharSpacing;
  r.extraLineSpacing = a.extraLineSpacing;
  r.showLineNumbers = flag(a.showLineNumbers);
  r.wrapBookMarksMode = s.wrapBookMarksMode;
  setField(r.macroPath, a.macroPath);
  setField(r.wordPattern, a.wordPattern);
  r.useLongFileNames = flag(a.useLongFileNames);
  r.useExplorerType = flag(a.useExplorerType);
}

OptionsAnswer readOptions(const OcsOptions& r, ShellSettings s) {
  AdvancedSettings& a = s.advanced;
  s.horzScroll = r.horzScroll != 0;
  s.vertScroll = r.vertScroll != 0;
  a.applySyntaxHighlight = r.applySyntaxHighlight != 0;
  a.autoScrollOnNewline = r.autoScrollOnNewline != 0;
  a.autoIndentOnNewline = r.autoIndentOnNewline != 0;
  a.autoTabToLastLine = r.autoTabToLastline != 0;
  a.useDcScrolling = r.useDCScrolling != 0;
  s.caretAfterPaste = r.caretAfterPaste != 0;
  s.vScrollBoost = r.vScrollBoost;
  s.newFilesForUnix = r.newFilesForUnix != 0;
  a.newFilesMustBeNamed = r.newFilesMustBeNamed != 0;
  a.removeCtrlZOnLoad = r.removeCtrlZOnLoad != 0;
  a.addCtrlZOnSave = r.addCtrlZOnSave != 0;
  a.finaliseOnSave = r.finaliseOnSave != 0;
  a.allowEolSpace = r.stripBlanks == 0;
  a.overwriteWarning = r.overwriteWarning != 0;
  a.openReadOnlyAsReadOnly = r.openReadOnlyAsReadOnly != 0;
  a.autosaveModifiedFiles = r.autosaveModifiedFiles != 0;
  a.autosaveDelay = r.autosaveDelay;
  a.autosaveOnDeactivation = r.autosaveOnDeactivation != 0;
  a.autoloadOnActivation = r.autoloadOnActivation != 0;
  // An emptied list would leave the file dialogs with nothing to offer; the default list takes its place.
  s.filters = filtersFromBlock(std::string_view(r.fileTypes, sizeof r.fileTypes));
  if (s.filters.empty()) s.filters = defaultFilters();

  s.showStatBar = r.showStatBar != 0;
  s.defaults = {r.tabsAsSpaces, r.tabLen, r.indent, r.lMarg, r.rMarg, r.autoMarg, r.syncPanes, r.wordWrap};
  s.undos = r.undos;

  s.font.height = r.fontHeight;
  s.font.weight = r.fontWeight;
  s.font.italic = r.fontItalic != 0;
  s.font.name = fieldText(r.fontName);
  a.extraCharSpacing = r.extraCharSpacing;
  a.extraLineSpacing = r.extraLineSpacing;
  a.showLineNumbers = r.showLineNumbers != 0;
  s.wrapBookMarksMode = r.wrapBookMarksMode;
  a.macroPath = fieldText(r.macroPath);
  a.wordPattern = fieldText(r.wordPattern);
  a.useLongFileNames = r.useLongFileNames != 0;
  a.useExplorerType = r.useExplorerType != 0;

  OptionsAnswer answer;
  answer.settings = settled(std::move(s));
  if (r.editorActive != 0) {
    ActiveDocumentOptions doc;
    doc.readOnly = r.activeReadOnly != 0;
    doc.settings = validated({r.activeTabsAsSpaces, r.activeTabLen, r.activeIndent, r.activeLMarg, r.activeRMarg,
                              r.activeAutoMarg, r.activeSyncPanes, r.activeWordWrap});
    const int32_t capacity = r.activeUndoCapacity;   // a copy: the packed field may not be bound to a reference
    doc.undoCapacity = std::clamp(capacity, 0, kMaxUndos);
    answer.active = doc;
  }
  return answer;
}

}  // namespace osk::app
