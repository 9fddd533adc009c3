// The Open Bar's dialogs: a list's title, directory, filters and sort order; the open-search directories.
#include <windows.h>

#include "services/win32/openbar_ids.h"
#include "services/win32/openbar_win32.h"

namespace osk::win32 {
namespace {

std::string itemText(HWND dialog, int id) {
  char text[kMaxListText + 1] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void refuse(HWND dialog, int field, const char* message) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(dialog, message, "OSK", MB_OK | MB_ICONSTOP);
  SetFocus(GetDlgItem(dialog, field));
  SendDlgItemMessageA(dialog, field, EM_SETSEL, 0, -1);
}

bool isDirectory(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

struct ListDialog {
  const char* caption;
  OpenBarListInfo* info;
};

INT_PTR CALLBACK listDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* d = reinterpret_cast<ListDialog*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, d->caption);
      for (int id : {IDC_OPENBAR_TITLE, IDC_OPENBAR_DIR})
        SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, kMaxListText, 0);
      SendDlgItemMessageA(dialog, IDC_OPENBAR_FILTERS, CB_LIMITTEXT, kMaxListText, 0);
      for (const char* f : {"*.*", "*.c;*.cpp;*.h;*.hpp", "*.txt", "*.ini;*.cfg"})
        SendDlgItemMessageA(dialog, IDC_OPENBAR_FILTERS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
      SetDlgItemTextA(dialog, IDC_OPENBAR_TITLE, d->info->title.c_str());
      SetDlgItemTextA(dialog, IDC_OPENBAR_DIR, d->info->directory.c_str());
      SetDlgItemTextA(dialog, IDC_OPENBAR_FILTERS, d->info->filters.c_str());
      CheckRadioButton(dialog, IDC_OPENBAR_BYNAME, IDC_OPENBAR_BYTYPE,
                       d->info->sort == SortType::ByType ? IDC_OPENBAR_BYTYPE : IDC_OPENBAR_BYNAME);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        auto* d = reinterpret_cast<ListDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
        OpenBarListInfo info = *d->info;
        info.directory = itemText(dialog, IDC_OPENBAR_DIR);
        info.title = itemText(dialog, IDC_OPENBAR_TITLE);
        info.filters = itemText(dialog, IDC_OPENBAR_FILTERS);
        info.sort = IsDlgButtonChecked(dialog, IDC_OPENBAR_BYTYPE) == BST_CHECKED ? SortType::ByType : SortType::ByName;
        info = boundedListInfo(info);
        if (info.directory.empty() || !isDirectory(info.directory)) {
          refuse(dialog, IDC_OPENBAR_DIR, "Path does not exist");
          return TRUE;
        }
        char full[MAX_PATH];
        const DWORD n = GetFullPathNameA(info.directory.c_str(), MAX_PATH, full, nullptr);
        if (n > 0 && n < MAX_PATH) info.directory.assign(full, n);
        if (info.title.empty()) {
          // A list without a title is called after its directory's last part.
          std::string d = info.directory;
          while (d.size() > 3 && d.back() == '\\') d.pop_back();
          const size_t slash = d.find_last_of("\\/");
          info.title = slash == std::string::npos || slash + 1 == d.size() ? d : d.substr(slash + 1);
        }
        *d->info = boundedListInfo(info);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

INT_PTR CALLBACK searchDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto listed = [dialog] {
    std::vector<std::string> dirs;
    const HWND list = GetDlgItem(dialog, IDC_OPENBAR_SD_LIST);
    const LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      char text[kMaxListText + 1] = {};
      if (SendMessageA(list, LB_GETTEXTLEN, i, 0) <= static_cast<LRESULT>(kMaxListText))
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      dirs.push_back(text);
    }
    return dirs;
  };
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SendDlgItemMessageA(dialog, IDC_OPENBAR_SD_EDIT, EM_LIMITTEXT, kMaxListText, 0);
      for (const std::string& d : *reinterpret_cast<std::vector<std::string>*>(lParam))
        SendDlgItemMessageA(dialog, IDC_OPENBAR_SD_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.c_str()));
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_OPENBAR_SD_ADD: {
          const std::string candidate = itemText(dialog, IDC_OPENBAR_SD_EDIT);
          const SearchDirectoryCheck check = checkSearchDirectory(listed(), candidate, isDirectory);
          if (check != SearchDirectoryCheck::Ok) {
            refuse(dialog, IDC_OPENBAR_SD_EDIT, searchDirectoryMessage(check));
            return TRUE;
          }
          SendDlgItemMessageA(dialog, IDC_OPENBAR_SD_LIST, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(candidate.c_str()));
          SetDlgItemTextA(dialog, IDC_OPENBAR_SD_EDIT, "");
          return TRUE;
        }
        case IDC_OPENBAR_SD_REMOVE: {
          const LRESULT at = SendDlgItemMessageA(dialog, IDC_OPENBAR_SD_LIST, LB_GETCURSEL, 0, 0);
          if (at != LB_ERR) SendDlgItemMessageA(dialog, IDC_OPENBAR_SD_LIST, LB_DELETESTRING, at, 0);
          return TRUE;
        }
        case IDOK:
          *reinterpret_cast<std::vector<std::string>*>(GetWindowLongPtrA(dialog, DWLP_USER)) = listed();
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool showListDialog(HWND owner, const char* caption, OpenBarListInfo& info) {
  ListDialog d{caption, &info};
  return DialogBoxParamA(openBarModule(), MAKEINTRESOURCEA(IDD_OPENBAR_LIST), owner, listDialogProc,
                         reinterpret_cast<LPARAM>(&d)) == IDOK;
}

bool showSearchDirectoriesDialog(HWND owner, std::vector<std::string>& directories) {
  std::vector<std::string> edited = directories;
  if (DialogBoxParamA(openBarModule(), MAKEINTRESOURCEA(IDD_OPENBAR_SEARCHDIRS), owner, searchDialogProc,
                      reinterpret_cast<LPARAM>(&edited)) != IDOK)
    return false;
  directories = std::move(edited);
  return true;
}

}  // namespace osk::win32
