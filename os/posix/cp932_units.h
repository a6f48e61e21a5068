// Code page 932 text as a sequence of characters ("units"): a lead byte followed by a trail
// byte is one unit (lead << 8 | trail), any other byte is a unit of its own. Names are compared
// and matched unit by unit, so a trail byte 0x5C ("\") or 0x7C ("|") is never taken for a
// separator or a wildcard, and case folding never touches a trail byte that looks like a letter.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace os::posix {

using Units = std::vector<uint16_t>;

inline bool IsCp932Lead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline bool IsCp932Trail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// The length in bytes (1 or 2) of the character starting at text[i]. A lead byte followed by a
// byte that cannot be a trail byte stands alone, as the conversion to Unicode treats it, so a
// "/" or "." after a stray lead byte still counts as a separator or a dot.
inline std::size_t UnitLength(std::string_view text, std::size_t i) {
  return (IsCp932Lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
          IsCp932Trail(static_cast<unsigned char>(text[i + 1])))
             ? 2
             : 1;
}

Units ToUnits(std::string_view text);
std::string FromUnits(const Units& units);

// Upper case as Windows compares names: ASCII letters and the double-byte Latin, Greek,
// Cyrillic letters and small Roman numerals that CP932 holds in both cases.
uint16_t FoldUnit(uint16_t u);
inline uint16_t LowerAscii(uint16_t u) { return (u >= 'A' && u <= 'Z') ? u + 32 : u; }

// Case-insensitive equality of two CP932 names.
bool SameNameNoCase(std::string_view a, std::string_view b);
// A key for case-insensitive lookups: equal for names that SameNameNoCase calls equal.
std::string FoldedName(std::string_view name);

}  // namespace os::posix
