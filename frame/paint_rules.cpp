#include "frame/paint_rules.h"

#include <algorithm>

#include "os/mbcs.h"

namespace frame {

Rect Intersect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.Empty()) return Rect{};
  return r;
}

Rgb AttributeColour(uint32_t attributes, const PaneSettings& s) {
  if (attributes & 0x04) return s.system;
  if (attributes & 0x02) return s.hidden;
  if (attributes & 0x01) return s.readOnly;
  return s.text;
}

TextColours EntryTextColours(uint32_t attributes, bool selected, int mode, const PaneSettings& s) {
  switch (mode) {
    case kTextCursor:
      return TextColours{true, s.background, s.focus};
    case kTextNormal:
    case kTextDeselect:
      if (selected) return TextColours{true, s.background, s.selected};
      return TextColours{true, AttributeColour(attributes, s), s.background};
    case kTextSelected:
      return TextColours{true, s.background, s.selected};
    default:
      return TextColours{};
  }
}

TextColours ColumnTextColours(uint32_t attributes, int mode, const PaneSettings& s) {
  if (mode < kTextCursor || mode > kTextDeselect) return TextColours{};
  return TextColours{true, AttributeColour(attributes, s), s.background};
}

EntryMarks MarksFor(bool selected, bool cursor, bool activePane) {
  EntryMarks m;
  m.selectionFrame = selected;
  m.focusFrame = cursor && activePane;
  m.textMode = m.focusFrame ? kTextCursor : selected ? kTextSelected : kTextNormal;
  return m;
}

FrameShape DescribeFrame(int style) {
  FrameShape f;
  switch (style) {
    case kEdgeRaised:
    case kEdgeSunken:
    case kEdgeFlat:
      f.edge = true;
      f.colour = style == kEdgeRaised  ? ColourRole::kButtonFace
                 : style == kEdgeSunken ? ColourRole::kButtonShadow
                                        : ColourRole::kBackground;
      break;
    case kFocusFrame:
    case kFocusErase:
      f.frameCount = 1;
      f.insets[0] = 1;
      f.colour = style == kFocusFrame ? ColourRole::kFocus : ColourRole::kBackground;
      break;
    case kSelectionFrame:
    case kSelectionErase:
      f.frameCount = 2;
      f.insets[0] = 2;
      f.insets[1] = 0;
      f.colour = style == kSelectionFrame ? ColourRole::kSelection : ColourRole::kBackground;
      break;
    default:
      break;
  }
  return f;
}

bool HasExeExtension(const char* name) {
  const char* dot = mbcs::FindLastChar(name, '.');
  if (!dot) return false;
  const char* ext = dot + 1;
  static const char kExe[] = "EXE";
  for (int i = 0; i < 3; ++i) {
    char c = ext[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kExe[i]) return false;
  }
  return ext[3] == '\0';
}

IconRole PlaceholderRole(const table::SM_DAT& d) {
  if (d.ListsAsDirectory()) return IconRole::kFolder;
  if (HasExeExtension(d.name.c_str())) return IconRole::kProgram;
  return IconRole::kDocument;
}

int BuiltinIconSlot(IconRole role, bool large) {
  const int base = large ? 0 : 4;
  switch (role) {
    case IconRole::kFolder: return base;
    case IconRole::kProgram: return base + 1;
    default: return base + 2;
  }
}

Rect CellRect(const table::BINFO& e, const table::LayoutMetrics& m, table::Point origin) {
  const int32_t x = e.x - origin.x;
  const int32_t y = e.y - origin.y;
  return Rect{x, y, x + m.cellWidth, y + m.cellHeight};
}

Rect EntryRect(const table::BINFO& e, table::Point origin) {
  const int32_t x = e.x - origin.x;
  const int32_t y = e.y - origin.y;
  return Rect{x, y, x + e.width, y + e.height};
}

IndexRange CandidateEntries(const std::vector<table::BINFO*>& entries,
                            const table::LayoutMetrics& m, bool listMode, table::Point origin,
                            const Rect& rect) {
  const int64_t band = listMode ? m.cellWidth : m.cellHeight;
  if (band <= 0 || rect.Empty() || entries.empty()) return IndexRange{};
  // Along the axis the entries advance on, in document coordinates.
  const int64_t shift = listMode ? origin.x : origin.y;
  const int64_t from = static_cast<int64_t>(listMode ? rect.left : rect.top) + shift;
  const int64_t to = static_cast<int64_t>(listMode ? rect.right : rect.bottom) + shift;
  auto along = [listMode](const table::BINFO* e) -> int64_t { return listMode ? e->x : e->y; };
  auto begin = std::partition_point(entries.begin(), entries.end(),
                                    [&](const table::BINFO* e) { return along(e) + band <= from; });
  auto end = std::partition_point(begin, entries.end(),
                                  [&](const table::BINFO* e) { return along(e) < to; });
  return IndexRange{static_cast<std::size_t>(begin - entries.begin()),
                    static_cast<std::size_t>(end - entries.begin())};
}

namespace {

// List mode is icon mode with x and y exchanged: columns become rows.
Rect Transpose(const Rect& r) { return Rect{r.top, r.left, r.bottom, r.right}; }

}  // namespace

void BackgroundRects(const std::vector<Rect>& cells, bool listMode, const Rect& paint,
                     std::vector<Rect>& out) {
  if (paint.Empty()) return;
  const Rect p = listMode ? Transpose(paint) : paint;
  auto emit = [&](Rect r) {
    r = Intersect(r, p);
    if (!r.Empty()) out.push_back(listMode ? Transpose(r) : r);
  };
  std::vector<Rect> band;
  int32_t done = p.top;  // rows above this are covered
  std::size_t i = 0;
  while (i < cells.size()) {
    // One row: the consecutive cells that start on the same line.
    band.clear();
    const int32_t top = (listMode ? Transpose(cells[i]) : cells[i]).top;
    int32_t bottom = top;
    for (; i < cells.size(); ++i) {
      const Rect c = listMode ? Transpose(cells[i]) : cells[i];
      if (c.top != top) break;
      if (c.Empty()) continue;
      band.push_back(c);
      bottom = std::max(bottom, c.bottom);
    }
    if (top > done) emit(Rect{p.left, done, p.right, top});
    const int32_t rowTop = std::max(top, done);
    if (bottom > rowTop) {
      std::sort(band.begin(), band.end(),
                [](const Rect& a, const Rect& b) { return a.left < b.left; });
      int32_t x = p.left;
      for (const Rect& c : band) {
        if (c.left > x) emit(Rect{x, rowTop, c.left, bottom});
        x = std::max(x, c.right);
        if (c.bottom < bottom) emit(Rect{c.left, std::max(c.bottom, rowTop), c.right, bottom});
      }
      if (x < p.right) emit(Rect{x, rowTop, p.right, bottom});
    }
    done = std::max(done, bottom);
  }
  if (done < p.bottom) emit(Rect{p.left, done, p.right, p.bottom});
}

std::vector<std::size_t> UnderscoreOffsets(const char* text, std::size_t len) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < len; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (mbcs::IsLeadByte(c)) {
      ++i;  // its trail byte
    } else if (c == '_') {
      out.push_back(i);
    }
  }
  return out;
}

}  // namespace frame
