#include "frame/entry_draw_win.h"

namespace frame {
namespace {

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height) {
  if (icon) ::DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

}  // namespace

EntryDrawer::EntryDrawer(table::Sorm& table, const PaneSettings& settings)
    : table_(table), settings_(settings), icons_(table.icons()) {}

HBRUSH EntryDrawer::BrushFor(ColourRole role) {
  auto made = [](gdi::Brush& b, const Rgb& c) {
    if (!b) b = gdi::SolidBrush(c);
    return b.Get();
  };
  switch (role) {
    case ColourRole::kSelection: return made(selection_, settings_.selected);
    case ColourRole::kFocus: return made(focus_, settings_.focus);
    case ColourRole::kButtonFace: return ::GetSysColorBrush(COLOR_BTNFACE);
    case ColourRole::kButtonShadow: return ::GetSysColorBrush(COLOR_BTNSHADOW);
    default: return made(background_, settings_.background);
  }
}

void EntryDrawer::Fill(HDC dc, const Rect& r, ColourRole role) {
  if (r.Empty()) return;
  const RECT rc = ToRECT(r);
  ::FillRect(dc, &rc, BrushFor(role));
}

HICON EntryDrawer::Placeholder(IconRole role, bool large) const {
  void* icon = nullptr;
  if (role == IconRole::kFolder) icon = large ? icons_.folderLarge : icons_.folderSmall;
  if (!icon) icon = icons_.builtin[BuiltinIconSlot(role, large)];
  return static_cast<HICON>(icon);
}

void EntryDrawer::DrawIcon(HDC dc, const table::BINFO& entry) {
  const table::SM_DAT* d = entry.Data();
  if (!d) return;
  const table::IconMetrics& im = table_.iconMetrics();
  const table::Point o = table_.origin();
  const int x = entry.x - o.x + 3;
  // Icons the loader has not reached yet show the placeholder of their kind; so does an entry
  // the loader found no icon for.
  const bool loaded = entry.index <= table_.loadedIndex();
  const bool link = (d->linkFlags & table::kIsLink) != 0;
  if (!table_.listMode()) {
    const int y = entry.y - o.y + 3;
    HICON icon = loaded ? static_cast<HICON>(d->largeIcon) : nullptr;
    if (!icon) icon = Placeholder(PlaceholderRole(*d), true);
    DrawIconAt(dc, icon, x, y, im.largeWidth, im.largeHeight);
    if (link) {
      DrawIconAt(dc, static_cast<HICON>(icons_.builtin[kLinkOverlayLargeSlot]), x, y,
                 im.largeWidth, im.largeHeight);
    }
    return;
  }
  const int size = im.smallWidth;
  const int y = entry.y - o.y + (table_.metrics().cellHeight - size) / 2;
  // An entry with only a large icon gets it shrunk to the small square.
  HICON icon = nullptr;
  if (loaded) icon = static_cast<HICON>(d->smallIcon ? d->smallIcon : d->largeIcon);
  if (!icon) icon = Placeholder(PlaceholderRole(*d), false);
  DrawIconAt(dc, icon, x, y, size, size);
  if (link) {
    DrawIconAt(dc, static_cast<HICON>(icons_.builtin[kLinkOverlaySmallSlot]), x, y, size, size);
  }
}

void EntryDrawer::DrawFrame(HDC dc, const table::BINFO& entry, int style) {
  const FrameShape shape = DescribeFrame(style);
  const Rect r = EntryRect(entry, table_.origin());
  if (r.Empty()) return;
  if (shape.edge) {
    Fill(dc, Rect{r.left, r.top, r.right, r.top + 1}, shape.colour);
    Fill(dc, Rect{r.left, r.top, r.left + 1, r.bottom}, shape.colour);
    Fill(dc, Rect{r.left, r.bottom - 1, r.right, r.bottom}, ColourRole::kBackground);
    Fill(dc, Rect{r.right - 1, r.top, r.right, r.bottom}, ColourRole::kBackground);
  }
  for (int i = 0; i < shape.frameCount; ++i) {
    const int in = shape.insets[i];
    const RECT rc{r.left + in, r.top + in, r.right - in, r.bottom - in};
    if (rc.right > rc.left && rc.bottom > rc.top) ::FrameRect(dc, &rc, BrushFor(shape.colour));
  }
}

void EntryDrawer::DrawText(HDC dc, const table::BINFO& entry, int mode) {
  const table::SM_DAT* d = entry.Data();
  if (!d || entry.kind != table::kEntryNode || !entry.HasChildren()) return;
  const TextColours name = EntryTextColours(d->attributes, d->IsSelected(), mode, settings_);
  if (!name.draws) return;
  const TextColours column = ColumnTextColours(d->attributes, mode, settings_);
  const bool list = table_.listMode();
  const table::Point o = table_.origin();
  const Rect cell = CellRect(entry, table_.metrics(), o);
  ::SetBkMode(dc, OPAQUE);
  const table::BINFO* first = entry.FirstChildNode();
  const table::BINFO* line = first;
  do {
    // In list mode only the name takes the mode's colours; the columns keep the attribute's.
    const TextColours& c = (list && line->kind != table::kNameLine) ? column : name;
    const int x = line->x - o.x;
    const int y = line->y - o.y;
    const Rect box = Intersect(Rect{x, y, x + line->textWidth, y + line->textHeight}, cell);
    if (!box.Empty() && line->text && line->textLength) {
      ::SetTextColor(dc, gdi::ToColorRef(c.text));
      ::SetBkColor(dc, gdi::ToColorRef(c.back));
      const RECT rc = ToRECT(box);
      ::ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rc, line->text,
                    static_cast<UINT>(line->textLength), nullptr);
      if (!underscores_) underscores_.emplace(dc);
      underscores_->Draw(dc, x, y, line->text, line->textLength, rc, gdi::ToColorRef(c.text));
    }
    line = line->NextNode();
  } while (line != first);
}

void EntryDrawer::DrawCell(HDC dc, const table::BINFO& entry, bool activePane) {
  const table::SM_DAT* d = entry.Data();
  Fill(dc, CellRect(entry, table_.metrics(), table_.origin()), ColourRole::kBackground);
  if (!d) return;
  DrawIcon(dc, entry);
  const EntryMarks marks = MarksFor(d->IsSelected(), table_.cursor() == &entry, activePane);
  if (marks.selectionFrame) DrawFrame(dc, entry, kSelectionFrame);
  if (marks.focusFrame) DrawFrame(dc, entry, kFocusFrame);
  DrawText(dc, entry, marks.textMode);
}

}  // namespace frame
