// CToolBarBitmaps: the button image strip of a configuration, a packed device-independent bitmap.
//
// The images are cells of 16 x 15 pixels side by side, so the bitmap is 16 x (number of images) wide and 15 high.
// The strip is accepted only when its own header describes it completely: a 40-byte info header, 1, 4 or 8 bits
// per pixel, no compression, height 15, a width that is a whole number of cells, and pixel rows that fit both the
// stored length and the row size a bitmap of that shape really has. An empty strip holds no images. Pixel access
// outside the strip reads 0 and writes nothing.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace osk {

class CToolBarBitmaps {
 public:
  static constexpr int kCellWidth = 16;
  static constexpr int kCellHeight = 15;
  static constexpr uint32_t kInfoHeaderSize = 40;

  // The length of the strip that `section` begins with, computed from its header; 0 when the header is unusable or
  // the section is shorter than that length.
  static uint32_t stripLength(std::span<const uint8_t> section);

  // Replaces the strip with the one `section` begins with; an empty section clears it. False (strip unchanged)
  // when the section is not a usable strip.
  bool assign(std::span<const uint8_t> section);
  // A blank 4-bit strip of `count` images with the standard 16-colour palette, every pixel colour 7.
  void makeBlank(int32_t count);
  void clear() { bytes_.clear(); }

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  bool empty() const { return bytes_.empty(); }
  int32_t imageCount() const;
  int bitCount() const;
  int32_t width() const;
  // Bytes per pixel row as stored (whole cells, each (bitCount * 16 + 7) / 8 bytes).
  uint32_t rowBytes() const;
  uint32_t paletteOffset() const { return kInfoHeaderSize; }
  uint32_t paletteEntries() const { return empty() ? 0 : (1u << bitCount()); }
  uint32_t pixelOffset() const { return kInfoHeaderSize + 4 * paletteEntries(); }

  // Colour index of pixel (x, y) of one image, y counted from the top.
  int pixel(int32_t image, int x, int y) const;
  void setPixel(int32_t image, int x, int y, int value);
  // A 32-bit word of the info header (20: image size, 24 and 28: resolution, 32 and 36: colours used and
  // important); these carry nothing the strip depends on and are kept as stored.
  uint32_t headerWord(uint32_t offset) const { return offset + 4 <= kInfoHeaderSize && !empty() ? readU32(offset) : 0; }
  void setHeaderWord(uint32_t offset, uint32_t value);
  // Palette entry i as 0x00RRGGBB plus the reserved byte in bits 24 to 31.
  uint32_t paletteEntry(uint32_t i) const;
  void setPaletteEntry(uint32_t i, uint32_t value);

  // The standard 16-colour palette as 0x00RRGGBB.
  static const uint32_t kStandardPalette[16];

 private:
  uint32_t readU32(uint32_t off) const;
  std::vector<uint8_t> bytes_;
};

}  // namespace osk
