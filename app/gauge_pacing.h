// How often the progress gauge of a long operation repaints and asks for Esc.
//
// The engine steps the gauge once per 8 KB block: a 100 MB file steps it some 12,000 times, and a repaint there
// (a paint, and under some systems a copy to the display) or an Esc poll costs more than reading the block. The
// gauge repaints only when its percentage changed and at most every `kRepaintMs`; Esc is polled at most every
// `kEscPollMs`, far shorter than any key press. The first step after the start always polls, so an operation of
// one step can still be stopped. Times are in milliseconds from any fixed origin.
#pragma once

#include <cstdint>

namespace osk::app {

class GaugePacing {
 public:
  static constexpr uint64_t kRepaintMs = 40;
  static constexpr uint64_t kEscPollMs = 10;

  // The gauge was just made and painted showing `percent`.
  void start(int percent, uint64_t now);
  // True when the gauge, now at `percent`, should be repainted; the repaint is then taken as done.
  bool repaintDue(int percent, uint64_t now);
  // True when Esc should be polled now; the poll is then taken as done.
  bool escPollDue(uint64_t now);

 private:
  int shownPercent_ = -1;
  uint64_t paintedAt_ = 0;
  uint64_t polledAt_ = 0;
  bool polled_ = false;
};

}  // namespace osk::app
