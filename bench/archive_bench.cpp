// Costs of the installation archive: building and compressing it, expanding it, and the installer's check of every
// record, for files given on the command line (the staged distribution) or, without any, a synthetic mix of program
// code and text of about the editor's size. Prints one line per measurement with the compression ratio.
//
//   archive_bench [file...]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "setup/archive.h"
#include "setup/archive_list.h"
#include "setup/szdd.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace osk::setup;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  std::size_t read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t n = std::min(size, bytes_.size() - at_);
    if (n != 0) std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

std::vector<std::uint8_t> syntheticProgram(std::size_t size, unsigned seed) {
  // Machine code repeats short patterns with varying operands; text repeats words.
  std::mt19937 random(seed);
  std::vector<std::uint8_t> data;
  const char* words[] = {"buffer", "line", "window", "return", "if (", "const ", "std::string", "\r\n", "    "};
  while (data.size() < size) {
    if (random() % 3 == 0) {
      const char* word = words[random() % 9];
      data.insert(data.end(), word, word + std::strlen(word));
    } else {
      const std::uint8_t op[] = {0x48, 0x8B, static_cast<std::uint8_t>(random() % 16), 0x24,
                                 static_cast<std::uint8_t>(random())};
      data.insert(data.end(), op, op + sizeof op);
    }
  }
  data.resize(size);
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  ArchiveList list;
  list.header = {"OSK", "Programmer's Editor", "OSK Software", "2.0", "", 0, 0, 0, "C:\\OSK", "OSK"};
  std::vector<std::vector<std::uint8_t>> contents;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    list.files.push_back({{Destination::InstallDirectory, "FILE" + std::to_string(i) + ".BIN", 0}, argv[i]});
  }
  if (contents.empty()) {
    for (unsigned i = 0; i < 4; ++i) {
      contents.push_back(syntheticProgram(i == 3 ? 20000 : 1200000, i));
      list.files.push_back({{Destination::InstallDirectory, "FILE" + std::to_string(i) + ".BIN", 0}, ""});
    }
  }
  auto start = Clock::now();
  const auto archive = buildArchive(list, contents);
  const auto compressed = szddCompress(archive, 't');
  const double compressTime = seconds(Clock::now() - start);
  start = Clock::now();
  const auto expanded = szddExpand(compressed);
  const double expandTime = seconds(Clock::now() - start);
  start = Clock::now();
  MemorySource source(expanded.data);
  const bool valid = readCatalogue(source).has_value();
  const double checkTime = seconds(Clock::now() - start);
  const double mb = static_cast<double>(archive.size()) / (1024 * 1024);
  std::printf("archive %.2f MB, compressed to %.1f%% (%s)\n", mb, 100.0 * compressed.size() / archive.size(),
              expanded.complete && expanded.data == archive && valid ? "expands and checks" : "BROKEN");
  std::printf("compress %.3f s (%.1f MB/s)\n", compressTime, mb / compressTime);
  std::printf("expand   %.3f s (%.1f MB/s)\n", expandTime, mb / expandTime);
  std::printf("check    %.3f s (%.1f MB/s)\n", checkTime, mb / checkTime);
  return expanded.complete && valid ? 0 : 1;
}
