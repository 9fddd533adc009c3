// The "Options" dialog: a tab control over five child pages that all exist from the start, so every field can be
// read and checked on OK whichever pages the user visited. The rules live in services/dialogs/options_form.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <cstring>

#include "engine/ecd_api.h"
#include "engine/lang/regex_api.h"
#include "services/dialogs/options_form.h"
#include "services/ocs_dialogs_api.h"
#include "services/win32/dialogs_win32.h"
#include "services/win32/instance_win32.h"

namespace {

using osk::FieldKind;
using osk::FileType;
using osk::OptionsPage;

constexpr int kPageCount = 5;
constexpr std::array<int, kPageCount> kPageTemplates = {IDD_OPTIONS_EDITING, IDD_OPTIONS_CURRENT, IDD_OPTIONS_FILES,
                                                        IDD_OPTIONS_DISPLAY, IDD_OPTIONS_TYPES};
constexpr std::array<const char*, kPageCount> kPageNames = {"Editing", "Current File", "Files", "Display",
                                                            "File Types"};

struct OptionsState {
  OcsOptions* record;
  HWND activeEditor;
  std::array<HWND, kPageCount> pages{};
  std::vector<FileType> fileTypes;
};

HWND pageOf(const OptionsState& s, OptionsPage page) { return s.pages[static_cast<size_t>(page)]; }

void showPage(HWND dialog, OptionsState& s, int index) {
  TabCtrl_SetCurSel(GetDlgItem(dialog, IDC_OPTIONS_TABS), index);
  for (int i = 0; i < kPageCount; ++i) ShowWindow(s.pages[i], i == index ? SW_SHOW : SW_HIDE);
}

bool patternCompiles(const std::string& pattern) {
  HCOMPILEDRE compiled = CompileRE(pattern.c_str(), 1);
  if (!compiled) return false;
  DestroyRE(compiled);
  return true;
}

// ---- The file type list editor ----

void fillTypes(HWND page, const OptionsState& s, int select) {
  HWND list = GetDlgItem(page, IDC_TYPES_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const FileType& t : s.fileTypes)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((t.description + "\t" + t.pattern).c_str()));
  SendMessageA(list, LB_SETCURSEL, select, 0);
}

// Adds (at < 0) or replaces entry `at`, refusing an entry or a list the filter form cannot hold.
void editType(HWND page, OptionsState& s, int at) {
  const FileType type{osk::win32::controlText(page, IDC_TYPES_DESCRIPTION),
                      osk::win32::controlText(page, IDC_TYPES_PATTERN)};
  if (std::string problem = osk::fileTypeProblem(type); !problem.empty()) {
    osk::win32::reportProblem(page, problem);
    return;
  }
  std::vector<FileType> next = s.fileTypes;
  if (at < 0) {
    next.push_back(type);
    at = static_cast<int>(next.size()) - 1;
  } else {
    next[static_cast<size_t>(at)] = type;
  }
  if (!osk::formatFileTypes(next)) {
    osk::win32::reportProblem(page, "The file types do not fit in 1024 characters.");
    return;
  }
  s.fileTypes = std::move(next);
  fillTypes(page, s, at);
}

void chooseFont(HWND page) {
  LOGFONTA font{};
  const std::string name = osk::win32::controlText(page, IDC_OPT_FONT_NAME);
  lstrcpynA(font.lfFaceName, name.c_str(), LF_FACESIZE);
  font.lfHeight = static_cast<LONG>(GetDlgItemInt(page, IDC_OPT_FONT_HEIGHT, nullptr, TRUE));
  font.lfWeight = IsDlgButtonChecked(page, IDC_OPT_FONT_BOLD) ? FW_BOLD : FW_NORMAL;
  font.lfItalic = IsDlgButtonChecked(page, IDC_OPT_FONT_ITALIC) ? 1 : 0;
  CHOOSEFONTA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = GetParent(page);
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&choose)) return;
  SetDlgItemTextA(page, IDC_OPT_FONT_NAME, font.lfFaceName);
  SetDlgItemInt(page, IDC_OPT_FONT_HEIGHT, static_cast<UINT>(font.lfHeight), TRUE);
  CheckDlgButton(page, IDC_OPT_FONT_BOLD, font.lfWeight > FW_NORMAL ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_OPT_FONT_ITALIC, font.lfItalic ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK pageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(page, GWLP_USERDATA, lParam);
    return FALSE;
  }
  auto* s = reinterpret_cast<OptionsState*>(GetWindowLongPtrA(page, GWLP_USERDATA));
  if (msg != WM_COMMAND || !s) return FALSE;
  const int sel = static_cast<int>(SendDlgItemMessageA(page, IDC_TYPES_LIST, LB_GETCURSEL, 0, 0));
  switch (LOWORD(wParam)) {
    case IDC_OPT_FONT_CHOOSE:
      chooseFont(page);
      return TRUE;
    case IDC_TYPES_LIST:
      if (HIWORD(wParam) == LBN_SELCHANGE && sel >= 0 && static_cast<size_t>(sel) < s->fileTypes.size()) {
        SetDlgItemTextA(page, IDC_TYPES_DESCRIPTION, s->fileTypes[sel].description.c_str());
        SetDlgItemTextA(page, IDC_TYPES_PATTERN, s->fileTypes[sel].pattern.c_str());
      }
      return TRUE;
    case IDC_TYPES_ADD:
      editType(page, *s, -1);
      return TRUE;
    case IDC_TYPES_REPLACE:
      if (sel < 0) MessageBeep(MB_ICONHAND);
      else editType(page, *s, sel);
      return TRUE;
    case IDC_TYPES_REMOVE:
      if (sel < 0) {
        MessageBeep(MB_ICONHAND);
      } else {
        s->fileTypes.erase(s->fileTypes.begin() + sel);
        fillTypes(page, *s, sel < static_cast<int>(s->fileTypes.size()) ? sel : sel - 1);
      }
      return TRUE;
  }
  return FALSE;
}

void loadPages(OptionsState& s) {
  const osk::OptionsValues values = osk::loadOptionsValues(*s.record);
  for (const osk::OptionsField& f : osk::optionsFields()) {
    HWND page = pageOf(s, f.page);
    const std::string& text = values.text.at(f.controlId);
    if (f.kind == FieldKind::kCheck) {
      CheckDlgButton(page, f.controlId, text == "1" ? BST_CHECKED : BST_UNCHECKED);
    } else {
      SetDlgItemTextA(page, f.controlId, text.c_str());
      if (f.kind == FieldKind::kText) SendDlgItemMessageA(page, f.controlId, EM_LIMITTEXT, f.max, 0);
    }
  }
  s.fileTypes = values.fileTypes;
  HWND types = pageOf(s, OptionsPage::kFileTypes);
  const INT tabStop = 110;
  SendDlgItemMessageA(types, IDC_TYPES_LIST, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
  fillTypes(types, s, -1);

  HWND current = pageOf(s, OptionsPage::kCurrentFile);
  const bool active = s.record->editorActive != 0;
  if (active) {
    // The page names the document whose settings it shows.
    char name[MAX_PATH + 1] = {};
    const bool named = s.activeEditor && IsWindow(s.activeEditor) &&
                       SendMessageA(s.activeEditor, ECD_GET_FILE_NAME, 0, reinterpret_cast<LPARAM>(name)) == 0;
    name[MAX_PATH] = '\0';
    const std::string title = named ? "Settings of " + std::string(name) : "Settings of the active document";
    SetDlgItemTextA(current, IDC_OPT_NO_ACTIVE, title.c_str());
  }
  for (HWND child = GetWindow(current, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) != IDC_OPT_NO_ACTIVE) EnableWindow(child, active);
  // Whether the document is read-only is shown here but changed with its own command.
  EnableWindow(GetDlgItem(current, IDC_OPT_ACTIVE_READ_ONLY), FALSE);
}

bool storePages(HWND dialog, OptionsState& s) {
  osk::OptionsValues values;
  for (const osk::OptionsField& f : osk::optionsFields()) {
    HWND page = pageOf(s, f.page);
    values.text[f.controlId] = f.kind == FieldKind::kCheck
                                   ? (IsDlgButtonChecked(page, f.controlId) == BST_CHECKED ? "1" : "0")
                                   : osk::win32::controlText(page, f.controlId);
  }
  values.fileTypes = s.fileTypes;
  const auto problem = osk::storeOptionsValues(values, *s.record, patternCompiles);
  if (!problem) return true;
  showPage(dialog, s, static_cast<int>(problem->page));
  osk::win32::reportProblem(dialog, problem->message);
  HWND field = GetDlgItem(pageOf(s, problem->page), problem->controlId ? problem->controlId : IDC_TYPES_LIST);
  if (field) {
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
  }
  return false;
}

INT_PTR CALLBACK optionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<OptionsState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      s = reinterpret_cast<OptionsState*>(lParam);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      HWND tabs = GetDlgItem(dialog, IDC_OPTIONS_TABS);
      for (int i = 0; i < kPageCount; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPageNames[i]);
        TabCtrl_InsertItem(tabs, i, &item);
      }
      RECT area;
      GetWindowRect(tabs, &area);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
      TabCtrl_AdjustRect(tabs, FALSE, &area);
      for (int i = 0; i < kPageCount; ++i) {
        s->pages[i] = CreateDialogParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(kPageTemplates[i]), dialog,
                                         pageProc, lParam);
        if (!s->pages[i]) {
          EndDialog(dialog, -1);
          return TRUE;
        }
        SetWindowPos(s->pages[i], HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
      }
      loadPages(*s);
      showPage(dialog, *s, 0);
      return TRUE;
    }
    case WM_NOTIFY:
      if (s && reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_OPTIONS_TABS &&
          reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
        showPage(dialog, *s, TabCtrl_GetCurSel(GetDlgItem(dialog, IDC_OPTIONS_TABS)));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if (storePages(dialog, *s)) EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

extern "C" int32_t OSK_CALL OCS_OptionsDlg(HOCSINSTANCE instance, OskWindow frame, OcsOptions* record,
                                          OskWindow activeEditor) {
  if (!instance || !record) return 0;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  // The dialog works on a copy, so Cancel (or a failure to show the dialog) leaves the caller's record alone.
  OcsOptions working;
  std::memcpy(&working, record, sizeof working);
  OptionsState state{&working, reinterpret_cast<HWND>(activeEditor), {}, {}};
  const INT_PTR result = DialogBoxParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(IDD_OPTIONS),
                                         reinterpret_cast<HWND>(frame), optionsProc,
                                         reinterpret_cast<LPARAM>(&state));
  if (result != 1) return 0;
  std::memcpy(record, &working, sizeof working);
  return 1;
}
