// The toolbar's pictures side by side in one bitmap, composed from the packed device-independent
// bitmaps of the resources: one decoding pass instead of a system bitmap per picture.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace frame {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// What the standard picture colours become, as the system maps a button's picture: black the
// button text, dark grey the shadow, light grey the face, white the highlight.
struct ButtonColours {
  Rgb text, shadow, face, highlight;
};

class PictureStrip {
 public:
  // count squares of size pixels, all in the face colour until a picture is placed.
  PictureStrip(int count, int size, const ButtonColours& colours);

  // Decodes a packed bitmap (header, colour table, bits; 1, 4, 8, 24 or 32 bits per pixel,
  // uncompressed) into square index, its colours mapped. A picture larger than the square is
  // cut, a smaller one sits at the top left. False, leaving the square as it was, when the data
  // is not such a bitmap or is shorter than its header says.
  bool Place(int index, const uint8_t* dib, size_t length);

  int Width() const { return width_; }
  int Height() const { return size_; }
  // Rows top down, three bytes a pixel in blue, green, red order, each row padded to 4 bytes.
  int Stride() const { return stride_; }
  const std::vector<uint8_t>& Bits() const { return bits_; }
  Rgb Pixel(int x, int y) const;

 private:
  Rgb Mapped(Rgb c) const;
  void Put(int x, int y, Rgb c);

  int count_, size_, width_, stride_;
  ButtonColours colours_;
  std::vector<uint8_t> bits_;
};

}  // namespace frame
