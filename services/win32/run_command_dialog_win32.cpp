// The "Run Command" dialog: pick an enabled command and, for commands that take one, its parameter.
#include <windows.h>

#include "services/dialogs/command_choices.h"
#include "services/ocs_dialogs_api.h"
#include "services/win32/dialogs_win32.h"
#include "services/win32/instance_win32.h"

namespace {

struct RunState {
  std::vector<osk::CommandChoice> choices;
  std::string name;
  std::string parameter;
};

const osk::CommandChoice* selected(HWND dialog, const RunState& s) {
  const LRESULT at = SendDlgItemMessageA(dialog, IDC_RUN_LIST, LB_GETCURSEL, 0, 0);
  if (at < 0 || static_cast<size_t>(at) >= s.choices.size()) return nullptr;
  return &s.choices[static_cast<size_t>(at)];
}

void followSelection(HWND dialog, const RunState& s) {
  const osk::CommandChoice* choice = selected(dialog, s);
  EnableWindow(GetDlgItem(dialog, IDC_RUN_PARAMETER), choice && choice->takesParameter());
}

bool accept(HWND dialog, RunState& s) {
  const osk::CommandChoice* choice = selected(dialog, s);
  if (!choice) {
    osk::win32::reportProblem(dialog, "Choose a command from the list.");
    SetFocus(GetDlgItem(dialog, IDC_RUN_LIST));
    return false;
  }
  s.name = choice->name;
  s.parameter = choice->takesParameter() ? osk::win32::controlText(dialog, IDC_RUN_PARAMETER) : std::string();
  return true;
}

INT_PTR CALLBACK runProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<RunState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      s = reinterpret_cast<RunState*>(lParam);
      HWND list = GetDlgItem(dialog, IDC_RUN_LIST);
      for (const osk::CommandChoice& c : s->choices)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name.c_str()));
      SendDlgItemMessageA(dialog, IDC_RUN_PARAMETER, EM_LIMITTEXT, osk::kParameterMax, 0);
      followSelection(dialog, *s);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_RUN_LIST:
          if (HIWORD(wParam) == LBN_SELCHANGE) followSelection(dialog, *s);
          if (HIWORD(wParam) == LBN_DBLCLK && accept(dialog, *s)) EndDialog(dialog, 1);
          return TRUE;
        case IDOK:
          if (accept(dialog, *s)) EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace

extern "C" int32_t OSK_CALL OCS_RunCommandDlg(HOCSINSTANCE instance, OskWindow frame, char* name,
                                             char* parameter) {
  if (!instance || !name || !parameter) return 0;
  RunState state;
  state.choices = osk::enabledCommands(instance->core.configuration(), osk::win32::commandProviders(instance->core),
                                       osk::win32::disabledByEnablingTest);
  const INT_PTR result = DialogBoxParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(IDD_RUN_COMMAND),
                                         reinterpret_cast<HWND>(frame), runProc, reinterpret_cast<LPARAM>(&state));
  if (result != 1) return 0;
  osk::copyToBuffer(state.name, name, OCS_COMMAND_NAME_SIZE);
  osk::copyToBuffer(state.parameter, parameter, OCS_PARAMETER_SIZE);
  return 1;
}
