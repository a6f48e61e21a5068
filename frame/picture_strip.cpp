#include "frame/picture_strip.h"

#include <algorithm>

namespace frame {
namespace {

uint32_t Read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kNoCompression = 0;

}  // namespace

PictureStrip::PictureStrip(int count, int size, const ButtonColours& colours)
    : count_(std::max(count, 0)),
      size_(std::max(size, 0)),
      width_(count_ * size_),
      stride_((width_ * 3 + 3) & ~3),
      colours_(colours),
      bits_(static_cast<size_t>(stride_) * static_cast<size_t>(size_), 0) {
  for (int y = 0; y < size_; ++y)
    for (int x = 0; x < width_; ++x) Put(x, y, colours_.face);
}

void PictureStrip::Put(int x, int y, Rgb c) {
  uint8_t* p = &bits_[static_cast<size_t>(y) * stride_ + static_cast<size_t>(x) * 3];
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

Rgb PictureStrip::Pixel(int x, int y) const {
  const uint8_t* p = &bits_[static_cast<size_t>(y) * stride_ + static_cast<size_t>(x) * 3];
  return Rgb{p[2], p[1], p[0]};
}

Rgb PictureStrip::Mapped(Rgb c) const {
  if (c == Rgb{0, 0, 0}) return colours_.text;
  if (c == Rgb{128, 128, 128}) return colours_.shadow;
  if (c == Rgb{192, 192, 192}) return colours_.face;
  if (c == Rgb{255, 255, 255}) return colours_.highlight;
  return c;
}

bool PictureStrip::Place(int index, const uint8_t* dib, size_t length) {
  if (index < 0 || index >= count_ || !dib || length < kInfoHeaderSize) return false;
  const uint32_t headerSize = Read32(dib);
  if (headerSize < kInfoHeaderSize || headerSize > length) return false;
  const int32_t width = static_cast<int32_t>(Read32(dib + 4));
  const int32_t rawHeight = static_cast<int32_t>(Read32(dib + 8));
  const uint16_t planes = Read16(dib + 12);
  const uint16_t bitCount = Read16(dib + 14);
  const uint32_t compression = Read32(dib + 16);
  uint32_t used = Read32(dib + 32);
  if (planes != 1 || compression != kNoCompression || width <= 0 || width > 4096 ||
      rawHeight == 0 || rawHeight < -4096 || rawHeight > 4096)
    return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
    return false;
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;

  // The colour table of a palette picture: all its entries unless the header says fewer.
  std::vector<Rgb> palette;
  size_t offset = headerSize;
  if (bitCount <= 8) {
    const uint32_t most = 1u << bitCount;
    if (used == 0 || used > most) used = most;
    if (offset + static_cast<size_t>(used) * 4 > length) return false;
    for (uint32_t i = 0; i < used; ++i) {
      const uint8_t* q = dib + offset + static_cast<size_t>(i) * 4;
      palette.push_back(Rgb{q[2], q[1], q[0]});
    }
    offset += static_cast<size_t>(used) * 4;
  }
  const size_t rowBytes = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  if (offset + rowBytes * static_cast<size_t>(height) > length) return false;

  // Decoded whole first, so that a bad picture leaves its square untouched.
  const int rows = std::min(height, size_);
  const int columns = std::min(width, size_);
  std::vector<Rgb> square;
  square.reserve(static_cast<size_t>(rows) * static_cast<size_t>(columns));
  for (int y = 0; y < rows; ++y) {
    const int sourceRow = bottomUp ? height - 1 - y : y;
    const uint8_t* row = dib + offset + rowBytes * static_cast<size_t>(sourceRow);
    for (int x = 0; x < columns; ++x) {
      if (bitCount <= 8) {
        const size_t bit = static_cast<size_t>(x) * bitCount;
        const unsigned shift = 8 - bitCount - static_cast<unsigned>(bit % 8);
        const unsigned value = (row[bit / 8] >> shift) & ((1u << bitCount) - 1);
        if (value >= palette.size()) return false;
        square.push_back(palette[value]);
      } else {
        const uint8_t* p = row + static_cast<size_t>(x) * (bitCount / 8);
        square.push_back(Rgb{p[2], p[1], p[0]});
      }
    }
  }
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x)
      Put(index * size_ + x, y, Mapped(square[static_cast<size_t>(y) * columns + x]));
  return true;
}

}  // namespace frame
