// Code page 932 (Shift-JIS) byte text: double-byte aware searches. A trail byte can be 0x5C
// ("\") or 0x7C ("|"), as in 表 = 0x95 0x5C, so no search for "\", ".", ":" may look at bytes
// alone. These follow IsDBCSLeadByte, CharNextA, CharPrevA and _mbschr/_mbsrchr on CP932.
#pragma once
#include <cstddef>

namespace mbcs {

// IsDBCSLeadByte for CP932: 0x81-0x9F and 0xE0-0xFC.
inline bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
// CharNextA: a lead byte followed by a non-NUL byte advances by 2; at NUL stays put.
const char* Next(const char* p);
// CharPrevA(start, p).
const char* Prev(const char* start, const char* p);
// _mbschr / _mbsrchr: first / last single-byte character c (never a trail byte); null if none.
const char* FindChar(const char* s, char c);
const char* FindLastChar(const char* s, char c);
// True when the byte at s[i] is the trail byte of a double-byte character.
bool IsTrailByteAt(const char* s, std::size_t i);
// Copies at most size-1 bytes of src into dst and terminates it, never splitting a double-byte
// character. Returns the number of bytes copied. size 0 writes nothing.
std::size_t CopyBounded(char* dst, std::size_t size, const char* src);

}  // namespace mbcs
