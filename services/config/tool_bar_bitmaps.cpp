#include "services/config/tool_bar_bitmaps.h"

#include <algorithm>

namespace osk {
namespace {

uint32_t u32(std::span<const uint8_t> s, size_t off) {
  return s[off] | (s[off + 1] << 8) | (s[off + 2] << 16) | (static_cast<uint32_t>(s[off + 3]) << 24);
}
uint16_t u16(std::span<const uint8_t> s, size_t off) { return static_cast<uint16_t>(s[off] | (s[off + 1] << 8)); }

void put32(std::vector<uint8_t>& v, size_t off, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[off + i] = static_cast<uint8_t>(x >> (8 * i));
}

}  // namespace

const uint32_t CToolBarBitmaps::kStandardPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

uint32_t CToolBarBitmaps::stripLength(std::span<const uint8_t> section) {
  if (section.size() < kInfoHeaderSize) return 0;
  const uint32_t headerSize = u32(section, 0);
  const int32_t width = static_cast<int32_t>(u32(section, 4));
  const int32_t height = static_cast<int32_t>(u32(section, 8));
  const uint16_t planes = u16(section, 12);
  const uint16_t bitCount = u16(section, 14);
  const uint32_t compression = u32(section, 16);
  if (headerSize != kInfoHeaderSize || planes != 1 || compression != 0) return 0;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8) return 0;
  if (height != kCellHeight || width <= 0 || width % kCellWidth != 0) return 0;
  const uint64_t images = static_cast<uint64_t>(width) / kCellWidth;
  const uint64_t rowBytes = ((bitCount * kCellWidth + 7) >> 3) * images;
  // A bitmap made from the strip reads rows padded to four bytes; a shape whose stored rows are shorter than that
  // (one bit per pixel and an odd number of images) would make it read past the strip.
  const uint64_t paddedRow = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
  if (paddedRow != rowBytes) return 0;
  const uint64_t length = kInfoHeaderSize + (4ull << bitCount) + rowBytes * kCellHeight;
  if (length > section.size()) return 0;
  return static_cast<uint32_t>(length);
}

bool CToolBarBitmaps::assign(std::span<const uint8_t> section) {
  if (section.empty()) {
    bytes_.clear();
    return true;
  }
  const uint32_t length = stripLength(section);
  if (length == 0) return false;
  bytes_.assign(section.begin(), section.begin() + length);
  return true;
}

void CToolBarBitmaps::makeBlank(int32_t count) {
  if (count <= 0) {
    bytes_.clear();
    return;
  }
  const uint32_t rows = 8u * static_cast<uint32_t>(count);
  bytes_.assign(kInfoHeaderSize + 64 + rows * kCellHeight, 0x77);
  std::fill(bytes_.begin(), bytes_.begin() + kInfoHeaderSize + 64, 0);
  put32(bytes_, 0, kInfoHeaderSize);
  put32(bytes_, 4, static_cast<uint32_t>(count * kCellWidth));
  put32(bytes_, 8, kCellHeight);
  bytes_[12] = 1;
  bytes_[14] = 4;
  for (uint32_t i = 0; i < 16; ++i) setPaletteEntry(i, kStandardPalette[i]);
}

uint32_t CToolBarBitmaps::readU32(uint32_t off) const { return u32(bytes_, off); }

int CToolBarBitmaps::bitCount() const { return empty() ? 0 : u16(bytes_, 14); }
int32_t CToolBarBitmaps::width() const { return empty() ? 0 : static_cast<int32_t>(readU32(4)); }
int32_t CToolBarBitmaps::imageCount() const { return width() / kCellWidth; }
uint32_t CToolBarBitmaps::rowBytes() const {
  return empty() ? 0 : ((bitCount() * kCellWidth + 7) >> 3) * static_cast<uint32_t>(imageCount());
}

int CToolBarBitmaps::pixel(int32_t image, int x, int y) const {
  if (image < 0 || image >= imageCount() || x < 0 || x >= kCellWidth || y < 0 || y >= kCellHeight) return 0;
  const int bpp = bitCount();
  const uint32_t px = static_cast<uint32_t>(image) * kCellWidth + x;
  // Rows are stored bottom-up.
  const uint32_t row = pixelOffset() + rowBytes() * static_cast<uint32_t>(kCellHeight - 1 - y);
  const uint32_t bit = px * bpp;
  const uint8_t byte = bytes_[row + bit / 8];
  const int shift = 8 - bpp - static_cast<int>(bit % 8);
  return (byte >> shift) & ((1 << bpp) - 1);
}

void CToolBarBitmaps::setPixel(int32_t image, int x, int y, int value) {
  if (image < 0 || image >= imageCount() || x < 0 || x >= kCellWidth || y < 0 || y >= kCellHeight) return;
  const int bpp = bitCount();
  const uint32_t px = static_cast<uint32_t>(image) * kCellWidth + x;
  const uint32_t row = pixelOffset() + rowBytes() * static_cast<uint32_t>(kCellHeight - 1 - y);
  const uint32_t bit = px * bpp;
  uint8_t& byte = bytes_[row + bit / 8];
  const int shift = 8 - bpp - static_cast<int>(bit % 8);
  const int mask = ((1 << bpp) - 1) << shift;
  byte = static_cast<uint8_t>((byte & ~mask) | ((value << shift) & mask));
}

void CToolBarBitmaps::setHeaderWord(uint32_t offset, uint32_t value) {
  // The words that describe the strip's shape are not to be changed behind its back.
  if (offset < 20 || offset + 4 > kInfoHeaderSize || empty()) return;
  put32(bytes_, offset, value);
}

uint32_t CToolBarBitmaps::paletteEntry(uint32_t i) const {
  if (i >= paletteEntries()) return 0;
  const uint32_t off = paletteOffset() + 4 * i;
  // Stored as blue, green, red, reserved.
  return bytes_[off + 2] << 16 | bytes_[off + 1] << 8 | bytes_[off] | static_cast<uint32_t>(bytes_[off + 3]) << 24;
}

void CToolBarBitmaps::setPaletteEntry(uint32_t i, uint32_t value) {
  if (i >= paletteEntries()) return;
  const uint32_t off = paletteOffset() + 4 * i;
  bytes_[off] = static_cast<uint8_t>(value);
  bytes_[off + 1] = static_cast<uint8_t>(value >> 8);
  bytes_[off + 2] = static_cast<uint8_t>(value >> 16);
  bytes_[off + 3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace osk
