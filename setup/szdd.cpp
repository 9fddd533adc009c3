#include "setup/szdd.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace osk::setup {

namespace {

constexpr std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::size_t kRingSize = 4096;
constexpr std::size_t kRingStart = kRingSize - 16;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
// A reference reaches back at most this far; the margin keeps its source out of the bytes being written.
constexpr std::size_t kMaxDistance = kRingSize - kMaxMatch;
constexpr std::size_t kHashSize = 1 << 14;
constexpr std::size_t kMaxChainSteps = 256;

std::size_t hash3(const std::uint8_t* p) {
  return ((p[0] << 8) ^ (p[1] << 4) ^ p[2]) & (kHashSize - 1);
}

// Collects items into a flag byte and up to eight following items.
class GroupWriter {
 public:
  explicit GroupWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void literal(std::uint8_t byte) {
    begin();
    out_[flagAt_] |= static_cast<std::uint8_t>(1u << count_);
    out_.push_back(byte);
    ++count_;
  }
  void reference(std::size_t ringPos, std::size_t length) {
    begin();
    out_.push_back(static_cast<std::uint8_t>(ringPos & 0xFF));
    out_.push_back(static_cast<std::uint8_t>(((ringPos >> 4) & 0xF0) | (length - kMinMatch)));
    ++count_;
  }

 private:
  void begin() {
    if (count_ == 8 || flagAt_ == npos) {
      flagAt_ = out_.size();
      out_.push_back(0);
      count_ = 0;
    }
  }
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  std::vector<std::uint8_t>& out_;
  std::size_t flagAt_ = npos;
  unsigned count_ = 0;
};

}  // namespace

std::vector<std::uint8_t> szddCompress(std::span<const std::uint8_t> data, char missingChar) {
  std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
  out.push_back('A');
  out.push_back(static_cast<std::uint8_t>(missingChar));
  const auto length = static_cast<std::uint32_t>(data.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(length >> (8 * i)));

  std::vector<std::int64_t> head(kHashSize, -1);
  std::vector<std::int64_t> previous(data.size(), -1);
  GroupWriter writer(out);
  const std::size_t size = data.size();
  auto insert = [&](std::size_t pos) {
    if (pos + kMinMatch > size) return;
    const std::size_t h = hash3(&data[pos]);
    previous[pos] = head[h];
    head[h] = static_cast<std::int64_t>(pos);
  };

  std::size_t pos = 0;
  while (pos < size) {
    std::size_t bestLength = 0;
    std::size_t bestFrom = 0;
    if (pos + kMinMatch <= size) {
      const std::size_t limit = std::min(kMaxMatch, size - pos);
      std::int64_t candidate = head[hash3(&data[pos])];
      for (std::size_t steps = 0; candidate >= 0 && steps < kMaxChainSteps; ++steps) {
        const auto from = static_cast<std::size_t>(candidate);
        if (pos - from > kMaxDistance) break;
        std::size_t length = 0;
        while (length < limit && data[from + length] == data[pos + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestFrom = from;
          if (length == limit) break;
        }
        candidate = previous[from];
      }
    }
    if (bestLength >= kMinMatch) {
      writer.reference((kRingStart + bestFrom) % kRingSize, bestLength);
      for (std::size_t i = 0; i < bestLength; ++i) insert(pos + i);
      pos += bestLength;
    } else {
      writer.literal(data[pos]);
      insert(pos);
      ++pos;
    }
  }
  return out;
}

SzddExpansion szddExpand(std::span<const std::uint8_t> compressed) {
  SzddExpansion result;
  if (compressed.size() < kSzddHeadSize || std::memcmp(compressed.data(), kMagic, sizeof kMagic) != 0 ||
      compressed[8] != 'A') {
    return result;
  }
  const std::uint32_t length = compressed[10] | (compressed[11] << 8) | (compressed[12] << 16) |
                               (static_cast<std::uint32_t>(compressed[13]) << 24);
  std::array<std::uint8_t, kRingSize> ring;
  ring.fill(' ');
  std::size_t ringPos = kRingStart;
  std::size_t in = kSzddHeadSize;
  // The announced length is not trusted for the reservation: a lying head must not allocate gigabytes.
  result.data.reserve(std::min<std::size_t>(length, compressed.size() * 9));
  auto put = [&](std::uint8_t byte) {
    result.data.push_back(byte);
    ring[ringPos] = byte;
    ringPos = (ringPos + 1) % kRingSize;
  };
  while (result.data.size() < length && in < compressed.size()) {
    const std::uint8_t flags = compressed[in++];
    for (int bit = 0; bit < 8 && result.data.size() < length; ++bit) {
      if (flags & (1 << bit)) {
        if (in >= compressed.size()) return result;
        put(compressed[in++]);
      } else {
        if (in + 2 > compressed.size()) return result;
        std::size_t from = compressed[in] | ((compressed[in + 1] & 0xF0) << 4);
        const std::size_t count = (compressed[in + 1] & 0x0F) + kMinMatch;
        in += 2;
        for (std::size_t i = 0; i < count && result.data.size() < length; ++i) {
          put(ring[from]);
          from = (from + 1) % kRingSize;
        }
      }
    }
  }
  result.complete = result.data.size() == length;
  return result;
}

}  // namespace osk::setup
