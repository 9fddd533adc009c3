#include "app/win32/document_window.h"

#include <commdlg.h>

#include <cstdio>

#include "app/bounded_text.h"
#include "app/displayable_path.h"
#include "app/open_name.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/file_dialogs.h"
#include "app/win32/document_panes.h"
#include "app/win32/print_preview.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr int kMinimumTrackSize = 100;
constexpr char kReadOnlyMessage[] =
    "Error: File is read-only, save the changes to a different file or close the file and discard the changes.";

std::string fullPath(const std::string& name) {
  char full[MAX_PATH + 1];
  const DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
  return (length == 0 || length >= sizeof full) ? name : std::string(full, length);
}

// The name in the form the settings ask for: long names unfold "~" parts, short names fold what 8.3 cannot hold.
// A name the system cannot convert is kept as given.
std::string normalisedName(const std::string& name) {
  char converted[MAX_PATH + 1] = {};
  switch (wantedNameForm(name, settings().advanced.useLongFileNames)) {
    case NameForm::kLong:
      return OCS_fbGetLongPathName(name.c_str(), converted, sizeof converted) ? std::string(converted) : name;
    case NameForm::kShort:
      return OCS_fbGetShortPathName(name.c_str(), converted, sizeof converted) ? std::string(converted) : name;
    case NameForm::kAsGiven:
      break;
  }
  return name;
}

bool isReadable(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::string bufferFileName(HWND editor) {
  char name[MAX_PATH + 1] = {};
  if (SendMessageA(editor, ECD_GET_FILE_NAME, 0, reinterpret_cast<LPARAM>(name)) != 0) return {};
  return name;
}

// The displayed name: the file name, or "Untitled: n" for a buffer without one.
std::string displayedName(HWND editor) {
  char name[MAX_PATH + 1] = {};
  OskWindow previous = GetCurEdWindow();
  SetCurEdWindow(editor);
  GetFileName(name);
  SetCurEdWindow(previous);
  return name;
}

HWND documentShowing(const std::string& name) {
  for (HWND document : documentWindows()) {
    HWND editor = editorOfDocument(document);
    if (editor != nullptr && lstrcmpiA(bufferFileName(editor).c_str(), name.c_str()) == 0) return document;
  }
  return nullptr;
}


void closeBufferOf(HWND editor) {
  const LRESULT buffer = SendMessageA(editor, ECD_GET_BUFFER, 0, 0);
  if (buffer != ECD_ERR_NO_BUFFER && buffer != 0) ECD_flCloseBuffer(reinterpret_cast<HEDBUFFER>(buffer));
}

// Activation and size changes reach the frame once, however many arrive before it looks.
void relayActivation() {
  MSG queued;
  if (!PeekMessageA(&queued, shell().frame, kMsgRelayToActive, kMsgRelayToActive, PM_NOREMOVE)) {
    PostMessageA(shell().frame, kMsgRelayToActive, 0, 0);
  }
}

LRESULT CALLBACK MDIChildWndProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
  if (handlePaneMessage(document, message, wParam, lParam)) return 0;
  if (LRESULT result = 0; handleSplitBarInput(document, message, wParam, lParam, result)) return result;
  switch (message) {
    case kMsgMayClose:
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) layOutDocument(document);
      if (document == activeDocument()) relayActivation();
      break;
    case WM_SETFOCUS: {
      const LRESULT result = DefMDIChildProcA(document, message, wParam, lParam);
      if (HWND editor = editorOfDocument(document)) SetFocus(editor);
      return result;
    }
    case WM_MDIACTIVATE:
      if (reinterpret_cast<HWND>(lParam) == document) relayActivation();
      break;
    case WM_GETMINMAXINFO: {
      const LRESULT result = DefMDIChildProcA(document, message, wParam, lParam);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize.x = kMinimumTrackSize;
      limits->ptMinTrackSize.y = kMinimumTrackSize;
      return result;
    }
    case WM_CLOSE:
      // Closing one document asks about its changes first.
      if (!saveDocument(document, SaveRequest{.askFirst = true})) return 0;
      SendMessageA(shell().frame, kMsgUpdateHistory, reinterpret_cast<WPARAM>(document), 0);
      settings().bufferState = IsZoomed(document) ? 1 : 0;
      SendMessageA(shell().mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
      return 0;
    case WM_DESTROY:
      if (HWND editor = editorOfDocument(document)) closeBufferOf(editor);
      removeDocumentProperties(document);
      relayActivation();
      // A repeated keystroke macro may stop when the last document window has gone.
      PostMessageA(shell().frame, kMsgAbortRepeatNoWindow, 0, 0);
      break;
    default:
      break;
  }
  return DefMDIChildProcA(document, message, wParam, lParam);
}

class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

void applyPerFile(HWND editor, const PerFileSettings& p) {
  SendMessageA(editor, ECD_SET_TABS_AS_SPACES, p.tabsAsSpaces, 0);
  SendMessageA(editor, ECD_SET_AUTO_MARGIN, p.autoMargin, 0);
  SendMessageA(editor, ECD_SET_RIGHT_MARGIN, p.rightMargin, 0);
  SendMessageA(editor, ECD_SET_LEFT_MARGIN, p.leftMargin, 0);
  SendMessageA(editor, ECD_SET_FIRST_OFFSET, p.indent, 0);
  SendMessageA(editor, ECD_SET_WORD_WRAP, p.wordWrap, 0);
}

HWND makeEditor() {
  HWND editor = CreateWindowExA(0, ECD_WINDOW_CLASS, "", WS_CHILD | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS, 0, 0,
                                0, 0, shell().frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                                shell().instance, nullptr);
  if (editor == nullptr) showEngineError(shell().frame, ECD_ERR_RESOURCE);
  return editor;
}

// Puts a filled editor into a new document window; false (the editor and its buffer gone) when none can be made.
bool adoptEditor(HWND editor, const std::string& title, const PerFileSettings& perFile, int32_t flags) {
  Shell& state = shell();
  BOOL activeMaximised = FALSE;
  HWND active = reinterpret_cast<HWND>(
      SendMessageA(state.mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&activeMaximised)));
  const bool maximised = active != nullptr ? activeMaximised != FALSE : settings().bufferState != 0;
  MDICREATESTRUCTA create{};
  create.szClass = kDocumentClass;
  create.szTitle = title.c_str();
  create.hOwner = state.instance;
  create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
  create.style = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE | (maximised ? WS_MAXIMIZE : 0);
  HWND document =
      reinterpret_cast<HWND>(SendMessageA(state.mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  if (document == nullptr) {
    closeBufferOf(editor);
    DestroyWindow(editor);
    return false;
  }
  if (state.banner != nullptr) {
    DestroyWindow(state.banner);
    state.banner = nullptr;
  }
  setDocumentProperty(document, kPropFocusedPane, 0);
  setDocumentProperty(document, kPropOpenFlags, flags);
  setDocumentProperty(document, kPropSyncPanes, perFile.syncPanes != 0 ? 1 : 0);
  SetParent(editor, document);
  applyPerFile(editor, perFile);
  if (state.editorFont != nullptr) SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(state.editorFont), TRUE);
  SendMessageA(document, kMsgSplitSetUp, 0, 0);
  ShowWindow(editor, SW_SHOW);
  SetFocus(editor);
  refreshTitle(document);
  refreshConditions();
  refreshCheckMarks();
  return true;
}

int32_t openFlags(bool readOnly, bool read) {
  const ShellSettings& s = settings();
  return (read ? ECD_OPEN_READ : 0) | (s.horzScroll ? ECD_OPEN_HSCROLL : 0) | (s.vertScroll ? ECD_OPEN_VSCROLL : 0) |
         ECD_OPEN_FLAG6 | (readOnly ? ECD_OPEN_READ_ONLY : 0);
}

bool fileExists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool fileIsReadOnly(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY) return true;
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_ACCESS_DENIED;
  CloseHandle(file);
  return false;
}

bool askSaveAsName(HWND document, std::string& name) {
  FileDialogRequest request;
  request.kind = FileDialogKind::kSaveAs;
  request.title = "Save As";
  request.save = true;
  request.helpContext = 104;
  request.initialName = documentFileName(document);
  // A named buffer is saved where it lies unless the user goes elsewhere.
  if (const std::size_t cut = request.initialName.find_last_of("\\/"); cut != std::string::npos) {
    request.initialFolder = request.initialName.substr(0, cut == 2 && request.initialName[1] == ':' ? 3 : cut);
  }
  const auto answer = askFileNames(request);
  if (!answer) return false;
  name = answer->names.front();
  return true;
}

}  // namespace

bool registerDocumentClass(HINSTANCE instance) {
  WNDCLASSEXA documentClass{};
  documentClass.cbSize = sizeof documentClass;
  documentClass.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
  documentClass.lpfnWndProc = MDIChildWndProc;
  documentClass.hInstance = instance;
  documentClass.hIcon =
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1002), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  documentClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1002), IMAGE_ICON, 16, 16, 0));
  documentClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  documentClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  documentClass.lpszClassName = kDocumentClass;
  return RegisterClassExA(&documentClass) != 0;
}

bool isDocumentWindow(HWND window) {
  if (window == nullptr) return false;
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  return lstrcmpA(name, kDocumentClass) == 0;
}

HWND editorOfDocument(HWND document) { return focusedPane(document); }

std::vector<HWND> documentWindows() {
  std::vector<HWND> documents;
  if (shell().mdiClient == nullptr) return documents;
  for (HWND child = GetWindow(shell().mdiClient, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (isDocumentWindow(child)) documents.push_back(child);
  }
  return documents;
}

bool isSplit(HWND document) {
  const SplitFractions f = splitFractionsOf(document);
  return f.horizontal > 0 || f.vertical > 0;
}

std::string documentFileName(HWND document) {
  HWND editor = editorOfDocument(document);
  return editor != nullptr ? bufferFileName(editor) : std::string();
}

void refreshTitle(HWND document) {
  HWND editor = editorOfDocument(document);
  if (editor == nullptr) return;
  // The name part is shortened for the title bar; the marker and the read-only note are added around it.
  std::string title = (editorSays(editor, ECD_IS_MODIFIED) ? "*" : " ") + displayablePath(displayedName(editor), 64);
  if (editorSays(editor, ECD_IS_READ_ONLY)) title += " (read-only)";
  SetWindowTextA(document, title.c_str());
}

PerFileSettings perFileSettingsOf(HWND document) {
  PerFileSettings p;
  HWND editor = editorOfDocument(document);
  if (editor == nullptr) return settings().defaults;
  p.tabsAsSpaces = editorSays(editor, ECD_IS_TABS_AS_SPACES);
  p.tabLength = static_cast<int32_t>(SendMessageA(editor, ECD_GET_TAB_LENGTH, 0, 0));
  p.indent = static_cast<int32_t>(SendMessageA(editor, ECD_GET_FIRST_OFFSET, 0, 0));
  p.leftMargin = static_cast<int32_t>(SendMessageA(editor, ECD_GET_LEFT_MARGIN, 0, 0));
  p.rightMargin = static_cast<int32_t>(SendMessageA(editor, ECD_GET_RIGHT_MARGIN, 0, 0));
  p.autoMargin = editorSays(editor, ECD_IS_AUTO_MARGIN);
  p.syncPanes = documentProperty(document, kPropSyncPanes) != 0 ? 1 : 0;
  p.wordWrap = editorSays(editor, ECD_IS_WORD_WRAP);
  return p;
}

bool openDocument(const std::string& requestedName, bool readOnly, const PerFileSettings* perFile) {
  Shell& state = shell();
  closePrintPreview();   // a document opens among the others, not behind the preview
  const std::string name = fullPath(normalisedName(requestedName));

  if (!isReadable(name)) {
    showStop(state.frame, "Cannot find " + name + " .");
    return false;
  }
  if (HWND open = documentShowing(name)) {
    SendMessageA(state.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(open), 0);
    return true;
  }

  SetActiveWindow(state.frame);
  WaitCursor wait;
  const PerFileSettings settingsForFile = perFile != nullptr ? *perFile : settings().defaults;

  // The editor is made and filled before its document window, so a file the engine refuses leaves no empty
  // window behind.
  HWND editor = makeEditor();
  if (editor == nullptr) return false;
  const std::string caption = "Reading (Esc to Abort) " + name;
  EcdOpenRecord open{};
  open.fileName = name.c_str();
  open.undoCapacity = settings().undos;
  open.tabLength = settingsForFile.tabLength;
  open.flags = openFlags(readOnly, true) | (settingsForFile.tabsAsSpaces ? ECD_OPEN_TABS_AS_SPACES : 0);
  open.caption = caption.c_str();
  const LRESULT code = SendMessageA(editor, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&open));
  if (code != 0) {
    DestroyWindow(editor);
    showEngineError(state.frame, static_cast<int32_t>(code));
    showStop(state.frame, "Error opening " + name + " .");
    return false;
  }
  if (!adoptEditor(editor, name, settingsForFile, open.flags)) {
    showStop(state.frame, "Error opening " + name + " .");
    return false;
  }
  settings().history.push(FileHistoryRecord{name, readOnly, 0, settingsForFile});
  return true;
}

bool newDocument() {
  closePrintPreview();
  HWND editor = makeEditor();
  if (editor == nullptr) return false;
  const PerFileSettings& defaults = settings().defaults;
  EcdOpenRecord open{};
  open.undoCapacity = settings().undos;
  open.tabLength = defaults.tabLength;
  open.flags = openFlags(false, false) | (defaults.tabsAsSpaces ? ECD_OPEN_TABS_AS_SPACES : 0) |
               (settings().newFilesForUnix ? ECD_OPEN_UNIX : 0);
  const LRESULT code = SendMessageA(editor, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&open));
  if (code != 0) {
    DestroyWindow(editor);
    showEngineError(shell().frame, static_cast<int32_t>(code));
    return false;
  }
  return adoptEditor(editor, "Untitled", defaults, open.flags);
}

int askSaveChanges(HWND document) {
  // The title without its first character, the modified marker.
  char title[MAX_PATH + 32] = {};
  GetWindowTextA(document, title, sizeof title);
  const std::string question = fillMessage("Save changes to file %s ?", title[0] != 0 ? title + 1 : title, 1024);
  MessageBeep(MB_ICONQUESTION);
  return MessageBoxA(shell().frame, question.c_str(), "OSK", MB_YESNOCANCEL | MB_ICONQUESTION);
}

bool saveDocument(HWND document, const SaveRequest& request) {
  HWND editor = editorOfDocument(document);
  if (editor == nullptr) return true;
  const bool modified = editorSays(editor, ECD_IS_MODIFIED);
  if (!request.evenIfUnmodified && !modified && !request.saveAs) return true;
  if (request.askFirst) {
    const int answer = askSaveChanges(document);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
  }
  std::string name = bufferFileName(editor);
  bool renamed = false;
  if (name.empty() || request.saveAs) {
    std::string chosen;
    if (!askSaveAsName(document, chosen)) return false;
    if (lstrcmpiA(chosen.c_str(), name.c_str()) != 0) {
      if (settings().advanced.overwriteWarning && fileExists(chosen)) {
        const std::string question = "Replace " + chosen + "?";
        if (MessageBoxA(shell().frame, question.c_str(), "OSK", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return false;
      }
      name = chosen;
      renamed = true;
    }
  }

  // A file marked read-only is never replaced, even where the file system would let the replacement through.
  if (fileExists(name) && fileIsReadOnly(name)) {
    if (!request.quiet) {
      showStop(shell().frame, kReadOnlyMessage);
      setStatusMessage("");
    }
    return false;
  }

  EcdSaveRecord save{};
  save.caption = "Saving (Esc to abort)";
  save.fileName = renamed ? name.c_str() : nullptr;
  save.mayFinalise = request.autosave ? 0 : 1;
  ShowHourGlass(1);
  const auto result = static_cast<int32_t>(SendMessageA(editor, ECD_SAVE, 0, reinterpret_cast<LPARAM>(&save)));
  ShowHourGlass(0);
  if (result == 0) {
    const auto lines = static_cast<unsigned long>(SendMessageA(editor, ECD_GET_LINE_COUNT, 0, 0));
    char written[MAX_PATH + 64];
    std::snprintf(written, sizeof written, "Written %s,  %lu lines", name.c_str(), lines);
    setStatusMessage(written);
    const FileHistoryRecord record{name, false, 0, perFileSettingsOf(document)};
    if (renamed) {
      settings().history.push(record);
    } else {
      settings().history.refresh(record);
    }
    refreshTitle(document);
    return true;
  }
  if (request.quiet) return false;
  if (result == ECD_ERR_ALREADY_LOADED) {
    showStop(shell().frame, "Another file with the same name has already been loaded.");
    return false;
  }
  if (result == ECD_ERR_SAVE_ABORTED) {
    showStop(shell().frame, "Save has been aborted. The file on disk is incomplete.");
    return false;
  }
  if (fileExists(name) && fileIsReadOnly(name)) {
    showStop(shell().frame, kReadOnlyMessage);
  } else {
    showStop(shell().frame, "Error saving file.");
  }
  setStatusMessage("");
  return false;
}

void makeEditorFont() {
  Shell& state = shell();
  const FontSettings& font = settings().font;
  if (font.name.empty()) return;
  LOGFONTA face{};
  face.lfHeight = font.height;
  face.lfWeight = font.weight;
  face.lfItalic = font.italic ? 1 : 0;
  face.lfCharSet = DEFAULT_CHARSET;
  face.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  lstrcpynA(face.lfFaceName, font.name.c_str(), LF_FACESIZE);
  HFONT made = CreateFontIndirectA(&face);
  if (made == nullptr) return;
  HFONT old = state.editorFont;
  state.editorFont = made;
  for (HWND document : documentWindows()) {
    for (int id = 1; id <= kPaneCount; ++id) {
      HWND editor = GetDlgItem(document, id);
      if (editor != nullptr) SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    }
    SendMessageA(document, kMsgLayOutPanes, 0, 0);
  }
  if (old != nullptr) DeleteObject(old);
}

}  // namespace osk::app
