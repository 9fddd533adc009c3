// Editing costs on a large buffer: keystrokes, line edits with their undo and redo, and undoing the deletion of
// every line, set against the time to load the same file. Prints one line per measurement.
//
//   editing_bench [lines]      (default 1000000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "engine/buffer.h"
#include "engine/ecd_api.h"
#include "engine/editing.h"
#include "engine/engine_context.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The seconds a piece of work takes.
template <typename Work>
double Timed(Work&& work) {
  const auto start = Clock::now();
  work();
  return Seconds(Clock::now() - start);
}

long ResidentKilobytes() {
#ifdef __linux__
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kb = 0;
      status >> kb;
      return kb;
    }
  }
#endif
  return -1;
}

osk::Buffer* Open(const std::string& file, int32_t flags, double* seconds) {
  EcdOpenRecord r{};
  r.fileName = file.c_str();
  r.undoCapacity = 3276;
  r.tabLength = 8;
  r.flags = flags | ECD_OPEN_ALLOW_DUPLICATE;
  const auto start = Clock::now();
  if (ECD_flOpenBuffer(&r) != 0) return nullptr;
  if (seconds) *seconds = Seconds(Clock::now() - start);
  return osk::Engine::instance().find(r.buffer);
}

// Types `count` characters in runs of 40 on lines picked at random; returns microseconds per keystroke.
double Typing(osk::Buffer& b, int count, std::mt19937& rng) {
  std::uniform_int_distribution<int32_t> line(1, b.lineCount());
  const auto start = Clock::now();
  osk::TextPos at{line(rng), 1};
  for (int i = 0; i < count; ++i) {
    if (i % 40 == 0) at = osk::TextPos{line(rng), 1};
    osk::writeChar(b, 'a' + i % 26, at);
  }
  b.flushLine();
  return Seconds(Clock::now() - start) * 1e6 / count;
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
  ECD_flInitialise(nullptr, nullptr, nullptr, nullptr, nullptr);
  const auto dir = std::filesystem::temp_directory_path() / "osk-editing-bench";
  std::filesystem::create_directories(dir);
  const std::string big = (dir / "big.txt").string(), small = (dir / "small.txt").string();
  {
    std::ofstream out(big, std::ios::binary);
    for (int i = 0; i < lines; ++i) out << "    int value" << i << " = compute(value" << i << ", 42); // note\r\n";
    std::ofstream few(small, std::ios::binary);
    for (int i = 0; i < 100; ++i) few << "    int value" << i << " = compute(value" << i << ", 42); // note\r\n";
  }
  std::mt19937 rng(42);
  const long rssBefore = ResidentKilobytes();
  double load = 0;
  osk::Buffer* b = Open(big, ECD_OPEN_READ, &load);
  if (b == nullptr) {
    std::fprintf(stderr, "cannot open %s\n", big.c_str());
    return 1;
  }
  std::printf("load %d lines: %.3f s, resident %+ld KB\n", b->lineCount(), load, ResidentKilobytes() - rssBefore);

  osk::Buffer* s = Open(small, ECD_OPEN_READ, nullptr);
  std::printf("typing 100000 characters, 100-line buffer: %.3f us per keystroke\n", Typing(*s, 100000, rng));
  std::printf("typing 100000 characters, %d-line buffer: %.3f us per keystroke\n", lines, Typing(*b, 100000, rng));
  b->finalise();

  // 10,000 line edits, each its own group: the array keeps the newest groups it has room for.
  {
    std::uniform_int_distribution<int32_t> line(1, b->lineCount());
    const double edit = Timed([&] {
      for (int i = 0; i < 10000; ++i) osk::replaceLine(*b, line(rng), "    replaced line text;");
    });
    osk::TextPos caret;
    int undone = 0, redone = 0;
    const double undo = Timed([&] {
      while (b->undo(caret) == osk::Status::kOk) ++undone;
    });
    const double redo = Timed([&] {
      while (b->redo(caret) == osk::Status::kOk) ++redone;
    });
    std::printf("10000 line edits: %.3f us each; undo %d groups: %.3f us per group; redo %d: %.3f us per group\n",
                edit * 1e6 / 10000, undone, undo * 1e6 / undone, redone, redo * 1e6 / redone);
  }
  // The same 10,000 edits as one group.
  {
    b->finalise();
    std::uniform_int_distribution<int32_t> line(1, b->lineCount());
    osk::TextPos caret{1, 1};
    const double edit = Timed([&] {
      b->startOp(caret);
      for (int i = 0; i < 10000; ++i) osk::replaceLine(*b, line(rng), "    replaced again;");
      b->endOp(caret);
    });
    const double undo = Timed([&] { b->undo(caret); });
    const double redo = Timed([&] { b->redo(caret); });
    std::printf("10000 line edits in one group: edit %.3f s, undo %.3f s, redo %.3f s\n", edit, undo, redo);
  }
  // Delete every line, then undo and redo it.
  {
    b->finalise();
    const long rss = ResidentKilobytes();
    osk::TextPos caret{1, 1};
    const double del = Timed([&] { osk::deleteLines(*b, 1, b->lineCount(), caret); });
    std::printf("delete all lines: %.3f s, resident %+ld KB\n", del, ResidentKilobytes() - rss);
    const double undo = Timed([&] { b->undo(caret); });
    const double redo = Timed([&] { b->redo(caret); });
    std::printf("undo of delete all: %.3f s (%.2fx load), redo: %.3f s (%.2fx load)\n", undo, undo / load, redo,
                redo / load);
  }
  std::printf("resident at the end: %ld KB\n", ResidentKilobytes());
  ECD_flTerminate();
  std::filesystem::remove_all(dir);
  return 0;
}
