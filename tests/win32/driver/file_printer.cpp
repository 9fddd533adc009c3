#include "file_printer.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace osk::drive {
namespace {

constexpr int kPrintDialogAllPages = 0x420;
constexpr int kExplorerFileName = 0x47c;
constexpr int kOldFileName = 0x480;

// A dialog of the program that has a control with one of these identifiers (at any depth), once it takes input.
HWND waitForDialogWith(const Program& program, std::initializer_list<int> ids) {
  HWND found = nullptr;
  waitFor([&] {
    for (HWND dialog : program.dialogs()) {
      if (!IsWindowEnabled(dialog)) continue;
      for (int id : ids) {
        if (control(dialog, id) != nullptr) {
          found = dialog;
          return true;
        }
      }
    }
    return false;
  });
  return found;
}

}  // namespace

bool installFilePrinter() {
  HANDLE handle = nullptr;
  if (!OpenPrinterA(const_cast<char*>(kFilePrinter), &handle, nullptr)) {
    char dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed)) {
      return false;
    }
    const std::string versionDir = std::string(dir) + "\\3";
    CreateDirectoryA(dir, nullptr);
    CreateDirectoryA(versionDir.c_str(), nullptr);
    HMODULE spool = GetModuleHandleA("winspool.drv");
    HRSRC ppd = spool ? FindResourceA(spool, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
    if (!ppd) return false;
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(spool, ppd)));
    std::ofstream(versionDir + "\\generic.ppd", std::ios::binary)
        .write(bytes, static_cast<std::streamsize>(SizeofResource(spool, ppd)));
    DRIVER_INFO_3A driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<char*>("Wine PostScript Driver");
    driver.pDriverPath = const_cast<char*>("wineps.drv");
    driver.pDataFile = const_cast<char*>("generic.ppd");
    driver.pConfigFile = const_cast<char*>("wineps.drv");
    if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        !AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), 0)) {
      return false;
    }
    PRINTER_INFO_2A info{};
    info.pPrinterName = const_cast<char*>(kFilePrinter);
    info.pPortName = const_cast<char*>("FILE:");
    info.pDriverName = const_cast<char*>("Wine PostScript Driver");
    info.pPrintProcessor = const_cast<char*>("WinPrint");
    info.pDatatype = const_cast<char*>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    handle = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!handle) return false;
  }
  ClosePrinter(handle);
  return SetDefaultPrinterA(kFilePrinter) != 0;
}

bool answerPrintDialogs(const Program& program, const std::string& output) {
  HWND printDialog = waitForDialogWith(program, {kPrintDialogAllPages});
  if (printDialog == nullptr || !program.answer(printDialog, IDOK)) return false;
  HWND fileDialog = waitForDialogWith(program, {kExplorerFileName, kOldFileName});
  if (fileDialog == nullptr) return false;
  setText(fileDialog, control(fileDialog, kExplorerFileName) ? kExplorerFileName : kOldFileName, output);
  return program.answer(fileDialog, IDOK);
}

bool waitForPrintedFile(const Program& program, const std::string& output, std::chrono::milliseconds timeout) {
  // The "Printing" dialog comes and goes; the job has ended when the file is whole and the frame takes input.
  return waitFor(
      [&] {
        // Only the end is read: a long job's file is large and is read many times over.
        std::ifstream file(output, std::ios::binary | std::ios::ate);
        if (!file) return false;
        const std::streamoff size = file.tellg();
        file.seekg(size > 64 ? size - 64 : 0);
        const std::string tail{std::istreambuf_iterator<char>(file), {}};
        return tail.find("%%EOF") != std::string::npos && IsWindowEnabled(program.frame()) &&
               program.dialogs().empty();
      },
      timeout);
}

std::string printSample() {
  std::string text = "/* sample.c: a file to print */\r\n#include <stdio.h>\r\n";
  for (int i = 3; i <= 240; ++i) {
    char line[96];
    if (i % 3 == 0) {
      std::snprintf(line, sizeof line, "int value%03d = %d; /* note%03d */\r\n", i, i, i);
    } else {
      std::snprintf(line, sizeof line, "static int other%03d(void) { return %d; }\r\n", i, i);
    }
    text += line;
  }
  return text;
}

size_t pagesIn(const std::string& postscriptFile) {
  std::ifstream in(postscriptFile, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  size_t pages = 0;
  for (size_t at = text.find("%%Page: "); at != std::string::npos; at = text.find("%%Page: ", at + 1)) ++pages;
  return pages;
}

}  // namespace osk::drive
