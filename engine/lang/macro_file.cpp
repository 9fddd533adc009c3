#include "engine/lang/macro_file.h"

#include <cstdio>
#include <memory>

namespace osk::macro {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t get32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
         static_cast<uint32_t>(at[3]) << 24;
}

// Window handles carry 32 significant bits on both word sizes; they widen with sign extension.
uint32_t windowWord(OskWindow window) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}
OskWindow windowFromWord(uint32_t word) {
  return reinterpret_cast<OskWindow>(static_cast<intptr_t>(static_cast<int32_t>(word)));
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::vector<uint8_t> encodeMacro(const KeystrokeMacro& macro) {
  std::vector<uint8_t> out;
  out.reserve(kHeaderBytes + kFileEventBytes * static_cast<std::size_t>(macro.count()));
  out.push_back(1);
  out.push_back(0);
  put32(out, static_cast<uint32_t>(macro.count()));
  for (int32_t i = 0; i < macro.count(); ++i) {
    const MacroEvent& e = macro[i];
    put32(out, e.message);
    put32(out, e.paramL);
    put32(out, e.paramH);
    put32(out, e.time);
    put32(out, windowWord(e.window));
  }
  return out;
}

LoadResult decodeMacro(std::span<const uint8_t> bytes, KeystrokeMacro& macro) {
  macro.clear();
  if (bytes.size() < kHeaderBytes) return bytes.size() < 2 ? LoadResult::kBadFormat : LoadResult::kTruncated;
  if (bytes[0] != 1 || bytes[1] != 0) return LoadResult::kBadFormat;
  const uint32_t declared = get32(bytes.data() + 2);
  if (declared == 0) return LoadResult::kNoEvents;
  if (declared > static_cast<uint32_t>(kMaxEvents)) return LoadResult::kTooManyEvents;
  if (bytes.size() - kHeaderBytes < kFileEventBytes * declared) return LoadResult::kTruncated;
  const uint8_t* at = bytes.data() + kHeaderBytes;
  for (uint32_t i = 0; i < declared; ++i, at += kFileEventBytes) {
    MacroEvent e;
    e.message = get32(at);
    e.paramL = get32(at + 4);
    e.paramH = get32(at + 8);
    e.time = get32(at + 12);
    e.window = windowFromWord(get32(at + 16));
    if (!macro.append(e)) {
      macro.clear();
      return LoadResult::kNotKeyMessage;
    }
  }
  return LoadResult::kLoaded;
}

bool saveMacroFile(const KeystrokeMacro& macro, const std::string& path) {
  if (!macro.present()) return false;
  const std::vector<uint8_t> bytes = encodeMacro(macro);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

LoadResult loadMacroFile(const std::string& path, KeystrokeMacro& macro) {
  macro.clear();
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return LoadResult::kCannotRead;
  // Read no more than the largest macro needs, so a huge file costs nothing.
  std::vector<uint8_t> bytes(kHeaderBytes + kFileEventBytes * kMaxEvents + 1);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (std::ferror(file.get())) return LoadResult::kCannotRead;
  bytes.resize(got);
  return decodeMacro(bytes, macro);
}

}  // namespace osk::macro
