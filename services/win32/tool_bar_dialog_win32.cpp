// "View Tool Bars": a check list of the tool bars (checked = shown) and the four global tool bar properties.
// Nothing changes before OK; Cancel and Esc leave every bar as it was.
#include <windows.h>

#include <string>
#include <vector>

#include "services/win32/bars_resource.h"
#include "services/win32/bars_win32.h"
#include "services/win32/instance_win32.h"
#include "services/win32/ocs_bars_api.h"
#include "services/win32/tool_bar_window.h"

namespace osk::win32 {
namespace {

struct DialogState {
  HOCSINSTANCE instance;
  ControlBars* bars;
  std::vector<std::string> names;
  std::vector<bool> shown;
};

constexpr struct {
  int control;
  int32_t property;
} kPropertyBoxes[] = {
    {IDC_TOOL_BAR_TIPS, kPropToolTips},
    {IDC_TOOL_BAR_TIP_KEYS, kPropTipsWithKeys},
    {IDC_TOOL_BAR_WRAP, kPropWrap},
    {IDC_TOOL_BAR_LARGE, kPropLargeButtons},
};

void toggle(HWND dialog, DialogState& st, int index) {
  if (index < 0 || index >= static_cast<int>(st.shown.size())) return;
  st.shown[static_cast<size_t>(index)] = !st.shown[static_cast<size_t>(index)];
  HWND list = GetDlgItem(dialog, IDC_TOOL_BAR_LIST);
  RECT r;
  if (SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
    InvalidateRect(list, &r, TRUE);
}

void drawItem(const DialogState& st, const DRAWITEMSTRUCT& di) {
  if (di.itemID == static_cast<UINT>(-1) || di.itemID >= st.names.size()) return;
  const bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(di.hDC, &di.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int box = di.rcItem.bottom - di.rcItem.top - 2;
  RECT check{di.rcItem.left + 2, di.rcItem.top + 1, di.rcItem.left + 2 + box, di.rcItem.top + 1 + box};
  DrawFrameControl(di.hDC, &check, DFC_BUTTON,
                   DFCS_BUTTONCHECK | (st.shown[di.itemID] ? DFCS_CHECKED : 0));
  RECT text = di.rcItem;
  text.left = check.right + 4;
  SetBkMode(di.hDC, TRANSPARENT);
  SetTextColor(di.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(di.hDC, st.names[di.itemID].c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (di.itemState & ODS_FOCUS) DrawFocusRect(di.hDC, &di.rcItem);
}

void apply(HWND dialog, DialogState& st) {
  for (const auto& box : kPropertyBoxes)
    OCS_SetToolBarProp(st.instance, nullptr, box.property,
                       IsDlgButtonChecked(dialog, box.control) == BST_CHECKED ? 1 : 0);
  for (size_t i = 0; i < st.names.size(); ++i)
    for (CMoveableBar* t : st.bars->toolBars())
      if (t->name() == st.names[i]) t->setVisible(st.shown[i]);
  st.bars->layoutChanged();
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* st = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      st = reinterpret_cast<DialogState*>(lParam);
      HWND list = GetDlgItem(dialog, IDC_TOOL_BAR_LIST);
      for (const std::string& name : st->names) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      SendMessageA(list, LB_SETCURSEL, 0, 0);
      const ToolBarOptions& o = st->bars->globalOptions();
      for (const auto& box : kPropertyBoxes)
        CheckDlgButton(dialog, box.control, o.get(box.property) ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }
    case WM_DRAWITEM:
      if (st && wParam == IDC_TOOL_BAR_LIST) {
        drawItem(*st, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_VKEYTOITEM:
      // Space turns the current bar on or off, as in any check list.
      if (st && LOWORD(wParam) == VK_SPACE) {
        toggle(dialog, *st, HIWORD(wParam));
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, -2);
        return -2;
      }
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, -1);
      return -1;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_TOOL_BAR_LIST:
          if (st && (HIWORD(wParam) == LBN_DBLCLK || HIWORD(wParam) == LBN_SELCHANGE)) {
            // A click on the check box or a double click anywhere on the line changes it.
            HWND list = GetDlgItem(dialog, IDC_TOOL_BAR_LIST);
            const int index = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(list, &p);
            RECT r;
            const bool onBox = SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(&r)) != LB_ERR &&
                               PtInRect(&r, p) && p.x < r.left + (r.bottom - r.top) + 2;
            if (HIWORD(wParam) == LBN_DBLCLK || onBox) toggle(dialog, *st, index);
          }
          return TRUE;
        case IDOK:
          if (st) apply(dialog, *st);
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace
}  // namespace osk::win32

extern "C" int32_t OSK_CALL OCS_ShowToolBarDlg(HOCSINSTANCE instance, OskWindow parent) {
  osk::win32::ControlBars* bars = osk::win32::controlBarsOf(instance);
  if (!bars) return 0;
  osk::win32::DialogState st{instance, bars, {}, {}};
  for (osk::win32::CMoveableBar* t : bars->toolBars()) {
    // The preview's own bar shows with the preview only.
    if (t->name() == osk::kPrintPreviewToolBar) continue;
    st.names.push_back(t->name());
    st.shown.push_back(t->visible());
  }
  const INT_PTR r = DialogBoxParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(IDD_VIEW_TOOL_BARS),
                                    reinterpret_cast<HWND>(parent), osk::win32::dialogProc,
                                    reinterpret_cast<LPARAM>(&st));
  return r == 1 ? 1 : 0;
}
