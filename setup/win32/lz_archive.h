// The archive beside the installer, expanded through the system's LZ file functions as one stream.
#pragma once

#include <windows.h>

#include <string>

#include "setup/archive.h"

namespace osk::setup {

class LzArchiveSource : public ByteSource {
 public:
  LzArchiveSource() = default;
  ~LzArchiveSource() override { close(); }
  LzArchiveSource(const LzArchiveSource&) = delete;
  LzArchiveSource& operator=(const LzArchiveSource&) = delete;

  bool open(const std::string& path);
  void close();
  std::size_t read(std::uint8_t* buffer, std::size_t size) override;

 private:
  INT handle_ = -1;
};

// "osksetup.da_" in the folder of this program's own executable.
std::string archivePathBesideProgram();

}  // namespace osk::setup
