// The file history: the fifteen files opened or saved most recently, most recent first, each with the read-only
// choice and the per-file settings it was last used with; and the text lines that keep it in the settings file.
//
// A name occurs at most once; names compare as Windows compares file names (letters without regard to case, "/"
// and "\" alike). Names longer than 260 characters and empty names never enter the list. Adding a sixteenth name
// drops the oldest.
//
// History line: "\"%s\" %u %u %d %d %d %d %d %d %d %d": the name in double quotes, the read-only flag, a reserved
// word (always 0), then the eight per-file settings. Parsing reads the numbers while they are numbers; values left
// out take the given defaults (read-only and reserved 0), and the settings are validated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/per_file_settings.h"

namespace osk::app {

inline constexpr std::size_t kMaxFileName = 260;   // characters, without the terminating zero
inline constexpr std::size_t kFileHistorySize = 15;
inline constexpr std::size_t kLastFourSize = 4;

bool sameFileName(std::string_view a, std::string_view b);

struct FileHistoryRecord {
  std::string name;
  int32_t readOnly = 0;   // 1 when the user chose read-only
  int32_t reserved = 0;
  PerFileSettings settings;

  bool operator==(const FileHistoryRecord&) const = default;
};

class FileHistory {
 public:
  const std::vector<FileHistoryRecord>& records() const { return records_; }
  bool empty() const { return records_.empty(); }
  std::size_t size() const { return records_.size(); }
  const FileHistoryRecord* find(std::string_view name) const;

  // Puts the record at the top, taking an older record of the same name out first. False (and no change) for an
  // empty or over-long name.
  bool push(FileHistoryRecord record);
  // Refreshes the read-only choice and settings of the record with this name where it stands; false when absent.
  bool refresh(const FileHistoryRecord& record);
  // Appends below the others, as when reading the list back; a name already present or invalid is left out.
  bool append(FileHistoryRecord record);
  void clear() { records_.clear(); }

  // The records of the "last four opened files" list, most recent first.
  std::vector<FileHistoryRecord> lastFour() const;

 private:
  std::vector<FileHistoryRecord> records_;
};

std::string formatHistoryLine(const FileHistoryRecord& record);
// Nothing for a line without a name, with a name longer than 260 characters, or with a quote left open.
std::optional<FileHistoryRecord> parseHistoryLine(std::string_view line, const PerFileSettings& defaults);

// The quoted (or bare) name at the front of a history or session line, then up to `maxNumbers` numbers behind it,
// each as a 64-bit value, stopping at the first text that is not a number. Nothing for an empty name or an open
// quote. A bare name runs up to the first blank that is followed by numbers only, so a line whose quotes the
// profile reader removed ("C:\My Files\a.txt", the name alone) still gives the whole name.
struct NamedNumbers {
  std::string name;
  std::vector<int64_t> numbers;
};
std::optional<NamedNumbers> splitNamedNumbers(std::string_view line, std::size_t maxNumbers);

// Up to `max` blank-separated decimal numbers (optional sign) from the front of `text`, stopping at the first token
// that is not one, as a scanf of "%u %u ..." would. Values beyond 64 bits saturate.
std::vector<int64_t> blankSeparatedNumbers(std::string_view text, std::size_t max);

// A 64-bit value brought into the range of a 32-bit integer by saturation.
int32_t saturated32(int64_t value);

}  // namespace osk::app
