// "Current Keyboard and Mouse Mappings": the current configuration's mappings, one event context at a time.
#include <windows.h>
#include <commctrl.h>

#include "services/dialogs/customise.h"
#include "services/ocs_dialogs_api.h"
#include "services/win32/config_win32.h"
#include "services/win32/dialogs_win32.h"
#include "services/win32/instance_win32.h"

namespace {

struct KeyMapState {
  std::vector<osk::KeyMapRow> rows;
};

void addColumn(HWND list, int index, const char* title, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(title);
  column.cx = width;
  ListView_InsertColumn(list, index, &column);
}

void showContext(HWND dialog, const KeyMapState& s) {
  HWND combo = GetDlgItem(dialog, IDC_KEYMAP_CONTEXT);
  const LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  const auto context = static_cast<uint16_t>(SendMessageA(combo, CB_GETITEMDATA, at, 0));
  HWND list = GetDlgItem(dialog, IDC_KEYMAP_LIST);
  ListView_DeleteAllItems(list);
  int row = 0;
  for (const osk::KeyMapRow& r : s.rows) {
    if (r.context != context) continue;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(r.key.c_str());
    ListView_InsertItem(list, &item);
    ListView_SetItemText(list, row, 1, const_cast<char*>(r.command.c_str()));
    ListView_SetItemText(list, row, 2, const_cast<char*>(r.menuString ? "Yes" : ""));
    ListView_SetItemText(list, row, 3, const_cast<char*>(r.helpText.c_str()));
    ++row;
  }
}

INT_PTR CALLBACK keyMapProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<KeyMapState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      s = reinterpret_cast<KeyMapState*>(lParam);
      HWND list = GetDlgItem(dialog, IDC_KEYMAP_LIST);
      ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
      addColumn(list, 0, "Map", 130);
      addColumn(list, 1, "Command", 150);
      addColumn(list, 2, "Menu String", 75);
      addColumn(list, 3, "Help Text", 240);
      // Every context is offered; the first one with mappings is shown first.
      HWND combo = GetDlgItem(dialog, IDC_KEYMAP_CONTEXT);
      LRESULT first = -1;
      for (const osk::EventContextInfo& info : osk::eventContexts()) {
        const LRESULT at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(info.name));
        SendMessageA(combo, CB_SETITEMDATA, at, info.value);
        if (first < 0)
          for (const osk::KeyMapRow& r : s->rows)
            if (r.context == info.value) first = at;
      }
      SendMessageA(combo, CB_SETCURSEL, first < 0 ? 0 : first, 0);
      showContext(dialog, *s);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_KEYMAP_CONTEXT && HIWORD(wParam) == CBN_SELCHANGE) showContext(dialog, *s);
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) EndDialog(dialog, 1);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

extern "C" int32_t OSK_CALL OCS_KeyMapDlg(HOCSINSTANCE instance, OskWindow frame) {
  if (!instance || !instance->core.configuration()) return 0;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  KeyMapState state{osk::keyMapRows(*instance->core.configuration(), osk::win32::systemKeyChar)};
  const INT_PTR result = DialogBoxParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(IDD_KEY_MAP),
                                         reinterpret_cast<HWND>(frame), keyMapProc, reinterpret_cast<LPARAM>(&state));
  return result == 1;
}
