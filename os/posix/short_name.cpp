#include "os/posix/short_name.h"

#include <cstring>

#include "os/posix/host_names.h"

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
  if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return c + 0x20;  // Latin-1
  if (c >= 0x0391 && c <= 0x03A9 && c != 0x03A2) return c + 0x20;  // Greek
  if (c >= 0x0410 && c <= 0x042F) return c + 0x20;  // Cyrillic
  if (c >= 0x0400 && c <= 0x040F) return c + 0x50;
  if (c >= 0x2160 && c <= 0x216F) return c + 0x10;  // Roman numerals
  return c;
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
  uint16_t w[1024];
  const std::size_t len = Utf16FromHostName(name, w, sizeof(w) / sizeof(w[0]));
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
