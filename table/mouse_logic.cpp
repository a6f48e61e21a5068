#include "table/mouse_logic.h"

#include <algorithm>
#include <cstdlib>

#include "resources/commands.h"
#include "table/key_binding.h"

namespace table {
namespace {

int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

Point Add(Point a, Point b) {
  return Point{Saturate(static_cast<int64_t>(a.x) + b.x),
               Saturate(static_cast<int64_t>(a.y) + b.y)};
}

Point Subtract(Point a, Point b) {
  return Point{Saturate(static_cast<int64_t>(a.x) - b.x),
               Saturate(static_cast<int64_t>(a.y) - b.y)};
}

BandRect Shift(const BandRect& r, Point by) {
  Point a = Subtract(Point{r.left, r.top}, by);
  Point b = Subtract(Point{r.right, r.bottom}, by);
  return BandRect{a.x, a.y, b.x, b.y};
}

bool Near(Point a, Point b, int32_t slop) {
  return std::llabs(static_cast<int64_t>(a.x) - b.x) < slop &&
         std::llabs(static_cast<int64_t>(a.y) - b.y) < slop;
}

// True when the tick counter moved on by more than ms since start, or wrapped.
bool Elapsed(uint32_t now, uint32_t start, uint32_t ms) { return now < start || now - start > ms; }

// Hides the band's outline before anything is drawn in the pane, so that no entry is drawn
// over it; the band loop draws the outline again afterwards.
class OutlineHidingSurface final : public PaneSurface {
 public:
  OutlineHidingSurface(MouseSurface& s, const BandRect& outline, bool& visible)
      : s_(s), outline_(outline), visible_(visible) {}
  void RedrawEntry(const BINFO* entry) override {
    Hide();
    s_.RedrawEntry(entry);
  }
  void RepaintAll() override {
    Hide();
    s_.RepaintAll();
  }
  bool ScrollStep(int kind, int32_t position) override {
    Hide();
    return s_.ScrollStep(kind, position);
  }

 private:
  void Hide() {
    if (!visible_) return;
    s_.InvertOutline(outline_);
    visible_ = false;
  }
  MouseSurface& s_;
  const BandRect& outline_;
  bool& visible_;
};

}  // namespace

BandRect NormalizeBand(Point a, Point b) {
  return BandRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                  std::max(a.y, b.y)};
}

BandRect ClampOutline(const BandRect& r, ClientSize client) {
  auto clampX = [&](int32_t v) { return std::clamp<int32_t>(v, -1, std::max(client.width, 0)); };
  auto clampY = [&](int32_t v) { return std::clamp<int32_t>(v, -1, std::max(client.height, 0)); };
  return BandRect{clampX(r.left), clampY(r.top), clampX(r.right), clampY(r.bottom)};
}

bool NodeInBand(const BINFO& n, const BandRect& band) {
  const int64_t right = static_cast<int64_t>(n.x) + n.width;
  const int64_t bottom = static_cast<int64_t>(n.y) + n.height;
  return n.x <= band.right && right >= band.left && n.y <= band.bottom && bottom >= band.top;
}

bool EntryInBand(const BINFO& entry, const BandRect& band, bool listMode) {
  if (NodeInBand(entry, band)) return true;
  if (listMode || !entry.HasChildren()) return false;
  const BINFO* first = entry.FirstChildNode();
  const BINFO* c = first;
  do {
    if (NodeInBand(*c, band)) return true;
    c = c->NextNode();
  } while (c != first);
  return false;
}

int32_t ApplyBand(Sorm& t, const BandRect& band, BandMode mode, PaneSurface* surface) {
  const bool select = mode == BandMode::kSelect;
  const bool listMode = t.listMode();
  RedrawBatch batch(surface);
  int32_t changed = 0;
  for (BINFO* e : t.Entries()) {
    SM_DAT& d = *e->Data();
    if (!IsSelectable(d)) continue;
    const bool inside = EntryInBand(*e, band, listMode);
    const bool banded = (d.state & kBanded) != 0;
    if (inside && !banded && d.IsSelected() != select) {
      SetSelectedBit(t, e, select);
      d.state |= kBanded;
    } else if (!inside && banded) {
      d.state &= static_cast<uint8_t>(~kBanded);
      SetSelectedBit(t, e, !select);
    } else {
      continue;
    }
    batch.Add(e);
    ++changed;
  }
  return changed;
}

void ClearBandMarks(Sorm& t) {
  for (BINFO* e : t.Entries()) e->Data()->state &= static_cast<uint8_t>(~kBanded);
}

EntryPart PartAt(const Sorm& t, const BINFO* entry, Point client) {
  if (!t.IsEntry(entry)) return EntryPart::kNone;
  const Point doc = Add(client, t.origin());
  if (entry->HasChildren()) {
    const BINFO* first = entry->FirstChildNode();
    const BINFO* c = first;
    do {
      if (c->Contains(doc.x, doc.y)) return EntryPart::kText;
      c = c->NextNode();
    } while (c != first);
  }
  return entry->Contains(doc.x, doc.y) ? EntryPart::kIcon : EntryPart::kNone;
}

void PaneMouse::LeftDown(Sorm& t, MouseSurface& s, Point p, uint8_t modifiers,
                         const MouseOptions& o, RangeState* range) {
  buttonDown_ = true;
  pending_.active = false;
  if (BINFO* hit = t.HitTest(p.x, p.y)) {
    if (modifiers & kModShift) {
      SelectRange(t, CursorIndex(t), hit->index, &s);
    } else {
      MoveCursorTo(t, hit, &s);
      if (range) range->Clear();
      const EntryPart part = PartAt(t, hit, p);
      if (part == EntryPart::kText) {
        pending_ = PendingClick{true, s.Ticks(), p, &t, hit->index, hit->Data()->name};
      } else if (part == EntryPart::kIcon && (modifiers & kModCtrl)) {
        Toggle(t, hit, &s);
      }
    }
    s.OfferDrag(MouseButton::kLeft, p);
    if (!(modifiers & (kModCtrl | kModShift))) DeselectAll(t, &s);
    return;
  }
  if (!o.clickScroll || DragStarted(s, p, MouseButton::kLeft))
    RubberBand(t, s, p, BandMode::kSelect);
}

MouseRequest PaneMouse::LeftDoubleClick(Sorm& t, Point p) {
  pending_.active = false;
  MouseRequest r;
  if (BINFO* hit = t.HitTest(p.x, p.y)) {
    r.kind = MouseRequest::kOpenEntry;
    r.entry = hit;
    r.point = p;
  }
  return r;
}

MouseRequest PaneMouse::RightDown(Sorm& t, MouseSurface& s, Point p, uint8_t modifiers,
                                  const MouseOptions& o, RangeState* range) {
  buttonDown_ = true;
  pending_.active = false;
  MouseRequest r;
  if (BINFO* hit = t.HitTest(p.x, p.y)) {
    if (modifiers & kModShift) {
      DeselectRange(t, CursorIndex(t), hit->index, &s);
    } else {
      MoveCursorTo(t, hit, &s);
      if (range) range->Clear();
    }
    s.OfferDrag(MouseButton::kRight, p);
    return r;
  }
  if (!o.clickScroll) {
    RubberBand(t, s, p, BandMode::kDeselect);
    // The band took the button's release from the queue: a click that did not drag gets it
    // back, so that its context menu opens.
    if (Near(s.Pointer(), p, kDragSlop + 1)) {
      r.kind = MouseRequest::kPostRightButtonUp;
      r.point = p;
    }
  } else if (DragStarted(s, p, MouseButton::kRight)) {
    RubberBand(t, s, p, BandMode::kDeselect);
  }
  return r;
}

MouseRequest PaneMouse::RightUp(Sorm& t, Point p, const MouseOptions& o) {
  buttonDown_ = false;
  pending_.active = false;
  MouseRequest r;
  if (bandActive_) return r;
  const bool onEntry = t.HitTest(p.x, p.y) != nullptr;
  if (!onEntry && o.clickScroll) return r;
  r.kind = o.platformMajor >= 4 ? MouseRequest::kContextMenu : MouseRequest::kFrameMenu;
  r.point = p;
  r.discardMouseAfter = true;
  return r;
}

MouseRequest PaneMouse::RightDoubleClick(Sorm& t, Point p, uint8_t modifiers,
                                         const MouseOptions& o) {
  MouseRequest r;
  if ((modifiers & kModShift) || bandActive_ || o.platformMajor < 4) return r;
  const bool onEntry = t.HitTest(p.x, p.y) != nullptr;
  if (!onEntry && !o.clickScroll) return r;
  r.kind = MouseRequest::kContextMenu;
  r.point = p;
  return r;
}

BINFO* PaneMouse::PendingEntry(Sorm& t) const {
  if (pending_.table != &t) return nullptr;
  BINFO* e = t.EntryAt(pending_.index);
  return e && e->Data()->name == pending_.name ? e : nullptr;
}

MouseRequest PaneMouse::IdleStep(Sorm& t, MouseSurface& s, const MouseOptions& o) {
  MouseRequest r;
  const bool left = s.ButtonHeld(MouseButton::kLeft);
  const bool right = s.ButtonHeld(MouseButton::kRight);
  // A button let go outside the pane sends the pane no release.
  if (!left && !right) buttonDown_ = false;
  if (left || right) {
    if (!o.clickScroll || !s.PointerOverClient()) return r;
    const Point at = s.Pointer();
    if (t.HitTest(at.x, at.y)) return r;
    const uint32_t now = s.Ticks();
    const bool due = !scrolled_ || now < lastScrollTick_ || now - lastScrollTick_ >= kClickScrollMs;
    if (!due) return r;
    s.ScrollStep(left ? kLineForward : kLineBack, 0);
    scrolled_ = true;
    lastScrollTick_ = now;
    return r;
  }
  if (!pending_.active || bandActive_) return r;
  if (Near(s.Pointer(), pending_.point, kSlowClickSlop)) {
    if (Elapsed(s.Ticks(), pending_.tick, kSlowClickMs)) {
      if (PendingEntry(t)) {
        r.kind = MouseRequest::kCommand;
        r.command = CMD_FPROPERTY;
      }
    } else if (s.Modifiers() & kModCtrl) {
      Toggle(t, PendingEntry(t), &s);
    }
  }
  pending_.active = false;
  return r;
}

bool PaneMouse::DragStarted(MouseSurface& s, Point press, MouseButton button) {
  s.Capture(true);
  const uint32_t start = s.Ticks();
  while (s.Alive()) {
    if (!Near(s.Pointer(), press, kDragSlop + 1)) {
      s.Capture(false);
      return true;
    }
    if (!s.ButtonHeld(button)) break;
    const uint32_t now = s.Ticks();
    if (now < start || now - start >= kDragWaitMs) break;
    s.Pump();
  }
  s.Capture(false);
  return false;
}

void PaneMouse::RubberBand(Sorm& t, MouseSurface& s, Point press, BandMode mode) {
  const MouseButton button = mode == BandMode::kSelect ? MouseButton::kLeft : MouseButton::kRight;
  bandActive_ = true;
  s.Capture(true);
  const Point anchor = Add(press, t.origin());
  BandRect shown = ClampOutline(NormalizeBand(press, press), s.Client());
  bool visible = true;
  s.InvertOutline(shown);
  bool haveBand = false;
  BandRect lastBand;
  while (s.Alive() && s.ButtonHeld(button)) {
    const Point p = s.Pointer();
    const ClientSize client = s.Client();
    const int32_t along = t.listMode() ? p.x : p.y;
    const int32_t length = t.listMode() ? client.width : client.height;
    if (along < 0 || along >= length) {
      OutlineHidingSurface hiding(s, shown, visible);
      hiding.ScrollStep(along < 0 ? kLineBack : kLineForward, 0);
      s.PumpFor(kBandScrollPauseMs);
    }
    const Point origin = t.origin();
    const BandRect band = NormalizeBand(anchor, Add(p, origin));
    const BandRect outline = ClampOutline(Shift(band, origin), client);
    if (!visible || !(outline == shown)) {
      if (visible) s.InvertOutline(shown);
      shown = outline;
      s.InvertOutline(shown);
      visible = true;
    }
    const bool changed = !haveBand || !(band == lastBand);
    if (changed) {
      OutlineHidingSurface hiding(s, shown, visible);
      ApplyBand(t, band, mode, &hiding);
      if (!visible) {
        s.InvertOutline(shown);
        visible = true;
      }
      haveBand = true;
      lastBand = band;
    }
    if (changed)
      s.Pump();
    else
      s.PumpFor(kBandIdleMs);
  }
  if (visible) s.InvertOutline(shown);
  s.Capture(false);
  ClearBandMarks(t);
  bandActive_ = false;
  pending_.active = false;
  s.DiscardMouseMessages();
}

}  // namespace table
