// The progress gauge of one long operation, shown through the owner's gauge callbacks.
//
// Shown only when a caption is given and the owner supplied a start callback; without them every call is a no-op
// and no stop is ever asked for. The end callback runs when the gauge goes out of scope.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/engine_context.h"

namespace osk {

class Gauge {
 public:
  Gauge(const GaugeCallbacks& callbacks, const char* caption, int32_t first, int32_t count)
      : callbacks_(callbacks), shown_(caption != nullptr && callbacks.start != nullptr) {
    if (shown_) callbacks_.start(first, count, caption);
  }
  Gauge(const GaugeCallbacks& callbacks, const char* caption, int32_t count) : Gauge(callbacks, caption, 0, count) {}
  ~Gauge() {
    if (shown_ && callbacks_.end) callbacks_.end();
  }
  Gauge(const Gauge&) = delete;
  Gauge& operator=(const Gauge&) = delete;

  bool shown() const { return shown_; }
  // True when the user asked to stop (Esc).
  bool step(int64_t value) {
    if (!shown_ || callbacks_.step == nullptr) return false;
    return callbacks_.step(static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX))) != 0;
  }

 private:
  GaugeCallbacks callbacks_;
  bool shown_;
};

}  // namespace osk
