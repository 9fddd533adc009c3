// File services on POSIX systems, where the portable core is built and tested natively.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/file_io.h"

namespace osk::fileio {


bool fullPath(std::string_view name, std::string& out) {
  if (name.empty()) return false;
  std::error_code ec;
  std::filesystem::path p(name);
  if (p.is_relative()) p = std::filesystem::current_path(ec) / p;
  if (ec) return false;
  out = p.lexically_normal().string();
  return true;
}

bool hasWildcards(std::string_view name) { return name.find_first_of("?*") != std::string_view::npos; }

bool hasFilePart(std::string_view path) { return !path.empty() && path.back() != '/'; }

std::string directoryOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isReadOnlyFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool modificationTime(const std::string& path, int64_t& time) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  time = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
  close();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

int64_t InputFile::size() const {
  struct stat st;
  if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &st) != 0) return -1;
  return st.st_size;
}

int64_t InputFile::read(char* buffer, std::size_t size) {
  for (;;) {
    ssize_t n = ::read(static_cast<int>(handle_), buffer, size);
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

void InputFile::close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

SaveTarget::~SaveTarget() {
  if (handle_ >= 0) discard();
}

bool SaveTarget::open(const std::string& target) {
  target_ = target;
  failed_ = false;
  buffer_.reserve(1 << 16);
  std::string dir = directoryOf(target);
  std::string pattern = dir + "/.osk-save-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd >= 0) {
    temporary_ = name.data();
    struct stat st;
    // The new file takes the permissions of the one it replaces.
    ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    handle_ = fd;
    inPlace_ = false;
    return true;
  }
  fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  handle_ = fd;
  inPlace_ = true;
  return true;
}

bool SaveTarget::writeRaw(const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(static_cast<int>(handle_), data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void SaveTarget::closeHandle() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

bool SaveTarget::commit() {
  if (handle_ < 0) return false;
  bool ok = !failed_ && flushBuffer() && ::fsync(static_cast<int>(handle_)) == 0;
  closeHandle();
  if (!ok) {
    if (!inPlace_) ::unlink(temporary_.c_str());
    return false;
  }
  if (inPlace_) return true;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    ::unlink(temporary_.c_str());
    return false;
  }
  return true;
}

void SaveTarget::discard() {
  closeHandle();
  buffer_.clear();
  if (!inPlace_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

}  // namespace osk::fileio
