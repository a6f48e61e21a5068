// The selection of a file table: the Selected bit of the entries with the table's totals kept
// in step, the entry a single-entry command uses, and Shift range selection with its anchor.
// "." and ".." are never selected by any of these. Every change asks the pane to draw the
// entries concerned again (surface may be null where no window shows the table).
#pragma once
#include <cstdint>
#include <vector>

#include "table/pane_surface.h"
#include "table/sorm.h"

namespace table {

// False for "." and "..".
bool IsSelectable(const SM_DAT& d);

// Each returns true when the entry's Selected bit changed. A null entry or the sentinel
// changes nothing.
bool Select(Sorm& t, BINFO* entry, PaneSurface* surface);
bool Deselect(Sorm& t, BINFO* entry, PaneSurface* surface);
bool Toggle(Sorm& t, BINFO* entry, PaneSurface* surface);

// Return the number of entries changed. Many changes at once repaint the pane instead of
// drawing each entry. DeselectAll stops as soon as the totals say nothing is left selected,
// so with an empty selection it costs nothing whatever the length of the list.
int32_t SelectAll(Sorm& t, PaneSurface* surface);
int32_t DeselectAll(Sorm& t, PaneSurface* surface);
// Every entry with an index from the lower to the higher of a and b, both included.
int32_t SelectRange(Sorm& t, int32_t a, int32_t b, PaneSurface* surface);
int32_t DeselectRange(Sorm& t, int32_t a, int32_t b, PaneSurface* surface);

// The entry a single-entry command uses: the first selected entry in display order; when
// nothing is selected, the cursor entry. Null when that is "." or "..", or there is no cursor.
BINFO* TargetEntry(const Sorm& t);

// The cursor's index, 0 when the table has no cursor (an empty list).
int32_t CursorIndex(const Sorm& t);

// Sets or clears the Selected bit with the totals, drawing nothing; true when it changed.
bool SetSelectedBit(Sorm& t, BINFO* entry, bool on);

// Collects the entries a bulk change touched and draws them when it goes out of scope, or
// repaints the pane once instead when there were more than a few dozen.
class RedrawBatch {
 public:
  explicit RedrawBatch(PaneSurface* surface) : surface_(surface) {}
  ~RedrawBatch();
  RedrawBatch(const RedrawBatch&) = delete;
  RedrawBatch& operator=(const RedrawBatch&) = delete;
  void Add(const BINFO* entry);

 private:
  PaneSurface* surface_;
  std::vector<const BINFO*> entries_;
  bool overflow_ = false;
};

// Moves the cursor to entry and draws both the entry it left and the new one.
void MoveCursorTo(Sorm& t, BINFO* entry, PaneSurface* surface);

// Shift range selection of the keyboard, one per process: set by the first movement key with
// Shift, which makes the cursor's index the anchor. It belongs to the table it began in; in
// another table it counts as not set.
struct RangeState {
  bool active = false;
  int32_t anchor = 0;
  const Sorm* table = nullptr;

  bool ActiveIn(const Sorm& t) const { return active && table == &t; }
  void Begin(const Sorm& t) {
    active = true;
    anchor = CursorIndex(t);
    table = &t;
  }
  void Clear() { active = false; }
};

// The selection changes of one cursor move from index from to index to with the range
// anchored at anchor, made before the cursor moves: the anchor entry is selected; every entry
// strictly between from and to is toggled, except the anchor itself, which stays selected when
// the move crosses it; the entry left is deselected when the move went back toward the anchor;
// the entry reached is selected, or deselected when it is the anchor.
void ExtendRange(Sorm& t, int32_t anchor, int32_t from, int32_t to, PaneSurface* surface);

}  // namespace table
