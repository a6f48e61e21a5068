// What the cursor, selection, keyboard and mouse code of a file table asks of the pane window
// that shows the table: drawing entries again after their marks changed and scrolling. The pane
// window implements it over its painter and its scroll code; tests implement it with a
// recorder.
#pragma once
#include <cstdint>

#include "table/binfo.h"

namespace table {

class PaneSurface {
 public:
  virtual ~PaneSurface() = default;

  // The cursor or selection mark of entry changed: its cell is drawn again as it now is (the
  // focus frame only on the cursor of the active pane). An entry outside the client area
  // draws nothing.
  virtual void RedrawEntry(const BINFO* entry) = 0;
  // So many entries changed at once that one repaint of the pane replaces drawing each.
  virtual void RepaintAll() = 0;
  // One scroll step of the table along its scroll axis (y in icon mode, x in list mode): kind
  // is a ScrollKind (kLineBack, kLineForward, kPageBack, kPageForward, or kThumbTrack with
  // position counted in lines from the start). The table's origin changes and the pane moves
  // its pixels or repaints, the cursor's focus frame kept right. True when the origin moved.
  virtual bool ScrollStep(int kind, int32_t position) = 0;
};

}  // namespace table
