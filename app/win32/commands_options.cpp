// The commands that open the services' dialogs: the editor settings (Configuration), Customise, Run Command and
// the key map; and the settings the program hands the services at start-up and after a change.
#include <windows.h>

#include <cstring>

#include "app/bounded_text.h"
#include "app/command_table.h"
#include "app/options_exchange.h"
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

// The options record from the settings and the active document.
OcsOptions optionsRecord(HWND editor) {
  ShellSettings v = settings();
  v.showStatBar = statusBarShown();
  std::optional<ActiveDocumentOptions> active;
  if (editor != nullptr) {
    ActiveDocumentOptions doc;
    doc.readOnly = editorSays(editor, ECD_IS_READ_ONLY);
    doc.settings = perFileSettingsOf(GetParent(editor));
    doc.undoCapacity = static_cast<int32_t>(SendMessageA(editor, ECD_GET_UNDO_CAPACITY, 0, 0));
    active = doc;
  }
  OcsOptions o{};
  fillOptions(v, active, o);
  o.palette = shell().palette;
  return o;
}

// The dialog's answer: the settings come back validated, then every part of the program that holds a copy of them
// is told, in the order the engine and the windows need.
void applyOptions(const OcsOptions& o, HWND editor) {
  Shell& s = shell();
  const OptionsAnswer answer = readOptions(o, settings());
  ShellSettings& v = settings();
  v = answer.settings;
  const AdvancedSettings& a = v.advanced;
  // 1. Display and engine options.
  const EcdSystemOptions words = systemOptions(a);
  ECD_fvSetSystemOptions(&words);
  // 2. The shell's own options and the autosave timer.
  s.editing.vScrollBoost = v.vScrollBoost;
  s.editing.autoIndentOnNewline = a.autoIndentOnNewline;
  s.editing.autoScrollOnNewline = a.autoScrollOnNewline;
  restartAutosaveTimer();
  // 3. The status bar.
  if (v.showStatBar != statusBarShown()) showStatusBar(v.showStatBar);
  // 4. The active document.
  if (editor != nullptr && answer.active) {
    const PerFileSettings& active = answer.active->settings;
    SendMessageA(editor, ECD_SET_RIGHT_MARGIN, active.rightMargin, 0);
    SendMessageA(editor, ECD_SET_LEFT_MARGIN, active.leftMargin, 0);
    SendMessageA(editor, ECD_SET_AUTO_MARGIN, active.autoMargin, 0);
    SendMessageA(editor, ECD_SET_FIRST_OFFSET, active.indent, 0);
    SendMessageA(editor, ECD_SET_TAB_LENGTH, active.tabLength, 0);
    SendMessageA(editor, ECD_SET_TABS_AS_SPACES, active.tabsAsSpaces, 0);
    SendMessageA(editor, ECD_SET_SYNC, active.syncPanes, 0);
    SendMessageA(editor, ECD_SET_WORD_WRAP, active.wordWrap, 0);
    SendMessageA(editor, ECD_SET_UNDO_CAPACITY, answer.active->undoCapacity, 0);
    InvalidateRect(editor, nullptr, TRUE);
    checkCommand("WordWrapToggle", active.wordWrap != 0);
  }
  // 5. Every editor gets the new font.
  makeEditorFont();
  // 6. Menus, layout, and everything written.
  buildFrameMenu();
  layOutFrame();
  writeSettings();
  if (s.history != nullptr) OCS_SaveHistorySettings(s.history, s.settingsPath.c_str());
  OCS_SaveSettings(s.services);
  // 7. The word pattern and the long-name choices.
  s.words.set(a.wordPattern.empty() ? std::string(kBuiltInWordPattern) : a.wordPattern);
  handSettingsToServices();
  refreshConditions();
  refreshCheckMarks();
}

void configuration(const char*) {
  Shell& s = shell();
  HWND editor = activeEditor();
  OcsOptions record = optionsRecord(editor);
  int32_t accepted = 0;
  {
    HelpContextDuring help(405);
    accepted = OCS_OptionsDlg(s.services, s.frame, &record, editor);
  }
  if (accepted) applyOptions(record, editor);
}

void customise(const char*) {
  Shell& s = shell();
  char file[MAX_PATH + 1] = {};
  copyBounded(std::span<char>(file, sizeof file), settings().configFile);
  int32_t accepted = 0;
  {
    HelpContextDuring help(418);
    accepted = OCS_ConfigurationDlg(s.services, s.frame, settings().inWinDir, file);
  }
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
  int32_t chosen = 0;
  {
    HelpContextDuring help(513);
    chosen = OCS_RunCommandDlg(s.services, s.frame, name, parameter);
  }
  if (chosen && name[0] != 0) executeCommand(name, parameter, activeEditor(), true);
}

}  // namespace

void handSettingsToServices() {
  Shell& s = shell();
  if (s.services == nullptr) return;
  const std::string block = filterBlock(settings().filters);
  OCS_SetGeneralFilters(s.services, block.c_str());
  OCS_fvSetUseLongFileNames(s.services, settings().advanced.useLongFileNames ? 1 : 0,
                            (settings().advanced.useExplorerType && s.newShell) ? 1 : 0);
}

HPALETTE createDisplayPalette() { return OCS_CreateDisplayPalette(); }

void registerServiceDialogCommands(HandlerTable& t) {
  setHandler(t, "Configuration", configuration);
  setHandler(t, "Customise", customise);
  setHandler(t, "RunCommand", runCommand);
  setHandler(t, "KeyMapDlg", [](const char*) {
    Shell& s = shell();
    HelpContextDuring help(435);
    OCS_KeyMapDlg(s.services, s.frame);
  });
}

}  // namespace osk::app
