// Type-ahead: a character typed in the pane moves the cursor to the next entry whose display
// name begins with it.
#pragma once
#include <cstdint>
#include <string_view>

#include "table/pane_surface.h"
#include "table/selection.h"
#include "table/sorm.h"

namespace table {

// True for a character that can start a type-ahead search: a printable single-byte character
// (ASCII or half-width katakana); control characters and the bytes of double-byte characters
// are not.
bool IsTypeAheadChar(unsigned char c);

// The first entry after from, wrapping from the last entry to the first and ending with from
// itself, whose display name begins with c (ASCII letters without regard to case). Null when
// there is none, c cannot start a search or from is not an entry.
BINFO* FindTypeAhead(const Sorm& t, const BINFO* from, unsigned char c);
// The same for one whole character: one byte as above, or a double-byte character (its lead
// and trail byte), which matches a name beginning with exactly that character.
BINFO* FindTypeAhead(const Sorm& t, const BINFO* from, std::string_view ch);

// The character messages of an ANSI window bring a double-byte character (typed through the
// input method) as two messages, lead byte first. Feed each message's byte: the result is the
// whole character once it is complete, empty while a lead byte waits for its trail byte. A lead
// byte followed by a byte that cannot trail it is dropped, and that byte stands on its own.
class TypedCharacter {
 public:
  std::string_view Feed(unsigned char c);

 private:
  char bytes_[2] = {};
  bool leadPending_ = false;
};

// The character message c with the modifiers held (1 Shift, 2 Ctrl, 4 Alt): ignored while Ctrl
// is held. The entry found becomes the cursor; when its line is out of view the view jumps to
// put it at the start, otherwise only the two entries are drawn again. When the cursor moved:
// with selectMode bit 0 and no Shift the range ends, with bit 1 and no modifier the selection
// is cleared. True when the cursor moved.
bool TypeAhead(Sorm& t, PaneSurface* surface, RangeState& range, uint32_t selectMode,
               unsigned char c, uint8_t modifiers);
// The same for one whole character from TypedCharacter (one or two bytes).
bool TypeAhead(Sorm& t, PaneSurface* surface, RangeState& range, uint32_t selectMode,
               std::string_view ch, uint8_t modifiers);

}  // namespace table
