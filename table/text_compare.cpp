#include "table/text_compare.h"

#include "os/mbcs.h"
#include "os/services.h"

namespace table {
namespace {
char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Walks one character: a double-byte character as two units, a single byte folded.
inline std::size_t NextUnit(std::string_view s, std::size_t i, unsigned char& unit1,
                            unsigned char& unit2) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (mbcs::IsLeadByte(c) && i + 1 < s.size()) {
    unit1 = c;
    unit2 = static_cast<unsigned char>(s[i + 1]);
    return i + 2;
  }
  unit1 = static_cast<unsigned char>(FoldAscii(static_cast<char>(c)));
  unit2 = 0;
  return i + 1;
}

}  // namespace

uint32_t FoldedNameHash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char a, b;
    i = NextUnit(s, i, a, b);
    h = (h ^ a) * 16777619u;
    h = (h ^ b) * 16777619u;
  }
  return h;
}

bool FoldedNamesEqual(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    unsigned char a1, a2, b1, b2;
    i = NextUnit(a, i, a1, a2);
    j = NextUnit(b, j, b1, b2);
    if (a1 != b1 || a2 != b2) return false;
  }
  return i == a.size() && j == b.size();
}

bool IsPlainAscii(const char* s) {
  for (; *s; ++s) {
    unsigned char c = static_cast<unsigned char>(*s);
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

bool SameTextNoCase(const char* a, const char* b) {
  if (IsPlainAscii(a) && IsPlainAscii(b)) {
    for (; *a && *b; ++a, ++b) {
      if (FoldAscii(*a) != FoldAscii(*b)) return false;
    }
    return *a == *b;
  }
  return os::Sys().CompareNoCase(a, b) == 0;
}

}  // namespace table
