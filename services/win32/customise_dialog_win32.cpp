// "Customise": choose the configuration in force, bind and unbind key and mouse events, save the configuration.
// The dialog changes the instance's configuration as the user works, so menus and keys answer from it at once;
// Cancel puts back the configuration that was in force when the dialog opened.
#include <windows.h>

#include <memory>

#include "services/dialogs/command_choices.h"
#include "services/dialogs/customise.h"
#include "services/ocs_dialogs_api.h"
#include "services/win32/config_win32.h"
#include "services/win32/dialogs_win32.h"
#include "services/win32/extensions_api.h"
#include "services/win32/instance_win32.h"

namespace {

constexpr int kBuiltinConfiguration = 1001;

struct CustomiseState {
  OcsInstance* instance = nullptr;
  HWND frame = nullptr;
  int inWindowsDirectory = 0;
  std::string original;    // in force when the dialog opened; "" is the built-in configuration
  std::string inForce;
  bool touched = false;    // anything loaded or changed since the dialog opened
  std::unique_ptr<osk::CustomiseModel> model;
  std::vector<osk::CommandChoice> commands;
  std::vector<std::pair<uint16_t, uint16_t>> mappingRows;   // (key word, context) of each row of the list
};

bool load(CustomiseState& s, const std::string& name) {
  HOCSINSTANCE instance = s.instance;
  const int32_t ok = name.empty()
                         ? OCS_LoadConfigurationResource(instance, s.frame, GetModuleHandleA(nullptr),
                                                         kBuiltinConfiguration)
                         : OCS_LoadConfiguration(instance, s.frame, s.inWindowsDirectory, name.c_str());
  return ok != 0;
}

uint16_t selectedContext(HWND dialog) {
  HWND combo = GetDlgItem(dialog, IDC_CUST_CONTEXT);
  return static_cast<uint16_t>(SendMessageA(combo, CB_GETITEMDATA, SendMessageA(combo, CB_GETCURSEL, 0, 0), 0));
}

std::optional<uint16_t> typedKey(HWND dialog) {
  return osk::parseKeyName(osk::win32::controlText(dialog, IDC_CUST_KEY), osk::win32::systemKeyChar);
}

const osk::CommandChoice* selectedCommand(HWND dialog, const CustomiseState& s) {
  const LRESULT at = SendDlgItemMessageA(dialog, IDC_CUST_COMMAND, CB_GETCURSEL, 0, 0);
  if (at < 0 || static_cast<size_t>(at) >= s.commands.size()) return nullptr;
  return &s.commands[static_cast<size_t>(at)];
}

void showCurrent(HWND dialog, const CustomiseState& s) {
  std::string text;
  const auto key = typedKey(dialog);
  if (key && s.model) {
    const auto bound = s.model->boundTo(*key, selectedContext(dialog));
    text = !bound ? "(nothing)" : bound->parameter.empty() ? bound->name : bound->name + " " + bound->parameter;
  }
  SetDlgItemTextA(dialog, IDC_CUST_CURRENT, text.c_str());
}

void followCommand(HWND dialog, const CustomiseState& s) {
  const osk::CommandChoice* c = selectedCommand(dialog, s);
  EnableWindow(GetDlgItem(dialog, IDC_CUST_PARAMETER), c && c->takesParameter());
}

void fillMappings(HWND dialog, CustomiseState& s) {
  HWND list = GetDlgItem(dialog, IDC_CUST_MAPPINGS);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  s.mappingRows.clear();
  const osk::CConfiguration* cfg = s.instance->core.configuration();
  if (cfg) {
    const uint16_t context = selectedContext(dialog);
    for (const osk::KeyMapRow& r : osk::keyMapRows(*cfg, osk::win32::systemKeyChar)) {
      if (r.context != context) continue;
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((r.key + "\t" + r.command).c_str()));
      s.mappingRows.emplace_back(r.keyWord, r.context);
    }
  }
  showCurrent(dialog, s);
}

// Everything that follows the configuration in force: the model, the command list and the mappings.
void followConfiguration(HWND dialog, CustomiseState& s) {
  osk::CConfiguration* cfg = s.instance->core.configuration();
  s.model = cfg ? std::make_unique<osk::CustomiseModel>(*cfg, osk::win32::commandProviders(s.instance->core),
                                                        osk::win32::systemKeyChar)
                : nullptr;
  s.commands = osk::allCommands(cfg, osk::win32::commandProviders(s.instance->core));
  HWND combo = GetDlgItem(dialog, IDC_CUST_COMMAND);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const osk::CommandChoice& c : s.commands)
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name.c_str()));
  followCommand(dialog, s);
  fillMappings(dialog, s);
}

// The command list again after libraries came or went, keeping the chosen command and the bindings not yet saved.
void refillCommands(HWND dialog, CustomiseState& s) {
  const osk::CommandChoice* chosen = selectedCommand(dialog, s);
  const std::string name = chosen ? chosen->name : std::string();
  s.commands = osk::allCommands(s.instance->core.configuration(), osk::win32::commandProviders(s.instance->core));
  HWND combo = GetDlgItem(dialog, IDC_CUST_COMMAND);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < s.commands.size(); ++i) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.commands[i].name.c_str()));
    if (s.commands[i].name == name) SendMessageA(combo, CB_SETCURSEL, i, 0);
  }
  followCommand(dialog, s);
  fillMappings(dialog, s);
}

void selectConfigurationName(HWND dialog, const std::string& name) {
  HWND combo = GetDlgItem(dialog, IDC_CUST_CONFIG);
  const std::string label = name.empty() ? osk::kDefaultConfigurationName : name;
  LRESULT at = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(label.c_str()));
  if (at == CB_ERR) at = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
  SendMessageA(combo, CB_SETCURSEL, at, 0);
  SetDlgItemTextA(dialog, IDC_CUST_SAVE_NAME, name.c_str());
}

void fillConfigurations(HWND dialog, const CustomiseState& s) {
  std::vector<std::string> names;
  const std::string pattern = osk::win32::configurationPath(s.inWindowsDirectory, "*.cfg");
  WIN32_FIND_DATAA found;
  HANDLE search = pattern.empty() ? INVALID_HANDLE_VALUE : FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::string path = osk::win32::configurationPath(s.inWindowsDirectory, found.cFileName);
      if (!path.empty() && osk::win32::isConfigurationFile(path)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  HWND combo = GetDlgItem(dialog, IDC_CUST_CONFIG);
  for (const std::string& name : osk::configurationChoices(std::move(names)))
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  selectConfigurationName(dialog, s.inForce);
}

// Unsaved changes are either saved, kept in force unsaved, or the caller's step is called off.
enum class Unsaved { kGoOn, kStop };

bool save(HWND dialog, CustomiseState& s) {
  std::string problem;
  const auto name = osk::configurationSaveName(osk::win32::controlText(dialog, IDC_CUST_SAVE_NAME), problem);
  if (!name) {
    osk::win32::reportProblem(dialog, problem);
    SetFocus(GetDlgItem(dialog, IDC_CUST_SAVE_NAME));
    return false;
  }
  const std::string path = osk::win32::configurationPath(s.inWindowsDirectory, name->c_str());
  if (path.empty()) {
    osk::win32::reportProblem(dialog, "The file name is too long.");
    return false;
  }
  if (lstrcmpiA(name->c_str(), s.inForce.c_str()) != 0 && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    const std::string question = "Replace " + *name + "?";
    if (MessageBoxA(dialog, question.c_str(), "OSK", MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  }
  if (!OCS_SaveConfiguration(s.instance, path.c_str())) return false;   // the services said why
  s.inForce = *name;
  if (s.model) s.model->markSaved();
  selectConfigurationName(dialog, s.inForce);
  return true;
}

Unsaved askAboutChanges(HWND dialog, CustomiseState& s) {
  if (!s.model || !s.model->changed()) return Unsaved::kGoOn;
  switch (MessageBoxA(dialog, "Save the changes to this configuration?", "OSK", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return save(dialog, s) ? Unsaved::kGoOn : Unsaved::kStop;
    case IDNO: return Unsaved::kGoOn;
    default: return Unsaved::kStop;
  }
}

void chooseConfiguration(HWND dialog, CustomiseState& s) {
  HWND combo = GetDlgItem(dialog, IDC_CUST_CONFIG);
  char label[MAX_PATH + 1] = {};
  const LRESULT at = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (at < 0 || SendMessageA(combo, CB_GETLBTEXTLEN, at, 0) > MAX_PATH) return;
  SendMessageA(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(label));
  const std::string name = std::string(label) == osk::kDefaultConfigurationName ? "" : label;
  if (name == s.inForce) return;
  if (askAboutChanges(dialog, s) == Unsaved::kStop) {
    selectConfigurationName(dialog, s.inForce);
    return;
  }
  s.touched = true;
  if (!load(s, name)) {
    osk::win32::reportProblem(dialog, "The configuration " + std::string(label) + " could not be loaded.");
    selectConfigurationName(dialog, s.inForce);
  } else {
    s.inForce = name;
    SetDlgItemTextA(dialog, IDC_CUST_SAVE_NAME, name.c_str());
  }
  followConfiguration(dialog, s);
}

void bind(HWND dialog, CustomiseState& s) {
  if (!s.model) {
    osk::win32::reportProblem(dialog, "No configuration is loaded.");
    return;
  }
  const auto key = typedKey(dialog);
  if (!key) {
    osk::win32::reportProblem(dialog, "Type the key, or click the mouse button, to map in the key field first.");
    SetFocus(GetDlgItem(dialog, IDC_CUST_KEY));
    return;
  }
  const osk::CommandChoice* command = selectedCommand(dialog, s);
  const std::string name = command ? command->name : std::string();
  const std::string parameter =
      command && command->takesParameter() ? osk::win32::controlText(dialog, IDC_CUST_PARAMETER) : std::string();
  const bool menuString = IsDlgButtonChecked(dialog, IDC_CUST_MENU_STRING) == BST_CHECKED;
  const uint16_t context = selectedContext(dialog);
  osk::BindResult result = s.model->bind(*key, context, name, parameter, menuString, false);
  if (result == osk::BindResult::kNeedsOverwrite) {
    if (MessageBoxA(dialog, osk::bindMessage(result).c_str(), "OSK", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    result = s.model->bind(*key, context, name, parameter, menuString, true);
  }
  if (result != osk::BindResult::kBound) {
    osk::win32::reportProblem(dialog, osk::bindMessage(result));
    return;
  }
  s.touched = true;
  fillMappings(dialog, s);
}

void unbind(HWND dialog, CustomiseState& s) {
  const auto key = typedKey(dialog);
  if (!s.model || !key || !s.model->unbind(*key, selectedContext(dialog))) {
    osk::win32::reportProblem(dialog, "Nothing is mapped to this key or mouse event in this constraint.");
    return;
  }
  s.touched = true;
  fillMappings(dialog, s);
}

void pickMapping(HWND dialog, CustomiseState& s) {
  const LRESULT at = SendDlgItemMessageA(dialog, IDC_CUST_MAPPINGS, LB_GETCURSEL, 0, 0);
  if (at < 0 || static_cast<size_t>(at) >= s.mappingRows.size() || !s.model) return;
  const auto [word, context] = s.mappingRows[static_cast<size_t>(at)];
  const auto name = osk::formatKeyName(word, osk::win32::systemKeyChar);
  SetDlgItemTextA(dialog, IDC_CUST_KEY, name ? name->c_str() : "");
  if (const auto bound = s.model->boundTo(word, context)) {
    for (size_t i = 0; i < s.commands.size(); ++i)
      if (s.commands[i].name == bound->name) SendDlgItemMessageA(dialog, IDC_CUST_COMMAND, CB_SETCURSEL, i, 0);
    SetDlgItemTextA(dialog, IDC_CUST_PARAMETER, bound->parameter.c_str());
    followCommand(dialog, s);
  }
  showCurrent(dialog, s);
}

INT_PTR CALLBACK customiseProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<CustomiseState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
      s = reinterpret_cast<CustomiseState*>(lParam);
      HWND contexts = GetDlgItem(dialog, IDC_CUST_CONTEXT);
      for (const osk::EventContextInfo& info : osk::eventContexts()) {
        const LRESULT at = SendMessageA(contexts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(info.name));
        SendMessageA(contexts, CB_SETITEMDATA, at, info.value);
      }
      SendMessageA(contexts, CB_SETCURSEL, 0, 0);
      const INT tabStop = 90;
      SendDlgItemMessageA(dialog, IDC_CUST_MAPPINGS, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
      SendDlgItemMessageA(dialog, IDC_CUST_PARAMETER, EM_LIMITTEXT, osk::kParameterMax, 0);
      SendDlgItemMessageA(dialog, IDC_CUST_SAVE_NAME, EM_LIMITTEXT, MAX_PATH - 1, 0);
      osk::win32::makeKeyCaptureField(GetDlgItem(dialog, IDC_CUST_KEY));
      fillConfigurations(dialog, *s);
      followConfiguration(dialog, *s);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CUST_CONFIG:
          if (HIWORD(wParam) == CBN_SELCHANGE) chooseConfiguration(dialog, *s);
          return TRUE;
        case IDC_CUST_CONTEXT:
          if (HIWORD(wParam) == CBN_SELCHANGE) fillMappings(dialog, *s);
          return TRUE;
        case IDC_CUST_KEY:
          if (HIWORD(wParam) == EN_CHANGE) showCurrent(dialog, *s);
          return TRUE;
        case IDC_CUST_COMMAND:
          if (HIWORD(wParam) == CBN_SELCHANGE) followCommand(dialog, *s);
          return TRUE;
        case IDC_CUST_MAPPINGS:
          if (HIWORD(wParam) == LBN_SELCHANGE) pickMapping(dialog, *s);
          return TRUE;
        case IDC_CUST_BIND:
          bind(dialog, *s);
          return TRUE;
        case IDC_CUST_UNBIND:
          unbind(dialog, *s);
          return TRUE;
        case IDC_CUST_SAVE:
          save(dialog, *s);
          return TRUE;
        case IDC_CUST_EXTENSIONS:
          // Libraries added or removed change the commands of the configuration in force at once.
          if (OCS_ExtensionsDlg(s->instance, dialog)) refillCommands(dialog, *s);
          return TRUE;
        case IDOK:
          if (askAboutChanges(dialog, *s) == Unsaved::kGoOn) EndDialog(dialog, 1);
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

extern "C" int32_t OSK_CALL OCS_ConfigurationDlg(HOCSINSTANCE instance, OskWindow frame, int32_t inWindowsDirectory,
                                                char* configFile) {
  if (!instance || !configFile) return 0;
  CustomiseState state;
  state.instance = instance;
  state.frame = reinterpret_cast<HWND>(frame);
  state.inWindowsDirectory = inWindowsDirectory ? 1 : 0;
  state.original.assign(configFile, strnlen(configFile, MAX_PATH));
  state.inForce = state.original;
  const INT_PTR result = DialogBoxParamA(osk::win32::servicesModule(), MAKEINTRESOURCEA(IDD_CUSTOMISE),
                                         state.frame, customiseProc, reinterpret_cast<LPARAM>(&state));
  if (result == 1) {
    osk::copyToBuffer(state.inForce, configFile, MAX_PATH + 1);
    return 1;
  }
  // Put back what was in force; a file that has gone since gives way to the built-in configuration, as at start-up.
  if (state.touched && !load(state, state.original) && !state.original.empty()) load(state, "");
  return 0;
}
