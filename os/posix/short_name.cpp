#include "os/posix/short_name.h"

#include <iconv.h>

#include <cstring>
#include <vector>

#include "os/posix/cp932_units.h"

namespace os::posix {
namespace {

// Characters that may not appear in an 8.3 name; they become "_" in an alias.
bool IsInvalidDosChar(uint16_t c) {
  if (c > 0x7F) return true;
  return c != 0 && std::strchr("*?<>|\"+=,;[] ~.", c) != nullptr;
}

// The hash runs over the UTF-16 code units of the name, lower-cased, as Wine computes it.
uint16_t LowerUtf16(uint16_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // full-width Latin
  if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return c + 0x20;  // Greek
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // Cyrillic
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
  if (c >= 0x2160 && c <= 0x216F) return c + 0x10;  // Roman numerals
  return c;
}

std::vector<uint16_t> ToUtf16(std::string_view name) {
  std::vector<uint16_t> out;
  bool ascii = true;
  for (char c : name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (!ascii) {
    thread_local iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd != reinterpret_cast<iconv_t>(-1)) {
      std::vector<char> buf(name.size() * 2 + 4);
      std::string in(name);
      char* inp = in.data();
      size_t inLeft = in.size();
      char* outp = buf.data();
      size_t outLeft = buf.size();
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1)) {
        for (char* p = buf.data(); p + 1 < outp; p += 2)
          out.push_back(static_cast<uint16_t>(static_cast<unsigned char>(p[0]) |
                                              static_cast<unsigned char>(p[1]) << 8));
        return out;
      }
    }
  }
  // ASCII, or bytes that are not valid CP932: one unit per character.
  for (uint16_t u : ToUnits(name)) out.push_back(u);
  return out;
}

}  // namespace

bool IsLegal83Name(std::string_view name) {
  if (name.size() > 12) return false;
  if (!name.empty() && name[0] == '.') return name == "." || name == "..";
  int dot = -1;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c > 0x7F || std::strchr("*?<>|\"+=,;[] :/\\", c)) return false;
    if (c == '.') {
      if (dot != -1) return false;
      dot = static_cast<int>(i);
    }
  }
  if (dot == -1) return name.size() <= 8;
  if (dot > 8) return false;
  int after = static_cast<int>(name.size()) - dot;
  return after > 1 && after < 5;
}

std::string ShortAlias(std::string_view name) {
  if (name.empty() || IsLegal83Name(name)) return std::string();
  std::vector<uint16_t> w = ToUtf16(name);
  const std::size_t len = w.size();

  uint16_t hash = 0xBEEF;
  for (std::size_t i = 0; i + 1 < len; ++i)
    hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ LowerUtf16(w[i]) ^
                                 (LowerUtf16(w[i + 1]) << 8));
  hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ LowerUtf16(w[len - 1]));

  // The extension starts at the last dot that is neither leading nor the last character.
  std::size_t p = 0;
  while (p < len && w[p] == '.') ++p;
  std::size_t ext = len;
  for (std::size_t i = p + 1; i + 1 < len; ++i)
    if (w[i] == '.') ext = i;

  static const char kHashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  std::string out;
  int left = 4;
  for (std::size_t i = 0; left > 0 && i < len && i != ext; ++i) {
    if (w[i] == '.') continue;
    out += IsInvalidDosChar(w[i]) ? '_' : static_cast<char>(w[i]);
    --left;
  }
  while (left-- >= 0) out += '~';
  out += kHashChars[(hash >> 10) & 0x1F];
  out += kHashChars[(hash >> 5) & 0x1F];
  out += kHashChars[hash & 0x1F];
  if (ext < len) {
    out += '.';
    for (std::size_t i = ext + 1; i < len && i < ext + 4; ++i)
      out += IsInvalidDosChar(w[i]) ? '_' : static_cast<char>(w[i]);
  }
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return out;
}

}  // namespace os::posix
