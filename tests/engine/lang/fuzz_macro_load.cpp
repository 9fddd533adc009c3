// Fuzzes the macro file reader: whatever the bytes, it loads a whole macro of key messages or leaves none, and a
// loaded macro saves back to the same leading bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine/lang/macro_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static osk::macro::KeystrokeMacro macro;
  const auto result = osk::macro::decodeMacro({data, size}, macro);
  if (result != osk::macro::LoadResult::kLoaded) {
    if (macro.count() != 0 || macro.present()) std::abort();
    return 0;
  }
  if (macro.count() < 1 || macro.count() > osk::macro::kMaxEvents) std::abort();
  for (int32_t i = 0; i < macro.count(); ++i) {
    if (!osk::macro::isKeyMessage(macro[i].message)) std::abort();
  }
  const auto bytes = osk::macro::encodeMacro(macro);
  if (bytes.size() > size || std::memcmp(bytes.data(), data, bytes.size()) != 0) std::abort();
  return 0;
}
