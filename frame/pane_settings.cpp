#include "frame/pane_settings.h"

#include <cstdio>
#include <vector>

#include "config/config_file.h"
#include "os/mbcs.h"

namespace frame {
namespace {

struct ColourKeys {
  const char* prefix;
  Rgb PaneSettings::*field;
};

// The order in which the colours are written.
const ColourKeys kColours[] = {
    {"textcol", &PaneSettings::text},     {"bkcol", &PaneSettings::background},
    {"system", &PaneSettings::system},    {"hidden", &PaneSettings::hidden},
    {"readonly", &PaneSettings::readOnly}, {"selected", &PaneSettings::selected},
    {"focus", &PaneSettings::focus},
};

uint8_t Component(const std::string& section, const std::string& key, uint8_t def) {
  char d[8];
  std::snprintf(d, sizeof(d), "%d", def);
  long v = config::ReadConfigLong(section, key.c_str(), d);
  return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

PaneSettings::PaneSettings() { SetFaceName(font, kDefaultFaceName); }

void SetFaceName(FontData& f, const char* name) {
  mbcs::CopyBounded(f.faceName, sizeof(f.faceName), name ? name : "");
}

std::string FormatFontData(const FontData& f) {
  char buf[256];
  std::snprintf(buf, sizeof(buf), "%ld;%ld;%ld;%ld;%ld;%d;%d;%d;%d;%d;%d;%d;%d", f.height,
                f.width, f.escapement, f.orientation, f.weight, f.italic, f.underline,
                f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality,
                f.pitchAndFamily);
  return buf;
}

bool ParseFontData(const std::string& text, FontData& f) {
  size_t separators = 0;
  for (char c : text) separators += (c == ';');
  if (separators < 12) return false;
  std::vector<long> v;
  size_t pos = 0;
  for (int i = 0; i < 13; ++i) {
    size_t end = text.find(';', pos);
    v.push_back(config::ParseLong(text.substr(pos, end == std::string::npos ? std::string::npos
                                                                          : end - pos)
                                   .c_str()));
    if (end == std::string::npos) break;
    pos = end + 1;
  }
  v.resize(13, 0);
  auto byte = [](long x) { return static_cast<uint8_t>(x & 0xFF); };
  // Sizes, angles and weight beyond what the font dialog can choose keep their defaults: a
  // hostile file would otherwise ask for a font thousands of pixels high.
  const FontData defaults;
  auto within = [](long x, long limit, long otherwise) {
    return x >= -limit && x <= limit ? x : otherwise;
  };
  f.height = within(v[0], kMaxFontPixels, defaults.height);
  f.width = within(v[1], kMaxFontPixels, defaults.width);
  f.escapement = within(v[2], 3600, defaults.escapement);
  f.orientation = within(v[3], 3600, defaults.orientation);
  f.weight = v[4] >= 0 && v[4] <= 1000 ? v[4] : defaults.weight;
  f.italic = byte(v[5]);
  f.underline = byte(v[6]);
  f.strikeOut = byte(v[7]);
  f.charSet = byte(v[8]);
  f.outPrecision = byte(v[9]);
  f.clipPrecision = byte(v[10]);
  f.quality = byte(v[11]);
  f.pitchAndFamily = byte(v[12]);
  return true;
}

PaneSettings ReadPaneSettings(int s) {
  PaneSettings p;
  std::string sec = config::InstSection(s);
  long x1 = config::ReadConfigLong(sec, "x1", "-1");
  if (x1 == -1) {
    sec = config::InstSection(-1);
    x1 = config::ReadConfigLong(sec, "x1", "0");
  }
  p.x1 = x1;
  p.y1 = config::ReadConfigLong(sec, "y1", "0");
  for (const ColourKeys& c : kColours) {
    Rgb& rgb = p.*(c.field);
    std::string k = c.prefix;
    rgb.r = Component(sec, k + "_r", rgb.r);
    rgb.g = Component(sec, k + "_g", rgb.g);
    rgb.b = Component(sec, k + "_b", rgb.b);
  }
  ParseFontData(config::ReadConfigString(sec, "fontdata", ""), p.font);
  SetFaceName(p.font, config::ReadConfigString(sec, "fontname", kDefaultFaceName).c_str());
  return p;
}

void WritePaneSettings(int s, const PaneSettings& p) {
  std::string sec = config::InstSection(s);
  config::WriteConfigLong(sec, "x1", p.x1);
  config::WriteConfigLong(sec, "y1", p.y1);
  for (const ColourKeys& c : kColours) {
    const Rgb& rgb = p.*(c.field);
    std::string k = c.prefix;
    config::WriteConfigLong(sec, (k + "_r").c_str(), rgb.r);
    config::WriteConfigLong(sec, (k + "_g").c_str(), rgb.g);
    config::WriteConfigLong(sec, (k + "_b").c_str(), rgb.b);
  }
  config::WriteConfigString(sec, "fontdata", FormatFontData(p.font).c_str());
  config::WriteConfigString(sec, "fontname", p.font.faceName);
}

}  // namespace frame
