// The split and pane commands, the window list, and the file commands that move text between a document and other
// files: ReloadFile, PasteFromFile, CopyToFile and FileInformation.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/editing_commands.h"
#include "app/file_information.h"
#include "app/file_transfer.h"
#include "app/line_splitter.h"
#include "app/win32/alerts.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_panes.h"
#include "app/win32/document_window.h"
#include "app/win32/engine_callbacks.h"
#include "app/win32/file_dialogs.h"
#include "app/win32/session.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"

namespace osk::app {
namespace {

constexpr int kWindowListDialog = 1031;
constexpr int kWindowListBox = 1053;
constexpr UINT kFirstChildId = 20000;
constexpr int kFileInformationDialog = 9000;
constexpr int kGaugeEvery = 25;

Shell& s() { return shell(); }

void refreshAll() {
  refreshConditions();
  refreshCheckMarks();
  caretReport(activeEditor());
}

// The gauge of one long piece of work, ended however the work ends.
class Gauge {
 public:
  Gauge(bool shown, int32_t total, const char* caption) : shown_(shown) {
    if (shown_) OskInitGauge(0, total, caption);
  }
  ~Gauge() {
    if (shown_) OskDestroyGauge();
  }
  // True when the user pressed Esc.
  bool step(int32_t value) { return shown_ && OskUpdateGauge(value) != 0; }
  Gauge(const Gauge&) = delete;
  Gauge& operator=(const Gauge&) = delete;

 private:
  bool shown_;
};

// --- Panes and windows

void splitCommand(bool horizontalBar) {
  HWND document = activeDocument();
  if (document == nullptr) {
    beep();
    checkCommand("SplitWindowHorizontally", false);
    checkCommand("SplitWindowVertically", false);
    return;
  }
  SendMessageA(document, kMsgSplitSetUp, toggleSplitRequest(splitFractionsOf(document), horizontalBar), 0);
}

void postToDocument(UINT message) {
  if (HWND document = activeDocument()) PostMessageA(document, message, 0, 0);
}

std::vector<HWND> listedChildren() {
  std::vector<HWND> children;
  for (HWND child = GetWindow(s().mdiClient, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindow(child, GW_OWNER) == nullptr && GetDlgCtrlID(child) >= static_cast<int>(kFirstChildId)) {
      children.push_back(child);
    }
  }
  return children;
}

void centreOverFrame(HWND dialog) {
  RECT frame, box;
  GetWindowRect(s().frame, &frame);
  GetWindowRect(dialog, &box);
  const int x = frame.left + ((frame.right - frame.left) - (box.right - box.left)) / 2;
  const int y = frame.top + ((frame.bottom - frame.top) - (box.bottom - box.top)) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void activateListed(HWND dialog) {
  HWND list = GetDlgItem(dialog, kWindowListBox);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  std::string chosen(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, index, 0)) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(chosen.data()));
  chosen.resize(chosen.find('\0'));
  for (HWND child : listedChildren()) {
    char title[MAX_PATH + 32] = {};
    GetWindowTextA(child, title, sizeof title);
    if (chosen == title) {
      SendMessageA(s().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
      if (IsIconic(child)) SendMessageA(s().mdiClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
      break;
    }
  }
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK windowListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      centreOverFrame(dialog);
      HWND list = GetDlgItem(dialog, kWindowListBox);
      for (HWND child : listedChildren()) {
        char title[MAX_PATH + 32] = {};
        GetWindowTextA(child, title, sizeof title);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
      }
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kWindowListBox:
          if (HIWORD(wParam) == LBN_SELCHANGE) {
            const bool chosen = SendMessageA(GetDlgItem(dialog, kWindowListBox), LB_GETCURSEL, 0, 0) != LB_ERR;
            EnableWindow(GetDlgItem(dialog, IDOK), chosen);
          } else if (HIWORD(wParam) == LBN_DBLCLK) {
            activateListed(dialog);
          }
          return TRUE;
        case IDOK:
          activateListed(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

// --- Reload

void reloadFile(const char*) {
  HWND editor = activeEditor();
  HWND document = activeDocument();
  if (editor == nullptr) {
    beep();
    return;
  }
  const std::string name = documentFileName(document);
  if (name.empty()) {
    beep();
    return;
  }
  if (editorSays(editor, ECD_IS_MODIFIED) &&
      MessageBoxA(s().frame, "Reloading this file will lose all changes. Do you wish to continue?", "OSK",
                  MB_YESNO | MB_ICONSTOP) != IDYES) {
    return;
  }
  const std::string caption = "Reloading " + name;
  const LRESULT result = SendMessageA(editor, ECD_RELOAD, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  if (result > 0) {
    setStatusMessage("Reloaded " + name);
  } else if (result < 0) {
    showEngineError(s().frame, static_cast<int32_t>(result));
  }
  refreshTitle(document);
  refreshAll();
}

// --- File dialogs of these commands

bool askFileName(FileDialogKind kind, const char* title, bool save, uint16_t help, std::string& name) {
  FileDialogRequest request;
  request.kind = kind;
  request.title = title;
  request.save = save;
  request.helpContext = help;
  request.fileMustExist = !save;
  const auto answer = askFileNames(request);
  if (!answer) return false;
  name = answer->names.front();
  return true;
}

bool sameFile(const std::string& a, const std::string& b) {
  char fullA[MAX_PATH + 1] = {}, fullB[MAX_PATH + 1] = {};
  GetFullPathNameA(a.c_str(), sizeof fullA, fullA, nullptr);
  GetFullPathNameA(b.c_str(), sizeof fullB, fullB, nullptr);
  return lstrcmpiA(fullA, fullB) == 0;
}

// --- PasteFromFile

void pasteFromFile(const char*) {
  HWND editor = activeEditor();
  if (editor == nullptr || editorSays(editor, ECD_IS_READ_ONLY)) {
    beep();
    return;
  }
  std::string name;
  if (!askFileName(FileDialogKind::kOpen, "Paste From", false, 109, name)) return;
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    showStop(s().frame, "Cannot open file");
    return;
  }
  LARGE_INTEGER size{};
  GetFileSizeEx(file, &size);
  SetCurEdWindow(editor);
  ShowHourGlass(1);
  {
    // One undo step for the whole paste.
    StartOp();
    deleteMarkedText();
    int32_t caretLine = 0, caretColumn = 0;
    GetCaretCol(&caretLine, &caretColumn);
    int32_t after = std::max(0, caretLine - 1);
    const bool big = size.QuadPart > 2048;
    // The gauge counts kilobytes so that files past 2 GB stay within its 32-bit range.
    Gauge gauge(big, static_cast<int32_t>(std::min<LONGLONG>(size.QuadPart / 1024 + 1, INT32_MAX)),
                "Reading file (Esc to abort)");
    int64_t bytesRead = 0;
    int32_t lines = 0;
    bool failed = false;
    LineSplitter splitter([&](std::string_view line) {
      const std::string text(line);
      if (!InsertLine(after, text.c_str())) {
        failed = true;
        return false;
      }
      ++after;
      if (++lines % kGaugeEvery == 0 && gauge.step(static_cast<int32_t>(bytesRead / 1024))) return false;
      return true;
    });
    char chunk[16384];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
      bytesRead += got;
      if (!splitter.feed(std::string_view(chunk, got))) break;
    }
    splitter.finish();
    EndOp();
    if (failed) showStop(s().frame, "Insert line failed");
  }
  CloseHandle(file);
  ShowHourGlass(0);
  ScrollToView();
  UpdateDisplay();
  refreshAll();
}

// --- CopyToFile

// Writes through a temporary file beside the target, checking every write; the target is replaced only by a
// complete copy, so a failed or stopped copy leaves it as it was.
class CopyTarget {
 public:
  explicit CopyTarget(const std::string& target) : target_(target) {
    std::string folder = target;
    const size_t cut = folder.find_last_of("\\/:");
    folder = cut == std::string::npos ? "." : folder.substr(0, cut + (folder[cut] == ':' ? 1 : 0));
    if (folder.empty()) folder = "\\";
    char temporary[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), "osk", 0, temporary) == 0) return;
    temporary_ = temporary;
    file_ = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~CopyTarget() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!temporary_.empty()) DeleteFileA(temporary_.c_str());
  }
  CopyTarget(const CopyTarget&) = delete;
  CopyTarget& operator=(const CopyTarget&) = delete;

  bool opened() const { return file_ != INVALID_HANDLE_VALUE; }
  bool write(const std::string& bytes) {
    if (!ok_ || bytes.empty()) return ok_;
    DWORD written = 0;
    ok_ = WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
          written == bytes.size();
    return ok_;
  }
  // Closes the copy and puts it in the target's place; false when anything failed.
  bool commit() {
    if (!ok_) return false;
    ok_ = FlushFileBuffers(file_) != FALSE;
    ok_ = CloseHandle(file_) != FALSE && ok_;
    file_ = INVALID_HANDLE_VALUE;
    if (!ok_) return false;
    if (!MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return false;
    }
    temporary_.clear();
    return true;
  }

 private:
  std::string target_;
  std::string temporary_;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  bool ok_ = true;
};

void copyToFile(const char*) {
  HWND editor = activeEditor();
  if (editor == nullptr) {
    beep();
    return;
  }
  std::string name;
  if (!askFileName(FileDialogKind::kCopyTo, "Copy To", true, 110, name)) return;
  for (HWND document : documentWindows()) {
    if (sameFile(documentFileName(document), name)) {
      showStop(s().frame, "Cannot write to a file which is currently loaded");
      return;
    }
  }
  if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::string question = "Replace " + name + "?";
    if (MessageBoxA(s().frame, question.c_str(), "OSK", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  }
  CopyTarget target(name);
  if (!target.opened()) {
    showStop(s().frame, "Cannot open output file");
    return;
  }
  SetCurEdWindow(editor);
  const char* lineEnd = editorSays(editor, ECD_IS_UNIX) ? "\n" : "\r\n";
  bool aborted = false;
  ShowHourGlass(1);
  if (QueryMark()) {
    const std::vector<TextPiece> pieces = markedPieces();
    Gauge gauge(pieces.size() > 100, static_cast<int32_t>(pieces.size()), "Writing");
    int32_t done = 0;
    for (const TextPiece& piece : pieces) {
      if (!target.write(piece.text) || (piece.lineEnd && !target.write(lineEnd))) break;
      if (++done % kGaugeEvery == 0 && gauge.step(done)) {
        aborted = true;
        break;
      }
    }
  } else {
    const int32_t lines = GetLineCount();
    Gauge gauge(lines > 100, lines, "Writing (Esc to abort)");
    char text[1025];
    for (int32_t line = 1; line <= lines; ++line) {
      GetLine(line, text);
      const int32_t length = std::max(0, GetLineLen(line));
      if (!target.write(std::string(text, static_cast<size_t>(length))) || !target.write(lineEnd)) break;
      if (line % kGaugeEvery == 0 && gauge.step(line)) {
        aborted = true;
        break;
      }
    }
  }
  ShowHourGlass(0);
  if (aborted) {
    setStatusMessage("Copy aborted; " + name + " has not been changed");
    return;
  }
  if (!target.commit()) {
    showStop(s().frame, "Error writing to file. " + name + " has not been changed.");
    return;
  }
  setStatusMessage("Written " + name);
}

// --- FileInformation

struct InformationText {
  std::string name, date, lineEnds, lines, words, characters, size;
};

std::string fileDate(const std::string& name) {
  if (name.empty()) return "n/a";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) return "n/a";
  FILETIME local;
  SYSTEMTIME when;
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &when);
  char date[64] = {}, time[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &when, nullptr, time, sizeof time);
  return std::string(date) + " " + time;
}

INT_PTR CALLBACK informationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* text = reinterpret_cast<const InformationText*>(lParam);
      int id = 9001;
      for (const std::string* field : {&text->name, &text->date, &text->lineEnds, &text->lines, &text->words,
                                       &text->characters, &text->size}) {
        SetDlgItemTextA(dialog, id++, field->c_str());
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      if (LOWORD(wParam) == 9008) {
        SendMessageA(s().frame, kMsgHelp, 0, 113);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void fileInformation(const char*) {
  HWND editor = activeEditor();
  if (editor == nullptr) {
    beep();
    return;
  }
  SetCurEdWindow(editor);
  FileCounts counts;
  counts.unixLineEnds = editorSays(editor, ECD_IS_UNIX);
  {
    EcdCaretState caret{};
    StoreCaretState(&caret);
    SetCaretCol(1, 1);
    const int32_t lines = GetLineCount();
    Gauge gauge(true, lines, "Searching (Esc to abort)");
    char text[1025];
    for (int32_t line = 1; line <= lines; ++line) {
      GetLine(line, text);
      countLine(counts, std::string_view(text, static_cast<size_t>(std::max(0, GetLineLen(line)))), s().words);
      if (line % kGaugeEvery == 0 && gauge.step(line)) {
        counts.aborted = true;
        break;
      }
    }
    counts.lines = lines;
    RestoreCaretState(&caret);
  }
  const std::string name = documentFileName(activeDocument());
  InformationText text;
  text.name = fileNamePart(name);
  text.date = fileDate(name);
  text.lineEnds = lineEndKind(counts);
  text.lines = countText(counts.lines, counts.aborted);
  text.words = countText(counts.words, counts.aborted);
  text.characters = countText(counts.characters, counts.aborted);
  text.size = countText(estimatedFileSize(counts), counts.aborted);
  MessageBeep(MB_ICONASTERISK);
  HelpContextDuring context(113);
  DialogBoxParamA(s().instance, MAKEINTRESOURCEA(kFileInformationDialog), s().frame, informationProc,
                  reinterpret_cast<LPARAM>(&text));
}

}  // namespace

void showWindowListDialog() {
  DialogBoxParamA(s().instance, MAKEINTRESOURCEA(kWindowListDialog), s().frame, windowListProc, 0);
  refreshAll();
}

void registerFileCommands(HandlerTable& t) {
  setHandler(t, "SplitWindowHorizontally", [](const char*) { splitCommand(true); });
  setHandler(t, "SplitWindowVertically", [](const char*) { splitCommand(false); });
  setHandler(t, "NextPane", [](const char*) { postToDocument(kMsgNextPane); });
  setHandler(t, "SplitUpLeft", [](const char*) { postToDocument(kMsgSplitUpLeft); });
  setHandler(t, "SplitDownRight", [](const char*) { postToDocument(kMsgSplitDownRight); });
  setHandler(t, "ReloadFile", reloadFile);
  setHandler(t, "PasteFromFile", pasteFromFile);
  setHandler(t, "CopyToFile", copyToFile);
  setHandler(t, "FileInformation", fileInformation);
}

}  // namespace osk::app
