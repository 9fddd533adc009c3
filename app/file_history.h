// The file history: the fifteen files opened or saved most recently, most recent first, each with the read-only
// choice and the per-file settings it was last used with; and the text lines that keep it in the settings file.
//
// A name occurs at most once; names compare as Windows compares file names (letters without regard to case, "/"
// and "\" alike). Adding a sixteenth name
// drops the oldest.
//
// History line: "\"%s\" %u %u %d %d %d %d %d %d %d %d": the name in double quotes, the read-only flag, a reserved
// word (always 0), then the eight per-file settings. Parsing reads the numbers while they are numbers; values left
// out take the given defaults (read-only and reserved 0), and the settings are validated.
// Names that are not storableFileName() never enter the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/per_file_settings.h"
#include "app/settings_line.h"

namespace osk::app {

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

// Menu item texts of the history. `shorten` makes a path fit a number of characters for display (the common
// services' displayable path). A history item is the directory shortened to 56 characters, a tab, and the file
// name, cut to 32 characters and ".." when longer than 35; a name without "\" is shortened to 64 as a whole. A
// last-four item is "&n " (n from 1) and the name shortened to 64. An "&" of a name is doubled so that the menu
// shows it rather than underlining the next character.
using PathShortener = std::function<std::string(std::string_view path, std::size_t maxChars)>;
std::string historyItemText(std::string_view name, const PathShortener& shorten);
std::string lastFourItemText(std::size_t number, std::string_view name, const PathShortener& shorten);

std::string formatHistoryLine(const FileHistoryRecord& record);
// Nothing for a line without a storable name or with a quote left open.
std::optional<FileHistoryRecord> parseHistoryLine(std::string_view line, const PerFileSettings& defaults);

}  // namespace osk::app
