#include "frame/pane_paint_win.h"

#include "frame/gdi_font_win.h"
#include "frame/paint_rules.h"

namespace frame {
namespace {

Rect FromRECT(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

HFONT MakeFont(const FontData& f) {
  const LOGFONTA lf = ToLogFont(f);
  return ::CreateFontIndirectA(&lf);
}

Rect ClientOf(const table::Sorm& t) {
  const table::ClientSize c = t.pageSize();
  return Rect{0, 0, c.width, c.height};
}

}  // namespace

PanePainter::PanePainter(HDC dc, table::Sorm& table, const PaneSettings& settings,
                         bool activePane)
    : dc_(dc),
      table_(table),
      active_(activePane),
      saved_(dc),
      font_(MakeFont(settings.font)),
      fontSelection_(dc, font_.Get()),
      drawer_(table, settings) {}

PanePainter::~PanePainter() = default;

bool PanePainter::Visible(const table::BINFO* entry) const {
  if (!table_.IsEntry(entry)) return false;
  const Rect cell = CellRect(*entry, table_.metrics(), table_.origin());
  const Rect client = ClientOf(table_);
  // Before the first layout the client size is not known; draw and let GDI clip.
  return client.Empty() || Intersects(cell, client);
}

void PanePainter::PaintOn(HDC dc, const Rect& area) {
  const table::LayoutMetrics& m = table_.metrics();
  const bool list = table_.listMode();
  const table::Point origin = table_.origin();
  const std::vector<table::BINFO*>& entries = table_.Entries();
  drawn_.clear();
  cells_.clear();
  fills_.clear();
  // Only the rows (icon mode) or columns (list mode) crossing the area are looked at.
  const IndexRange range = CandidateEntries(entries, m, list, origin, area);
  for (std::size_t i = range.begin; i < range.end; ++i) {
    const Rect cell = CellRect(*entries[i], m, origin);
    if (!Intersects(cell, area)) continue;
    drawn_.push_back(entries[i]);
    cells_.push_back(cell);
  }
  BackgroundRects(cells_, list, area, fills_);
  for (const Rect& r : fills_) drawer_.Fill(dc, r, ColourRole::kBackground);
  for (const table::BINFO* e : drawn_) drawer_.DrawCell(dc, *e, active_);
}

void PanePainter::Paint(const RECT& rc) {
  const Rect area = FromRECT(rc);
  if (area.Empty() || !dc_) return;
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  {
    // Off screen first, so the window never shows a cell between its background and its icon.
    gdi::MemoryDc memory(dc_);
    gdi::Bitmap bitmap(memory.Get() ? ::CreateCompatibleBitmap(dc_, width, height) : nullptr);
    if (bitmap) {
      gdi::Selection bitmapSelection(memory.Get(), bitmap.Get());
      gdi::Selection fontSelection(memory.Get(), font_.Get());
      ::SetViewportOrgEx(memory.Get(), -area.left, -area.top, nullptr);
      PaintOn(memory.Get(), area);
      ::BitBlt(dc_, area.left, area.top, width, height, memory.Get(), area.left, area.top,
               SRCCOPY);
    } else {
      PaintOn(dc_, area);
    }
  }
  // The icon loader asks for one repaint once it has passed the last entry the pane shows.
  const std::vector<table::BINFO*>& entries = table_.Entries();
  const IndexRange shown = CandidateEntries(entries, table_.metrics(), table_.listMode(),
                                            table_.origin(), ClientOf(table_));
  if (shown.end > shown.begin) table_.SetLastPaintedIndex(entries[shown.end - 1]->index);
}

void PanePainter::RedrawEntry(const table::BINFO* entry) {
  if (!Visible(entry)) return;
  const Rect cell = CellRect(*entry, table_.metrics(), table_.origin());
  const RECT rc{cell.left, cell.top, cell.right, cell.bottom};
  Paint(rc);
}

void PanePainter::DrawEntryFrame(const table::BINFO* entry, int style) {
  if (Visible(entry)) drawer_.DrawFrame(dc_, *entry, style);
}

void PanePainter::DrawEntryText(const table::BINFO* entry, int mode) {
  if (Visible(entry)) drawer_.DrawText(dc_, *entry, mode);
}

void PaintPaneWindow(HWND pane, table::Sorm* table, const PaneSettings& settings,
                     bool activePane, bool paintingSuppressed) {
  if (paintingSuppressed) return;
  gdi::PaintDc paint(pane);
  if (!paint.Get()) return;
  if (table) {
    PanePainter(paint.Get(), *table, settings, activePane).Paint(paint.Area());
    return;
  }
  gdi::Brush background = gdi::SolidBrush(settings.background);
  ::FillRect(paint.Get(), &paint.Area(), background.Get());
}

void RedrawPaneEntry(HWND pane, table::Sorm& table, const PaneSettings& settings,
                     bool activePane, const table::BINFO* entry) {
  gdi::WindowDc dc(pane);
  if (dc.Get()) PanePainter(dc.Get(), table, settings, activePane).RedrawEntry(entry);
}

void DrawPaneEntryFrame(HWND pane, table::Sorm& table, const PaneSettings& settings,
                        const table::BINFO* entry, int style) {
  gdi::WindowDc dc(pane);
  if (dc.Get()) PanePainter(dc.Get(), table, settings, false).DrawEntryFrame(entry, style);
}

void DrawPaneEntryText(HWND pane, table::Sorm& table, const PaneSettings& settings,
                       const table::BINFO* entry, int mode) {
  gdi::WindowDc dc(pane);
  if (dc.Get()) PanePainter(dc.Get(), table, settings, false).DrawEntryText(entry, mode);
}

}  // namespace frame
