#include "table/text_compare.h"

#include "os/services.h"

namespace table {
namespace {
char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

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
