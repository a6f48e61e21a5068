// Code page 932 text for fuzz targets: names made from raw bytes and the whole-character check.
#pragma once
#include <cstddef>
#include <string>

#include "os/mbcs.h"

namespace fuzztext {

inline bool IsTrail(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Text as a file name can hold it: valid double-byte characters, no quote, no NUL, no blank
// at the start.
inline std::string AsName(const std::string& raw) {
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(raw[i]);
    if (mbcs::IsLeadByte(c)) {
      if (i + 1 < raw.size() && IsTrail(static_cast<unsigned char>(raw[i + 1]))) {
        out += raw[i];
        out += raw[++i];
      }
      continue;
    }
    if (c == '"' || c == 0 || ((c == ' ' || c == '\t') && out.empty())) continue;
    out += raw[i];
  }
  return out;
}

// True when every lead byte of text is followed by a trail byte.
inline bool IsValidText(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!mbcs::IsLeadByte(static_cast<unsigned char>(text[i]))) continue;
    if (i + 1 >= text.size() || !IsTrail(static_cast<unsigned char>(text[i + 1]))) return false;
    ++i;
  }
  return true;
}

}  // namespace fuzztext
