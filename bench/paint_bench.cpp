// What one full screen of an editor window costs to plan at the top, the middle and the end of a large buffer,
// with bookmarks scattered through it and a stream mark on screen. The window draws exactly these rows, so the
// cost of a paint beyond GDI is this one. Prints microseconds per screen for each position and their ratio.
//
//   paint_bench [lines]      (default 1000000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/buffer.h"
#include "engine/ecd_api.h"
#include "engine/editing.h"
#include "engine/editor_view.h"
#include "engine/engine_context.h"
#include "engine/mark.h"
#include "engine/paint_plan.h"

namespace {

using Clock = std::chrono::steady_clock;

// Microseconds per planned screen of 60 rows by 160 cells with its top line at `top`.
double Screen(osk::Buffer& b, int32_t top, int repeats) {
  osk::EditorView view;
  view.setMetrics(8, 16);
  view.setClientSize(8 * 166, 16 * 60);
  view.setLineCount(b.lineCount());
  view.setShowLineNumbers(true);
  view.setPosition(top, 1);
  osk::anchorMark(b, osk::kMarkStream, top + 10, 5);
  osk::updateMark(b, top + 20, 30);
  std::size_t cells = 0;
  const auto start = Clock::now();
  for (int i = 0; i < repeats; ++i) {
    for (const osk::PaintRow& row : osk::planRows(b, view, 0, view.visibleLines(), true)) cells += row.cells.size();
  }
  const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeats;
  if (cells == 0) std::printf("nothing planned\n");
  osk::unMark(b);
  return us;
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "osk_paint_bench.txt";
  {
    std::ofstream out(file, std::ios::binary);
    for (long i = 1; i <= lines; ++i) {
      out << "\tint value" << i << " = compute(" << i % 977 << ", \"text\");  // line " << i << "\r\n";
    }
  }
  ECD_flInitialise(nullptr, nullptr, nullptr, nullptr, nullptr);
  EcdOpenRecord r{};
  const std::string name = file.string();
  r.fileName = name.c_str();
  r.undoCapacity = 100;
  r.tabLength = 4;
  r.flags = ECD_OPEN_READ;
  if (ECD_flOpenBuffer(&r) != 0) {
    std::printf("cannot open %s\n", name.c_str());
    return 1;
  }
  osk::Buffer& b = *osk::Engine::instance().find(r.buffer);
  for (int32_t line = 7; line <= b.lineCount(); line += 997) osk::changeLineBits(b, line, 1, 0);
  const int repeats = 2000;
  Screen(b, 1, 100);   // warm up
  const double top = Screen(b, 1, repeats);
  const double middle = Screen(b, b.lineCount() / 2, repeats);
  const double end = Screen(b, b.lineCount() - 30, repeats);
  std::printf("lines %ld\n", lines);
  std::printf("screen at top     %8.1f us\n", top);
  std::printf("screen at middle  %8.1f us\n", middle);
  std::printf("screen at end     %8.1f us\n", end);
  std::printf("middle / top      %8.2f\n", middle / top);
  ECD_flTerminate();
  std::filesystem::remove(file);
  return 0;
}
