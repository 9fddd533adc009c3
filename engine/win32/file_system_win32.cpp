// File services on Windows. A save goes to a temporary file beside the target, which ReplaceFileA then puts in the
// target's place (keeping its attributes and security), or MoveFileExA where there is no target yet.
#include <windows.h>


#include "engine/file_io.h"

namespace osk::fileio {

namespace {
HANDLE asHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
intptr_t fromHandle(HANDLE h) { return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(h); }

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }
}  // namespace

bool fullPath(std::string_view name, std::string& out) {
  if (name.empty()) return false;
  std::string in(name);
  char buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(in.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) return false;
  out.assign(buffer, n);
  return true;
}

bool hasWildcards(std::string_view name) { return name.find_first_of("?*") != std::string_view::npos; }

bool hasFilePart(std::string_view path) {
  return !path.empty() && path.back() != '\\' && path.back() != '/' && path.back() != ':';
}

std::string directoryOf(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return ".";
  if (slash == 2 && path.size() > 1 && path[1] == ':') return std::string(path.substr(0, 3));
  return std::string(path.substr(0, slash));
}

bool isDirectory(const std::string& path) {
  DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isFile(const std::string& path) {
  DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isReadOnlyFile(const std::string& path) {
  DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool modificationTime(const std::string& path, int64_t& time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  time = (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return true;
}

InputFile::~InputFile() { close(); }

bool InputFile::open(const std::string& path) {
  close();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  handle_ = fromHandle(h);
  return handle_ != -1;
}

int64_t InputFile::size() const {
  LARGE_INTEGER size;
  if (handle_ == -1 || !GetFileSizeEx(asHandle(handle_), &size)) return -1;
  return size.QuadPart;
}

int64_t InputFile::read(char* buffer, std::size_t size) {
  DWORD got = 0;
  if (!ReadFile(asHandle(handle_), buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
  return got;
}

void InputFile::close() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  handle_ = -1;
}

SaveTarget::~SaveTarget() {
  if (handle_ != -1) discard();
}

bool SaveTarget::open(const std::string& target) {
  target_ = target;
  failed_ = false;
  buffer_.reserve(1 << 16);
  std::string dir = directoryOf(target);
  char name[MAX_PATH];
  if (dir.size() < MAX_PATH - 14 && GetTempFileNameA(dir.c_str(), "osk", 0, name) != 0) {
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      temporary_ = name;
      handle_ = fromHandle(h);
      inPlace_ = false;
      return true;
    }
    DeleteFileA(name);
  }
  HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = fromHandle(h);
  inPlace_ = true;
  return true;
}

bool SaveTarget::writeRaw(const char* data, std::size_t size) {
  while (size > 0) {
    DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD done = 0;
    if (!WriteFile(asHandle(handle_), data, chunk, &done, nullptr) || done == 0) return false;
    data += done;
    size -= done;
  }
  return true;
}

void SaveTarget::closeHandle() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  handle_ = -1;
}

bool SaveTarget::replaceTarget() {
  if (GetFileAttributesA(target_.c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (ReplaceFileA(target_.c_str(), temporary_.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
      return true;
    }
  }
  return MoveFileExA(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool SaveTarget::commit() {
  if (handle_ == -1) return false;
  bool ok = !failed_ && flushBuffer() && FlushFileBuffers(asHandle(handle_));
  closeHandle();
  if (!ok) {
    if (!inPlace_) DeleteFileA(temporary_.c_str());
    return false;
  }
  if (inPlace_) return true;
  if (!replaceTarget()) {
    DeleteFileA(temporary_.c_str());
    return false;
  }
  return true;
}

void SaveTarget::discard() {
  closeHandle();
  buffer_.clear();
  if (!inPlace_ && !temporary_.empty()) DeleteFileA(temporary_.c_str());
}

}  // namespace osk::fileio
