// osk_mkarchive LIST OUTPUT: builds the installation archive that a list names (see setup/archive_list.h),
// compressed in the form the system's LZ file functions expand.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "setup/archive.h"
#include "setup/archive_list.h"
#include "setup/szdd.h"

namespace {

bool readFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: osk_mkarchive LIST OUTPUT\n";
    return 2;
  }
  const std::string listPath = argv[1];
  const std::string output = argv[2];
  std::vector<std::uint8_t> listText;
  if (!readFile(listPath, listText)) {
    std::cerr << listPath << ": cannot read\n";
    return 1;
  }
  const std::size_t slash = listPath.find_last_of('/');
  const std::string base = slash == std::string::npos ? "." : listPath.substr(0, slash);
  auto parsed = osk::setup::parseArchiveList(
      std::string_view(reinterpret_cast<const char*>(listText.data()), listText.size()), base);
  if (!parsed.error.empty()) {
    std::cerr << listPath << ": " << parsed.error << "\n";
    return 1;
  }
  std::vector<std::vector<std::uint8_t>> contents;
  std::uint64_t total = 0;
  for (const auto& file : parsed.list.files) {
    contents.emplace_back();
    if (!readFile(file.source, contents.back())) {
      std::cerr << file.source << ": cannot read\n";
      return 1;
    }
    total += contents.back().size();
  }
  if (total > 0x7FFFFFFF) {
    std::cerr << listPath << ": the files hold more than 2 GiB together\n";
    return 1;
  }
  const auto archive = osk::setup::buildArchive(parsed.list, contents);
  // "osksetup.dat" is the name the compressed form replaces with "osksetup.da_".
  const auto compressed = osk::setup::szddCompress(archive, 't');
  const std::string temporary = output + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(compressed.data()), static_cast<std::streamsize>(compressed.size()));
    if (!out) {
      std::cerr << output << ": cannot write\n";
      std::remove(temporary.c_str());
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), output.c_str()) != 0) {
    std::cerr << output << ": cannot write\n";
    std::remove(temporary.c_str());
    return 1;
  }
  std::cout << output << ": " << parsed.list.files.size() << " files, " << archive.size() << " bytes in "
            << compressed.size() << "\n";
  return 0;
}
