// Printing through the program under Wine: a generated C file of 10,000 lines printed with the Print command on a
// PostScript printer on "FILE:", in two numbered columns with header, footer and character wrap. The clock runs
// from the answered output file dialog to the whole PostScript file, so it holds the engine's print stream, the
// layout and the drawing on the printer. Not a test: it prints its measurement; bench/print_program.sh sets it
// against enscript on the same file.
//
// Without a window manager Wine waits two seconds for one to take each closed dialog (the output file dialog
// among them) before it goes on; the program is started with its windows unmanaged, as if a window manager had
// answered at once, so that the clock holds printing and not that wait. The setting is put back afterwards.
//
//   osk32_print_bench.exe [lines] [copy.ps]   (10,000 lines unless given; copy.ps keeps the last output)
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/file_printer.h"
#include "driver/osk_driver.h"

using namespace osk::drive;
using Clock = std::chrono::steady_clock;

namespace {

// The same lines as bench/print.sh gives enscript.
std::string sourceText(int lines) {
  std::string text;
  char line[128];
  for (int i = 1; i <= lines; ++i) {
    if (i % 4 == 0) {
      std::snprintf(line, sizeof line, "/* comment %d: the value below is used by the caller */\n", i);
    } else {
      std::snprintf(line, sizeof line, "static int function%05d(int a, int b) { return a * %d + b; }\n", i, i);
    }
    text += line;
  }
  return text;
}

void option(const std::string& ini, const char* key, const char* value) {
  WritePrivateProfileStringA("Print Options", key, value, ini.c_str());
}

// Wine's X11 driver setting "Managed" for the programs started while this lives, and the old value back after.
class UnmanagedWindows {
 public:
  UnmanagedWindows() {
    // Only Wine has the setting; elsewhere nothing is touched.
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    DWORD size = sizeof old_;
    had_ = RegQueryValueExA(key_, "Managed", nullptr, nullptr, reinterpret_cast<BYTE*>(old_), &size) == ERROR_SUCCESS;
    old_[sizeof old_ - 1] = 0;
    RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
  }
  ~UnmanagedWindows() {
    if (!key_) return;
    if (had_) {
      RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_), lstrlenA(old_) + 1);
    } else {
      RegDeleteValueA(key_, "Managed");
    }
    RegCloseKey(key_);
  }
  UnmanagedWindows(const UnmanagedWindows&) = delete;
  UnmanagedWindows& operator=(const UnmanagedWindows&) = delete;

 private:
  static constexpr char kKey[] = "Software\\Wine\\X11 Driver";
  HKEY key_ = nullptr;
  bool had_ = false;
  char old_[16] = "";
};

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
  const std::string keep = argc > 2 ? argv[2] : "";
  if (!installFilePrinter()) {
    std::printf("no PostScript printer could be installed\n");
    return 1;
  }
  Scratch folder;
  folder.write("print.c", sourceText(lines));
  const std::string ini = folder.pathOf("osk.ini");
  option(ini, "Header", "&LJustify&File&RJustify&Page");
  option(ini, "Footer", "&CJustifyFooter of &File");
  option(ini, "LineNumbers", "1");
  option(ini, "NumColumns", "2");
  option(ini, "WrapOption", "1");

  UnmanagedWindows unmanaged;
  Program program(folder, "print.c");
  if (program.waitForFrame() == nullptr || !program.waitForDocuments(1)) {
    std::printf("the program did not open the file\n");
    return 1;
  }
  const int print = CommandNumbers().number("Print");
  double best = -1, bestPrepared = -1;
  size_t pages = 0;
  for (int run = 0; run < 2; ++run) {
    const std::string output = folder.pathOf("print" + std::to_string(run) + ".ps");
    program.command(print);
    if (!answerPrintDialogs(program, output)) {
      std::printf("the print dialogs did not come\n");
      return 1;
    }
    const auto start = Clock::now();
    // The "Printing" dialog shows once the stream is written and laid out: what comes before it is the engine's
    // stream and the layout, what comes after it the drawing on the printer.
    const bool sawPrinting = waitFor([&] { return !program.dialogs().empty(); }, std::chrono::minutes(1));
    const double prepared = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!waitForPrintedFile(program, output, std::chrono::minutes(5))) {
      std::printf("the job did not end\n");
      return 1;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (best < 0 || ms < best) {
      best = ms;
      bestPrepared = sawPrinting ? prepared : -1;
    }
    pages = pagesIn(output);
    if (!keep.empty()) CopyFileA(output.c_str(), keep.c_str(), FALSE);
  }
  std::printf("lines %d pages %zu\n", lines, pages);
  std::printf("stream and layout %.0f ms, drawing %.0f ms\n", bestPrepared, best - bestPrepared);
  std::printf("total %.0f ms\n", best);
  program.close();
  return 0;
}
