#include "app/win32/document_window.h"

#include "app/win32/alerts.h"
#include "app/win32/shell.h"
#include "engine/ecd_api.h"

namespace osk::app {
namespace {

constexpr int32_t kUndoCapacity = 500;
constexpr int32_t kTabLength = 8;
constexpr int kMinimumTrackSize = 100;

HWND editorOf(HWND document) { return GetDlgItem(document, kEditorId); }

std::string fullPath(const std::string& name) {
  char full[MAX_PATH + 1];
  const DWORD length = GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
  return (length == 0 || length >= sizeof full) ? name : std::string(full, length);
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

HWND documentShowing(const std::string& name) {
  for (HWND child = GetWindow(shell().mdiClient, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpA(className, kDocumentClass) != 0) continue;
    HWND editor = editorOf(child);
    if (editor != nullptr && lstrcmpiA(bufferFileName(editor).c_str(), name.c_str()) == 0) return child;
  }
  return nullptr;
}

void setTitle(HWND document, HWND editor, const std::string& fallbackName) {
  std::string title = bufferFileName(editor);
  if (title.empty()) title = fallbackName;
  if (SendMessageA(editor, ECD_IS_READ_ONLY, 0, 0) == 0) title += " (read-only)";
  SetWindowTextA(document, title.c_str());
}

void layOut(HWND document) {
  HWND editor = editorOf(document);
  if (editor == nullptr) return;
  RECT client;
  GetClientRect(document, &client);
  MoveWindow(editor, 0, 0, client.right, client.bottom, TRUE);
}

void closeBufferOf(HWND editor) {
  const LRESULT buffer = SendMessageA(editor, ECD_GET_BUFFER, 0, 0);
  if (buffer != ECD_ERR_NO_BUFFER && buffer != 0) ECD_flCloseBuffer(reinterpret_cast<HEDBUFFER>(buffer));
}

LRESULT CALLBACK MDIChildWndProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      layOut(document);
      break;
    case WM_SETFOCUS: {
      const LRESULT result = DefMDIChildProcA(document, message, wParam, lParam);
      if (HWND editor = editorOf(document)) SetFocus(editor);
      return result;
    }
    case WM_GETMINMAXINFO: {
      const LRESULT result = DefMDIChildProcA(document, message, wParam, lParam);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize.x = kMinimumTrackSize;
      limits->ptMinTrackSize.y = kMinimumTrackSize;
      return result;
    }
    case WM_DESTROY:
      if (HWND editor = editorOf(document)) closeBufferOf(editor);
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

bool openDocument(const std::string& requestedName, bool readOnly) {
  Shell& state = shell();
  const std::string name = fullPath(requestedName);

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

  // The editor is made and filled before its document window, so a file the engine refuses leaves no empty
  // window behind.
  HWND editor = CreateWindowExA(0, ECD_WINDOW_CLASS, "", WS_CHILD | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS, 0, 0,
                                0, 0, state.frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                                state.instance, nullptr);
  if (editor == nullptr) {
    showEngineError(state.frame, ECD_ERR_RESOURCE);
    return false;
  }
  const std::string caption = "Reading (Esc to Abort) " + name;
  EcdOpenRecord open{};
  open.fileName = name.c_str();
  open.undoCapacity = kUndoCapacity;
  open.tabLength = kTabLength;
  open.flags = ECD_OPEN_READ | ECD_OPEN_HSCROLL | ECD_OPEN_VSCROLL | ECD_OPEN_FLAG6 | (readOnly ? ECD_OPEN_READ_ONLY : 0);
  open.caption = caption.c_str();
  const LRESULT code = SendMessageA(editor, ECD_OPEN_BUFFER, 0, reinterpret_cast<LPARAM>(&open));
  if (code != 0) {
    DestroyWindow(editor);
    showEngineError(state.frame, static_cast<int32_t>(code));
    showStop(state.frame, "Error opening " + name + " .");
    return false;
  }

  BOOL activeMaximised = FALSE;
  SendMessageA(state.mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&activeMaximised));
  MDICREATESTRUCTA create{};
  create.szClass = kDocumentClass;
  create.szTitle = name.c_str();
  create.hOwner = state.instance;
  create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
  create.style = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE | (activeMaximised ? WS_MAXIMIZE : 0);
  HWND document = reinterpret_cast<HWND>(SendMessageA(state.mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  if (document == nullptr) {
    closeBufferOf(editor);
    DestroyWindow(editor);
    showStop(state.frame, "Error opening " + name + " .");
    return false;
  }

  SetParent(editor, document);
  layOut(document);
  ShowWindow(editor, SW_SHOW);
  SetFocus(editor);
  setTitle(document, editor, name);
  return true;
}

}  // namespace osk::app
