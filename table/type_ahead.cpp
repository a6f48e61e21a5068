#include "table/type_ahead.h"

#include "os/mbcs.h"
#include "table/cursor_move.h"
#include "table/key_binding.h"

namespace table {
namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// ch: one single-byte character (already folded) or one double-byte character.
bool StartsWith(const BINFO* e, std::string_view ch) {
  const char* name = e->Data()->DisplayName();
  const unsigned char first = static_cast<unsigned char>(name[0]);
  if (ch.size() == 2) return name[0] == ch[0] && name[0] != '\0' && name[1] == ch[1];
  return !mbcs::IsLeadByte(first) && FoldAscii(first) == static_cast<unsigned char>(ch[0]);
}

// A byte that can follow a lead byte in code page 932.
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// A whole character that can start a search: a printable single-byte character, or a lead byte
// with a byte that can trail it.
bool IsSearchCharacter(std::string_view ch) {
  if (ch.size() == 1) return IsTypeAheadChar(static_cast<unsigned char>(ch[0]));
  return ch.size() == 2 && mbcs::IsLeadByte(static_cast<unsigned char>(ch[0])) &&
         IsTrailByte(static_cast<unsigned char>(ch[1]));
}

}  // namespace

bool IsTypeAheadChar(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return false;
  return c < 0x80 || (c >= 0xA1 && c <= 0xDF);
}

std::string_view TypedCharacter::Feed(unsigned char c) {
  if (leadPending_) {
    leadPending_ = false;
    if (IsTrailByte(c)) {
      bytes_[1] = static_cast<char>(c);
      return std::string_view(bytes_, 2);
    }
  }
  bytes_[0] = static_cast<char>(c);
  if (mbcs::IsLeadByte(c)) {
    leadPending_ = true;
    return {};
  }
  return std::string_view(bytes_, 1);
}

BINFO* FindTypeAhead(const Sorm& t, const BINFO* from, unsigned char c) {
  const char ch = static_cast<char>(c);
  return FindTypeAhead(t, from, std::string_view(&ch, 1));
}

BINFO* FindTypeAhead(const Sorm& t, const BINFO* from, std::string_view ch) {
  if (!IsSearchCharacter(ch) || !t.IsEntry(from)) return nullptr;
  char foldedByte = static_cast<char>(FoldAscii(static_cast<unsigned char>(ch[0])));
  const std::string_view folded = ch.size() == 1 ? std::string_view(&foldedByte, 1) : ch;
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
  const char ch = static_cast<char>(c);
  return TypeAhead(t, surface, range, selectMode, std::string_view(&ch, 1), modifiers);
}

bool TypeAhead(Sorm& t, PaneSurface* surface, RangeState& range, uint32_t selectMode,
               std::string_view ch, uint8_t modifiers) {
  if (modifiers & kModCtrl) return false;
  if (!t.HasCursor()) return false;
  BINFO* found = FindTypeAhead(t, t.cursor(), ch);
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
