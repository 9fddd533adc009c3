#include "app/win32/print_preview.h"

#include "app/print_job.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/frame_window.h"
#include "app/win32/services_bridge.h"
#include "app/win32/session.h"
#include "app/win32/shell.h"
#include "services/ocs_print_api.h"
#include "services/win32/ocs_bars_api.h"

namespace osk::app {
namespace {

// Posted by the preview to itself once it exists: the documents are hidden then, not while it is being made.
constexpr UINT kMsgHideDocuments = 2024;

struct PreviewState {
  std::string streamFile;
  bool documentWasMaximised = false;
  bool closing = false;
};

PreviewState& state() {
  static PreviewState s;
  return s;
}

// What WM_MDICREATE hands to the new window.
struct CreationData {
  const std::string* documentName;
  int64_t documentTime;
  const std::string* streamFile;
};

void deleteStreamFile() {
  PreviewState& p = state();
  if (!p.streamFile.empty()) DeleteFileA(p.streamFile.c_str());
  p.streamFile.clear();
}

void fillWithControl(HWND window) {
  HWND control = GetDlgItem(window, OCS_PREVIEW_CONTROL_ID);
  if (control == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  MoveWindow(control, 0, 0, client.right, client.bottom, TRUE);
}

void hideDocuments() {
  for (HWND document : documentWindows()) ShowWindow(document, SW_HIDE);
}

// The frame shows the preview's menu in place of the normal one. A configuration without that menu keeps the
// normal menu, whose commands then grey as usual.
void showPreviewMenu() {
  Shell& s = shell();
  const SpecialPopupRecord saved = saveSpecialPopups();
  resetSpecialPopups();
  HMENU menu = OCS_CreateMenu(kPreviewMenu, s.services, specialPopupTable());
  if (menu == nullptr) {
    restoreSpecialPopups(saved);
    return;
  }
  HMENU old = s.frameMenu;
  s.frameMenu = menu;
  s.fileHistoryPopup = nullptr;
  s.openBarListPopup = nullptr;
  SendMessageA(s.mdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
  if (old != nullptr && old != menu) DestroyMenu(old);
  DrawMenuBar(s.frame);
}

void restoreDocuments() {
  Shell& s = shell();
  const std::vector<HWND> documents = documentWindows();
  if (documents.empty()) return;
  HWND first = documents.front();
  for (size_t i = 1; i < documents.size(); ++i) ShowWindow(documents[i], SW_SHOWNOACTIVATE);
  ShowWindow(first, SW_SHOW);
  SendMessageA(s.mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first), 0);
  if (state().documentWasMaximised) SendMessageA(s.mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
}

void refreshAll() {
  refreshConditions();
  refreshCheckMarks();
  caretReport(activeEditor());
  Shell& s = shell();
  if (s.services != nullptr && s.frameMenu != nullptr) OCS_ProcessSpecialCommands(s.services, s.frameMenu);
}

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Shell& s = shell();
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      const auto* mdi = static_cast<const MDICREATESTRUCTA*>(create->lpCreateParams);
      const auto* data = reinterpret_cast<const CreationData*>(mdi->lParam);
      if (data == nullptr || s.services == nullptr) return -1;
      s.printPreview = window;
      if (!OCS_CreatePrintPreviewWindow(s.services, window, data->documentName->c_str(), data->documentTime,
                                        data->streamFile->c_str())) {
        s.printPreview = nullptr;
        return -1;
      }
      PostMessageA(window, kMsgHideDocuments, 0, 0);
      return 0;
    }
    case kMsgHideDocuments:
      if (s.printPreview == window) {
        hideDocuments();
        // The keys go to the preview now, whichever hidden editor had them.
        HWND control = GetDlgItem(window, OCS_PREVIEW_CONTROL_ID);
        SetFocus(control != nullptr ? control : window);
      }
      return 0;
    case WM_SIZE:
      fillWithControl(window);
      break;
    case OCS_MSG_PREVIEW_LAYOUT:
      fillWithControl(window);
      return 0;
    case WM_MDIACTIVATE:
      // The preview stays in front of the hidden documents; activation changes nothing for it.
      return 0;
    case WM_CLOSE:
      closePrintPreview();
      return 0;
    case WM_DESTROY:
      if (s.printPreview == window) s.printPreview = nullptr;
      deleteStreamFile();
      break;
    default:
      break;
  }
  return DefMDIChildProcA(window, message, wParam, lParam);
}

bool registerPreviewClass() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = PreviewWndProc;
  windowClass.hInstance = shell().instance;
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  windowClass.lpszClassName = kPreviewClass;
  registered = RegisterClassExA(&windowClass) != 0;
  return registered;
}

template <int32_t Operation>
int32_t OSK_CALL previewTest() {
  Shell& s = shell();
  const bool open = s.printPreview != nullptr && s.services != nullptr;
  return previewTestAnswer(Operation, open, open && OCS_TestPrintPreviewOperation(s.services, Operation) != 0);
}

}  // namespace

bool openPrintPreview(const std::string& documentName, int64_t documentTime, const std::string& streamFile) {
  Shell& s = shell();
  PreviewState& p = state();
  HWND document = activeDocument();
  if (s.printPreview != nullptr || document == nullptr || s.services == nullptr || !registerPreviewClass()) {
    DeleteFileA(streamFile.c_str());
    beep();
    return false;
  }
  p.documentWasMaximised = IsZoomed(document) != FALSE;
  p.streamFile = streamFile;
  CreationData data{&documentName, documentTime, &streamFile};
  MDICREATESTRUCTA create{};
  create.szClass = kPreviewClass;
  create.szTitle = kPreviewTitle;
  create.hOwner = s.instance;
  create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
  create.style = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE | WS_MAXIMIZE;
  create.lParam = reinterpret_cast<LPARAM>(&data);
  HWND preview = reinterpret_cast<HWND>(SendMessageA(s.mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
  if (preview == nullptr) {
    // The services have said why; the file goes whether or not the window got as far as its destruction.
    s.printPreview = nullptr;
    DeleteFileA(streamFile.c_str());
    p.streamFile.clear();
    refreshAll();
    return false;
  }
  SendMessageA(s.mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(preview), 0);
  fillWithControl(preview);
  SetWindowTextA(preview, kPreviewTitle);
  showPreviewMenu();
  OCS_ShowToolBar(s.services, kPreviewToolBar, 1);
  layOutFrame();
  refreshAll();
  return true;
}

void closePrintPreview() {
  Shell& s = shell();
  PreviewState& p = state();
  if (s.printPreview == nullptr || p.closing) return;
  p.closing = true;
  HWND preview = s.printPreview;
  SendMessageA(s.mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(preview), 0);
  // Destruction cleared the handle and deleted the file; a window that would not go is let go of all the same.
  s.printPreview = nullptr;
  deleteStreamFile();
  if (s.services != nullptr) OCS_ShowToolBar(s.services, kPreviewToolBar, 0);
  buildFrameMenu();
  restoreDocuments();
  layOutFrame();
  refreshAll();
  RedrawWindow(s.frame, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  p.closing = false;
}

void runPreviewOperation(int32_t operation) {
  Shell& s = shell();
  if (s.printPreview == nullptr || s.services == nullptr) return;
  OCS_PrintPreviewOperation(s.services, operation);
  if (s.frameMenu != nullptr) OCS_ProcessSpecialCommands(s.services, s.frameMenu);
}

decltype(OcsCommandDetails::enablingTest) printPreviewEnablingTest(std::string_view name) {
  switch (previewOperation(name).value_or(0)) {
    case 1: return previewTest<1>;
    case 2: return previewTest<2>;
    case 3: return previewTest<3>;
    case 4: return previewTest<4>;
    case 5: return previewTest<5>;
    case 6: return previewTest<6>;
    default: return nullptr;
  }
}

}  // namespace osk::app
