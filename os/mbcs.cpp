#include "os/mbcs.h"

namespace mbcs {

const char* Next(const char* p) {
  if (!*p) return p;
  if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1]) return p + 2;
  return p + 1;
}

const char* Prev(const char* start, const char* p) {
  if (p <= start) return start;
  const char* cur = start;
  const char* last = start;
  while (cur < p && *cur) {
    last = cur;
    cur = Next(cur);
  }
  return last;
}

const char* FindChar(const char* s, char c) {
  for (const char* p = s;; p = Next(p)) {
    if (*p == c) return p;
    if (!*p) return nullptr;
  }
}

const char* FindLastChar(const char* s, char c) {
  const char* found = nullptr;
  for (const char* p = s;; p = Next(p)) {
    if (*p == c) found = p;
    if (!*p) return found;
  }
}

bool IsTrailByteAt(const char* s, std::size_t i) {
  std::size_t k = 0;
  while (k < i && s[k]) {
    const char* n = Next(s + k);
    std::size_t step = static_cast<std::size_t>(n - (s + k));
    if (k + step > i) return true;  // i falls inside this double-byte character
    k += step;
  }
  return false;
}

std::size_t CopyBounded(char* dst, std::size_t size, const char* src) {
  if (size == 0) return 0;
  std::size_t n = 0;
  while (src[n]) {
    std::size_t step = (IsLeadByte(static_cast<unsigned char>(src[n])) && src[n + 1]) ? 2 : 1;
    if (n + step > size - 1) break;
    n += step;
  }
  for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
  dst[n] = '\0';
  return n;
}

}  // namespace mbcs
