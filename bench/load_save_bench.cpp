// Loads a file into an engine buffer and saves it under another name; prints the load and save times in
// milliseconds, the peak resident memory in kilobytes, and the time this machine takes merely to touch as much fresh
// memory as the file holds (the floor under any loader that keeps the text in memory):
// "load_ms save_ms peak_kb touch_ms".
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/ecd_api.h"

namespace {

long peakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: load_save_bench FILE COPY\n");
    return 2;
  }
  ECD_flInitialise(nullptr, nullptr, nullptr, nullptr, nullptr);
  EcdOpenRecord open{};
  open.fileName = argv[1];
  open.flags = ECD_OPEN_READ;
  auto start = std::chrono::steady_clock::now();
  int32_t code = ECD_flOpenBuffer(&open);
  const double load = since(start);
  if (code != 0) {
    std::fprintf(stderr, "load failed: %d\n", code);
    return 1;
  }
  EcdSaveRecord save{nullptr, argv[2], 0};
  start = std::chrono::steady_clock::now();
  code = ECD_flBufferMessage(open.buffer, ECD_SAVE, 0, reinterpret_cast<intptr_t>(&save));
  const double saved = since(start);
  if (code != 0) {
    std::fprintf(stderr, "save failed: %d\n", code);
    return 1;
  }
  const long peak = peakKilobytes();
  ECD_flCloseBuffer(open.buffer);
  std::ifstream in(argv[1], std::ios::binary | std::ios::ate);
  const std::size_t size = static_cast<std::size_t>(in.tellg());
  start = std::chrono::steady_clock::now();
  char* fresh = new char[size];
  std::memset(fresh, 1, size);
  const double touch = since(start);
  std::printf("%.1f %.1f %ld %.1f\n", load, saved, peak, touch + fresh[size / 2] - 1);
  delete[] fresh;
  return 0;
}
