// cfgtool: compiles the text form of a configuration into an "OCFG" file, and turns any ".cfg" file back into text.
//
//   cfgtool compile <text> <cfg>   write the configuration the text describes
//   cfgtool text <cfg> [<text>]    write the text form of a configuration file (to standard output without <text>)
//   cfgtool check <text> <cfg>     succeed when the text compiles to exactly the bytes of <cfg>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "services/config/config_reader.h"
#include "services/config/config_text.h"
#include "services/config/config_writer.h"

namespace {

bool readFile(const char* path, std::string& out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out.assign(std::istreambuf_iterator<char>(f), {});
  return true;
}

int usage() {
  std::cerr << "usage: cfgtool compile <text> <cfg> | text <cfg> [<text>] | check <text> <cfg>\n";
  return 2;
}

bool compile(const char* textPath, std::vector<uint8_t>& bytes) {
  std::string text;
  if (!readFile(textPath, text)) {
    std::cerr << textPath << ": cannot read\n";
    return false;
  }
  osk::CConfiguration cfg;
  osk::ConfigTextError error;
  if (!osk::configurationFromText(text, cfg, error)) {
    std::cerr << textPath << ":" << error.line << ": " << error.message << "\n";
    return false;
  }
  if (osk::serializeConfiguration(cfg, bytes) != osk::ConfigSaveStatus::kOk) {
    std::cerr << textPath << ": the configuration cannot be written\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string verb = argv[1];
  if (verb == "compile" && argc == 4) {
    std::vector<uint8_t> bytes;
    if (!compile(argv[2], bytes)) return 1;
    if (!osk::replaceFileContents(argv[3], bytes)) {
      std::cerr << argv[3] << ": cannot write\n";
      return 1;
    }
    return 0;
  }
  if (verb == "text" && (argc == 3 || argc == 4)) {
    std::string raw;
    if (!readFile(argv[2], raw)) {
      std::cerr << argv[2] << ": cannot read\n";
      return 1;
    }
    osk::CConfiguration cfg;
    const std::vector<uint8_t> bytes(raw.begin(), raw.end());
    if (osk::parseConfiguration(bytes, cfg) != osk::ConfigLoadStatus::kOk) {
      std::cerr << argv[2] << ": Failed to load configuration.\n";
      return 1;
    }
    const std::string text = osk::configurationToText(cfg);
    if (argc == 3) {
      std::cout << text;
      return 0;
    }
    return osk::replaceFileContents(argv[3], std::vector<uint8_t>(text.begin(), text.end())) ? 0 : 1;
  }
  if (verb == "check" && argc == 4) {
    std::vector<uint8_t> bytes;
    std::string stored;
    if (!compile(argv[2], bytes) || !readFile(argv[3], stored)) return 1;
    if (std::vector<uint8_t>(stored.begin(), stored.end()) != bytes) {
      std::cerr << argv[3] << " is not what " << argv[2] << " compiles to\n";
      return 1;
    }
    return 0;
  }
  return usage();
}
