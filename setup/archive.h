// The installation archive "osksetup.da_" once expanded: a 270-byte header, the FILE records each followed by its
// file's data, then the PGMF records. All integers are little-endian.
//
// The archive is read front to back, never seeking, through ArchiveReader; every field is checked before anyone
// acts on it. Limits: text fields are read within their own width (a field without its NUL ends at the field's end);
// counts and lengths that are negative, larger than kMaxFiles / kMaxPrograms, or that disagree with the header's
// total size refuse the archive; a file name must be a plain file name (no path separator, drive, "." or "..",
// device name or character that a file name cannot hold) so that nothing is ever written outside the two target
// directories. A reader that has refused stays refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace osk::setup {

inline constexpr const char* kArchiveName = "osksetup.da_";
inline constexpr std::size_t kHeaderSize = 270;
inline constexpr std::size_t kTagSize = 4;
inline constexpr std::size_t kFileBodySize = 35;
inline constexpr std::size_t kProgramBodySize = 82;
inline constexpr std::int32_t kArchiveVersion = 256;
inline constexpr std::int32_t kMaxFiles = 1024;
inline constexpr std::int32_t kMaxPrograms = 256;

// Widths of the text fields, their NUL included.
inline constexpr std::size_t kProductNameWidth = 17;
inline constexpr std::size_t kDisplayLineWidth = 33;
inline constexpr std::size_t kCompanyKeyWidth = 92;
inline constexpr std::size_t kVersionWidth = 9;
inline constexpr std::size_t kSecondVersionWidth = 49;
inline constexpr std::size_t kDirectoryWidth = 33;
inline constexpr std::size_t kGroupWidth = 17;
inline constexpr std::size_t kFileNameWidth = 13;
inline constexpr std::size_t kCommandWidth = 33;
inline constexpr std::size_t kTitleWidth = 49;

enum class Destination : std::uint16_t {
  InstallDirectory = 0,
  WindowsDirectory = 2,
  Uninstaller = 4,   // to the Windows directory; not logged, but given a program item and the uninstall string
};

struct ArchiveHeader {
  std::string productName;
  std::string displayLine;
  std::string companyKey;
  std::string version;
  std::string secondVersion;
  std::int32_t fileCount = 0;
  std::int32_t programCount = 0;
  std::int32_t totalSize = 0;
  std::string defaultDirectory;
  std::string defaultGroup;
};

struct FileEntry {
  Destination destination = Destination::InstallDirectory;
  std::string name;
  std::int32_t length = 0;
};

struct ProgramEntry {
  std::string command;   // a file name in the installation directory, optionally a blank and arguments
  std::string title;
};

// Product name, blank, version, and a blank and the second version when there is one.
std::string productKey(const ArchiveHeader& header);
// The registry key under the company's product key: the version, and a blank and the second version.
std::string versionKey(const ArchiveHeader& header);
// The file name part of a program command and its arguments (empty when none).
std::string_view commandFile(std::string_view command);
std::string_view commandArguments(std::string_view command);

// A name that stays in the directory it is joined to: no separators, drive, "..", device names (CON, NUL, COM1...,
// with or without an extension), control characters or characters that file names cannot hold, no trailing dot or
// blank, at most 12 characters.
bool isPlainFileName(std::string_view name);
// File names compare without regard to case.
bool sameFileName(std::string_view a, std::string_view b);

// Decoders of single records; nullopt when the bytes are not a valid record.
std::optional<ArchiveHeader> decodeHeader(std::span<const std::uint8_t> bytes);
std::optional<FileEntry> decodeFileRecord(std::span<const std::uint8_t> tagAndBody);
std::optional<ProgramEntry> decodeProgramRecord(std::span<const std::uint8_t> tagAndBody);

// Encoders for the archive builder. Text too long for its field is cut to fit with its NUL.
std::vector<std::uint8_t> encodeHeader(const ArchiveHeader& header);
std::vector<std::uint8_t> encodeFileRecord(const FileEntry& entry);
std::vector<std::uint8_t> encodeProgramRecord(const ProgramEntry& entry);

// The expanded archive as a stream of bytes; read returns how many bytes it gave (fewer only at the end).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::size_t read(std::uint8_t* buffer, std::size_t size) = 0;
};

class ArchiveReader {
 public:
  explicit ArchiveReader(ByteSource& source) : source_(source) {}

  // The header; nullopt when it is short, its magic or version is wrong, or a field is out of range.
  std::optional<ArchiveHeader> readHeader();
  // The next FILE record's tag and body; nullopt after the last one or on a fault (see failed()).
  std::optional<FileEntry> nextFile();
  // The current file's data, chunk by chunk; returns the bytes given, 0 when the file is done. A short archive
  // sets failed() and dataShort().
  std::size_t readData(std::uint8_t* buffer, std::size_t size);
  // The next PGMF record, after every file has been read.
  std::optional<ProgramEntry> nextProgram();

  bool failed() const { return failed_; }
  bool dataShort() const { return dataShort_; }

 private:
  bool fill(std::uint8_t* buffer, std::size_t size);
  ByteSource& source_;
  std::int32_t filesLeft_ = 0;
  std::int32_t programsLeft_ = 0;
  std::int64_t dataLeft_ = 0;
  std::int64_t totalLeft_ = 0;
  bool headerRead_ = false;
  bool failed_ = false;
  bool dataShort_ = false;
};

// The whole archive checked in one pass before anything is installed: every record and every byte of data.
struct ArchiveCatalogue {
  ArchiveHeader header;
  std::vector<FileEntry> files;
  std::vector<ProgramEntry> programs;
};
std::optional<ArchiveCatalogue> readCatalogue(ByteSource& source);

}  // namespace osk::setup
