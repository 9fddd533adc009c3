#include "engine/store/line_properties.h"

#include <algorithm>

namespace osk {

std::vector<LineProperties::Pair>::iterator LineProperties::lowerBound(int32_t line) {
  return std::lower_bound(pairs_.begin(), pairs_.end(), line,
                          [](const Pair& p, int32_t l) { return p.line < l; });
}

std::vector<LineProperties::Pair>::const_iterator LineProperties::lowerBound(int32_t line) const {
  return std::lower_bound(pairs_.begin(), pairs_.end(), line,
                          [](const Pair& p, int32_t l) { return p.line < l; });
}

bool LineProperties::assign(int32_t line, uint32_t bits) {
  auto it = lowerBound(line);
  const bool present = it != pairs_.end() && it->line == line;
  if (present) {
    if (it->bits == bits) return false;
    if (bits == 0) {
      pairs_.erase(it);
    } else {
      it->bits = bits;
    }
    return true;
  }
  if (bits == 0) return false;
  if (pairs_.size() >= kMaxPairs) return false;
  try {
    pairs_.insert(it, Pair{line, bits});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool LineProperties::set(int32_t line, uint32_t bits) { return assign(line, get(line) | bits); }

bool LineProperties::clear(int32_t line, uint32_t bits) { return assign(line, get(line) & ~bits); }

uint32_t LineProperties::get(int32_t line, uint32_t mask) const {
  auto it = lowerBound(line);
  if (it != pairs_.end() && it->line == line) return it->bits & mask;
  return 0;
}

int32_t LineProperties::next(int32_t line, uint32_t mask, uint32_t* bits) const {
  for (auto it = lowerBound(line + 1); it != pairs_.end(); ++it) {
    if (it->bits & mask) {
      if (bits) *bits = it->bits & mask;
      return it->line;
    }
  }
  return 0;
}

int32_t LineProperties::previous(int32_t line, uint32_t mask, uint32_t* bits) const {
  auto it = lowerBound(line);
  while (it != pairs_.begin()) {
    --it;
    if (it->bits & mask) {
      if (bits) *bits = it->bits & mask;
      return it->line;
    }
  }
  return 0;
}

void LineProperties::linesInserted(int32_t after, int32_t count) {
  for (auto it = lowerBound(after + 1); it != pairs_.end(); ++it) it->line += count;
}

void LineProperties::linesDeleted(int32_t first, int32_t count) {
  auto from = lowerBound(first);
  auto to = lowerBound(first + count);
  for (auto it = to; it != pairs_.end(); ++it) it->line -= count;
  pairs_.erase(from, to);
}

void LineProperties::truncate(int32_t lastLine) { pairs_.erase(lowerBound(lastLine + 1), pairs_.end()); }

}  // namespace osk
