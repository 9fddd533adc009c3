// Printing a job: choosing the printer and output, the "Printing" dialog with its Cancel, and the spooler calls.
#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <cstdio>

#include "services/ocs_print_api.h"
#include "services/print/preview_state.h"
#include "services/win32/instance_win32.h"
#include "services/win32/print_resource.h"
#include "services/win32/print_win32.h"

extern "C" BOOL CALLBACK AbortProc(HDC dc, int error);

namespace {

HWND gPrintingDialog = nullptr;
bool gCancelled = false;

HINSTANCE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&thisModule), &module);
  return module;
}

HWND frameOf(OcsInstance& instance) { return reinterpret_cast<HWND>(instance.core.frame()); }

// Asks where printing to a file goes; false when the user cancels.
bool askOutputFile(HWND owner, osk::win32::PrintState& state) {
  char file[MAX_PATH] = "Output.prn";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = "Printer Files (*.prn)\0*.prn\0All Files (*.*)\0*.*\0\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrDefExt = "prn";
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameA(&ofn)) return false;
  state.outputFile = file;
  return true;
}

INT_PTR CALLBACK printingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        gCancelled = true;
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// Deletes the stream file when the job ends, however it ends.
struct StreamFileOwner {
  const char* path;
  ~StreamFileOwner() {
    if (path && *path) DeleteFileA(path);
  }
};

// Re-enables the frame and closes the "Printing" dialog when the job ends.
struct PrintingDialog {
  HWND frame;
  HWND dialog = nullptr;
  PrintingDialog(HWND frameWindow, const std::string& title, const std::string& file) : frame(frameWindow) {
    gCancelled = false;
    dialog = CreateDialogParamA(thisModule(), MAKEINTRESOURCEA(IDD_PRINTING), frame, printingProc, 0);
    if (dialog) {
      SetDlgItemTextA(dialog, IDC_PRINTING_DOCUMENT, title.c_str());
      SetDlgItemTextA(dialog, IDC_PRINTING_FILE, file.c_str());
      ShowWindow(dialog, SW_SHOW);
      UpdateWindow(dialog);
    }
    gPrintingDialog = dialog;
    if (frame) EnableWindow(frame, FALSE);
  }
  void pages(uint32_t page) {
    char text[64];
    std::snprintf(text, sizeof text, "%u Page(s) Printed", page);
    if (dialog) SetDlgItemTextA(dialog, IDC_PRINTING_PAGES, text);
  }
  // Before a message box, so that the box has a working owner.
  void close() {
    if (frame) EnableWindow(frame, TRUE);
    frame = nullptr;
    if (dialog) DestroyWindow(dialog);
    dialog = nullptr;
    gPrintingDialog = nullptr;
  }
  ~PrintingDialog() { close(); }
};

}  // namespace

extern "C" {

BOOL CALLBACK AbortProc(HDC, int) {
  MSG msg;
  while (!gCancelled && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (!gPrintingDialog || !IsDialogMessageA(gPrintingDialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return !gCancelled;
}

int32_t OSK_CALL OCS_StartPrint(HOCSINSTANCE instance, int32_t showDialog) {
  if (!instance) return 0;
  osk::win32::PrintState& state = osk::win32::printStateOf(*instance);
  HWND owner = frameOf(*instance);
  state.outputFile.clear();
  state.firstPage = state.lastPage = 0;
  if (showDialog) {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    pd.hDevMode = state.devMode;
    pd.hDevNames = state.devNames;
    pd.Flags = PD_ALLPAGES | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nFromPage = 1;
    pd.nToPage = 9999;
    pd.nMinPage = 1;
    pd.nMaxPage = 9999;
    const BOOL ok = PrintDlgA(&pd);
    state.devMode = pd.hDevMode;
    state.devNames = pd.hDevNames;
    if (!ok) {
      if (CommDlgExtendedError() == PDERR_NODEFAULTPRN) osk::win32::showError(owner, "No Printers installed");
      return 0;
    }
    if (pd.Flags & PD_PAGENUMS) {
      state.firstPage = pd.nFromPage;
      state.lastPage = pd.nToPage;
    }
    if ((pd.Flags & PD_PRINTTOFILE) && !askOutputFile(owner, state)) return 0;
  } else if (!osk::win32::choosePrinter(state)) {
    osk::win32::showError(owner, "No Printers installed");
    return 0;
  }
  // The spooler has nowhere to send the output of a printer on the port "FILE:" without a file name.
  if (state.outputFile.empty() && osk::win32::printerPort(state) == "FILE:" && !askOutputFile(owner, state)) return 0;
  return 1;
}

int32_t OSK_CALL OCS_Print(HOCSINSTANCE instance, const char* documentPath, int64_t documentTime,
                           const char* streamFile) {
  StreamFileOwner streamOwner{streamFile};
  if (!instance) return 0;
  osk::win32::PrintState& state = osk::win32::printStateOf(*instance);
  HWND frame = frameOf(*instance);
  if (!osk::win32::choosePrinter(state)) {
    osk::win32::showError(frame, "No Printers installed");
    return 0;
  }
  if (state.outputFile.empty() && osk::win32::printerPort(state) == "FILE:" && !askOutputFile(frame, state)) return 0;
  HDC dc = osk::win32::createPrinterDC(state);
  if (!dc) {
    osk::win32::showError(frame, "Could not start print job.");
    return 0;
  }
  struct DcOwner {
    HDC dc;
    ~DcOwner() { DeleteDC(dc); }
  } dcOwner{dc};

  osk::win32::LaidOutJob job = osk::win32::layOutJob(*instance, dc, documentPath, documentTime, streamFile);
  if (job.readFailed) {
    osk::win32::showError(frame, "Could not read the text to print.");
    return 0;
  }
  if (job.status == osk::print::LayoutStatus::kNoRoom) {
    osk::win32::showError(frame, "The page margins leave no room to print on the page.");
    return 0;
  }
  if (job.status != osk::print::LayoutStatus::kOk) return 0;

  const auto pages = osk::print::pagesToPrint(state.firstPage, state.lastPage,
                                              static_cast<uint32_t>(job.layout.pages.size()));
  if (pages.empty()) {
    char text[128];
    std::snprintf(text, sizeof text, "The pages chosen are not in the document, which has %u page(s).",
                  static_cast<unsigned>(job.layout.pages.size()));
    osk::win32::showError(frame, text);
    return 0;
  }
  const std::string path = documentPath ? documentPath : "";
  const std::string title = osk::print::printingTitle(std::string(osk::print::fileNameOf(path)));
  int32_t result = 0;
  {
    PrintingDialog dialog(frame, title, state.outputFile);
    SetAbortProc(dc, AbortProc);
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    info.lpszOutput = state.outputFile.empty() ? nullptr : state.outputFile.c_str();
    if (StartDocA(dc, &info) <= 0) {
      // The spooler asks the abort procedure from StartDoc on: a Cancel that early is no failure to report.
      dialog.close();
      if (!gCancelled) osk::win32::showError(frame, "Could not start print job.");
      return 0;
    }
    osk::win32::GdiDevice fonts(dc);
    uint32_t failedPage = 0;
    bool cancelled = false;
    for (uint32_t page : pages) {
      dialog.pages(page);
      if (!AbortProc(dc, 0)) {
        cancelled = true;
        break;
      }
      if (StartPage(dc) <= 0) {
        failedPage = page;
        break;
      }
      osk::win32::drawPage(dc, job.layout.pages[page - 1], job.classes, fonts);
      if (EndPage(dc) <= 0) {
        failedPage = page;
        break;
      }
    }
    if (!cancelled && !failedPage && gCancelled) cancelled = true;
    if (cancelled || failedPage) {
      AbortDoc(dc);
    } else if (EndDoc(dc) <= 0) {
      failedPage = static_cast<uint32_t>(-1);
    } else {
      result = 1;
    }
    if (failedPage) {
      char text[128];
      if (failedPage == static_cast<uint32_t>(-1)) {
        std::snprintf(text, sizeof text, "The print job could not be finished.");
      } else {
        std::snprintf(text, sizeof text, "Printing failed on page %u; the job was stopped.", failedPage);
      }
      dialog.close();
      osk::win32::showError(frame, text);
    }
  }
  return result;
}

}  // extern "C"
