// The engine's few file services, implemented once per platform (posix/ and win32/).
//
// Saving never destroys the only copy: the text goes to a temporary file beside the target, which is flushed and
// then replaces the target (keeping its attributes where the platform can). Only when no temporary file can be
// made in that directory is the target written in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace osk::fileio {

constexpr std::size_t kMaxPath = 260;

// Makes `name` a full path (current directory and drive filled in, "." and ".." resolved).
bool fullPath(std::string_view name, std::string& out);
bool hasWildcards(std::string_view name);
// True when the path names something after its last separator.
bool hasFilePart(std::string_view path);
std::string directoryOf(std::string_view path);
bool isDirectory(const std::string& path);
bool isFile(const std::string& path);
// The file carries the read-only attribute (or, elsewhere, has no write permission).
bool isReadOnlyFile(const std::string& path);
bool modificationTime(const std::string& path, int64_t& time);
// Two full paths name the same file: compared without regard to case, as Windows does.
bool sameName(std::string_view a, std::string_view b);

class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool open(const std::string& path);
  int64_t size() const;
  // Bytes read, 0 at the end, -1 on an error.
  int64_t read(char* buffer, std::size_t size);
  void close();

 private:
  intptr_t handle_ = -1;
};

class SaveTarget {
 public:
  SaveTarget() = default;
  ~SaveTarget();
  SaveTarget(const SaveTarget&) = delete;
  SaveTarget& operator=(const SaveTarget&) = delete;

  // Opens the temporary file (or, failing that, the target itself). False when neither can be opened.
  bool open(const std::string& target);
  bool inPlace() const { return inPlace_; }
  // Buffered; false once a write has failed.
  bool write(const char* data, std::size_t size);
  // Flushes, closes and puts the text in place of the target. False leaves the target as it was (unless the
  // save was in place).
  bool commit();
  // Closes and removes the temporary file; the target is untouched.
  void discard();

  // For tests: every write fails once this many bytes have been written in total (negative: no limit).
  static void failWritesAfter(int64_t bytes);

 private:
  bool flushBuffer();
  bool writeChecked(const char* data, std::size_t size);
  bool writeRaw(const char* data, std::size_t size);   // per platform
  bool replaceTarget();
  void closeHandle();

  intptr_t handle_ = -1;
  std::string target_;
  std::string temporary_;
  bool inPlace_ = false;
  bool failed_ = false;
  std::vector<char> buffer_;
};

}  // namespace osk::fileio
