// The measured lstrcmpiA order of CP932 characters (see collation_table.cpp).
#pragma once
#include <cstddef>
#include <cstdint>

namespace os::posix {

// How an entry relates to the one before it in the order.
enum CollationRelation : uint8_t {
  kNew,    // a greater primary weight
  kSame,   // the same primary weight, sorting after it when all else is equal
  kEqual,  // compares equal to it (letters of the other case)
};

struct CollationEntry {
  uint16_t code;  // a single byte, or lead << 8 | trail
  CollationRelation relation;
};

// The first class (up to the full-width handakuten) holds the characters that carry no
// primary weight: control characters, "'" and "-" and their variants, the voicing marks.
extern const CollationEntry kCollationOrder[];
extern const std::size_t kCollationOrderSize;

}  // namespace os::posix
