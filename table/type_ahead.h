// Type-ahead: a character typed in the pane moves the cursor to the next entry whose display
// name begins with it.
#pragma once
#include <cstdint>

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

// The character message c with the modifiers held (1 Shift, 2 Ctrl, 4 Alt): ignored while Ctrl
// is held. The entry found becomes the cursor; when its line is out of view the view jumps to
// put it at the start, otherwise only the two entries are drawn again. When the cursor moved:
// with selectMode bit 0 and no Shift the range ends, with bit 1 and no modifier the selection
// is cleared. True when the cursor moved.
bool TypeAhead(Sorm& t, PaneSurface* surface, RangeState& range, uint32_t selectMode,
               unsigned char c, uint8_t modifiers);

}  // namespace table
