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

bool LineProperties::replaceBits(int32_t first, int32_t last, uint32_t mask, std::vector<Pair>&& fresh) {
  if (last < first) return true;
  const auto from = lowerBound(first);
  const auto to = lowerBound(last + 1);
  const bool onlyMasked =
      std::all_of(pairs_.begin(), pairs_.end(), [&](const Pair& p) { return (p.bits & ~mask) == 0; });
  if (onlyMasked && from == pairs_.begin() && to == pairs_.end()) {
    // Nothing else to keep: the new pairs are the table.
    if (fresh.size() > kMaxPairs) return false;
    for (Pair& p : fresh) p.bits &= mask;
    fresh.erase(std::remove_if(fresh.begin(), fresh.end(), [](const Pair& p) { return p.bits == 0; }), fresh.end());
    pairs_.swap(fresh);
    return true;
  }
  try {
    std::vector<Pair> result;
    result.reserve(pairs_.size() + fresh.size());
    result.insert(result.end(), pairs_.cbegin(), std::vector<Pair>::const_iterator(from));
    auto f = fresh.cbegin();
    for (auto it = from; it != to || f != fresh.cend();) {
      Pair p;
      if (f == fresh.cend() || (it != to && it->line < f->line)) {
        p = {it->line, it->bits & ~mask};
        ++it;
      } else if (it == to || f->line < it->line) {
        p = {f->line, f->bits & mask};
        ++f;
      } else {
        p = {it->line, (it->bits & ~mask) | (f->bits & mask)};
        ++it;
        ++f;
      }
      if (p.bits != 0) result.push_back(p);
    }
    result.insert(result.end(), std::vector<Pair>::const_iterator(to), pairs_.cend());
    if (result.size() > kMaxPairs) return false;
    pairs_.swap(result);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void LineProperties::clearBits(int32_t first, int32_t last, uint32_t mask) {
  if (last < first) return;
  const auto from = lowerBound(first);
  const auto to = lowerBound(last + 1);
  auto kept = from;
  for (auto it = from; it != to; ++it) {
    const uint32_t bits = it->bits & ~mask;
    if (bits != 0) *kept++ = {it->line, bits};
  }
  pairs_.erase(kept, to);
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
