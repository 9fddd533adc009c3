// The search commands and the modeless Find and Replace dialogs over the program's one search session.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/bounded_text.h"
#include "app/search.h"
#include "app/win32/commands_macro.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/search_dialog.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "services/ocs_config_api.h"

namespace osk::app {
namespace {

constexpr char kTitle[] = "OSK";
constexpr char kNoMatch[] = "No match found within scope.";
constexpr DWORD kFindHelp = 212;
constexpr DWORD kReplaceHelp = 214;

HWND documentOf(HWND editor) {
  for (HWND w = editor; w != nullptr; w = GetParent(w)) {
    if (isDocumentWindow(w)) return w;
  }
  return nullptr;
}

// The document windows in the order they had when the work began, so that activating one does not reorder them.
class ShellSearchHost final : public SearchHost {
 public:
  OskWindow adjacentDocument(OskWindow editor, bool forward) override {
    HWND document = documentOf(static_cast<HWND>(editor));
    auto it = std::find(order_.begin(), order_.end(), document);
    if (it == order_.end() || order_.size() < 2) return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(order_.size());
    const std::ptrdiff_t i = it - order_.begin();
    forward_ = forward;
    HWND next = order_[static_cast<std::size_t>((i + (forward ? 1 : n - 1)) % n)];
    return IsWindow(next) ? editorOfDocument(next) : nullptr;
  }
  void activate(OskWindow editor) override {
    HWND document = documentOf(static_cast<HWND>(editor));
    HWND previous = activeDocument();
    if (document != nullptr) SendMessageA(shell().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
    // As the next-window key does, the window left goes to the back, so that the next search goes on round.
    if (forward_ && previous != nullptr && previous != document) {
      SetWindowPos(previous, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetCurEdWindow(editor);
  }
  bool continueBeyondArea() override {
    HWND owner = questionOwner != nullptr ? questionOwner : shell().frame;
    MessageBeep(MB_ICONQUESTION);
    return MessageBoxA(owner, "Finished searching the selected area. Do you want to continue the search?", kTitle,
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  bool stopRequested(int32_t line) override { return UpdateGauge(line) != 0; }
  void beginWork(const char* caption) override {
    order_ = documentWindows();
    ShowHourGlass(1);
    // Steps are line numbers: counted from 0, the last line shows the whole done.
    InitGauge(0, std::max(1, GetLineCount()), caption);
  }
  void endWork() override {
    DestroyGauge();
    ShowHourGlass(0);
  }

  HWND questionOwner = nullptr;

 private:
  std::vector<HWND> order_;
  bool forward_ = true;
};

struct SearchUi {
  ShellSearchHost host;
  std::unique_ptr<SearchSession> session;
  HWND dialog = nullptr;
  int kind = 0;
  bool placed = false;
  POINT offset{};   // of the dialog from the frame's top left corner
  bool busy = false;
  bool replaceWaiting = false;   // the Replace dialog gave way to Find for a read-only document
};

SearchUi& ui() {
  static SearchUi state;
  return state;
}

std::string topOfHistory(int list) {
  char top[kMaxHistoryText + 1] = {};
  if (shell().history != nullptr) OCS_GetTopString(shell().history, top, static_cast<int32_t>(kMaxHistoryText), list);
  return searchTextFromHistory(top);
}

void remember(const std::string& text, int list) {
  if (shell().history != nullptr && !text.empty()) OCS_AddHistoryString(shell().history, text.c_str(), list);
}

SearchSession& session() {
  SearchUi& u = ui();
  if (!u.session) {
    u.session = std::make_unique<SearchSession>(u.host, shell().words);
    u.session->options = settings().search;
    u.session->options.scope = std::clamp(u.session->options.scope, 0, 2);
  }
  u.session->text = topOfHistory(kSearchHistory);
  u.session->replacement = topOfHistory(kReplaceHistory);
  return *u.session;
}

std::string controlText(HWND dialog, int id) {
  char text[kMaxSearchChars + 1] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void enable(HWND dialog, int id, bool on) {
  if (HWND c = GetDlgItem(dialog, id)) EnableWindow(c, on ? TRUE : FALSE);
}

void readOptions(HWND dialog) {
  SearchOptions& o = ui().session->options;
  o.matchCase = checked(dialog, kIdMatchCase);
  o.regEx = checked(dialog, kIdRegEx);
  o.wholeWord = checked(dialog, kIdWholeWord);
  o.scope = std::clamp(static_cast<int32_t>(SendDlgItemMessageA(dialog, kIdScope, CB_GETCURSEL, 0, 0)), 0, 2);
  o.forward = SendDlgItemMessageA(dialog, kIdDirection, CB_GETCURSEL, 0, 0) != 1;
  settings().search = o;
}

void updateButtons(HWND dialog) {
  SearchSession& s = *ui().session;
  HWND editor = activeEditor();
  if (editor != nullptr) SetCurEdWindow(editor);
  const bool text = GetWindowTextLengthA(GetDlgItem(dialog, kIdFindText)) > 0;
  const bool buffer = editor != nullptr;
  enable(dialog, kIdFindNext, text);
  enable(dialog, kIdCount, text);
  enable(dialog, kIdBookmark, text);
  enable(dialog, kIdReplace, buffer && s.selectionIsFound());
  enable(dialog, kIdReplaceAll, buffer && text);
  enable(dialog, kIdReplaceText, buffer);
  enable(dialog, kIdReplaceHelper, buffer);
  enable(dialog, kIdWholeWord, !checked(dialog, kIdRegEx));
}

void fillHistories(HWND dialog) {
  if (shell().history == nullptr) return;
  OCS_FillCombo(shell().history, GetDlgItem(dialog, kIdFindText), kSearchHistory);
  if (GetDlgItem(dialog, kIdReplaceText) != nullptr) {
    OCS_FillCombo(shell().history, GetDlgItem(dialog, kIdReplaceText), kReplaceHistory);
  }
}

// Where it was last relative to the frame, kept on the screen; the first time centred over the frame.
void place(HWND dialog) {
  SearchUi& u = ui();
  RECT frame{}, box{};
  GetWindowRect(shell().frame, &frame);
  GetWindowRect(dialog, &box);
  const int w = box.right - box.left, h = box.bottom - box.top;
  int x = frame.left + u.offset.x, y = frame.top + u.offset.y;
  if (!u.placed) {
    x = frame.left + (frame.right - frame.left - w) / 2;
    y = frame.top + (frame.bottom - frame.top - h) / 2;
  }
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  x = std::max(5, std::min(x, sw - w - 5));
  y = std::max(5, std::min(y, sh - h - 5));
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void rememberPlace(HWND dialog) {
  SearchUi& u = ui();
  RECT frame{}, box{};
  GetWindowRect(shell().frame, &frame);
  GetWindowRect(dialog, &box);
  u.offset = {box.left - frame.left, box.top - frame.top};
  u.placed = true;
}

void report(HWND owner, const char* format, uint32_t count, UINT icon) {
  char text[64] = {};
  std::snprintf(text, sizeof text, format, static_cast<unsigned long>(count));
  setStatusMessage(text);
  MessageBeep(icon);
  MessageBoxA(owner, text, kTitle, MB_OK | icon);
}

enum class Action { kFind, kReplace, kReplaceAll, kCount, kBookmark };

// Runs one action of the dialog with what its fields hold.
void runAction(HWND dialog, Action action, std::optional<bool> forward = std::nullopt) {
  SearchUi& u = ui();
  SearchSession& s = *u.session;
  readOptions(dialog);
  s.text = controlText(dialog, kIdFindText);
  const bool replacing = GetDlgItem(dialog, kIdReplaceText) != nullptr;
  if (replacing) s.replacement = controlText(dialog, kIdReplaceText);
  if (s.text.empty()) {
    beep();
    return;
  }
  HWND editor = activeEditor();
  if (editor == nullptr) {
    beep();
    return;
  }
  remember(s.text, kSearchHistory);
  if (replacing && (action == Action::kReplace || action == Action::kReplaceAll)) remember(s.replacement, kReplaceHistory);
  SetCurEdWindow(editor);
  u.busy = true;
  u.host.questionOwner = dialog;
  SearchReport r;
  switch (action) {
    case Action::kFind: r = s.findNext(forward); break;
    case Action::kReplace: r = s.selectionIsFound() ? s.replace() : s.findNext(forward); break;
    case Action::kReplaceAll: r = s.replaceAll(); break;
    case Action::kCount: r = s.count(); break;
    case Action::kBookmark: r = s.bookmark(); break;
  }
  u.busy = false;
  if (action == Action::kFind && r.outcome == SearchOutcome::kNotFound) stopRepeatPlayOnFailedSearch();
  switch (r.outcome) {
    case SearchOutcome::kInvalidPattern:
      DisplayError("Invalid search expression");
      SetDlgItemTextA(dialog, kIdFindText, "");
      break;
    case SearchOutcome::kInvalidSubstitution: DisplayError("Invalid substitution expression."); break;
    case SearchOutcome::kAborted: DisplayError("Operation Aborted."); break;
    case SearchOutcome::kNoDocument: beep(); break;
    default: break;
  }
  const bool aborted = r.outcome == SearchOutcome::kAborted;
  if (action == Action::kReplaceAll && (r.outcome == SearchOutcome::kFound || r.outcome == SearchOutcome::kNotFound ||
                                        (aborted && r.count > 0))) {
    report(dialog, "Replaced %lu occurence(s).", r.count, MB_ICONINFORMATION);
  } else if ((action == Action::kCount || action == Action::kBookmark) &&
             (r.outcome == SearchOutcome::kFound || r.outcome == SearchOutcome::kNotFound || r.count > 0)) {
    report(dialog, "%lu matches found", r.count, MB_ICONINFORMATION);
  } else if ((action == Action::kFind || action == Action::kReplace) && r.outcome == SearchOutcome::kNotFound) {
    MessageBeep(MB_ICONHAND);
    MessageBoxA(dialog, kNoMatch, kTitle, MB_OK | MB_ICONHAND);
  }
  if (IsWindow(dialog)) {
    fillHistories(dialog);
    if (r.outcome == SearchOutcome::kInvalidPattern) SetDlgItemTextA(dialog, kIdFindText, "");
    updateButtons(dialog);
    if (GetActiveWindow() == dialog) {
      SetFocus(GetDlgItem(dialog, action == Action::kReplace && replacing ? kIdReplaceText : kIdFindText));
    }
  }
  refreshConditions();
}

void expressionMenu(HWND dialog, bool replacement) {
  HMENU menu = LoadMenuA(shell().instance, replacement ? "ReplaceHelper" : "FindHelper");
  if (menu == nullptr) return;
  HWND combo = GetDlgItem(dialog, replacement ? kIdReplaceText : kIdFindText);
  DWORD selStart = 0, selEnd = 0;
  SendMessageA(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  RECT button{};
  GetWindowRect(GetDlgItem(dialog, replacement ? kIdReplaceHelper : kIdFindHelper), &button);
  const UINT id = static_cast<UINT>(TrackPopupMenu(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_LEFTBUTTON,
                                                   button.right, button.top, 0, dialog, nullptr));
  DestroyMenu(menu);
  const std::string fragment = replacement ? replaceHelperFragment(static_cast<int>(id) - kIdFirstReplaceFragment)
                                           : findHelperFragment(static_cast<int>(id) - kIdFirstFindFragment);
  if (fragment.empty()) return;
  char text[kMaxSearchChars + 1] = {};
  GetWindowTextA(combo, text, sizeof text);
  const EditedField f = insertFragment(text, static_cast<int32_t>(selStart), static_cast<int32_t>(selEnd), fragment);
  SetWindowTextA(combo, f.text.c_str());
  SetFocus(combo);
  SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(f.caret, f.caret));
  if (!replacement) ui().session->forgetFound();
  updateButtons(dialog);
}

void closeDialog() {
  SearchUi& u = ui();
  if (u.dialog != nullptr) DestroyWindow(u.dialog);
}

INT_PTR CALLBACK searchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  SearchUi& u = ui();
  switch (message) {
    case WM_INITDIALOG: {
      SearchSession& s = session();
      u.dialog = dialog;
      SendDlgItemMessageA(dialog, kIdFindText, CB_LIMITTEXT, kMaxSearchChars, 0);
      SendDlgItemMessageA(dialog, kIdReplaceText, CB_LIMITTEXT, kMaxSearchChars, 0);
      fillHistories(dialog);
      for (const char* scope : {"To End of File", "Wrap Within File", "Wrap Across Files"}) {
        SendDlgItemMessageA(dialog, kIdScope, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(scope));
      }
      for (const char* direction : {"Forward", "Backward"}) {
        SendDlgItemMessageA(dialog, kIdDirection, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(direction));
      }
      SendDlgItemMessageA(dialog, kIdScope, CB_SETCURSEL, static_cast<WPARAM>(s.options.scope), 0);
      SendDlgItemMessageA(dialog, kIdDirection, CB_SETCURSEL, s.options.forward ? 0 : 1, 0);
      CheckDlgButton(dialog, kIdMatchCase, s.options.matchCase ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(dialog, kIdRegEx, s.options.regEx ? BST_CHECKED : BST_UNCHECKED);
      CheckDlgButton(dialog, kIdWholeWord, s.options.wholeWord ? BST_CHECKED : BST_UNCHECKED);
      place(dialog);
      updateButtons(dialog);
      return TRUE;
    }
    case WM_ACTIVATE:
      if (u.busy || !u.session) return FALSE;
      if (LOWORD(wParam) != WA_INACTIVE) {
        if (HWND editor = activeEditor()) {
          SetCurEdWindow(editor);
          u.session->takeArea();
        }
        updateButtons(dialog);
      } else {
        HWND to = reinterpret_cast<HWND>(lParam);
        if (to == shell().frame) u.session->dropArea();   // the user went back to the documents
      }
      return FALSE;
    case WM_ENABLE:
      EnableWindow(shell().frame, static_cast<BOOL>(wParam));
      return FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      switch (id) {
        case kIdFindText:
          if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
            u.session->forgetFound();
            if (code == CBN_SELCHANGE) {   // the edit field gets the chosen text only after this notice
              const LRESULT index = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
              char text[kMaxHistoryText + 1] = {};
              if (index >= 0 && SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) <=
                                    static_cast<LRESULT>(kMaxHistoryText)) {
                SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
                SetDlgItemTextA(dialog, id, searchTextFromHistory(text).c_str());
              }
            }
            updateButtons(dialog);
          }
          return TRUE;
        case kIdReplaceText: return TRUE;
        case kIdScope:
        case kIdDirection:
          if (code == CBN_SELCHANGE) readOptions(dialog);
          return TRUE;
        case kIdMatchCase:
        case kIdRegEx:
        case kIdWholeWord:
          readOptions(dialog);
          updateButtons(dialog);
          return TRUE;
        case kIdFindHelper: expressionMenu(dialog, false); return TRUE;
        case kIdReplaceHelper: expressionMenu(dialog, true); return TRUE;
        case kIdFindNext: runAction(dialog, Action::kFind); return TRUE;
        case kIdReplace: runAction(dialog, Action::kReplace); return TRUE;
        case kIdReplaceAll: runAction(dialog, Action::kReplaceAll); return TRUE;
        case kIdCount: runAction(dialog, Action::kCount); return TRUE;
        case kIdBookmark: runAction(dialog, Action::kBookmark); return TRUE;
        case kIdSearchHelp:
          WinHelpA(shell().frame, shell().helpPath.c_str(), HELP_CONTEXT, u.kind == kReplaceDialog ? kReplaceHelp : kFindHelp);
          return TRUE;
        case IDCANCEL: DestroyWindow(dialog); return TRUE;
        default: return FALSE;
      }
    }
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY:
      rememberPlace(dialog);
      if (u.session) u.session->dropArea();
      if (u.dialog == dialog) u.dialog = nullptr;
      return FALSE;
    default: return FALSE;
  }
}

void openDialog(int kind) {
  SearchUi& u = ui();
  if (u.dialog != nullptr && u.kind != kind) closeDialog();
  if (u.dialog != nullptr) {
    ShowWindow(u.dialog, SW_SHOW);
    SetActiveWindow(u.dialog);
    SetFocus(GetDlgItem(u.dialog, kIdFindText));
    return;
  }
  u.kind = kind;
  HWND dialog = CreateDialogParamA(shell().instance, MAKEINTRESOURCEA(kind), shell().frame, searchDialogProc, 0);
  if (dialog == nullptr) {
    beep();
    return;
  }
  ShowWindow(dialog, SW_SHOW);
  SetFocus(GetDlgItem(dialog, kIdFindText));
}

void reportRepeated(const SearchReport& r) {
  switch (r.outcome) {
    case SearchOutcome::kNotFound:
      MessageBeep(MB_ICONHAND);
      DisplayError(kNoMatch);
      break;
    case SearchOutcome::kAborted: DisplayError("Operation Aborted."); break;
    case SearchOutcome::kInvalidPattern: DisplayError("Invalid search expression"); break;
    case SearchOutcome::kNoDocument: beep(); break;
    default: break;
  }
}

// FindRepeat, FindNext, FindPrevious: the parameter's first argument becomes the search text.
void findRepeat(const char* parameter, std::optional<bool> forward) {
  const std::string given = firstArgument(parameter != nullptr ? parameter : "");
  if (!given.empty()) remember(given.substr(0, kMaxSearchChars), kSearchHistory);
  SearchUi& u = ui();
  SearchSession& s = session();
  s.dropArea();
  if (s.text.empty()) {
    beep();
    refreshConditions();
    return;
  }
  if (u.dialog != nullptr) {
    SetDlgItemTextA(u.dialog, kIdFindText, s.text.c_str());
    runAction(u.dialog, Action::kFind, forward);
    return;
  }
  HWND editor = activeEditor();
  if (editor == nullptr) {
    beep();
    return;
  }
  SetCurEdWindow(editor);
  u.host.questionOwner = shell().frame;
  u.busy = true;
  const SearchReport r = s.findNext(forward);
  u.busy = false;
  // Before the report: no key of a repeated macro may reach its message box.
  if (r.outcome == SearchOutcome::kNotFound) stopRepeatPlayOnFailedSearch();
  reportRepeated(r);
  refreshConditions();
}

void findWord(bool forward) {
  HWND editor = activeEditor();
  if (editor == nullptr) {
    beep();
    return;
  }
  SetCurEdWindow(editor);
  int32_t line = 0, column = 0;
  GetCaretCol(&line, &column);
  char text[1025] = {};
  WordSpan word{};
  if (GetLine(line, text) == 0 || !shell().words.wordAt(text, column, word)) {
    beep();
    return;
  }
  const std::string found(text + word.column - 1, static_cast<std::size_t>(word.length));
  remember(found.substr(0, kMaxSearchChars), kSearchHistory);
  // From the word's start (forward) or end (backward) so the word itself is not found again.
  if (QueryMark()) UnMark();
  SetCaretCol(line, forward ? word.end() : word.column);
  findRepeat("", forward);
}

}  // namespace

HWND searchDialog() { return ui().dialog; }

void refreshSearchDialog() {
  SearchUi& u = ui();
  if (u.dialog == nullptr || u.busy) return;
  if (documentWindows().empty()) {
    closeDialog();
    return;
  }
  // The Replace dialog gives way to Find while the active document is read-only, and comes back after.
  HWND editor = activeEditor();
  const bool readOnly = editor != nullptr && editorSays(editor, ECD_IS_READ_ONLY);
  if (u.kind == kReplaceDialog && readOnly) {
    openDialog(kFindDialog);
    u.replaceWaiting = true;
    return;
  }
  if (u.kind == kFindDialog && u.replaceWaiting && editor != nullptr && !readOnly) {
    u.replaceWaiting = false;
    openDialog(kReplaceDialog);
    return;
  }
  updateButtons(u.dialog);
}

void registerSearchCommands(HandlerTable& t) {
  setHandler(t, "Find", [](const char* parameter) {
    if (parameter != nullptr && parameter[0] != 0) {
      findRepeat(parameter, std::nullopt);
    } else if (activeEditor() == nullptr) {
      beep();
    } else {
      ui().replaceWaiting = false;
      openDialog(kFindDialog);
    }
  });
  setHandler(t, "Replace", [](const char*) {
    HWND editor = activeEditor();
    if (editor == nullptr || editorSays(editor, ECD_IS_READ_ONLY)) {
      beep();
      return;
    }
    openDialog(kReplaceDialog);
  });
  setHandler(t, "FindRepeat", [](const char* parameter) { findRepeat(parameter, std::nullopt); });
  setHandler(t, "FindNext", [](const char* parameter) { findRepeat(parameter, true); });
  setHandler(t, "FindPrevious", [](const char* parameter) { findRepeat(parameter, false); });
  setHandler(t, "FindNextWord", [](const char*) { findWord(true); });
  setHandler(t, "FindPreviousWord", [](const char*) { findWord(false); });
}

}  // namespace osk::app
