// Fuzz target: arbitrary bytes as a compressed archive, as an expanded archive, and as an uninstall log. Nothing may
// crash, an accepted archive must hold only plain file names, and a planned uninstall may only touch what the
// confinement rules allow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "setup/archive.h"
#include "setup/szdd.h"
#include "setup/uninstall_log.h"
#include "uninstall/uninstall_plan.h"

namespace {

class MemorySource : public osk::setup::ByteSource {
 public:
  MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t n = size < size_ - at_ ? size : size_ - at_;
    if (n != 0) std::memcpy(buffer, data_ + at_, n);
    at_ += n;
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void checkCatalogue(const std::uint8_t* data, std::size_t size) {
  MemorySource source(data, size);
  if (const auto catalogue = osk::setup::readCatalogue(source)) {
    for (const auto& file : catalogue->files) {
      if (!osk::setup::isPlainFileName(file.name) || file.length < 0) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace osk;
  const auto expanded = setup::szddExpand({data, size});
  checkCatalogue(expanded.data.data(), expanded.data.size());
  checkCatalogue(data, size);

  const auto log = setup::parseUninstallLog(std::string_view(reinterpret_cast<const char*>(data), size));
  const char* install = "C:\\Apps\\OSK";
  const char* windows = "C:\\windows";
  for (const auto& step : uninstall::planUninstall(log.records, install, windows)) {
    using Kind = uninstall::UninstallStep::Kind;
    if (step.kind == Kind::DeleteFile && !uninstall::mayDeleteFile(step.path, install, windows)) std::abort();
    if (step.kind == Kind::DeleteDirectory && !uninstall::mayDeleteDirectory(step.path, install, windows)) std::abort();
  }
  return 0;
}
