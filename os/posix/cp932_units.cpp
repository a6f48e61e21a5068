#include "os/posix/cp932_units.h"

namespace os::posix {

Units ToUnits(std::string_view text) {
  Units out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = UnitLength(text, i);
    uint16_t u = static_cast<unsigned char>(text[i]);
    if (n == 2) u = static_cast<uint16_t>(u << 8 | static_cast<unsigned char>(text[i + 1]));
    out.push_back(u);
    i += n;
  }
  return out;
}

std::string FromUnits(const Units& units) {
  std::string out;
  out.reserve(units.size() * 2);
  for (uint16_t u : units) {
    if (u > 0xFF) out += static_cast<char>(u >> 8);
    out += static_cast<char>(u & 0xFF);
  }
  return out;
}

uint16_t FoldUnit(uint16_t u) {
  if (u < 0x80) return (u >= 'a' && u <= 'z') ? static_cast<uint16_t>(u - 32) : u;
  if (u < 0x8100) return u;
  if (u >= 0x8281 && u <= 0x829A) return static_cast<uint16_t>(u - 0x21);  // full-width a-z
  if (u >= 0x83BF && u <= 0x83D6) return static_cast<uint16_t>(u - 0x20);  // Greek
  if (u >= 0x8470 && u <= 0x847E) return static_cast<uint16_t>(u - 0x30);  // Cyrillic a-n
  if (u >= 0x8480 && u <= 0x8491) return static_cast<uint16_t>(u - 0x31);  // Cyrillic o-ya
  if (u >= 0xFA40 && u <= 0xFA49) return static_cast<uint16_t>(u - 0xFA40 + 0x8754);  // i-x
  if (u >= 0xFA4A && u <= 0xFA53) return static_cast<uint16_t>(u - 0xFA4A + 0x8754);  // I-X
  return u;
}

bool SameNameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldedName(a) == FoldedName(b);
}

std::string FoldedName(std::string_view name) {
  Units u = ToUnits(name);
  for (auto& c : u) c = FoldUnit(c);
  return FromUnits(u);
}

}  // namespace os::posix
