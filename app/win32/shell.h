// The program's process-wide state: one instance, alive from start-up to exit, used only on the UI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/editing_commands.h"
#include "app/word_pattern.h"
#include "services/win32/ocs_api.h"

namespace osk::app {

// Private messages of the frame.
enum FrameMessage : UINT {
  kMsgCaretMoved = 1124,
  kMsgInsertMode = 1125,
  kMsgEditorFocus = 1126,
  kMsgModified = 1127,
  kMsgNamed = 1131,
  kMsgCanUndo = 1132,
  kMsgCanRedo = 1133,
  kMsgMarkChanged = 1134,
  kMsgAbortRepeat1 = 1135,
  kMsgAbortRepeat2 = 1136,
  kMsgMacroNotify = 1324,
  kMsgRelayToActive = 1529,
  kMsgAbortRepeatNoWindow = 1531,
  kMsgBringToTop = 1624,
  kMsgStatusText = 1625,
  kMsgStatusAtom = 1627,
  kMsgSetHelpContext = 1824,
  kMsgHelp = 1825,
  kMsgCommandDetails = 2124,
  kMsgMenuListOption = 2125,
  kMsgServicesStatus = 2126,
  kMsgBarsChanged = 2127,
  kMsgOpenBarRefresh = 2128,
  kMsgMinimise = 12024,
  kMsgOpenList = 13024,
  kMsgOpenByAtom = 13025,
  kMsgUpdateHistory = 15025,
};

inline constexpr char kFrameClass[] = "OSK32";
inline constexpr char kEditorClass[] = "CC_EDCLASSOSK2HANDSHAKE";
inline constexpr UINT_PTR kBlinkTimer = 1;
inline constexpr UINT_PTR kAutosaveTimer = 2;
inline constexpr int kSpecialPopupCount = 4;

struct Shell {
  HINSTANCE instance = nullptr;
  bool newShell = true;
  std::string settingsPath;             // full path of the settings file
  std::string frameTitle = "OSK";       // at most 64 characters
  std::string helpPath;                 // the program's folder + "Osk32.hlp"
  HWND frame = nullptr;
  HWND mdiClient = nullptr;
  HWND statusBar = nullptr;
  HWND banner = nullptr;
  HOCSINSTANCE services = nullptr;
  HOCSHISTORY history = nullptr;
  HMENU frameMenu = nullptr;
  HMENU fileHistoryPopup = nullptr;     // the popup that replaced the FileHistory item, for its menu help
  HMENU openBarListPopup = nullptr;
  std::string fileHistoryHelp;          // the help texts of the items those popups replaced
  std::string openBarListHelp;
  bool engineInitialised = false;
  bool singleInstance = false;
  bool openReadOnly = false;
  HWND printPreview = nullptr;
  uint16_t helpContext = 0;
  HPALETTE palette = nullptr;
  HFONT editorFont = nullptr;
  UINT ownerMessage = 0;                // "EditorOwnerMessage"
  UINT commonDialogHelp = 0;            // "commdlg_help"
  UINT lineClipboardFormat = 0;
  UINT columnClipboardFormat = 0;
  bool closing = false;                 // a shutdown is asking the documents
  DWORD lastAutosave = 0;
  WordPattern words;
  EditingOptions editing;
  uint32_t conditionMask = 0;
  bool gaugeAborted = false;            // Esc stopped the work of the last progress gauge
};

Shell& shell();

// The help context of a dialog while it is up; the one before it comes back when the dialog ends.
class HelpContextDuring {
 public:
  explicit HelpContextDuring(uint16_t context) : previous_(shell().helpContext) { shell().helpContext = context; }
  ~HelpContextDuring() { shell().helpContext = previous_; }
  HelpContextDuring(const HelpContextDuring&) = delete;
  HelpContextDuring& operator=(const HelpContextDuring&) = delete;

 private:
  uint16_t previous_;
};

}  // namespace osk::app
