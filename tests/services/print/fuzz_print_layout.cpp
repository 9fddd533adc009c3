// Any bytes as a print stream, with options taken from the first bytes: reading and layout always end, and every
// item stays on its page.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "services/print/page_layout.h"

namespace {

class TinyDevice : public osk::print::MeasuringDevice {
 public:
  int32_t width = 7;
  int32_t height = 12;
  osk::print::PageGeometry page() override { return {600, 800, 100, 100}; }
  void selectFont(const osk::print::FontSpec& font) override { italic_ = font.italic; }
  osk::print::FontMetrics metrics() override { return {height, height / 2, width}; }
  void extents(std::string_view text, std::vector<int32_t>& ends) override {
    ends.resize(text.size());
    int32_t x = 0;
    for (size_t i = 0; i < text.size(); ++i) ends[i] = x += (static_cast<unsigned char>(text[i]) % 3) * width + italic_;
  }

 private:
  bool italic_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  osk::print::LayoutInput input;
  input.options.wrap = static_cast<osk::print::WrapOption>(data[0] % 4);
  input.options.numColumns = 1 + data[1] % 2;
  input.options.lineNumbers = data[2] & 1;
  input.options.paraAutoCalculateMargins = data[2] & 2;
  input.options.leftMargin = data[3] % 50;
  input.options.firstLineIndent = data[3] / 50;
  input.options.pageLeftMargin = data[4] % 80;
  input.options.pageTopMargin = data[4] / 4;
  input.options.header = data[5] & 1 ? "&Page" : "";
  input.options.footer = data[5] & 2 ? "&LJustify&File&RJustify&Page" : "";
  input.options.step = 1 + data[5] / 4;
  input.classes.resize(6);
  input.classes[5].font.italic = true;
  const std::string_view stream(reinterpret_cast<const char*>(data + 6), size - 6);
  const osk::print::StreamDocument document =
      osk::print::readPrintStream(stream, input.options.wrap == osk::print::WrapOption::kParagraph);
  input.document = &document;
  TinyDevice device;
  device.width = data[1] / 2 % 40;
  device.height = data[0] / 4 % 60;
  const osk::print::Layout layout = osk::print::layOutPages(input, device);
  for (const osk::print::PagePlan& page : layout.pages) {
    for (const osk::print::TextItem& t : page.texts) {
      if (t.clip.right > 600 || t.clip.bottom > 800 || t.clip.left < 0 || t.clip.top < 0) std::abort();
    }
  }
  return 0;
}
