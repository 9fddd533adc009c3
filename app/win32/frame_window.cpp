#include "app/win32/frame_window.h"

#include "app/win32/document_window.h"
#include "app/win32/shell.h"

namespace osk::app {
namespace {

constexpr UINT kFirstDocumentId = 20000;

bool createMdiClient(HWND frame) {
  CLIENTCREATESTRUCT client{};
  client.hWindowMenu = nullptr;
  client.idFirstChild = kFirstDocumentId;
  HWND mdiClient = CreateWindowExA(
      0, "MDICLIENT", nullptr,
      WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES,
      0, 0, 0, 0, frame, nullptr, shell().instance, &client);
  if (mdiClient == nullptr) return false;
  // The client repaints whole when resized, so centred contents stay centred.
  SetClassLongPtrA(mdiClient, GCL_STYLE, GetClassLongPtrA(mdiClient, GCL_STYLE) | CS_HREDRAW | CS_VREDRAW);
  shell().mdiClient = mdiClient;
  return true;
}

void layOut(HWND frame) {
  if (IsIconic(frame) || shell().mdiClient == nullptr) return;
  RECT client;
  GetClientRect(frame, &client);
  MoveWindow(shell().mdiClient, 0, 0, client.right, client.bottom, TRUE);
}

void bringToTop(HWND frame) {
  if (IsIconic(frame)) ShowWindow(frame, SW_RESTORE);
  SetForegroundWindow(frame);
  BringWindowToTop(frame);
}

LRESULT openByAtom(ATOM atom) {
  char name[MAX_PATH + 1] = {};
  if (atom == 0 || GlobalGetAtomNameA(atom, name, sizeof name) == 0) return 1;
  return openDocument(name, false) ? 0 : 1;
}

LRESULT CALLBACK WndProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return createMdiClient(frame) ? 0 : -1;
    case WM_SIZE:
      layOut(frame);
      return 0;
    case WM_DESTROY:
      shell().mdiClient = nullptr;
      PostQuitMessage(0);
      return 0;
    case kMsgBringToTop:
      bringToTop(frame);
      return 0;
    case kMsgOpenByAtom:
      return openByAtom(static_cast<ATOM>(wParam));
    default:
      return DefFrameProcA(frame, shell().mdiClient, message, wParam, lParam);
  }
}

}  // namespace

bool registerFrameClass(HINSTANCE instance) {
  WNDCLASSEXA frameClass{};
  frameClass.cbSize = sizeof frameClass;
  frameClass.style = CS_HREDRAW | CS_VREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
  frameClass.lpfnWndProc = WndProc;
  frameClass.hInstance = instance;
  frameClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  frameClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, 16, 16, 0));
  frameClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  frameClass.lpszClassName = kFrameClass;
  return RegisterClassExA(&frameClass) != 0;
}

HWND createFrame(HINSTANCE instance, const std::string& title) {
  HWND frame = CreateWindowExA(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  shell().frame = frame;
  return frame;
}

}  // namespace osk::app
