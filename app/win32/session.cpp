#include "app/win32/session.h"

#include <string>

#include "app/displayable_path.h"
#include "app/session.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "services/win32/ocs_api.h"

namespace osk::app {
namespace {

bool userReadOnly(HWND editor) {
  return editorSays(editor, ECD_IS_READ_ONLY) && !editorSays(editor, ECD_IS_FILE_READ_ONLY);
}

SessionLine sessionLineOf(HWND document) {
  HWND editor = editorOfDocument(document);
  SessionLine line;
  line.name = documentFileName(document);
  OskWindow previous = GetCurEdWindow();
  SetCurEdWindow(editor);
  int32_t l = 1, c = 1;
  GetCaretCol(&l, &c);
  SetCurEdWindow(previous);
  line.line = static_cast<uint32_t>(l);
  line.column = static_cast<uint32_t>(c);
  line.readOnly = userReadOnly(editor) ? 1 : 0;
  line.settings = perFileSettingsOf(document);
  return line;
}

}  // namespace

void caretReport(HWND editor) { refreshStatusFields(editor); }

void updateHistoryRecord(HWND document) {
  HWND editor = editorOfDocument(document);
  if (editor == nullptr) return;
  const std::string name = documentFileName(document);
  if (name.empty()) return;
  settings().history.refresh(FileHistoryRecord{name, userReadOnly(editor) ? 1 : 0, 0, perFileSettingsOf(document)});
}

namespace {

// The shell's side of the shutdown: its documents are its document windows.
class FrameShutdown final : public ShutdownHost {
 public:
  std::vector<std::uintptr_t> documents() override {
    std::vector<std::uintptr_t> ids;
    for (HWND document : documentWindows()) ids.push_back(reinterpret_cast<std::uintptr_t>(document));
    return ids;
  }
  bool refusesToClose(std::uintptr_t document) override { return SendMessageA(window(document), 15024, 0, 0) != 0; }
  bool isModified(std::uintptr_t document) override {
    HWND editor = editorOfDocument(window(document));
    return editor != nullptr && editorSays(editor, ECD_IS_MODIFIED);
  }
  SaveAnswer askToSave(std::uintptr_t document) override {
    switch (askSaveChanges(window(document))) {
      case IDYES: return SaveAnswer::Yes;
      case IDNO: return SaveAnswer::No;
      default: return SaveAnswer::Cancel;
    }
  }
  bool save(std::uintptr_t document) override { return saveDocument(window(document), SaveRequest{}); }
  void updateHistory(std::uintptr_t document) override { updateHistoryRecord(window(document)); }
  std::optional<SessionLine> sessionLine(std::uintptr_t document) override {
    if (documentFileName(window(document)).empty()) return std::nullopt;
    return sessionLineOf(window(document));
  }
  void writeSettings() override {
    Shell& s = shell();
    if (HWND active = activeDocument()) settings().bufferState = IsZoomed(active) ? 1 : 0;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(s.frame, &placement)) {
      const RECT& r = placement.rcNormalPosition;
      settings().frame = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      settings().maximised = placement.showCmd == SW_SHOWMAXIMIZED || IsZoomed(s.frame);
    }
    app::writeSettings();
  }

 private:
  static HWND window(std::uintptr_t id) { return reinterpret_cast<HWND>(id); }
};

// The shell's side of restoring a session.
class FrameSessionOpener final : public SessionOpener {
 public:
  PerFileSettings defaults() const override { return settings().defaults; }
  void setDefaults(const PerFileSettings& values) override { settings().defaults = values; }
  void setOpenReadOnly(bool readOnly) override { shell().openReadOnly = readOnly; }
  bool open(const std::string& name) override { return openDocument(name, shell().openReadOnly); }
  void placeCaret(uint32_t line, uint32_t column) override {
    HWND editor = activeEditor();
    if (editor == nullptr) return;
    EcdLineCol caret{static_cast<int32_t>(line), static_cast<int32_t>(column)};
    SendMessageA(editor, ECD_SET_CARET, 0, reinterpret_cast<LPARAM>(&caret));
    SendMessageA(editor, ECD_CARET_TO_VIEW, 0, 0);
  }
};

}  // namespace

bool shutDown() {
  Shell& s = shell();
  if (s.closing) return false;
  s.closing = true;
  if (s.printPreview != nullptr) SendMessageA(s.printPreview, WM_CLOSE, 0, 0);
  FrameShutdown host;
  const ShutdownResult result = app::shutDown(settingsFile(), host);
  s.closing = false;
  return result == ShutdownResult::Agreed;
}

void restoreSession() {
  FrameSessionOpener opener;
  app::restoreSession(settingsFile(), opener);
  refreshConditions();
  refreshCheckMarks();
  caretReport(activeEditor());
}

void openFromHistory(std::size_t index) {
  const auto& records = settings().history.records();
  if (index >= records.size()) return;
  const FileHistoryRecord record = records[index];
  openDocument(record.name, record.readOnly != 0, &record.settings);
  refreshConditions();
  refreshCheckMarks();
  caretReport(activeEditor());
}

void autosaveAll() {
  // Never while a modal dialog or message box is up (the frame is disabled then: a save under a question the user
  // is still answering would change what the question is about), and never inside an autosave already running.
  static bool running = false;
  if (running || shell().frame == nullptr || !IsWindowEnabled(shell().frame)) return;
  running = true;
  // Untitled buffers are left alone: naming them would need a dialog. A file that cannot be saved now (read-only,
  // its folder gone) is skipped quietly and the others are still saved.
  for (HWND document : documentWindows()) {
    if (!IsWindow(document) || documentFileName(document).empty()) continue;
    saveDocument(document, SaveRequest{.quiet = true, .autosave = true});
  }
  running = false;
  refreshConditions();
}

void autoloadChangedFiles() {
  for (HWND document : documentWindows()) {
    HWND editor = editorOfDocument(document);
    const std::string name = documentFileName(document);
    if (editor == nullptr || name.empty() || editorSays(editor, ECD_IS_MODIFIED)) continue;
    if (SendMessageA(editor, ECD_RELOAD, 1, reinterpret_cast<LPARAM>(name.c_str())) > 0) {
      setStatusMessage("Auto-reloaded " + name);
    }
  }
}

void fillLastFourPopup(HMENU popup) {
  for (UINT id = 15000; id <= 15003; ++id) DeleteMenu(popup, id, MF_BYCOMMAND);
  const auto lastFour = settings().history.lastFour();
  const int count = GetMenuItemCount(popup);
  if (count > 0 && !lastFour.empty()) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(popup, static_cast<UINT>(count - 1), TRUE, &item);
    if (!(item.fType & MFT_SEPARATOR)) AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
  }
  UINT id = 15000;
  int n = 1;
  for (const FileHistoryRecord& record : lastFour) {
    const std::string text = lastFourItemText(static_cast<std::size_t>(n++), record.name, displayablePath);
    AppendMenuA(popup, MF_STRING, id++, text.c_str());
  }
}

}  // namespace osk::app
