#include "table/selection.h"

#include <algorithm>
#include <vector>

namespace table {
namespace {

// Above this many entries drawn one by one, one repaint of the pane is cheaper.
constexpr std::size_t kRedrawLimit = 64;

}  // namespace

bool SetSelectedBit(Sorm& t, BINFO* entry, bool on) {
  if (!t.IsEntry(entry)) return false;
  SM_DAT& d = *entry->Data();
  if (!IsSelectable(d) || d.IsSelected() == on) return false;
  if (on) {
    d.state |= kSelected;
    t.AddToSelectionTotals(d);
  } else {
    d.state &= static_cast<uint8_t>(~kSelected);
    t.SubtractFromSelectionTotals(d);
  }
  return true;
}

namespace {

int32_t SetRange(Sorm& t, int32_t a, int32_t b, bool on, PaneSurface* surface) {
  const std::vector<BINFO*>& entries = t.Entries();
  const int32_t count = static_cast<int32_t>(entries.size());
  int32_t lo = std::max<int32_t>(std::min(a, b), 1);
  int32_t hi = std::min(std::max(a, b), count);
  RedrawBatch batch(surface);
  int32_t changed = 0;
  for (int32_t i = lo; i <= hi; ++i) {
    BINFO* e = t.EntryAt(i);
    if (SetSelectedBit(t, e, on)) {
      batch.Add(e);
      ++changed;
    }
  }
  return changed;
}

}  // namespace

RedrawBatch::~RedrawBatch() {
  if (!surface_) return;
  if (overflow_) {
    surface_->RepaintAll();
    return;
  }
  for (const BINFO* e : entries_) surface_->RedrawEntry(e);
}

void RedrawBatch::Add(const BINFO* e) {
  if (!surface_ || overflow_) return;
  if (entries_.size() == kRedrawLimit) {
    overflow_ = true;
    entries_.clear();
    return;
  }
  entries_.push_back(e);
}

bool IsSelectable(const SM_DAT& d) { return d.name != "." && d.name != ".."; }

bool Select(Sorm& t, BINFO* entry, PaneSurface* surface) {
  if (!SetSelectedBit(t, entry, true)) return false;
  if (surface) surface->RedrawEntry(entry);
  return true;
}

bool Deselect(Sorm& t, BINFO* entry, PaneSurface* surface) {
  if (!SetSelectedBit(t, entry, false)) return false;
  if (surface) surface->RedrawEntry(entry);
  return true;
}

bool Toggle(Sorm& t, BINFO* entry, PaneSurface* surface) {
  if (!t.IsEntry(entry)) return false;
  return entry->Data()->IsSelected() ? Deselect(t, entry, surface) : Select(t, entry, surface);
}

int32_t SelectAll(Sorm& t, PaneSurface* surface) {
  Sorm::SelectionTextHold hold(t);
  RedrawBatch batch(surface);
  int32_t changed = 0;
  for (BINFO* e : t.Entries()) {
    if (SetSelectedBit(t, e, true)) {
      batch.Add(e);
      ++changed;
    }
  }
  return changed;
}

int32_t DeselectAll(Sorm& t, PaneSurface* surface) {
  Sorm::SelectionTextHold hold(t);
  int32_t changed = 0;
  {
    RedrawBatch batch(surface);
    for (BINFO* e : t.Entries()) {
      if (t.selectedCount() <= 0) break;
      if (SetSelectedBit(t, e, false)) {
        batch.Add(e);
        ++changed;
      }
    }
  }
  // The cursor's focus frame and text are drawn again over whatever the repaint did.
  if (changed && surface && t.HasCursor()) surface->RedrawEntry(t.cursor());
  return changed;
}

int32_t SelectRange(Sorm& t, int32_t a, int32_t b, PaneSurface* surface) {
  Sorm::SelectionTextHold hold(t);
  return SetRange(t, a, b, true, surface);
}

int32_t DeselectRange(Sorm& t, int32_t a, int32_t b, PaneSurface* surface) {
  Sorm::SelectionTextHold hold(t);
  return SetRange(t, a, b, false, surface);
}

BINFO* TargetEntry(const Sorm& t) {
  if (t.selectedCount() > 0) {
    for (BINFO* e : t.Entries()) {
      const SM_DAT& d = *e->Data();
      if (d.IsSelected() && IsSelectable(d)) return e;
    }
  }
  if (!t.HasCursor() || !IsSelectable(*t.cursor()->Data())) return nullptr;
  return t.cursor();
}

int32_t CursorIndex(const Sorm& t) { return t.HasCursor() ? t.cursor()->index : 0; }

void MoveCursorTo(Sorm& t, BINFO* entry, PaneSurface* surface) {
  if (!t.IsEntry(entry)) return;
  BINFO* old = t.HasCursor() ? t.cursor() : nullptr;
  if (old == entry) return;
  t.SetCursor(entry);
  if (!surface) return;
  if (old) surface->RedrawEntry(old);
  surface->RedrawEntry(entry);
}

void ExtendRange(Sorm& t, int32_t anchor, int32_t from, int32_t to, PaneSurface* surface) {
  Select(t, t.EntryAt(anchor), surface);
  if (from == to) return;
  const int32_t step = to > from ? 1 : -1;
  {
    RedrawBatch batch(surface);
    for (int32_t i = from + step; i != to; i += step) {
      if (i == anchor) continue;
      BINFO* e = t.EntryAt(i);
      if (!t.IsEntry(e)) continue;
      if (SetSelectedBit(t, e, !e->Data()->IsSelected())) batch.Add(e);
    }
  }
  const bool backTowardAnchor = (from < anchor && to > from) || (from > anchor && to < from);
  if (backTowardAnchor) Deselect(t, t.EntryAt(from), surface);
  if (to == anchor)
    Deselect(t, t.EntryAt(to), surface);
  else
    Select(t, t.EntryAt(to), surface);
}

}  // namespace table
