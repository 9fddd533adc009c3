#include "app/gauge_pacing.h"

namespace osk::app {

void GaugePacing::start(int percent, uint64_t now) {
  shownPercent_ = percent;
  paintedAt_ = now;
  polled_ = false;
}

bool GaugePacing::repaintDue(int percent, uint64_t now) {
  if (percent == shownPercent_ || now - paintedAt_ < kRepaintMs) return false;
  shownPercent_ = percent;
  paintedAt_ = now;
  return true;
}

bool GaugePacing::escPollDue(uint64_t now) {
  if (polled_ && now - polledAt_ < kEscPollMs) return false;
  polled_ = true;
  polledAt_ = now;
  return true;
}

}  // namespace osk::app
