// The commands that rework text and move by it: bookmarks across document windows, bracket matching, case, fill,
// indent, reflow, tab expansion, swapping characters, dates and the Goto dialog.
#include <windows.h>

#include <ctime>
#include <string>
#include <vector>

#include "app/bookmarks.h"
#include "app/text_commands.h"
#include "app/win32/commands_macro.h"
#include "app/win32/dispatch.h"
#include "app/win32/document_window.h"
#include "app/win32/settings_win32.h"
#include "app/win32/shell.h"
#include "app/win32/status_bar.h"
#include "app/win32/text_resource.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"
#include "services/ocs_config_api.h"
#include "services/ocs_dialogs_api.h"

namespace osk::app {
namespace {

constexpr int32_t kGotoHistory = 3;
constexpr uint16_t kGotoHelpContext = 215;

void done(bool ok) {
  if (!ok) beep();
}

bool haveEditor() { return GetCurEdWindow() != nullptr; }

BookmarkWrap wrapMode() { return static_cast<BookmarkWrap>(settings().wrapBookMarksMode); }

// The editor windows of the other document windows, in the order a search in that direction visits them.
std::vector<OskWindow> otherEditors(bool next) {
  std::vector<HWND> documents = documentWindows();
  HWND current = GetCurEdWindow();
  size_t at = 0;
  for (size_t i = 0; i < documents.size(); ++i) {
    if (editorOfDocument(documents[i]) == current) at = i;
  }
  std::vector<OskWindow> editors;
  for (size_t step = 1; step < documents.size(); ++step) {
    const size_t i = next ? (at + step) % documents.size() : (at + documents.size() - step) % documents.size();
    if (HWND editor = editorOfDocument(documents[i])) editors.push_back(editor);
  }
  return editors;
}

void bookmarkWalk(bool next) {
  if (!haveEditor()) return;
  const std::vector<OskWindow> others = otherEditors(next);
  const auto hit = findBookmark(next, wrapMode(), others);
  if (!hit) {
    beep();
    setStatusMessage("Bookmark not found within current scope");
    stopRepeatPlayOnFailedBookmark();
    return;
  }
  if (hit->window != GetCurEdWindow()) {
    HWND document = GetParent(static_cast<HWND>(hit->window));
    SendMessageA(shell().mdiClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
    SetFocus(static_cast<HWND>(hit->window));
    SetCurEdWindow(hit->window);
  }
  goToBookmark(hit->line);
}

void bookmarkClearAll(const char*) {
  if (!haveEditor()) return;
  clearBookmarks();
  if (wrapMode() != BookmarkWrap::kThroughWindows) return;
  HWND current = GetCurEdWindow();
  for (HWND document : documentWindows()) {
    HWND editor = editorOfDocument(document);
    if (editor == nullptr || editor == current || SetCurEdWindow(editor) == 0) continue;
    clearBookmarks();
  }
  SetCurEdWindow(current);
}

void bracketMatch(const char*) {
  if (!haveEditor()) return;
  switch (matchBracket()) {
    case BracketResult::kMoved:
      break;
    case BracketResult::kNotABracket:
      setStatusMessage("Caret must be over '<', '>', '(', ')', '[' or ']'");
      beep();
      break;
    case BracketResult::kNotFound:
      setStatusMessage("Cannot find matching brace character");
      beep();
      break;
  }
}

template <CaseChange change>
void caseCommand(const char*) {
  if (haveEditor()) done(changeCase(change, shell().words));
}

void fillCommand(const char* parameter) {
  if (!haveEditor()) return;
  if (!QueryMark() || IsReadOnly()) {
    beep();
    return;
  }
  std::optional<char> fill = fillCharacter(parameter);
  if (!fill) {
    char typed = 0;
    if (shell().services == nullptr ||
        !OCS_fbGetChar(shell().services, shell().frame, shell().editorFont, &typed)) {
      return;
    }
    fill = typed;
  }
  done(app::fillMark(*fill));
}

// The date typed in as the keyboard would, then the paragraph reflowed when word wrap is on.
void insertDate(bool longForm) {
  HWND editor = GetCurEdWindow();
  if (editor == nullptr) return;
  const char* text = OCS_FormatDate(longForm ? 1 : 0, static_cast<int64_t>(std::time(nullptr)));
  if (text == nullptr || *text == 0) {
    beep();
    return;
  }
  StartOp();
  const LRESULT typed = SendMessageA(editor, ECD_TYPE_STRING, 0, reinterpret_cast<LPARAM>(text));
  if (typed == 0 && GetWordWrap()) SendMessageA(editor, ECD_REFLOW, 0, 0);
  EndOp();
  SendMessageA(editor, ECD_CARET_TO_VIEW, 0, 0);
  done(typed == 0);
}

// The Goto dialog: a line number from history list 3; OK only while it is above 0.
HWND gotoCombo(HWND dialog) { return GetDlgItem(dialog, IDC_GOTO_LINE); }

std::string comboText(HWND dialog, bool selectionChanged) {
  HWND combo = gotoCombo(dialog);
  char text[32] = {};
  const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (selectionChanged && selected != CB_ERR &&
      SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0) < static_cast<LRESULT>(sizeof text)) {
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
  } else {
    GetWindowTextA(combo, text, sizeof text);
  }
  return text;
}

INT_PTR CALLBACK gotoProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND combo = gotoCombo(dialog);
      if (shell().history != nullptr) OCS_FillCombo(shell().history, combo, kGotoHistory);
      if (GetWindowTextLengthA(combo) == 0) SetWindowTextA(combo, "1");
      SendMessageA(combo, CB_LIMITTEXT, 10, 0);
      // Digits only in the combo's field.
      if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr)) {
        SetWindowLongPtrA(edit, GWL_STYLE, GetWindowLongPtrA(edit, GWL_STYLE) | ES_NUMBER);
      }
      SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      EnableWindow(GetDlgItem(dialog, IDOK), gotoLine(comboText(dialog, false)).has_value());
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_GOTO_LINE:
          if (HIWORD(wParam) == CBN_EDITCHANGE || HIWORD(wParam) == CBN_SELCHANGE) {
            EnableWindow(GetDlgItem(dialog, IDOK),
                         gotoLine(comboText(dialog, HIWORD(wParam) == CBN_SELCHANGE)).has_value());
          }
          return TRUE;
        case IDOK: {
          const std::string text = comboText(dialog, false);
          const auto line = gotoLine(text);
          if (!line) {
            beep();
            return TRUE;
          }
          if (shell().history != nullptr) OCS_AddHistoryString(shell().history, text.c_str(), kGotoHistory);
          EndDialog(dialog, *line);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

void gotoCommand(const char*) {
  HWND editor = GetCurEdWindow();
  if (editor == nullptr) return;
  INT_PTR line = 0;
  {
    HelpContextDuring help(kGotoHelpContext);
    line = DialogBoxParamA(shell().instance, MAKEINTRESOURCEA(IDD_GOTO), shell().frame, gotoProc, 0);
  }
  if (line <= 0 || !IsWindow(editor)) return;
  SetCurEdWindow(editor);
  SetFocus(editor);
  goToLine(static_cast<int32_t>(line));
}

}  // namespace

void registerTextCommands(HandlerTable& t) {
  setHandler(t, "BookmarkToggle", [](const char*) {
    if (haveEditor() && !toggleBookmark()) DisplayError("Too many bookmarks");
  });
  setHandler(t, "BookmarkNext", [](const char*) { bookmarkWalk(true); });
  setHandler(t, "BookmarkPrevious", [](const char*) { bookmarkWalk(false); });
  setHandler(t, "BookmarkClearAll", bookmarkClearAll);
  setHandler(t, "BracketMatch", bracketMatch);
  setHandler(t, "CapitaliseMark", caseCommand<CaseChange::kCapitalise>);
  setHandler(t, "UpperCaseMark", caseCommand<CaseChange::kUpper>);
  setHandler(t, "LowerCaseMark", caseCommand<CaseChange::kLower>);
  setHandler(t, "FillMark", fillCommand);
  setHandler(t, "Indent", [](const char*) {
    if (haveEditor()) done(indentLines(false));
  });
  setHandler(t, "Outdent", [](const char*) {
    if (haveEditor()) done(indentLines(true));
  });
  setHandler(t, "Reflow", [](const char*) {
    if (haveEditor()) done(reflowText());
  });
  setHandler(t, "ExpandTabs", [](const char*) {
    if (haveEditor()) done(expandTabs());
  });
  setHandler(t, "SwapCharacters", [](const char*) {
    if (haveEditor()) done(swapCharacters());
  });
  setHandler(t, "ShortDate", [](const char*) { insertDate(false); });
  setHandler(t, "LongDate", [](const char*) { insertDate(true); });
  setHandler(t, "Goto", gotoCommand);
}

}  // namespace osk::app
