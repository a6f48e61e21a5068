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

// The UTF-16 code units of a CP932 name, into buf (room for 2 * name.size() + 2 units) when
// that is big enough, else into spill. Returns the number of units and points *units at them.
// ASCII names convert byte for byte; bytes that are not valid CP932 give one unit per
// character as the name is read elsewhere.
std::size_t ToUtf16(std::string_view name, uint16_t* buf, std::size_t bufUnits,
                    std::vector<uint16_t>& spill, const uint16_t** units) {
  bool ascii = true;
  for (char c : name) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  const std::size_t need = name.size() * 2 + 2;
  uint16_t* out = buf;
  if (need > bufUnits) {
    spill.resize(need);
    out = spill.data();
  }
  *units = out;
  if (ascii) {
    for (std::size_t i = 0; i < name.size(); ++i) out[i] = static_cast<unsigned char>(name[i]);
    return name.size();
  }
  thread_local iconv_t cd = iconv_open("UTF-16LE", "CP932");
  if (cd != reinterpret_cast<iconv_t>(-1)) {
    char* inp = const_cast<char*>(name.data());  // iconv does not write through it
    size_t inLeft = name.size();
    char* outp = reinterpret_cast<char*>(out);
    size_t outLeft = need * 2;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1)) {
      const std::size_t bytes = static_cast<std::size_t>(outp - reinterpret_cast<char*>(out));
      const unsigned char* p = reinterpret_cast<const unsigned char*>(out);
      std::size_t n = bytes / 2;
      for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint16_t>(p[2 * i] | p[2 * i + 1] << 8);  // little endian
      return n;
    }
  }
  std::size_t n = 0;
  for (std::size_t i = 0; i < name.size();) {
    std::size_t len = UnitLength(name, i);
    uint16_t u = static_cast<unsigned char>(name[i]);
    if (len == 2) u = static_cast<uint16_t>(u << 8 | static_cast<unsigned char>(name[i + 1]));
    out[n++] = u;
    i += len;
  }
  return n;
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

std::size_t ShortAliasInto(std::string_view name, char* out) {
  out[0] = '\0';
  if (name.empty() || IsLegal83Name(name)) return 0;
  uint16_t buf[520];
  std::vector<uint16_t> spill;
  const uint16_t* w = nullptr;
  const std::size_t len = ToUtf16(name, buf, sizeof(buf) / sizeof(buf[0]), spill, &w);
  if (len == 0) return 0;

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
  auto dosChar = [](uint16_t c) {
    char ch = IsInvalidDosChar(c) ? '_' : static_cast<char>(c);
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch;
  };
  std::size_t n = 0;
  int left = 4;
  for (std::size_t i = 0; left > 0 && i < len && i != ext; ++i) {
    if (w[i] == '.') continue;
    out[n++] = dosChar(w[i]);
    --left;
  }
  while (left-- >= 0) out[n++] = '~';
  out[n++] = kHashChars[(hash >> 10) & 0x1F];
  out[n++] = kHashChars[(hash >> 5) & 0x1F];
  out[n++] = kHashChars[hash & 0x1F];
  if (ext < len) {
    out[n++] = '.';
    for (std::size_t i = ext + 1; i < len && i < ext + 4; ++i) out[n++] = dosChar(w[i]);
  }
  out[n] = '\0';
  return n;
}

std::string ShortAlias(std::string_view name) {
  char out[kShortAliasBuffer];
  std::size_t n = ShortAliasInto(name, out);
  return std::string(out, n);
}

}  // namespace os::posix
