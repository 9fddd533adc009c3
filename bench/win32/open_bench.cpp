// Opening a large file in the program as a user meets it, under Wine, against the engine's own load of the same
// file in the same run. Not a test: it prints its measurements and the ratios to their goals.
//
//   osk32_open_bench.exe [megabytes]     (100 unless given)
//
// The file is source-like text (lines of 20 to 100 characters, CR LF) written into a scratch folder that goes
// with the run. Five rounds of:
//   - the engine: osk_engine_load.exe opens the file through OSKECD32 with the program's open flags and a caption
//     (gauge callbacks that only count); it reports the load and the time since its own process started;
//   - the program: OSK32.exe started on its own settings file with the file on its command line, timed from
//     CreateProcess to the first painted document: the document window is there, its title holds the file's name,
//     the gauge is gone from the status bar, and the program has painted and gone idle (UpdateWindow on the editor
//     returns only once a pending paint is done, then the message loop answers and waits for input). While it
//     loads, the gauge's filled part is read off the screen now and then, to show it moving.
// The program with an empty document is measured too: it is what start-up and Wine cost before any text.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "driver/osk_driver.h"

using namespace osk::drive;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Source-like text: indented statements, comments and blank-ish lines of 20 to 100 characters, from a fixed seed
// so every run reads the same bytes.
bool writeSourceLike(const std::string& path, uint64_t bytes, uint64_t& lines) {
  static const char* const kWords[] = {"value", "count", "index", "buffer", "result", "return", "const", "auto",
                                       "std::string", "int32_t", "if", "for", "while", "name", "line", "block",
                                       "size", "next", "first", "last", "window", "text", "offset", "status"};
  static const char* const kJoins[] = {" = ", " + ", ", ", "(", ") ", " < ", "->", ".", " && ", "; ", "[", "] "};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  uint64_t seed = 0x2545F4914F6CDD1Dull, written = 0;
  auto next = [&seed](uint32_t below) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>((seed >> 33) % below);
  };
  std::string chunk, line;
  lines = 0;
  bool ok = true;
  while (written < bytes && ok) {
    chunk.clear();
    while (chunk.size() < (1u << 20) && written + chunk.size() < bytes) {
      const size_t target = 20 + next(81);
      line.assign(2 * next(5), ' ');
      if (next(8) == 0) line += "// ";
      while (line.size() < target) {
        line += kWords[next(sizeof kWords / sizeof *kWords)];
        line += kJoins[next(sizeof kJoins / sizeof *kJoins)];
      }
      line.resize(target);
      while (!line.empty() && line.back() == ' ') line.back() = ';';
      chunk += line;
      chunk += "\r\n";
      ++lines;
    }
    DWORD done = 0;
    ok = WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr) && done == chunk.size();
    written += chunk.size();
  }
  CloseHandle(file);
  return ok;
}

struct EngineRun {
  double loadMs = -1;       // ECD_flOpenBuffer alone
  double sinceStartMs = -1; // from CreateProcess to the loaded buffer
  int steps = 0;
  int last = 0;
  int count = 0;
  uint64_t peak = 0;
};

EngineRun runEngine(const std::string& file, const std::string& folder) {
  EngineRun run;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::string line = "\"" + programFolder() + "osk_engine_load.exe\" \"" + file + "\"";
  PROCESS_INFORMATION process{};
  const auto start = Clock::now();
  const BOOL created = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                      &startup, &process);
  CloseHandle(writeEnd);
  if (!created) {
    CloseHandle(readEnd);
    return run;
  }
  std::string output;
  char piece[256];
  DWORD got = 0;
  // The line comes once the buffer is loaded; the clock stops when it arrives.
  double arrived = -1;
  while (ReadFile(readEnd, piece, sizeof piece, &got, nullptr) && got > 0) {
    if (arrived < 0) arrived = msSince(start);
    output.append(piece, got);
  }
  CloseHandle(readEnd);
  if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  unsigned long long peak = 0;
  if (std::sscanf(output.c_str(), "load %lf steps %d last %d of %d peak %llu", &run.loadMs, &run.steps, &run.last,
                  &run.count, &peak) != 5) {
    run.loadMs = -1;
    return run;
  }
  run.peak = peak;
  run.sinceStartMs = arrived;
  return run;
}

// The filled share of the gauge as the screen shows it, 0 to 100; -1 when it cannot be read. The filled part
// starts at the left edge in a colour of its own; the rest has the window colour.
int gaugeOnScreen(HWND gauge) {
  RECT client;
  if (!GetClientRect(gauge, &client) || client.right < 10 || client.bottom < 3) return -1;
  POINT origin{0, 0};
  ClientToScreen(gauge, &origin);
  const int width = client.right;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = 1;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP row = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  int percent = -1;
  if (row != nullptr) {
    HGDIOBJ old = SelectObject(memory, row);
    // The top row of the client area: above the centred text.
    if (BitBlt(memory, 0, 0, width, 1, screen, origin.x, origin.y + 1, SRCCOPY)) {
      GdiFlush();
      const auto* pixels = static_cast<const uint32_t*>(bits);
      const COLORREF window = GetSysColor(COLOR_WINDOW);
      const uint32_t windowPixel = (GetRValue(window) << 16) | (GetGValue(window) << 8) | GetBValue(window);
      const uint32_t first = pixels[0] & 0xFFFFFF;
      if (first == windowPixel) {
        percent = 0;
      } else {
        int filled = 1;
        while (filled < width && (pixels[filled] & 0xFFFFFF) == first) ++filled;
        percent = filled * 100 / width;
      }
    }
    SelectObject(memory, old);
    DeleteObject(row);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return percent;
}

uint64_t peakMemory(DWORD process, uint64_t* peakCommit = nullptr) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process);
  if (handle == nullptr) return 0;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  const BOOL ok = GetProcessMemoryInfo(handle, &counters, sizeof counters);
  CloseHandle(handle);
  if (!ok) return 0;
  if (peakCommit != nullptr) *peakCommit = counters.PeakPagefileUsage;
  return counters.PeakWorkingSetSize;
}

struct ProgramRun {
  double paintedMs = -1;
  double gaugeFirstMs = -1;     // when the gauge was first seen
  double gaugeLastMs = -1;      // when it was last seen
  int gaugeSamples = 0;
  std::vector<int> percents;    // distinct readings in the order seen
  uint64_t peak = 0;
  uint64_t peakCommit = 0;
};

bool titleNames(HWND document, const std::string& name) {
  std::string title = windowText(document), wanted = name;
  CharLowerA(title.data());
  CharLowerA(wanted.data());
  return title.find(wanted) != std::string::npos;
}

// One start of the program with `arguments` after its settings file; `name` is the file name the document's title
// must hold.
ProgramRun runProgram(const Scratch& folder, const std::string& arguments, const std::string& name) {
  ProgramRun run;
  const auto start = Clock::now();
  Program program(folder, arguments);
  if (!program.started()) return run;
  auto lastSample = start;
  HWND document = nullptr, bar = nullptr, client = nullptr;
  // Polled every 5 ms: the clock's error stays small against a load of some hundred milliseconds. The frame's
  // windows are looked up once, so that the polls cost the program little.
  auto painted = [&] {
    if (bar == nullptr || client == nullptr) {
      bar = program.statusBar();
      client = program.mdiClient();
      if (bar == nullptr || client == nullptr) return false;
    }
    HWND gauge = bar != nullptr ? FindWindowExA(bar, nullptr, "gauge", nullptr) : nullptr;
    if (gauge != nullptr) {
      const double now = msSince(start);
      if (run.gaugeFirstMs < 0) run.gaugeFirstMs = now;
      run.gaugeLastMs = now;
      if (Clock::now() - lastSample >= 40ms) {
        lastSample = Clock::now();
        ++run.gaugeSamples;
        const int percent = gaugeOnScreen(gauge);
        if (percent >= 0 && (run.percents.empty() || run.percents.back() != percent)) run.percents.push_back(percent);
      }
      return false;
    }
    const std::vector<HWND> documents = childrenOfClass(client, "WCHILD");
    if (documents.size() != 1 || Program::editorOf(documents[0]) == nullptr) return false;
    document = documents[0];
    return titleNames(document, name);
  };
  bool done = false;
  while (!(done = painted()) && Clock::now() - start < 120s) Sleep(5);
  if (done) {
    UpdateWindow(Program::editorOf(document));
    program.settle();
    run.paintedMs = msSince(start);
    run.peak = peakMemory(program.id(), &run.peakCommit);
  }
  if (!program.close()) run.paintedMs = -1;
  return run;
}

double best(const std::vector<double>& values) {
  double b = -1;
  for (double v : values) {
    if (v >= 0 && (b < 0 || v < b)) b = v;
  }
  return b;
}

double mb(uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

}  // namespace

// Other work on the machine only ever slows a run down: the best of five is the program's own speed.
constexpr int kRounds = 5;

int main(int argc, char** argv) {
  const int megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  Scratch folder;
  const std::string name = "large.txt";
  const std::string path = folder.pathOf(name);
  uint64_t lines = 0;
  const uint64_t size = static_cast<uint64_t>(megabytes) * 1000 * 1000;
  if (!writeSourceLike(path, size, lines)) {
    std::printf("could not write %s\n", path.c_str());
    return 1;
  }
  folder.write("empty.txt", "");
  // A frame that is not maximised: without a window manager a maximised frame is larger in Windows' terms than on
  // the display, and the gauge at its foot could not be read off the screen.
  folder.write("osk.ini", "[Flags]\r\nMaximised=0\r\nWinLeft=0\r\nWinTop=0\r\nWinWidth=900\r\nWinHeight=700\r\n");
  std::printf("opening a %.1f MB file of %llu lines (%s)\n", mb(size), static_cast<unsigned long long>(lines),
              path.c_str());

  std::vector<double> engineLoad, engineFromStart, programPainted, emptyPainted, programOpen,
      engineBefore;
  EngineRun engineSeen;
  ProgramRun programSeen, emptySeen;
  for (int round = 0; round < kRounds; ++round) {
    const EngineRun e = runEngine(path, folder.path());
    const ProgramRun p = runProgram(folder, "\"" + path + "\"", name);
    const ProgramRun empty = runProgram(folder, "\"" + folder.pathOf("empty.txt") + "\"", "empty.txt");
    std::printf("  round %d: engine load %.0f ms (%.0f ms from its start, %d gauge steps to %d of %d); program "
                "%.0f ms to the painted document (gauge shown from %.0f ms to %.0f ms); empty document %.0f ms\n",
                round + 1, e.loadMs, e.sinceStartMs, e.steps, e.last, e.count, p.paintedMs, p.gaugeFirstMs,
                p.gaugeLastMs, empty.paintedMs);
    engineLoad.push_back(e.loadMs);
    engineFromStart.push_back(e.sinceStartMs);
    programPainted.push_back(p.paintedMs);
    emptyPainted.push_back(empty.paintedMs);
    engineBefore.push_back(e.loadMs >= 0 ? e.sinceStartMs - e.loadMs : -1);
    programOpen.push_back(p.paintedMs >= 0 && p.gaugeFirstMs >= 0 ? p.paintedMs - p.gaugeFirstMs : -1);
    if (e.loadMs >= 0) engineSeen = e;
    if (p.paintedMs >= 0 && p.gaugeSamples >= programSeen.gaugeSamples) programSeen = p;
    if (empty.paintedMs >= 0) emptySeen = empty;
  }
  const double load = best(engineLoad), fromStart = best(engineFromStart), painted = best(programPainted),
               empty = best(emptyPainted), open = best(programOpen), before = best(engineBefore);
  if (load < 0 || painted < 0 || fromStart < 0) {
    std::printf("a run failed: engine %.0f ms, program %.0f ms\n", load, painted);
    return 1;
  }
  std::printf("time (best of %d)\n", kRounds);
  std::printf("  engine: load %.0f ms, %.0f ms from its process start\n", load, fromStart);
  std::printf("  program: %.0f ms from its process start to the painted document; with an empty document %.0f ms\n",
              painted, empty);
  std::printf("  ratio %.2f (program from its start against the engine from its start; goal: at most 1.5)\n",
              painted / fromStart);
  if (open >= 0) {
    std::printf("  the open alone: program %.0f ms from its gauge's start to the painted document against the "
                "engine's load %.0f ms: ratio %.2f (goal: at most 1.5)\n",
                open, load, open / load);
  }
  if (empty >= 0) {
    std::printf("  the program's start with an empty document %.0f ms against the engine's process before its "
                "load %.0f ms\n",
                empty, before);
  }

  std::printf("gauge\n");
  std::printf("  engine: %d steps, the last at %d of %d\n", engineSeen.steps, engineSeen.last, engineSeen.count);
  std::string readings;
  for (int percent : programSeen.percents) readings += " " + std::to_string(percent) + "%";
  std::printf("  program: shown from %.0f ms to %.0f ms, read %d times from the screen:%s\n", programSeen.gaugeFirstMs,
              programSeen.gaugeLastMs, programSeen.gaugeSamples, readings.empty() ? " nothing" : readings.c_str());
  const bool moved = programSeen.percents.size() >= 2;
  std::printf("  %s\n", moved ? "the gauge moved" : "the gauge was not seen moving");

  std::printf("peak memory (working set; commit in brackets)\n");
  std::printf("  file %.1f MB\n", mb(size));
  std::printf("  engine alone %.1f MB\n", mb(engineSeen.peak));
  std::printf("  program with the file %.1f MB (%.1f MB); with an empty document %.1f MB (%.1f MB)\n",
              mb(programSeen.peak), mb(programSeen.peakCommit), mb(emptySeen.peak), mb(emptySeen.peakCommit));
  std::printf("  ratio %.2f of the file size; %.2f beyond the empty program's; commit %.2f of the file size "
              "(goal: at most 1.2)\n",
              static_cast<double>(programSeen.peak) / size,
              static_cast<double>(programSeen.peak - std::min(programSeen.peak, emptySeen.peak)) / size,
              static_cast<double>(programSeen.peakCommit) / size);
  return 0;
}
