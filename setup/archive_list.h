// The archive builder's list: what goes into "osksetup.da_". One statement per line; blank lines and lines starting
// with '#' are skipped:
//
//   product NAME          display TEXT          company KEY            version TEXT
//   version2 TEXT         directory PATH        group NAME
//   file KIND NAME SOURCE   (KIND 0 installation directory, 2 Windows directory, 4 the uninstaller; SOURCE is the
//                            rest of the line, relative to the list's own folder unless absolute)
//   program COMMAND | TITLE
//
// Every value is checked as the installer will check it, so that a list the builder accepts makes an archive the
// installer accepts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/archive.h"

namespace osk::setup {

struct ArchiveList {
  ArchiveHeader header;   // counts and total size are filled in by the builder
  struct File {
    FileEntry entry;
    std::string source;
  };
  std::vector<File> files;
  std::vector<ProgramEntry> programs;
};

struct ArchiveListResult {
  ArchiveList list;
  std::string error;   // "line N: what is wrong"; empty when the list is good
};

ArchiveListResult parseArchiveList(std::string_view text, std::string_view baseFolder);

// The expanded archive for a list whose files' contents are given in the same order.
std::vector<std::uint8_t> buildArchive(const ArchiveList& list, const std::vector<std::vector<std::uint8_t>>& contents);

}  // namespace osk::setup
