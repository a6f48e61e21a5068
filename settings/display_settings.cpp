#include "settings/display_settings.h"

#include <cstdio>
#include <cstring>

#include "config/config_file.h"
#include "os/filesystem.h"
#include "os/services.h"
#include "os/types.h"
#include "table/text_compare.h"

namespace settings {

namespace {

// The seven colours of a pane in slot order.
constexpr frame::Rgb frame::PaneSettings::*kSlotMembers[kColourSlots] = {
    &frame::PaneSettings::text,       &frame::PaneSettings::hidden,
    &frame::PaneSettings::readOnly,   &frame::PaneSettings::system,
    &frame::PaneSettings::background, &frame::PaneSettings::selected,
    &frame::PaneSettings::focus,
};

constexpr std::size_t kCustomColourBytes = sizeof(CustomColours);
static_assert(kCustomColourBytes == 64);

}  // namespace

ColourSlots ColourSlotsOf(const frame::PaneSettings& p) {
  ColourSlots out;
  for (int i = 0; i < kColourSlots; ++i) out[static_cast<std::size_t>(i)] = p.*kSlotMembers[i];
  return out;
}

void SetColourSlots(frame::PaneSettings& p, const ColourSlots& slots) {
  for (int i = 0; i < kColourSlots; ++i) p.*kSlotMembers[i] = slots[static_cast<std::size_t>(i)];
}

CustomColours ReadCustomColours(const std::string& path) {
  CustomColours white;
  white.fill(kWhite);
  auto f = os::Fs().Open(path.c_str(), os::kGenericRead, os::kShareRead, os::kOpenExisting);
  uint64_t size = 0;
  if (!f || !f->Size(&size) || size != kCustomColourBytes) return white;
  unsigned char bytes[kCustomColourBytes];
  uint32_t done = 0;
  if (!f->Read(bytes, sizeof(bytes), &done) || done != sizeof(bytes)) return white;
  CustomColours out;
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<uint32_t>(bytes[4 * i]) | static_cast<uint32_t>(bytes[4 * i + 1]) << 8 |
             static_cast<uint32_t>(bytes[4 * i + 2]) << 16 |
             static_cast<uint32_t>(bytes[4 * i + 3]) << 24;
  return out;
}

bool WriteCustomColours(const std::string& path, const CustomColours& colours) {
  unsigned char bytes[kCustomColourBytes];
  for (std::size_t i = 0; i < colours.size(); ++i)
    for (std::size_t b = 0; b < 4; ++b)
      bytes[4 * i + b] = static_cast<unsigned char>(colours[i] >> (8 * b));
  const std::string temp = path + ".new";
  os::FileSystem& fs = os::Fs();
  {
    auto out = fs.Open(temp.c_str(), os::kGenericWrite, os::kShareNone, os::kCreateAlways);
    if (!out) return false;
    uint32_t done = 0;
    if (!out->Write(bytes, sizeof(bytes), &done) || done != sizeof(bytes)) {
      out.reset();
      fs.DeleteFile(temp.c_str());
      return false;
    }
  }
  if (!fs.ReplaceFile(temp.c_str(), path.c_str())) {
    fs.DeleteFile(temp.c_str());
    return false;
  }
  return true;
}

std::string FormatSpacing(long value) {
  if (value == 0) return std::string();
  char buf[16];
  std::snprintf(buf, sizeof(buf), "%3ld", value);
  return buf;
}

long ParseSpacing(const std::string& text) {
  const long v = config::ParseLong(text.substr(0, 9).c_str());
  return v > 0 ? v : 0;
}

bool ViewDataChanged(const std::string& oldTypes, uint16_t oldBits, const std::string& newTypes,
                     uint16_t newBits) {
  return oldBits != newBits || !table::SameTextNoCase(oldTypes.c_str(), newTypes.c_str());
}

}  // namespace settings
