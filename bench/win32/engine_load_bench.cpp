// The engine's own load of a file, as the program asks for it: OSKECD32 initialised with an owner window and gauge
// callbacks that only count, then one buffer opened from the file with the program's open flags, undo capacity and
// tab length and a caption (so the gauge runs). Prints one line for the program that runs it (open_bench):
//
//   load <ms> steps <gauge steps> last <last step> of <gauge count> peak <peak working set bytes>
//
//   osk_engine_load.exe FILE
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/ecd_api.h"

namespace {

struct GaugeSeen {
  int32_t count = 0;
  int32_t steps = 0;
  int32_t last = 0;
} seen;

int32_t OSK_CALL noEvent(EcdEventRecord*) { return 0; }
int32_t OSK_CALL gaugeStart(int32_t, int32_t count, const char*) {
  seen.count = count;
  return 0;
}
int32_t OSK_CALL gaugeStep(int32_t step) {
  ++seen.steps;
  seen.last = step;
  return 0;
}
int32_t OSK_CALL gaugeEnd() { return 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: osk_engine_load FILE\n");
    return 2;
  }
  // The engine wants an owner window, as the program's frame is; this one is never shown.
  HWND owner = CreateWindowExA(0, "STATIC", "engine load", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  if (ECD_flInitialise(owner, noEvent, gaugeStart, gaugeStep, gaugeEnd) != 0) {
    std::fprintf(stderr, "the engine did not start\n");
    return 1;
  }
  // The program's defaults: 200 undo records, tabs of 8, both scroll bars, flag 6, the file read.
  EcdOpenRecord open{};
  open.fileName = argv[1];
  open.undoCapacity = 200;
  open.tabLength = 8;
  open.flags = ECD_OPEN_READ | ECD_OPEN_HSCROLL | ECD_OPEN_VSCROLL | ECD_OPEN_FLAG6;
  const std::string caption = std::string("Reading (Esc to Abort) ") + argv[1];
  open.caption = caption.c_str();

  const auto start = std::chrono::steady_clock::now();
  const int32_t code = ECD_flOpenBuffer(&open);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (code != 0) {
    std::fprintf(stderr, "the engine did not open %s: %d\n", argv[1], code);
    return 1;
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf("load %.1f steps %d last %d of %d peak %llu\n", ms, seen.steps, seen.last, seen.count,
              static_cast<unsigned long long>(memory.PeakWorkingSetSize));
  std::fflush(stdout);
  ECD_flCloseBuffer(open.buffer);
  ECD_flTerminate();
  DestroyWindow(owner);
  return 0;
}
