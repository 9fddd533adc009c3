#include "setup/archive.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace osk::setup {

namespace {

std::int32_t readInt32(std::span<const std::uint8_t> bytes, std::size_t at) {
  const std::uint32_t value = bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                              (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
  return static_cast<std::int32_t>(value);
}

void writeInt32(std::vector<std::uint8_t>& out, std::size_t at, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// A text field read within its width: up to its NUL, or the whole field when it has none.
std::string readText(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width) {
  const auto* begin = reinterpret_cast<const char*>(bytes.data() + at);
  const auto* nul = static_cast<const char*>(std::memchr(begin, 0, width));
  return std::string(begin, nul != nullptr ? static_cast<std::size_t>(nul - begin) : width);
}

void writeText(std::vector<std::uint8_t>& out, std::size_t at, std::size_t width, std::string_view text) {
  const std::size_t length = std::min(text.size(), width - 1);
  std::memcpy(out.data() + at, text.data(), length);
}

bool hasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

// Texts that become registry key names: one component each, printable.
bool isKeyComponent(std::string_view text) {
  return !text.empty() && text.find('\\') == std::string_view::npos && !hasControl(text) && text != "." &&
         text != "..";
}

// Titles of program items travel inside program manager commands.
bool isItemTitle(std::string_view title) {
  return !title.empty() && !hasControl(title) && title.find_first_of("[]()\"") == std::string_view::npos;
}

bool hasTag(std::span<const std::uint8_t> bytes, const char* tag) {
  return bytes.size() >= kTagSize && std::memcmp(bytes.data(), tag, kTagSize) == 0;
}

}  // namespace

bool sameFileName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

std::string productKey(const ArchiveHeader& header) {
  std::string key = header.productName + ' ' + header.version;
  if (!header.secondVersion.empty()) key += ' ' + header.secondVersion;
  return key;
}

std::string versionKey(const ArchiveHeader& header) {
  std::string key = header.version;
  if (!header.secondVersion.empty()) key += ' ' + header.secondVersion;
  return key;
}

std::string_view commandFile(std::string_view command) {
  return command.substr(0, command.find(' '));
}

std::string_view commandArguments(std::string_view command) {
  const std::size_t blank = command.find(' ');
  return blank == std::string_view::npos ? std::string_view() : command.substr(blank + 1);
}

bool isPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > kFileNameWidth - 1) return false;
  if (name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr) return false;
  }
  if (name.back() == '.' || name.back() == ' ' || name.front() == ' ') return false;
  // Device names stay devices whatever extension follows them.
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::array<const char*, 6> devices = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$"};
  for (const char* device : devices) {
    if (stem == device) return false;
  }
  if (stem == "CONOUT$") return false;
  if (stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' && stem[3] <= '9') {
    return false;
  }
  return true;
}

std::optional<ArchiveHeader> decodeHeader(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderSize || !hasTag(bytes, "INST") || readInt32(bytes, 4) != kArchiveVersion) {
    return std::nullopt;
  }
  ArchiveHeader header;
  header.productName = readText(bytes, 8, kProductNameWidth);
  header.displayLine = readText(bytes, 25, kDisplayLineWidth);
  header.companyKey = readText(bytes, 58, kCompanyKeyWidth);
  header.version = readText(bytes, 150, kVersionWidth);
  header.secondVersion = readText(bytes, 159, kSecondVersionWidth);
  header.fileCount = readInt32(bytes, 208);
  header.programCount = readInt32(bytes, 212);
  header.totalSize = readInt32(bytes, 216);
  header.defaultDirectory = readText(bytes, 220, kDirectoryWidth);
  header.defaultGroup = readText(bytes, 253, kGroupWidth);
  if (header.fileCount < 0 || header.fileCount > kMaxFiles || header.programCount < 0 ||
      header.programCount > kMaxPrograms || header.totalSize < 0) {
    return std::nullopt;
  }
  if (!isKeyComponent(header.productName) || !isKeyComponent(header.companyKey) || !isKeyComponent(header.version) ||
      !isKeyComponent(versionKey(header)) || hasControl(header.displayLine) || hasControl(header.defaultDirectory) ||
      hasControl(header.defaultGroup)) {
    return std::nullopt;
  }
  return header;
}

std::optional<FileEntry> decodeFileRecord(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kTagSize + kFileBodySize || !hasTag(bytes, "FILE")) return std::nullopt;
  const auto body = bytes.subspan(kTagSize);
  FileEntry entry;
  const unsigned kind = body[0] | (body[1] << 8);
  if (kind != 0 && kind != 2 && kind != 4) return std::nullopt;
  entry.destination = static_cast<Destination>(kind);
  entry.name = readText(body, 2, kFileNameWidth);
  entry.length = readInt32(body, 15);
  if (!isPlainFileName(entry.name) || entry.length < 0) return std::nullopt;
  return entry;
}

std::optional<ProgramEntry> decodeProgramRecord(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kTagSize + kProgramBodySize || !hasTag(bytes, "PGMF")) return std::nullopt;
  const auto body = bytes.subspan(kTagSize);
  ProgramEntry entry;
  entry.command = readText(body, 0, kCommandWidth);
  entry.title = readText(body, kCommandWidth, kTitleWidth);
  if (!isPlainFileName(commandFile(entry.command)) || hasControl(entry.command) ||
      entry.command.find_first_of("[]()\"") != std::string::npos || !isItemTitle(entry.title)) {
    return std::nullopt;
  }
  return entry;
}

std::vector<std::uint8_t> encodeHeader(const ArchiveHeader& header) {
  std::vector<std::uint8_t> out(kHeaderSize, 0);
  std::memcpy(out.data(), "INST", kTagSize);
  writeInt32(out, 4, kArchiveVersion);
  writeText(out, 8, kProductNameWidth, header.productName);
  writeText(out, 25, kDisplayLineWidth, header.displayLine);
  writeText(out, 58, kCompanyKeyWidth, header.companyKey);
  writeText(out, 150, kVersionWidth, header.version);
  writeText(out, 159, kSecondVersionWidth, header.secondVersion);
  writeInt32(out, 208, header.fileCount);
  writeInt32(out, 212, header.programCount);
  writeInt32(out, 216, header.totalSize);
  writeText(out, 220, kDirectoryWidth, header.defaultDirectory);
  writeText(out, 253, kGroupWidth, header.defaultGroup);
  return out;
}

std::vector<std::uint8_t> encodeFileRecord(const FileEntry& entry) {
  std::vector<std::uint8_t> out(kTagSize + kFileBodySize, 0);
  std::memcpy(out.data(), "FILE", kTagSize);
  const auto kind = static_cast<std::uint16_t>(entry.destination);
  out[kTagSize] = static_cast<std::uint8_t>(kind & 0xFF);
  out[kTagSize + 1] = static_cast<std::uint8_t>(kind >> 8);
  writeText(out, kTagSize + 2, kFileNameWidth, entry.name);
  writeInt32(out, kTagSize + 15, entry.length);
  return out;
}

std::vector<std::uint8_t> encodeProgramRecord(const ProgramEntry& entry) {
  std::vector<std::uint8_t> out(kTagSize + kProgramBodySize, 0);
  std::memcpy(out.data(), "PGMF", kTagSize);
  writeText(out, kTagSize, kCommandWidth, entry.command);
  writeText(out, kTagSize + kCommandWidth, kTitleWidth, entry.title);
  return out;
}

bool ArchiveReader::fill(std::uint8_t* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const std::size_t n = source_.read(buffer + got, size - got);
    if (n == 0) break;
    got += n;
  }
  return got == size;
}

std::optional<ArchiveHeader> ArchiveReader::readHeader() {
  if (headerRead_ || failed_) {
    failed_ = true;
    return std::nullopt;
  }
  headerRead_ = true;
  std::array<std::uint8_t, kHeaderSize> bytes;
  std::optional<ArchiveHeader> header;
  if (fill(bytes.data(), bytes.size())) header = decodeHeader(bytes);
  if (!header) {
    failed_ = true;
    return std::nullopt;
  }
  if (header->fileCount == 0 && header->totalSize != 0) {
    failed_ = true;
    return std::nullopt;
  }
  filesLeft_ = header->fileCount;
  programsLeft_ = header->programCount;
  totalLeft_ = header->totalSize;
  return header;
}

std::optional<FileEntry> ArchiveReader::nextFile() {
  if (failed_) return std::nullopt;
  if (!headerRead_ || dataLeft_ != 0) {
    failed_ = true;
    return std::nullopt;
  }
  if (filesLeft_ == 0) return std::nullopt;
  std::array<std::uint8_t, kTagSize + kFileBodySize> bytes;
  std::optional<FileEntry> entry;
  if (fill(bytes.data(), bytes.size())) entry = decodeFileRecord(bytes);
  // A file longer than what the header says all files hold together is refused before its first byte.
  if (!entry || entry->length > totalLeft_) {
    failed_ = true;
    return std::nullopt;
  }
  --filesLeft_;
  dataLeft_ = entry->length;
  totalLeft_ -= entry->length;
  if (filesLeft_ == 0 && totalLeft_ != 0) {
    failed_ = true;
    return std::nullopt;
  }
  return entry;
}

std::size_t ArchiveReader::readData(std::uint8_t* buffer, std::size_t size) {
  if (failed_ || dataLeft_ == 0) return 0;
  const auto want = static_cast<std::size_t>(std::min<std::int64_t>(dataLeft_, static_cast<std::int64_t>(size)));
  if (!fill(buffer, want)) {
    failed_ = true;
    dataShort_ = true;
    return 0;
  }
  dataLeft_ -= static_cast<std::int64_t>(want);
  return want;
}

std::optional<ProgramEntry> ArchiveReader::nextProgram() {
  if (failed_ || !headerRead_ || filesLeft_ != 0 || dataLeft_ != 0) {
    failed_ = true;
    return std::nullopt;
  }
  if (programsLeft_ == 0) return std::nullopt;
  std::array<std::uint8_t, kTagSize + kProgramBodySize> bytes;
  std::optional<ProgramEntry> entry;
  if (fill(bytes.data(), bytes.size())) entry = decodeProgramRecord(bytes);
  if (!entry) {
    failed_ = true;
    return std::nullopt;
  }
  --programsLeft_;
  return entry;
}

std::optional<ArchiveCatalogue> readCatalogue(ByteSource& source) {
  ArchiveReader reader(source);
  ArchiveCatalogue catalogue;
  auto header = reader.readHeader();
  if (!header) return std::nullopt;
  catalogue.header = *header;
  std::vector<std::uint8_t> chunk(64 * 1024);
  int uninstallers = 0;
  while (auto file = reader.nextFile()) {
    if (file->destination == Destination::Uninstaller) ++uninstallers;
    // Two files of one name in one directory: the second would overwrite the first and be removed twice.
    const bool inWindows = file->destination != Destination::InstallDirectory;
    for (const FileEntry& earlier : catalogue.files) {
      if ((earlier.destination != Destination::InstallDirectory) == inWindows && sameFileName(earlier.name, file->name)) {
        return std::nullopt;
      }
    }
    while (reader.readData(chunk.data(), chunk.size()) != 0) {
    }
    if (reader.failed()) return std::nullopt;
    catalogue.files.push_back(*file);
  }
  if (reader.failed() || uninstallers > 1) return std::nullopt;
  while (auto program = reader.nextProgram()) catalogue.programs.push_back(*program);
  if (reader.failed()) return std::nullopt;
  return catalogue;
}

}  // namespace osk::setup
