// The uninstall log "uninstal.dat": every change an installation made, in the order it was made, as records of two
// lines each, a keyword line and an argument line. The installer collects it and writes it once at the end; the
// uninstaller reads it and plays it back from the last record to the first.
//
// Limits: the writer holds any number of records (a log is written whole, never cut at a buffer's end); a keyword
// or argument that holds a line break or a NUL is refused, since it would shift every later pair. The reader takes
// the whole file up to kMaxLogBytes (a larger file is refused as not a log), accepts LF or CR LF line ends, and takes
// records as pairs from the start, so a dangling last line without its argument is dropped and marked, never paired
// with the wrong partner.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace osk::setup {

inline constexpr const char* kLogFileName = "uninstal.dat";
inline constexpr std::size_t kMaxLogBytes = 1024 * 1024;

// Keywords, matched exactly and case-sensitively.
inline constexpr std::string_view kProductName = "PDNAME";
inline constexpr std::string_view kDisplayLine = "CPDISP";
inline constexpr std::string_view kDeleteDirectory = "DELDIR";
inline constexpr std::string_view kDeleteFile = "DELFIL";
inline constexpr std::string_view kDeleteGroup = "DELGRP";
inline constexpr std::string_view kDeleteItem = "DELITM";
inline constexpr std::string_view kDeleteRegistryKey = "DELRKY";

struct LogRecord {
  std::string keyword;
  std::string argument;

  bool operator==(const LogRecord&) const = default;
};

class UninstallLogWriter {
 public:
  // Appends one record. False, and nothing appended, when either part holds CR, LF or NUL.
  bool add(std::string_view keyword, std::string_view argument);
  // DELITM's argument: group, comma, title. The group must not hold a comma, or the title could not be found again.
  bool addItem(std::string_view group, std::string_view title);
  // DELRKY's argument: the root path, a backslash, the key.
  bool addRegistryKey(std::string_view rootPath, std::string_view key);

  const std::vector<LogRecord>& records() const { return records_; }
  // The file's text with LF line ends: written in text mode, each becomes CR LF.
  std::string text() const;

 private:
  std::vector<LogRecord> records_;
};

struct ParsedLog {
  std::vector<LogRecord> records;   // in file order
  bool danglingLine = false;        // an odd number of lines: the last one was dropped

  // Every log the installer writes begins with the product's name; any other file is not a log and is left alone.
  bool isLog() const { return !records.empty() && records.front().keyword == kProductName; }
};

// Reads a log's text (at most kMaxLogBytes; the caller refuses larger files before reading).
ParsedLog parseUninstallLog(std::string_view text);

// What the uninstaller's first pass shows: the last PDNAME and CPDISP arguments, empty when absent.
struct LogTitles {
  std::string productKey;
  std::string displayLine;
};
LogTitles logTitles(const std::vector<LogRecord>& records);

// DELITM's argument split at its first comma; false when there is no comma.
bool splitItemArgument(std::string_view argument, std::string& group, std::string& title);

}  // namespace osk::setup
