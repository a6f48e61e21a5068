// The persistent settings of a pane: scroll origin, the seven colours and the font.
#pragma once
#include <cstdint>
#include <string>

namespace frame {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// LOGFONTA's fields, kept portable. faceName holds at most 31 bytes and a terminator.
struct FontData {
  long height = -12, width = 0, escapement = 0, orientation = 0, weight = 0;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 128, outPrecision = 4,
          clipPrecision = 0, quality = 0, pitchAndFamily = 49;
  char faceName[32] = {};
  bool operator==(const FontData&) const = default;
};

inline constexpr const char* kDefaultFaceName = "ＭＳ ゴシック";
// The largest font height or width (pixels, either sign) taken from the configuration: the
// font dialog's largest size, 72 points, at twice the usual 96 dots per inch.
inline constexpr long kMaxFontPixels = 192;

struct PaneSettings {
  long x1 = 0, y1 = 0;  // scroll origin
  Rgb text{0, 0, 0};
  Rgb background{255, 255, 255};
  Rgb system{255, 0, 255};
  Rgb hidden{0, 0, 255};
  Rgb readOnly{0, 128, 0};
  Rgb selected{255, 0, 0};
  Rgb focus{0, 0, 192};
  FontData font;
  PaneSettings();
};

// "%d;...;%d" of the 13 numbers; parsing gives false (font untouched) when the text has fewer
// than 12 ";".
std::string FormatFontData(const FontData& f);
bool ParseFontData(const std::string& text, FontData& f);
// Copies a face name into the 32-byte field, cut at 31 bytes without splitting a character.
void SetFaceName(FontData& f, const char* name);

// Reads the pane keys of section number s; a section without x1 takes all of them from INST-1.
PaneSettings ReadPaneSettings(int s);
void WritePaneSettings(int s, const PaneSettings& p);

}  // namespace frame
