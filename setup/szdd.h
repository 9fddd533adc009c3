// The SZDD compressed file form that the system's LZ file functions (LZOpenFile, LZRead) expand: a 14-byte head
// ("SZDD" 88 F0 27 33, the method 'A', the last character of the original name, the expanded length as 32-bit
// little-endian) and then groups of a flag byte and eight items, least significant flag first: a set bit is one
// literal byte, a clear bit a two-byte reference into a 4096-byte ring (position: the low byte and the high nibble
// of the second byte; length: its low nibble plus 3). The ring starts filled with blanks and is written from
// position 4080 on.
//
// Limits: the expanded length is 32 bits, so at most 4 GiB - 1 bytes are compressed; the expander never produces
// more bytes than the head announces and reports input that ends before them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace osk::setup {

inline constexpr std::size_t kSzddHeadSize = 14;

// Compresses with greedy longest matches (3 to 18 bytes) found through hash chains.
// missingChar is the character that the compressed file's name replaces with '_' ("osksetup.dat" -> 't').
std::vector<std::uint8_t> szddCompress(std::span<const std::uint8_t> data, char missingChar);

struct SzddExpansion {
  std::vector<std::uint8_t> data;
  bool complete = false;   // false: not SZDD, or the input ended before the announced length
};
SzddExpansion szddExpand(std::span<const std::uint8_t> compressed);

}  // namespace osk::setup
