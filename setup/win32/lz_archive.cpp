#include "setup/win32/lz_archive.h"

#include <lzexpand.h>

#include <algorithm>

namespace osk::setup {

bool LzArchiveSource::open(const std::string& path) {
  close();
  // LZOpenFile refuses paths of 128 characters or more; opening the file first and handing it to LZInit does not.
  HFILE file = _lopen(path.c_str(), OF_READ | OF_SHARE_DENY_WRITE);
  if (file == HFILE_ERROR) return false;
  const INT handle = LZInit(file);
  if (handle < 0) {
    _lclose(file);
    return false;
  }
  handle_ = handle;
  return true;
}

void LzArchiveSource::close() {
  if (handle_ >= 0) LZClose(handle_);
  handle_ = -1;
}

std::size_t LzArchiveSource::read(std::uint8_t* buffer, std::size_t size) {
  if (handle_ < 0 || size == 0) return 0;
  const INT n = LZRead(handle_, reinterpret_cast<char*>(buffer), static_cast<INT>(std::min<std::size_t>(size, 32768)));
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::string archivePathBesideProgram() {
  char path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  folder = folder.substr(0, folder.find_last_of("\\/") + 1);
  return folder + kArchiveName;
}

}  // namespace osk::setup
