#include "frame/picture_strip.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using frame::Rgb;

const frame::ButtonColours kColours{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};

void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

// A packed bitmap: header, colour table, and the rows as given (already padded).
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bits, const std::vector<Rgb>& palette,
                         const std::vector<uint8_t>& rows, uint32_t compression = 0,
                         uint32_t used = 0) {
  std::vector<uint8_t> v;
  Put32(v, 40);
  Put32(v, static_cast<uint32_t>(width));
  Put32(v, static_cast<uint32_t>(height));
  Put16(v, 1);
  Put16(v, bits);
  Put32(v, compression);
  Put32(v, static_cast<uint32_t>(rows.size()));
  Put32(v, 2835);
  Put32(v, 2835);
  Put32(v, used);
  Put32(v, 0);
  for (const Rgb& c : palette) {
    v.push_back(c.b);
    v.push_back(c.g);
    v.push_back(c.r);
    v.push_back(0);
  }
  v.insert(v.end(), rows.begin(), rows.end());
  return v;
}

const Rgb kBlack{0, 0, 0}, kGrey{128, 128, 128}, kSilver{192, 192, 192}, kWhite{255, 255, 255},
    kRed{200, 0, 0};

// The palette of the toolbar's art: the standard colours plus one of its own.
std::vector<Rgb> Palette16() {
  std::vector<Rgb> p(16, kRed);
  p[0] = kBlack;
  p[1] = kGrey;
  p[2] = kSilver;
  p[3] = kWhite;
  return p;
}

TEST(PictureStrip, DecodesEachDepthMapsTheStandardColoursAndKeepsOthers) {
  struct Case {
    const char* what;
    std::vector<uint8_t> dib;
    // Pixels at (0,0) (1,0) (0,1) (1,1) of the square, top down.
    Rgb expect[4];
  };
  const Case cases[] = {
      // 4 bits, bottom up: the last row of data is the top row.
      {"4-bit bottom-up",
       Dib(2, 2, 4, Palette16(), {0x23, 0, 0, 0, /*top:*/ 0x01, 0, 0, 0}),
       {kColours.text, kColours.shadow, kColours.face, kColours.highlight}},
      {"1-bit top-down",
       Dib(2, -2, 1, {kWhite, kRed}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}),
       {kColours.highlight, kRed, kRed, kColours.highlight}},
      {"8-bit with a short colour table",
       Dib(2, -2, 8, {kRed, kBlack}, {1, 0, 0, 0, 0, 1, 0, 0}, 0, 2),
       {kColours.text, kRed, kRed, kColours.text}},
      {"24-bit",
       Dib(2, -2, 24, {}, {0, 0, 0, 12, 34, 56, 0, 0, 192, 192, 192, 255, 255, 255, 0, 0}),
       {kColours.text, Rgb{56, 34, 12}, kColours.face, kColours.highlight}},
  };
  for (const Case& c : cases) {
    frame::PictureStrip strip(3, 2, kColours);
    ASSERT_TRUE(strip.Place(1, c.dib.data(), c.dib.size())) << c.what;
    const Rgb got[4] = {strip.Pixel(2, 0), strip.Pixel(3, 0), strip.Pixel(2, 1), strip.Pixel(3, 1)};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i], c.expect[i]) << c.what << " pixel " << i;
    // The squares on either side stay in the face colour.
    EXPECT_EQ(strip.Pixel(1, 1), kColours.face) << c.what;
    EXPECT_EQ(strip.Pixel(4, 0), kColours.face) << c.what;
  }
}

TEST(PictureStrip, RefusesWhatIsNotAnUncompressedBitmapAndLeavesTheSquare) {
  const std::vector<uint8_t> good = Dib(2, 2, 4, Palette16(), {0x00, 0, 0, 0, 0x00, 0, 0, 0});
  std::vector<uint8_t> shortBits(good.begin(), good.end() - 1);
  std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 30);
  struct Case {
    const char* what;
    std::vector<uint8_t> dib;
    int index;
  };
  const Case cases[] = {
      {"bits cut short", shortBits, 0},
      {"header cut short", shortHeader, 0},
      {"run-length compressed", Dib(2, 2, 4, Palette16(), {0, 0, 0, 0, 0, 0, 0, 0}, 2), 0},
      {"index past the colour table", Dib(2, -1, 8, {kRed}, {0, 5, 0, 0}, 0, 1), 0},
      {"16 bits a pixel", Dib(2, -1, 16, {}, {0, 0, 0, 0}), 0},
      {"zero width", Dib(0, 2, 24, {}, {}), 0},
      {"square out of range", good, 2},
      {"negative square", good, -1},
  };
  for (const Case& c : cases) {
    frame::PictureStrip strip(2, 2, kColours);
    EXPECT_FALSE(strip.Place(c.index, c.dib.data(), c.dib.size())) << c.what;
    for (int x = 0; x < strip.Width(); ++x)
      for (int y = 0; y < strip.Height(); ++y) EXPECT_EQ(strip.Pixel(x, y), kColours.face) << c.what;
  }
  frame::PictureStrip strip(1, 2, kColours);
  EXPECT_FALSE(strip.Place(0, nullptr, 100));
}

TEST(PictureStrip, CutsALargerPictureAndPadsRowsToFourBytes) {
  // 3×3 picture into 2×2 squares: only its top-left 2×2 shows.
  std::vector<uint8_t> rows = {0x00, 0x00, 0, 0, 0x33, 0x30, 0, 0, 0x33, 0x30, 0, 0};  // bottom up
  const std::vector<uint8_t> dib = Dib(3, 3, 4, Palette16(), rows);
  frame::PictureStrip strip(3, 2, kColours);
  ASSERT_TRUE(strip.Place(0, dib.data(), dib.size()));
  EXPECT_EQ(strip.Pixel(0, 0), kColours.highlight);
  EXPECT_EQ(strip.Pixel(1, 1), kColours.highlight);
  EXPECT_EQ(strip.Pixel(2, 0), kColours.face);  // the next square
  EXPECT_EQ(strip.Width(), 6);
  EXPECT_EQ(strip.Stride(), 20);  // 18 bytes of pixels padded to 20
  EXPECT_EQ(strip.Bits().size(), 40u);
}

}  // namespace
