// The commands that open the services' dialogs: the editor settings (Configuration), Customise, Run Command and
// the key map; and the settings the program hands the services at start-up and after a change.
#include <windows.h>

#include <cstring>

#include "app/bounded_text.h"
#include "app/command_table.h"
#include "app/shell_settings.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/frame_window.h"
#include "app/win32/services_bridge.h"
#include "app/win32/session.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "services/ocs_dialogs_api.h"
#include "services/ocs_options.h"
#include "services/win32/ocs_bars_api.h"

namespace osk::app {
namespace {

int32_t flag(bool value) { return value ? 1 : 0; }

template <size_t N>
void copyText(char (&field)[N], const std::string& text) {
  copyBounded(std::span<char>(field, N), text);
}

// The options record from the settings and the active document.
OcsOptions optionsRecord(HWND editor) {
  const ShellSettings& v = settings();
  const AdvancedSettings& a = v.advanced;
  OcsOptions o{};
  o.horzScroll = flag(v.horzScroll);
  o.vertScroll = flag(v.vertScroll);
  o.applySyntaxHighlight = flag(a.applySyntaxHighlight);
  o.autoScrollOnNewline = flag(a.autoScrollOnNewline);
  o.autoIndentOnNewline = flag(a.autoIndentOnNewline);
  o.autoTabToLastline = flag(a.autoTabToLastLine);
  o.useDCScrolling = flag(a.useDcScrolling);
  o.caretAfterPaste = flag(v.caretAfterPaste);
  o.vScrollBoost = v.vScrollBoost;
  o.newFilesForUnix = flag(v.newFilesForUnix);
  o.newFilesMustBeNamed = flag(a.newFilesMustBeNamed);
  o.removeCtrlZOnLoad = flag(a.removeCtrlZOnLoad);
  o.addCtrlZOnSave = flag(a.addCtrlZOnSave);
  o.finaliseOnSave = flag(a.finaliseOnSave);
  o.stripBlanks = flag(!a.allowEolSpace);
  o.overwriteWarning = flag(a.overwriteWarning);
  o.openReadOnlyAsReadOnly = flag(a.openReadOnlyAsReadOnly);
  o.autosaveModifiedFiles = flag(a.autosaveModifiedFiles);
  o.autosaveDelay = a.autosaveDelay;
  o.autosaveOnDeactivation = flag(a.autosaveOnDeactivation);
  o.autoloadOnActivation = flag(a.autoloadOnActivation);
  const std::string block = filterBlock(v.filters);
  std::memcpy(o.fileTypes, block.data(), std::min(block.size(), sizeof o.fileTypes));
  o.showStatBar = flag(statusBarShown());
  o.tabsAsSpaces = v.defaults.tabsAsSpaces;
  o.wordWrap = v.defaults.wordWrap;
  o.syncPanes = v.defaults.syncPanes;
  o.tabLen = v.defaults.tabLength;
  o.rMarg = v.defaults.rightMargin;
  o.autoMarg = v.defaults.autoMargin;
  o.lMarg = v.defaults.leftMargin;
  o.indent = v.defaults.indent;
  o.undos = v.undos;
  if (editor != nullptr) {
    const PerFileSettings p = perFileSettingsOf(GetParent(editor));
    o.editorActive = 1;
    o.activeReadOnly = flag(editorSays(editor, ECD_IS_READ_ONLY));
    o.activeTabsAsSpaces = p.tabsAsSpaces;
    o.activeWordWrap = p.wordWrap;
    o.activeSyncPanes = p.syncPanes;
    o.activeTabLen = p.tabLength;
    o.activeRMarg = p.rightMargin;
    o.activeAutoMarg = p.autoMargin;
    o.activeLMarg = p.leftMargin;
    o.activeIndent = p.indent;
    o.activeUndoCapacity = static_cast<int32_t>(SendMessageA(editor, ECD_GET_UNDO_CAPACITY, 0, 0));
  }
  o.palette = shell().palette;
  o.fontHeight = v.font.height;
  o.fontWeight = v.font.weight;
  o.fontItalic = v.font.italic ? 1 : 0;
  copyText(o.fontName, v.font.name);
  o.extraCharSpacing = a.extraCharSpacing;
  o.extraLineSpacing = a.extraLineSpacing;
  o.showLineNumbers = flag(a.showLineNumbers);
  o.wrapBookMarksMode = v.wrapBookMarksMode;
  copyText(o.macroPath, a.macroPath);
  copyText(o.wordPattern, a.wordPattern);
  o.useLongFileNames = flag(a.useLongFileNames);
  o.useExplorerType = flag(a.useExplorerType);
  return o;
}

std::string field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }

void applyOptions(const OcsOptions& o, HWND editor) {
  Shell& s = shell();
  ShellSettings& v = settings();
  AdvancedSettings& a = v.advanced;
  // 1. Display and engine options.
  v.horzScroll = o.horzScroll != 0;
  v.vertScroll = o.vertScroll != 0;
  a.applySyntaxHighlight = o.applySyntaxHighlight != 0;
  a.autoTabToLastLine = o.autoTabToLastline != 0;
  a.useDcScrolling = o.useDCScrolling != 0;
  a.removeCtrlZOnLoad = o.removeCtrlZOnLoad != 0;
  a.addCtrlZOnSave = o.addCtrlZOnSave != 0;
  a.finaliseOnSave = o.finaliseOnSave != 0;
  a.allowEolSpace = o.stripBlanks == 0;
  a.openReadOnlyAsReadOnly = o.openReadOnlyAsReadOnly != 0;
  a.extraCharSpacing = std::clamp(o.extraCharSpacing, 0, kMaxExtraSpacing);
  a.extraLineSpacing = std::clamp(o.extraLineSpacing, 0, kMaxExtraSpacing);
  a.showLineNumbers = o.showLineNumbers != 0;
  v.wrapBookMarksMode = std::clamp(o.wrapBookMarksMode, 0, 2);
  const EcdSystemOptions words = systemOptions(a);
  ECD_fvSetSystemOptions(&words);
  // 2. The shell's own options and the autosave timer.
  a.autoScrollOnNewline = o.autoScrollOnNewline != 0;
  a.autoIndentOnNewline = o.autoIndentOnNewline != 0;
  v.caretAfterPaste = o.caretAfterPaste != 0;
  v.vScrollBoost = std::clamp(o.vScrollBoost, 0, kMaxVScrollBoost);
  v.newFilesForUnix = o.newFilesForUnix != 0;
  a.newFilesMustBeNamed = o.newFilesMustBeNamed != 0;
  a.overwriteWarning = o.overwriteWarning != 0;
  a.autosaveModifiedFiles = o.autosaveModifiedFiles != 0;
  a.autosaveDelay = std::clamp(o.autosaveDelay, 1, kMaxAutosaveDelay);
  a.autosaveOnDeactivation = o.autosaveOnDeactivation != 0;
  a.autoloadOnActivation = o.autoloadOnActivation != 0;
  s.editing.vScrollBoost = v.vScrollBoost;
  s.editing.autoIndentOnNewline = a.autoIndentOnNewline;
  s.editing.autoScrollOnNewline = a.autoScrollOnNewline;
  restartAutosaveTimer();
  // 3. The status bar.
  if ((o.showStatBar != 0) != (statusBarShown())) showStatusBar(o.showStatBar != 0);
  // 4. The font.
  v.font.height = o.fontHeight;
  v.font.weight = o.fontWeight;
  v.font.italic = o.fontItalic != 0;
  v.font.name = field(o.fontName, sizeof o.fontName);
  // 5. The per-file defaults and the undo levels, validated as the settings file's are.
  PerFileSettings defaults;
  defaults.tabsAsSpaces = o.tabsAsSpaces != 0;
  defaults.wordWrap = o.wordWrap != 0;
  defaults.syncPanes = o.syncPanes != 0;
  defaults.tabLength = o.tabLen;
  defaults.rightMargin = o.rMarg;
  defaults.autoMargin = o.autoMarg != 0;
  defaults.leftMargin = o.lMarg;
  defaults.indent = o.indent;
  v.defaults = validated(defaults);
  v.undos = std::clamp(o.undos, 0, kMaxUndos);
  // 6. The active document.
  if (editor != nullptr && o.editorActive) {
    PerFileSettings active;
    active.tabsAsSpaces = o.activeTabsAsSpaces != 0;
    active.wordWrap = o.activeWordWrap != 0;
    active.syncPanes = o.activeSyncPanes != 0;
    active.tabLength = o.activeTabLen;
    active.rightMargin = o.activeRMarg;
    active.autoMargin = o.activeAutoMarg != 0;
    active.leftMargin = o.activeLMarg;
    active.indent = o.activeIndent;
    active = validated(active);
    SendMessageA(editor, ECD_SET_RIGHT_MARGIN, active.rightMargin, 0);
    SendMessageA(editor, ECD_SET_LEFT_MARGIN, active.leftMargin, 0);
    SendMessageA(editor, ECD_SET_AUTO_MARGIN, active.autoMargin, 0);
    SendMessageA(editor, ECD_SET_FIRST_OFFSET, active.indent, 0);
    SendMessageA(editor, ECD_SET_TAB_LENGTH, active.tabLength, 0);
    SendMessageA(editor, ECD_SET_TABS_AS_SPACES, active.tabsAsSpaces, 0);
    SendMessageA(editor, ECD_SET_SYNC, active.syncPanes, 0);
    SendMessageA(editor, ECD_SET_WORD_WRAP, active.wordWrap, 0);
    SendMessageA(editor, ECD_SET_UNDO_CAPACITY, std::max(0, o.activeUndoCapacity), 0);
    InvalidateRect(editor, nullptr, TRUE);
    checkCommand("WordWrapToggle", active.wordWrap != 0);
  }
  // 7. The file types and the macro folder.
  v.filters = filtersFromBlock(std::string_view(o.fileTypes, sizeof o.fileTypes));
  a.macroPath = field(o.macroPath, sizeof o.macroPath);
  // 8. Every editor gets the new font.
  makeEditorFont();
  // 9. Menus, layout, and everything written.
  buildFrameMenu();
  layOutFrame();
  writeSettings();
  if (s.history != nullptr) OCS_SaveHistorySettings(s.history, s.settingsPath.c_str());
  OCS_SaveSettings(s.services);
  // 10. The word pattern and the long-name choices.
  a.wordPattern = field(o.wordPattern, sizeof o.wordPattern);
  s.words.set(a.wordPattern.empty() ? std::string(kBuiltInWordPattern) : a.wordPattern);
  handSettingsToServices();
  refreshConditions();
  refreshCheckMarks();
}

void configuration(const char*) {
  Shell& s = shell();
  HWND editor = activeEditor();
  OcsOptions record = optionsRecord(editor);
  const uint16_t previousHelp = s.helpContext;
  s.helpContext = 405;
  const int32_t accepted = OCS_OptionsDlg(s.services, s.frame, &record, editor);
  s.helpContext = previousHelp;
  if (accepted) applyOptions(record, editor);
}

void customise(const char*) {
  Shell& s = shell();
  char file[MAX_PATH + 1] = {};
  copyBounded(std::span<char>(file, sizeof file), settings().configFile);
  const uint16_t previousHelp = s.helpContext;
  s.helpContext = 418;
  const int32_t accepted = OCS_ConfigurationDlg(s.services, s.frame, settings().inWinDir, file);
  s.helpContext = previousHelp;
  if (accepted) settings().configFile = file;
  // Whatever the dialog did to the configuration, the menus and bars follow it.
  layOutFrame();
  buildFrameMenu();
  refreshConditions();
  refreshCheckMarks();
}

void runCommand(const char*) {
  Shell& s = shell();
  char name[OCS_COMMAND_NAME_SIZE] = {};
  char parameter[OCS_PARAMETER_SIZE] = {};
  const uint16_t previousHelp = s.helpContext;
  s.helpContext = 513;
  const int32_t chosen = OCS_RunCommandDlg(s.services, s.frame, name, parameter);
  s.helpContext = previousHelp;
  if (chosen && name[0] != 0) executeCommand(name, parameter, activeEditor(), true);
}

}  // namespace

void handSettingsToServices() {
  Shell& s = shell();
  if (s.services == nullptr) return;
  const std::string block = filterBlock(settings().filters);
  OCS_SetGeneralFilters(s.services, block.c_str());
  OCS_fvSetUseLongFileNames(s.services, flag(settings().advanced.useLongFileNames),
                            flag(settings().advanced.useExplorerType && s.newShell));
}

HPALETTE createDisplayPalette() { return OCS_CreateDisplayPalette(); }

void registerServiceDialogCommands(HandlerTable& t) {
  setHandler(t, "Configuration", configuration);
  setHandler(t, "Customise", customise);
  setHandler(t, "RunCommand", runCommand);
  setHandler(t, "KeyMapDlg", [](const char*) {
    Shell& s = shell();
    const uint16_t previousHelp = s.helpContext;
    s.helpContext = 435;
    OCS_KeyMapDlg(s.services, s.frame);
    s.helpContext = previousHelp;
  });
}

}  // namespace osk::app
