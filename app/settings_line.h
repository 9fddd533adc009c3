// The text form of the settings file's history and session lines: a file name, in double quotes or bare, and
// blank-separated decimal numbers behind it, read the way a scanf of "%u %u ..." reads them but never overflowing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace osk::app {

inline constexpr std::size_t kMaxFileName = 260;   // characters, without the terminating zero
// A line as long as one can be written: a quoted name and twelve numbers of up to eleven characters each.
inline constexpr std::size_t kMaxLineChars = kMaxFileName + 2 + 12 * 12;

// Whether a name can be kept in a history or session line: not empty, at most 260 characters, and free of the
// double quotes and control characters that no file name holds and that would break the line.
bool storableFileName(std::string_view name);

// The quoted (or bare) name at the front of a line, then up to `maxNumbers` numbers behind it, stopping at the
// first text that is not a number. Nothing for an empty name or an open quote. A bare name runs up to the first
// blank that is followed by numbers only, so a line whose quotes the profile reader removed ("C:\My Files\a.txt",
// the name alone) still gives the whole name.
struct NamedNumbers {
  std::string name;
  std::vector<int64_t> numbers;
};
std::optional<NamedNumbers> splitNamedNumbers(std::string_view line, std::size_t maxNumbers);

// Up to `max` blank-separated decimal numbers (optional sign) from the front of `text`, stopping at the first token
// that is not one. Values beyond 64 bits saturate.
std::vector<int64_t> blankSeparatedNumbers(std::string_view text, std::size_t max);

// A 64-bit value brought into the range of a 32-bit integer by saturation.
int32_t saturated32(int64_t value);

}  // namespace osk::app
