// The print commands: Print and PrintPreview have the engine write the active document (or its mark) as a print
// stream into a temporary file, which the common services then print or preview; PrintSetup opens the services'
// print options; the PP commands work the open preview.
//
// The temporary file never outlives its use: a cancelled or failed stream is deleted at once, a printed one is
// the services' to delete (and deleted here again, harmlessly), a previewed one goes with its preview.
#include <windows.h>

#include <ctime>
#include <optional>

#include "app/print_job.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/print_preview.h"
#include "app/win32/shell.h"
#include "engine/ecd_api.h"
#include "services/ocs_print_api.h"

namespace osk::app {
namespace {

struct PrintSource {
  HWND document = nullptr;
  HWND editor = nullptr;
  bool selectionOnly = false;
};

// What to print: nothing without an active editor; with a mark the user says whether only the mark prints.
std::optional<PrintSource> chooseWhatToPrint() {
  PrintSource source;
  source.document = activeDocument();
  source.editor = editorOfDocument(source.document);
  if (source.editor == nullptr) return std::nullopt;
  const bool hasMark = editorSays(source.editor, ECD_HAS_MARK);
  MarkAnswer answer = MarkAnswer::kNo;
  if (hasMark) {
    MessageBeep(MB_ICONQUESTION);
    const int button = MessageBoxA(shell().frame, kSelectionQuestion, "OSK", MB_YESNOCANCEL | MB_ICONQUESTION);
    answer = button == IDYES ? MarkAnswer::kYes : button == IDNO ? MarkAnswer::kNo : MarkAnswer::kCancel;
  }
  switch (printScope(hasMark, answer)) {
    case PrintScope::kNothing:
      return std::nullopt;
    case PrintScope::kSelection:
      source.selectionOnly = true;
      break;
    case PrintScope::kDocument:
      break;
  }
  return source;
}

CreateResult createNew(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return CreateResult::kCreated;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? CreateResult::kExists : CreateResult::kFailed;
}

void reportStreamFailure() {
  MessageBeep(MB_ICONEXCLAMATION);
  MessageBoxA(shell().frame, kStreamFailed, "OSK", MB_OK | MB_ICONEXCLAMATION);
}

// The engine writes the stream into a new temporary file. Its name, or empty when the user pressed Esc or the
// file could not be made or written (said to the user); no file is left behind then.
std::string makePrintFile(const PrintSource& source) {
  char directory[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof directory, directory);
  if (length == 0 || length > MAX_PATH) lstrcpyA(directory, ".");
  const auto seed = static_cast<uint32_t>(GetTickCount() ^ (GetCurrentProcessId() << 8));
  const std::string file = makeTemporaryPrintFile(directory, seed, createNew);
  if (file.empty()) {
    reportStreamFailure();
    return {};
  }
  PrintStreamRequest request{kPrepareCaption, file.c_str(), source.selectionOnly ? 1 : 0};
  const auto answer =
      static_cast<int32_t>(SendMessageA(source.editor, ECD_PRINT_STREAM, 0, reinterpret_cast<LPARAM>(&request)));
  switch (streamOutcome(answer)) {
    case StreamOutcome::kWritten:
      return file;
    case StreamOutcome::kCancelled:
      DeleteFileA(file.c_str());
      return {};
    case StreamOutcome::kFailed:
      DeleteFileA(file.c_str());
      reportStreamFailure();
      return {};
  }
  return {};
}

std::optional<int64_t> fileTime(const std::string& name) {
  if (name.empty()) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  ULARGE_INTEGER ticks;
  ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
  ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
  constexpr uint64_t kTicksPerSecond = 10'000'000, kEpochSeconds = 11'644'473'600;   // 1601 to 1970
  return static_cast<int64_t>(ticks.QuadPart / kTicksPerSecond) - static_cast<int64_t>(kEpochSeconds);
}

struct PagesFor {
  std::string name;
  int64_t date;
};

// The date comes from the document's own file, never from its window title (which carries marks and notes).
PagesFor pagesFor(const PrintSource& source, bool forPreview) {
  const std::string fileName = documentFileName(source.document);
  char title[kPrintNameLimit + 16] = {};
  GetWindowTextA(source.document, title, sizeof title);
  PrintDateSources dates;
  dates.forPreview = forPreview;
  dates.modified = editorSays(source.editor, ECD_IS_MODIFIED);
  dates.fileTime = fileTime(fileName);
  dates.now = static_cast<int64_t>(std::time(nullptr));
  return {printDocumentName(fileName, title), printDate(dates)};
}

void print(const char*) {
  Shell& s = shell();
  closePrintPreview();
  const auto source = chooseWhatToPrint();
  if (!source || s.services == nullptr) return;
  if (!OCS_StartPrint(s.services, 1)) return;
  const std::string file = makePrintFile(*source);
  if (file.empty()) {
    beep();
    return;
  }
  const PagesFor pages = pagesFor(*source, false);
  OCS_Print(s.services, pages.name.c_str(), pages.date, file.c_str());
  DeleteFileA(file.c_str());
}

void printPreview(const char*) {
  closePrintPreview();
  const auto source = chooseWhatToPrint();
  if (!source) return;
  const std::string file = makePrintFile(*source);
  if (file.empty()) return;
  const PagesFor pages = pagesFor(*source, true);
  openPrintPreview(pages.name, pages.date, file);
}

template <int32_t Operation>
void previewCommand(const char*) {
  runPreviewOperation(Operation);
}

}  // namespace

void registerPrintCommands(HandlerTable& t) {
  setHandler(t, "Print", print);
  setHandler(t, "PrintSetup", [](const char*) {
    if (shell().services != nullptr) OCS_PrintSettingsDlg(shell().services, shell().frame);
  });
  setHandler(t, "PrintPreview", printPreview);
  setHandler(t, "PPClose", [](const char*) { closePrintPreview(); });
  setHandler(t, "PPNextPage", previewCommand<OCS_PREVIEW_NEXT_PAGE>);
  setHandler(t, "PPPrevPage", previewCommand<OCS_PREVIEW_PREVIOUS_PAGE>);
  setHandler(t, "PPZoomIn", previewCommand<OCS_PREVIEW_ZOOM_IN>);
  setHandler(t, "PPZoomOut", previewCommand<OCS_PREVIEW_ZOOM_OUT>);
  setHandler(t, "PPSinglePage", previewCommand<OCS_PREVIEW_SINGLE_PAGE>);
  setHandler(t, "PPDoublePage", previewCommand<OCS_PREVIEW_DOUBLE_PAGE>);
}

}  // namespace osk::app
