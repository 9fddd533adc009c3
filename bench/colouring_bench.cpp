// Colours a C file held in a line store with the shipped syntax definitions, the way the painter asks for it:
// block bits for every line once (as when the file is opened), then the runs of every line in order (as when every
// line is printed, walking the lines in order), then an edit that opens a block comment on line 1 and the repaint of one screen.
// Prints the line count, the coloured runs and the best times of several passes.
//
//   colouring_bench FILE SYNTAXFILE [passes]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/load_lines.h"
#include "engine/lang/colouring.h"
#include "engine/lang/syntax_data.h"
#include "engine/lang/syntax_file.h"

namespace {

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace osk::syntax;
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FILE SYNTAXFILE [passes]\n", argv[0]);
    return 2;
  }
  const int passes = argc > 3 ? std::atoi(argv[3]) : 3;
  osk::LineStore store;
  if (!osk::bench::loadLines(argv[1], store) || !LoadSyntaxFile(argv[2])) {
    std::fprintf(stderr, "cannot load %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  const DecodedDefinition* c = CurrentSyntax()->Definition(CurrentSyntax()->DefinitionFor("bench.c"));

  double bitsBest = 1e30, colourBest = 1e30, repaintBest = 1e30;
  int64_t runCount = 0;
  std::string cells;
  std::vector<ColourRun> runs;
  for (int pass = 0; pass < passes; ++pass) {
    auto start = std::chrono::steady_clock::now();
    RecomputeBlockBits(store, c);
    bitsBest = std::min(bitsBest, Milliseconds(std::chrono::steady_clock::now() - start));

    start = std::chrono::steady_clock::now();
    runCount = 0;
    LineColourer colourer(store, c, 8);
    store.forEachLine(1, store.lineCount(), [&](int32_t line, std::string_view text) {
      colourer.colour(line, text, 1, 120);
      runCount += static_cast<int64_t>(colourer.runs().size());
      return true;
    });
    colourBest = std::min(colourBest, Milliseconds(std::chrono::steady_clock::now() - start));

    // An edit on line 1 opens a block comment; the screen of 60 lines is repainted.
    const std::string first(store.peekLine(1));
    start = std::chrono::steady_clock::now();
    store.replaceLine(1, "int opened; /* the comment opens here");
    const Repaint r = UpdateLineBits(store, c, 1);
    if (!r.needed) std::fprintf(stderr, "the edit did not ask for a repaint\n");
    for (int32_t line = 1; line <= 60; ++line) ColourStoreLine(store, c, 8, line, 1, 120, {}, cells, runs);
    repaintBest = std::min(repaintBest, Milliseconds(std::chrono::steady_clock::now() - start));
    store.replaceLine(1, first);
    UpdateLineBits(store, c, 1);
  }
  std::printf("lines %d runs %lld bits_ms %.1f colour_ms %.1f repaint_ms %.3f\n", store.lineCount(),
              static_cast<long long>(runCount), bitsBest, colourBest, repaintBest);
  return 0;
}
