// Laying out a file for printing: the engine's print stream of a file, read back and laid out on pages of
// 210 x 297 mm at 600 dots per inch in two columns with line numbers, header and footer and character wrap, as
// OCS_Print does before it draws. Measuring uses fixed-pitch fonts, so the time is the layout's own. Prints the
// line and page counts and the best of several passes of each stage.
//
//   print_bench FILE [passes]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/load_lines.h"
#include "engine/lang/print_stream.h"
#include "services/print/page_layout.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Courier-like at 600 dpi: 10 points high, 6 points wide.
class FixedPitch : public osk::print::MeasuringDevice {
 public:
  osk::print::PageGeometry page() override { return {4960, 7016, 600, 600}; }
  void selectFont(const osk::print::FontSpec&) override {}
  osk::print::FontMetrics metrics() override { return {83, 66, 50}; }
  void extents(std::string_view text, std::vector<int32_t>& ends) override {
    ends.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) ends[i] = static_cast<int32_t>(i + 1) * 50;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [passes]\n", argv[0]);
    return 2;
  }
  const int passes = argc > 2 ? std::atoi(argv[2]) : 5;
  osk::LineStore store;
  if (!osk::bench::loadLines(argv[1], store)) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }

  double bestWrite = 1e300, bestRead = 1e300, bestLayout = 1e300;
  size_t pages = 0;
  for (int pass = 0; pass < passes; ++pass) {
    std::string stream;
    auto t0 = std::chrono::steady_clock::now();
    osk::print::PrintOptions writeOptions;  // the engine's stream options
    osk::print::writePrintStream(store, osk::print::PrintRange{}, writeOptions, [&](const char* data, size_t size) {
      stream.append(data, size);
      return true;
    });
    auto t1 = std::chrono::steady_clock::now();
    const osk::print::StreamDocument document = osk::print::readPrintStream(stream, false);
    auto t2 = std::chrono::steady_clock::now();
    osk::print::LayoutInput input;
    input.document = &document;
    input.options.wrap = osk::print::WrapOption::kCharacter;
    input.options.numColumns = 2;
    input.options.lineNumbers = true;
    input.options.header = "&LJustify&File&RJustify&Page";
    input.options.footer = "&CJustify&Path";
    input.classes.resize(8);
    input.values.path = argv[1];
    FixedPitch device;
    const osk::print::Layout layout = osk::print::layOutPages(input, device);
    auto t3 = std::chrono::steady_clock::now();
    pages = layout.pages.size();
    bestWrite = std::min(bestWrite, Milliseconds(t1 - t0));
    bestRead = std::min(bestRead, Milliseconds(t2 - t1));
    bestLayout = std::min(bestLayout, Milliseconds(t3 - t2));
  }
  std::printf("lines %d pages %zu\n", store.lineCount(), pages);
  std::printf("stream written   %9.2f ms\n", bestWrite);
  std::printf("stream read      %9.2f ms\n", bestRead);
  std::printf("pages laid out   %9.2f ms\n", bestLayout);
  std::printf("total            %9.2f ms\n", bestWrite + bestRead + bestLayout);
  return 0;
}
