#include "setup/archive_list.h"

#include <algorithm>

#include "setup/install_rules.h"

namespace osk::setup {

namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string_view firstWord(std::string_view& rest) {
  rest = trim(rest);
  const std::size_t end = rest.find_first_of(" \t");
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : trim(rest.substr(end));
  return word;
}

bool fits(std::string_view text, std::size_t width) { return text.size() < width; }

}  // namespace

ArchiveListResult parseArchiveList(std::string_view text, std::string_view baseFolder) {
  ArchiveListResult result;
  ArchiveHeader& header = result.list.header;
  int lineNumber = 0;
  auto fail = [&](const std::string& what) {
    result.error = "line " + std::to_string(lineNumber) + ": " + what;
    return result;
  };
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view rest = trim(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (rest.empty() || rest.front() == '#') continue;
    const std::string_view statement = firstWord(rest);
    auto setText = [&](std::string& field, std::size_t width) {
      if (!fits(rest, width)) return false;
      field = rest;
      return true;
    };
    bool good = true;
    if (statement == "product") {
      good = setText(header.productName, kProductNameWidth);
    } else if (statement == "display") {
      good = setText(header.displayLine, kDisplayLineWidth);
    } else if (statement == "company") {
      good = setText(header.companyKey, kCompanyKeyWidth);
    } else if (statement == "version") {
      good = setText(header.version, kVersionWidth);
    } else if (statement == "version2") {
      good = setText(header.secondVersion, kSecondVersionWidth);
    } else if (statement == "directory") {
      good = setText(header.defaultDirectory, kDirectoryWidth);
    } else if (statement == "group") {
      good = setText(header.defaultGroup, kGroupWidth) && isGroupName(header.defaultGroup);
    } else if (statement == "file") {
      const std::string_view kind = firstWord(rest);
      const std::string_view name = firstWord(rest);
      ArchiveList::File file;
      if (kind == "0") {
        file.entry.destination = Destination::InstallDirectory;
      } else if (kind == "2") {
        file.entry.destination = Destination::WindowsDirectory;
      } else if (kind == "4") {
        file.entry.destination = Destination::Uninstaller;
      } else {
        return fail("the kind of a file is 0, 2 or 4");
      }
      if (!isPlainFileName(name)) return fail("\"" + std::string(name) + "\" is not a plain 8.3 file name");
      if (rest.empty()) return fail("a file needs its source");
      file.entry.name = name;
      file.source = rest.front() == '/' || baseFolder.empty() ? std::string(rest)
                                                              : std::string(baseFolder) + "/" + std::string(rest);
      result.list.files.push_back(std::move(file));
    } else if (statement == "program") {
      const std::size_t bar = rest.find('|');
      if (bar == std::string_view::npos) return fail("a program needs COMMAND | TITLE");
      ProgramEntry program{std::string(trim(rest.substr(0, bar))), std::string(trim(rest.substr(bar + 1)))};
      if (!fits(program.command, kCommandWidth) || !fits(program.title, kTitleWidth) ||
          !decodeProgramRecord(encodeProgramRecord(program))) {
        return fail("the program item \"" + std::string(rest) + "\" cannot be installed");
      }
      result.list.programs.push_back(std::move(program));
    } else {
      return fail("unknown statement \"" + std::string(statement) + "\"");
    }
    if (!good) return fail("the value of \"" + std::string(statement) + "\" is too long or not allowed");
  }
  --lineNumber;
  if (!decodeHeader(encodeHeader(header))) {
    return fail("product, company and version are needed, one registry key name each");
  }
  return result;
}

std::vector<std::uint8_t> buildArchive(const ArchiveList& list, const std::vector<std::vector<std::uint8_t>>& contents) {
  ArchiveHeader header = list.header;
  header.fileCount = static_cast<std::int32_t>(list.files.size());
  header.programCount = static_cast<std::int32_t>(list.programs.size());
  std::int64_t total = 0;
  for (const auto& content : contents) total += static_cast<std::int64_t>(content.size());
  header.totalSize = static_cast<std::int32_t>(total);
  std::vector<std::uint8_t> archive = encodeHeader(header);
  for (std::size_t i = 0; i < list.files.size(); ++i) {
    FileEntry entry = list.files[i].entry;
    entry.length = static_cast<std::int32_t>(contents[i].size());
    const auto record = encodeFileRecord(entry);
    archive.insert(archive.end(), record.begin(), record.end());
    archive.insert(archive.end(), contents[i].begin(), contents[i].end());
  }
  for (const ProgramEntry& program : list.programs) {
    const auto record = encodeProgramRecord(program);
    archive.insert(archive.end(), record.begin(), record.end());
  }
  return archive;
}

}  // namespace osk::setup
