// Replace All over a whole file through the search session that the Replace dialog runs, on a buffer without a
// window. Prints the lines, the replacements made, the time of the Replace All, whether one Undo gave back the text
// exactly, the peak memory of the process and the file's size, and saves the replaced text for comparison.
//
//   replace_bench FILE PATTERN REPLACEMENT regex(1|0) OUTPUT
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/search.h"
#include "app/word_pattern.h"
#include "engine/ecd_api.h"
#include "engine/edit_api.h"

namespace {

class QuietHost final : public osk::app::SearchHost {
 public:
  OskWindow adjacentDocument(OskWindow, bool) override { return nullptr; }
  void activate(OskWindow) override {}
  bool continueBeyondArea() override { return false; }
  bool stopRequested(int32_t) override { return false; }
  void beginWork(const char*) override {}
  void endWork() override {}
};

// FNV-1a over every line of the current buffer.
uint64_t textHash() {
  uint64_t hash = 1469598103934665603ull;
  char line[1025];
  const int32_t lines = GetLineCount();
  for (int32_t i = 1; i <= lines; ++i) {
    GetLine(i, line);
    for (const char* p = line; *p != 0; ++p) hash = (hash ^ static_cast<unsigned char>(*p)) * 1099511628211ull;
    hash = (hash ^ '\n') * 1099511628211ull;
  }
  return hash;
}

long peakKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmHWM:") {
      status >> value;
      return value;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: %s FILE PATTERN REPLACEMENT regex(1|0) OUTPUT\n", argv[0]);
    return 2;
  }
  if (ECD_flInitialise(nullptr, nullptr, nullptr, nullptr, nullptr) != 0) return 1;
  EcdOpenRecord record{};
  record.fileName = argv[1];
  record.undoCapacity = 200;   // the program's default number of undo records
  record.tabLength = 8;
  record.flags = ECD_OPEN_READ;
  if (ECD_flOpenBuffer(&record) != 0 || SetCurBuffer(record.buffer) != 1) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  const uint64_t before = textHash();
  QuietHost host;
  osk::app::WordPattern words;
  osk::app::SearchSession session(host, words);
  session.text = argv[2];
  session.replacement = argv[3];
  session.options.regEx = std::atoi(argv[4]) != 0;
  SetCaretCol(1, 1);
  const auto start = std::chrono::steady_clock::now();
  const osk::app::SearchReport report = session.replaceAll();
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  SaveAsFile(argv[5], nullptr);
  const bool undone = UndoOp(nullptr) == 1 && textHash() == before;
  std::printf("%d %lu %.1f %s %ld %ld\n", GetLineCount(), static_cast<unsigned long>(report.count), ms,
              undone ? "undo-ok" : "undo-FAILED", peakKilobytes(),
              static_cast<long>(std::filesystem::file_size(argv[1]) / 1024));
  ECD_flTerminate();
  return undone ? 0 : 1;
}
