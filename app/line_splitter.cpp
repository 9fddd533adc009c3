#include "app/line_splitter.h"

namespace osk::app {

bool LineSplitter::emit() {
  anyBytesSinceLine_ = false;
  if (!sink_(pending_)) stopped_ = true;
  pending_.clear();
  return !stopped_;
}

bool LineSplitter::feed(std::string_view bytes) {
  for (char c : bytes) {
    if (stopped_) return false;
    if (afterCr_) {
      afterCr_ = false;
      if (c == '\n') continue;   // the LF of a CR LF
    }
    if (c == '\r' || c == '\n') {
      afterCr_ = c == '\r';
      emit();
      continue;
    }
    if (pending_.size() == kLinePieceSize) {
      if (!emit()) return false;
    }
    pending_.push_back(c);
    anyBytesSinceLine_ = true;
  }
  return !stopped_;
}

bool LineSplitter::finish() {
  if (!stopped_ && anyBytesSinceLine_) emit();
  return !stopped_;
}

}  // namespace osk::app
