// The installation wizard: one dialog with Back, Next and Cancel, showing one page at a time, and the directory
// selection dialog that Browse opens.
#include <windowsx.h>

#include <cstring>
#include <vector>

#include "setup/install_rules.h"
#include "setup/win32/gauge.h"
#include "setup/win32/setup_ids.h"
#include "setup/win32/setup_state.h"

namespace osk::setup {

namespace {

constexpr int kPages[] = {IDD_WELCOME, IDD_DIRECTORY, IDD_GROUP, IDD_CONFIRM, IDD_PROGRESS};
constexpr int kConfirmPage = 3;
constexpr int kProgressPage = 4;

std::string controlText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(control, text.data(), length + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  return text.substr(start);
}

std::string fullPath(const std::string& typed) {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameA(typed.c_str(), sizeof path, path, nullptr);
  if (length == 0 || length >= sizeof path) return typed;
  return path;
}

// "c:  label" for fixed and RAM drives, "x:  \\server\share" for network drives; nullopt for drives to leave out.
std::optional<std::string> driveEntry(char letter) {
  const char root[] = {letter, ':', '\\', '\0'};
  const UINT type = GetDriveTypeA(root);
  if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) return std::nullopt;
  std::string entry = {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':', ' ', ' '};
  if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
    char label[MAX_PATH] = {};
    if (GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0)) entry += label;
  } else if (type == DRIVE_REMOTE) {
    const char local[] = {letter, ':', '\0'};
    char remote[MAX_PATH] = {};
    DWORD size = sizeof remote;
    if (WNetGetConnectionA(local, remote, &size) == NO_ERROR) entry += remote;
  }
  return entry;
}

// Fills a drive combo box and selects the drive of `path`; false when the system gives no drive list.
bool fillDrives(HWND combo, const std::string& path) {
  ComboBox_ResetContent(combo);
  const DWORD drives = GetLogicalDrives();
  if (drives == 0) return false;
  const char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(path.empty() ? 'c' : path[0])));
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const auto entry = driveEntry(static_cast<char>('A' + i));
    if (!entry) continue;
    const int index = ComboBox_AddString(combo, entry->c_str());
    if ((*entry)[0] == wanted) ComboBox_SetCurSel(combo, index);
  }
  return true;
}

char selectedDrive(HWND combo) {
  const int index = ComboBox_GetCurSel(combo);
  if (index < 0) return 0;
  char text[MAX_PATH + 8] = {};
  ComboBox_GetLBText(combo, index, text);
  return text[0];
}

void showSpace(HWND page, const SetupState& state) {
  const char drive = selectedDrive(GetDlgItem(page, IDC_DRIVES));
  ULARGE_INTEGER free{};
  if (drive != 0) {
    const char root[] = {drive, ':', '\\', '\0'};
    if (!GetDiskFreeSpaceExA(root, &free, nullptr, nullptr)) free.QuadPart = 0;
  }
  SetDlgItemTextA(page, IDC_FREE_SPACE, kilobytesText(free.QuadPart).c_str());
  SetDlgItemTextA(page, IDC_NEEDED_SPACE,
                  kilobytesText(static_cast<std::uint64_t>(state.catalogue.header.totalSize)).c_str());
}

// The directory selection dialog: the current path, its subdirectories, and the drives.
struct BrowseState {
  std::string path;
};

void listDirectories(HWND dialog, BrowseState& browse) {
  HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRECTORIES);
  ListBox_ResetContent(list);
  SetDlgItemTextA(dialog, IDC_BROWSE_PATH, browse.path.c_str());
  std::string base = browse.path;
  if (!base.empty() && base.back() != '\\') base += '\\';
  if (base.size() > 3) ListBox_AddString(list, "..");
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((base + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    if (GetFileAttributesA(browse.path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      showSetupError(dialog, "Path does not exist");
    } else {
      char message[64];
      std::snprintf(message, sizeof message, "Failed to read fron drive %c:", base.empty() ? '?' : base[0]);
      showSetupError(dialog, message);
    }
    return;
  }
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
      ListBox_AddString(list, name.c_str());
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
}

INT_PTR CALLBACK browseProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* browse = reinterpret_cast<BrowseState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      browse = reinterpret_cast<BrowseState*>(lParam);
      // Start from the deepest existing directory of what was typed.
      while (browse->path.size() > 3 && GetFileAttributesA(browse->path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        browse->path = browse->path.substr(0, browse->path.find_last_of('\\'));
        if (browse->path.size() == 2) browse->path += '\\';
      }
      if (!fillDrives(GetDlgItem(dialog, IDC_BROWSE_DRIVES), browse->path)) {
        showSetupError(dialog, "Error listing disk drives.");
      }
      listDirectories(dialog, *browse);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_BROWSE_DIRECTORIES:
          if (HIWORD(wParam) == LBN_DBLCLK) {
            HWND list = GetDlgItem(dialog, IDC_BROWSE_DIRECTORIES);
            const int index = ListBox_GetCurSel(list);
            if (index < 0) break;
            char name[MAX_PATH] = {};
            ListBox_GetText(list, index, name);
            if (std::strcmp(name, "..") == 0) {
              browse->path = browse->path.substr(0, browse->path.find_last_of('\\'));
              if (browse->path.size() == 2) browse->path += '\\';
            } else {
              if (browse->path.back() != '\\') browse->path += '\\';
              browse->path += name;
            }
            listDirectories(dialog, *browse);
          }
          break;
        case IDC_BROWSE_DRIVES:
          if (HIWORD(wParam) == CBN_SELCHANGE) {
            const char drive = selectedDrive(GetDlgItem(dialog, IDC_BROWSE_DRIVES));
            if (drive != 0) {
              browse->path = {drive, ':', '\\'};
              listDirectories(dialog, *browse);
            }
          }
          break;
        case IDOK:
          EndDialog(dialog, IDOK);
          break;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          break;
      }
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK pageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SetupState*>(GetWindowLongPtrA(page, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(page, DWLP_USER, lParam);
      return FALSE;
    case WM_COMMAND:
      if (state == nullptr) break;
      if (LOWORD(wParam) == IDC_BROWSE) {
        BrowseState browse{fullPath(trimmed(controlText(GetDlgItem(page, IDC_DIRECTORY))))};
        if (DialogBoxParamA(state->instance, MAKEINTRESOURCEA(IDD_BROWSE), state->wizard, browseProc,
                            reinterpret_cast<LPARAM>(&browse)) == IDOK) {
          SetDlgItemTextA(page, IDC_DIRECTORY, browse.path.c_str());
          fillDrives(GetDlgItem(page, IDC_DRIVES), browse.path);
          showSpace(page, *state);
        }
        return TRUE;
      }
      if (LOWORD(wParam) == IDC_DRIVES && HIWORD(wParam) == CBN_SELCHANGE) {
        showSpace(page, *state);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

void fillPage(SetupState& state) {
  HWND page = state.page;
  switch (state.pageIndex) {
    case 0: {
      const std::string text = "Welcome to the installation of " + state.productKey +
                               ".\r\n\r\nChoose Next to go on, or Cancel to leave Setup without changing anything.";
      SetDlgItemTextA(page, IDC_WELCOME_TEXT, text.c_str());
      break;
    }
    case 1:
      SendDlgItemMessageA(page, IDC_DIRECTORY, EM_LIMITTEXT, kMaxPathText, 0);
      SetDlgItemTextA(page, IDC_DIRECTORY, state.directory.c_str());
      if (!fillDrives(GetDlgItem(page, IDC_DRIVES), fullPath(state.directory))) {
        showSetupError(state.wizard, "Error listing disk drives.");
      }
      showSpace(page, state);
      break;
    case 2: {
      HWND combo = GetDlgItem(page, IDC_GROUP);
      ComboBox_LimitText(combo, kMaxPathText);
      if (const auto reply = state.progman.request("GROUPS")) {
        for (const std::string& name : groupNames(*reply)) ComboBox_AddString(combo, name.c_str());
      }
      const int index = ComboBox_FindStringExact(combo, -1, state.group.c_str());
      if (index >= 0) {
        ComboBox_SetCurSel(combo, index);
      } else {
        SetWindowTextA(combo, state.group.c_str());
      }
      break;
    }
    case kConfirmPage:
      SetDlgItemTextA(page, IDC_CONFIRM_TEXT, confirmationText(state.directory, state.group).c_str());
      break;
  }
}

void showPage(SetupState& state, int index) {
  if (state.page) DestroyWindow(state.page);
  state.pageIndex = index;
  state.page = CreateDialogParamA(state.instance, MAKEINTRESOURCEA(kPages[index]), state.wizard, pageProc,
                                  reinterpret_cast<LPARAM>(&state));
  RECT area;
  GetWindowRect(GetDlgItem(state.wizard, IDC_PAGE_AREA), &area);
  MapWindowPoints(nullptr, state.wizard, reinterpret_cast<POINT*>(&area), 2);
  // The page is filled before it shows: asking the program manager for its groups runs a message loop, and a
  // Next pressed meanwhile must not read a page that is still empty.
  state.filling = true;
  fillPage(state);
  state.filling = false;
  SetWindowPos(state.page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_SHOWWINDOW);
  EnableWindow(GetDlgItem(state.wizard, IDC_BACK), index > 0);
  SetDlgItemTextA(state.wizard, IDC_NEXT, index == kConfirmPage ? "&Install" : "&Next >");
}

// Takes the current page's choices; false keeps the page.
bool takeChoices(SetupState& state) {
  if (state.pageIndex == 1) {
    const std::string typed = trimmed(controlText(GetDlgItem(state.page, IDC_DIRECTORY)));
    const std::string path = fullPath(typed);
    if (typed.size() <= 2 || !installDirectorySteps(path)) {
      showSetupError(state.wizard, "Invalid installation directory");
      return false;
    }
    state.directory = path;
    while (state.directory.size() > 3 && state.directory.back() == '\\') state.directory.pop_back();
  } else if (state.pageIndex == 2) {
    const std::string group = trimmed(controlText(GetDlgItem(state.page, IDC_GROUP)));
    if (!isGroupName(group)) {
      showSetupError(state.wizard,
                     "Invalid program group name. A group name cannot be empty or hold any of [ ] ( ) \" ,");
      return false;
    }
    state.group = group;
  }
  return true;
}

void next(SetupState& state) {
  if (!takeChoices(state)) return;
  if (state.pageIndex < kConfirmPage) {
    showPage(state, state.pageIndex + 1);
    return;
  }
  showPage(state, kProgressPage);
  EnableWindow(GetDlgItem(state.wizard, IDC_BACK), FALSE);
  EnableWindow(GetDlgItem(state.wizard, IDC_NEXT), FALSE);
  state.installing = true;
  const bool installed = runInstallation(state);
  state.installing = false;
  if (state.cancelled) {
    EndDialog(state.wizard, IDCANCEL);
    return;
  }
  if (installed) {
    MessageBoxA(state.wizard, "Installation completed.", kSetupCaption, MB_OK | MB_ICONINFORMATION);
    EndDialog(state.wizard, IDOK);
    return;
  }
  showPage(state, kConfirmPage);
  EnableWindow(GetDlgItem(state.wizard, IDC_NEXT), TRUE);
}

INT_PTR CALLBACK wizardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SetupState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      state = reinterpret_cast<SetupState*>(lParam);
      state->wizard = dialog;
      showPage(*state, 0);
      return TRUE;
    case WM_COMMAND:
      if (state == nullptr) break;
      switch (LOWORD(wParam)) {
        case IDC_NEXT:
          if (!state->installing && !state->filling) next(*state);
          return TRUE;
        case IDC_BACK:
          if (!state->installing && !state->filling && state->pageIndex > 0) showPage(*state, state->pageIndex - 1);
          return TRUE;
        case IDCANCEL:
          if (state->cancelled) return TRUE;
          if (askSetup(dialog, "Setup is incomplete. Exit setup?")) {
            state->cancelled = true;
            // A running installation notices at its next check and ends the wizard itself.
            if (!state->installing) EndDialog(dialog, IDCANCEL);
          }
          return TRUE;
      }
      break;
    case WM_DESTROY:
      if (state && state->page) {
        DestroyWindow(state->page);
        state->page = nullptr;
      }
      break;
  }
  return FALSE;
}

}  // namespace

void showSetupError(HWND owner, const std::string& text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(owner, text.c_str(), kSetupCaption, MB_OK | MB_ICONSTOP);
}

bool askSetup(HWND owner, const std::string& question) {
  return MessageBoxA(owner, question.c_str(), kSetupCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void runWizard(SetupState& state, HWND background) {
  registerGauge(state.instance);
  DialogBoxParamA(state.instance, MAKEINTRESOURCEA(IDD_WIZARD), background, wizardProc,
                  reinterpret_cast<LPARAM>(&state));
}

}  // namespace osk::setup
