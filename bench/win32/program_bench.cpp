// The program as a user meets it, under Wine: what a typed key costs in a small and in a very large document, and
// how long the program takes from its start to the first painted document against the system's own notepad on the
// same small file. Not a test: it prints its measurements and the ratios to their goals.
//
//   osk32_bench.exe [lines]      (lines of the large document, 1,000,000 unless given)
//
// A key's cost is measured from SendInput to the saved text: many keys and the save key go in at once and the
// clock stops when the file on disk has grown by that many characters. Two runs with different numbers of keys
// cancel the save's own cost: (time(many) - time(few)) / (many - few).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/osk_driver.h"

using namespace osk::drive;
using Clock = std::chrono::steady_clock;

namespace {

INPUT keyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

uint64_t fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

void focusFrame(const Program& program) {
  HWND frame = program.frame();
  RECT area;
  GetWindowRect(frame, &area);
  SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  SetForegroundWindow(frame);
  waitFor([&] { return GetForegroundWindow() == frame; }, 2s);
  program.settle();
}

struct Typed {
  int keys = 0;        // the characters that reached the file
  double ms = -1;      // from SendInput to the save that holds them
};

// Types `count` letters and Ctrl+S in one go, and waits for the save. Keys that the display server drops on the
// way are not counted: the clock stops at the last change of the file once it has been still for three seconds.
Typed typeAndSave(const Program& program, const std::string& path, int count) {
  // Each run types on a line of its own (Return first: two more bytes), so that no line reaches the editor's limit.
  const uint64_t initial = fileSize(path), before = initial + 2;
  const auto start = Clock::now();
  INPUT newLine[] = {keyInput(VK_RETURN, false), keyInput(VK_RETURN, true)};
  SendInput(2, newLine, sizeof(INPUT));
  // Ten keys at a time, each group handed over once the program is idle again: a burst of hundreds of keys
  // overruns the display server's queue and keys go missing.
  for (int i = 0; i < count;) {
    std::vector<INPUT> inputs;
    for (int group = 0; group < 10 && i < count; ++group, ++i) {
      const WORD letter = static_cast<WORD>('A' + i % 26);
      inputs.push_back(keyInput(letter, false));
      inputs.push_back(keyInput(letter, true));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    program.settle();
  }
  INPUT save[] = {keyInput(VK_CONTROL, false), keyInput('S', false), keyInput('S', true), keyInput(VK_CONTROL, true)};
  SendInput(4, save, sizeof(INPUT));
  uint64_t size = initial;
  auto changed = start;
  for (;;) {
    const uint64_t now = fileSize(path);
    if (now != size) {
      size = now;
      changed = Clock::now();
    }
    if (size == before + static_cast<uint64_t>(count)) break;
    if (Clock::now() - (size == initial ? start + 117s : changed) > 3s) break;
    Sleep(2);
  }
  if (size <= before) return {};
  return {static_cast<int>(size - before), std::chrono::duration<double, std::milli>(changed - start).count()};
}

// The cost of one key in a document of that many lines, in milliseconds; -1 when the program failed.
double keyCost(const Scratch& folder, const std::string& name, int lines) {
  const std::string path = folder.writeLines(name, lines);
  Program program(folder, name);
  if (program.waitForFrame() == nullptr || !program.waitForDocuments(1)) return -1;
  focusFrame(program);
  // The best of three rounds, for a few keys and for many.
  Typed few{0, 1e300}, many{0, 1e300};
  for (int round = 0; round < 3; ++round) {
    const Typed a = typeAndSave(program, path, 20);
    const Typed b = typeAndSave(program, path, 420);
    if (a.keys == 0 || b.keys == 0) {
      program.kill(programFolder() + "osk32_bench_timeout.bmp");
      return -1;
    }
    if (a.ms < few.ms) few = a;
    if (b.ms < many.ms) many = b;
  }
  std::printf("  %-9s %8d lines: %d keys %.0f ms, %d keys %.0f ms\n", name.c_str(), lines, few.keys, few.ms,
              many.keys, many.ms);
  program.close();
  if (many.keys <= few.keys) return -1;
  return std::max(0.0, (many.ms - few.ms) / (many.keys - few.keys));
}

// Milliseconds from CreateProcess to a visible window of `windowClass` with the program idle after painting it.
double startUntilIdle(const std::string& commandLine, const std::string& folder, const std::string& windowClass,
                      bool endIt) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  const auto start = Clock::now();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    return -1;
  }
  const bool shown = waitFor([&] { return !topLevelWindows(process.dwProcessId, windowClass).empty(); }, 60s);
  WaitForInputIdle(process.hProcess, 10000);
  for (HWND window : topLevelWindows(process.dwProcessId, windowClass)) UpdateWindow(window);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  if (endIt) {
    for (HWND window : topLevelWindows(process.dwProcessId, {})) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown ? ms : -1;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int largeLines = argc > 1 ? std::max(10, std::atoi(argv[1])) : 1000000;
  Scratch folder;

  std::printf("keystroke cost (SendInput to the saved text)\n");
  const double small = keyCost(folder, "small.txt", 10);
  const double large = keyCost(folder, "large.txt", largeLines);
  if (small < 0 || large < 0) {
    std::printf("the program did not take the keys\n");
    return 1;
  }
  std::printf("  per key: %.3f ms in 10 lines, %.3f ms in %d lines; ratio %.2f (goal: the same within noise)\n",
              small, large, largeLines, small > 0 ? large / small : 0.0);

  std::printf("start-up to the first painted document\n");
  folder.writeLines("start.txt", 40);
  std::vector<double> ours, notepad;
  for (int round = 0; round < 5; ++round) {
    // The program starts on its own settings file in the scratch folder, as the scenarios do.
    const std::string program = "\"" + programFolder() + "OSK32.exe\" /ini \"" + folder.pathOf("osk.ini") +
                                "\" \"" + folder.pathOf("start.txt") + "\"";
    const double a = startUntilIdle(program, folder.path(), "OSK32", true);
    const double b = startUntilIdle("notepad.exe \"" + folder.pathOf("start.txt") + "\"", folder.path(), "Notepad",
                                    true);
    if (a >= 0) ours.push_back(a);
    if (b >= 0) notepad.push_back(b);
  }
  const double a = median(ours), b = median(notepad);
  std::printf("  OSK32 %.0f ms, notepad %.0f ms (medians of five); ratio %.2f (goal: at most 2)\n", a, b,
              b > 0 ? a / b : 0.0);
  return 0;
}
