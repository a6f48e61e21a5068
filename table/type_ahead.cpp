#include "table/type_ahead.h"

#include "os/mbcs.h"
#include "table/cursor_move.h"
#include "table/key_binding.h"

namespace table {
namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

bool StartsWith(const BINFO* e, unsigned char folded) {
  const unsigned char first = static_cast<unsigned char>(e->Data()->DisplayName()[0]);
  return !mbcs::IsLeadByte(first) && FoldAscii(first) == folded;
}

}  // namespace

bool IsTypeAheadChar(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return false;
  return c < 0x80 || (c >= 0xA1 && c <= 0xDF);
}

BINFO* FindTypeAhead(const Sorm& t, const BINFO* from, unsigned char c) {
  if (!IsTypeAheadChar(c) || !t.IsEntry(from)) return nullptr;
  const unsigned char folded = FoldAscii(c);
  const std::vector<BINFO*>& entries = t.Entries();
  const std::size_t n = entries.size();
  std::size_t start = 0;
  if (from->index >= 1 && static_cast<std::size_t>(from->index) <= n &&
      entries[from->index - 1] == from) {
    start = static_cast<std::size_t>(from->index);  // the entry after from
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      if (entries[i] == from) {
        start = i + 1;
        break;
      }
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    BINFO* e = entries[(start + k) % n];
    if (StartsWith(e, folded)) return e;
  }
  return nullptr;
}

bool TypeAhead(Sorm& t, PaneSurface* surface, RangeState& range, uint32_t selectMode,
               unsigned char c, uint8_t modifiers) {
  if (modifiers & kModCtrl) return false;
  if (!t.HasCursor()) return false;
  BINFO* found = FindTypeAhead(t, t.cursor(), c);
  if (!found || found == t.cursor()) return false;
  MoveCursorTo(t, found, surface);
  if (surface) {
    const MoveGrid g = GridOf(t);
    const int32_t line = LineOf(g.index, g.perLine);
    if (ScrollToShow(line, g.firstLine, g.linesPerPage)) surface->ScrollStep(kThumbTrack, line);
  }
  if ((selectMode & kSelectModeRange) && !(modifiers & kModShift)) range.Clear();
  if ((selectMode & kSelectModeClearOnMove) && modifiers == 0) DeselectAll(t, surface);
  return true;
}

}  // namespace table
