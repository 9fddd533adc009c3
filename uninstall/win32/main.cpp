// OSKUNINST.exe: removes an installation by playing back its uninstall log, named by the whole command line.
#include <windows.h>

#include <cstdio>
#include <string>

#include "setup/uninstall_log.h"
#include "setup/win32/background.h"
#include "setup/win32/ctl3d.h"
#include "setup/win32/playback.h"
#include "setup/win32/progman.h"
#include "uninstall/uninstall_plan.h"

namespace {

using namespace osk;

constexpr const char* kCaption = "Uninstall";
constexpr int kDialog = 101;
constexpr int kDialogText = 1100;

void showError(const std::string& text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

struct Uninstall {
  std::string logPath;
  std::string installDirectory;
  std::vector<setup::LogRecord> records;
  setup::LogTitles titles;
  setup::Progman progman;
};

std::string windowsDirectory() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

void secondPass(Uninstall& job, HWND owner) {
  if (!DeleteFileA(job.logPath.c_str())) {
    showError(uninstall::pathMessage("Failed to remove uninstall data file %s", job.logPath));
  }
  const auto steps = uninstall::planUninstall(job.records, job.installDirectory, windowsDirectory());
  setup::playBack(steps, job.progman, [](const std::string& message) { showError(message); });
  MessageBoxA(owner, "Uninstall completed.", kCaption, MB_OK | MB_ICONWARNING);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* job = reinterpret_cast<Uninstall*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      job = reinterpret_cast<Uninstall*>(lParam);
      const std::string product = job->titles.productKey.empty() ? "the program" : job->titles.productKey;
      const std::string text = "Uninstall will remove " + product + " from this computer: the files it installed in " +
                               job->installDirectory +
                               ", its program items and its registry entries.\r\n\r\nFiles you have added there "
                               "yourself are kept.";
      SetDlgItemTextA(dialog, kDialogText, text.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        secondPass(*job, dialog);
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

// The log whole: the file's own size decides how much is read, up to the log's limit.
bool readLog(const std::string& path, std::string& text) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return false;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= setup::kMaxLogBytes) {
    text.append(buffer, n);
  }
  std::fclose(file);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  setup::OldShellControls controls(instance);
  Uninstall job;
  job.logPath = uninstall::logPathFromCommandLine(commandLine ? commandLine : "");
  std::string text;
  if (job.logPath.empty() || !readLog(job.logPath, text)) {
    showError("Uninstall file not present");
    return 1;
  }
  char full[MAX_PATH * 2] = {};
  const DWORD length = GetFullPathNameA(job.logPath.c_str(), sizeof full, full, nullptr);
  if (length != 0 && length < sizeof full) job.logPath = full;
  job.installDirectory = uninstall::installDirectoryOfLog(job.logPath);
  if (!job.progman.open()) {
    showError("Cannot open DDE Communications");
    return 1;
  }
  if (text.empty()) return 0;
  const setup::ParsedLog log = setup::parseUninstallLog(text);
  // Whatever file the command line names is deleted by the second pass: one that is not a log stays untouched.
  if (!log.isLog()) {
    showError("Uninstall file not present");
    return 1;
  }
  job.records = log.records;
  job.titles = setup::logTitles(job.records);
  HWND background = setup::createBackground(instance, kCaption, job.titles.productKey, job.titles.displayLine);
  const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialog), background, dialogProc,
                                         reinterpret_cast<LPARAM>(&job));
  job.progman.close();
  if (background) DestroyWindow(background);
  return result == IDOK ? 0 : 1;
}
