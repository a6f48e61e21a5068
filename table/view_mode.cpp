#include "table/view_mode.h"

#include "table/cursor_move.h"
#include "table/layout_math.h"

namespace table {

bool SwitchViewMode(Sorm& t, int16_t mode) {
  const int16_t wanted = mode == kListMode ? kListMode : kIconMode;
  if (t.viewMode() == wanted) return false;
  t.SetViewMode(wanted);
  // Positions in the new mode, so that the cursor's line can be found.
  t.Layout();
  if (t.HasCursor()) {
    const MoveGrid g = GridOf(t);
    const int32_t line = LineOf(g.index, g.perLine);
    if (ScrollToShow(line, g.firstLine, g.linesPerPage)) {
      // The origin the pane's thumb would give for that line.
      const bool list = t.listMode();
      const LayoutMetrics& m = t.metrics();
      Point o = t.origin();
      const ScrollMove mv =
          ComputeScroll(kThumbTrack, line, list ? o.x : o.y,
                        list ? t.extentWidth() : t.extentHeight(),
                        list ? t.pageSize().width : t.pageSize().height,
                        list ? m.cellWidth : m.cellHeight, g.linesPerPage);
      if (mv.moves) {
        (list ? o.x : o.y) = mv.origin;
        t.SetOrigin(o);
      }
    }
  }
  // The rescan keeps the cursor it finds in view at this origin.
  t.ReloadKeepPosition();
  return true;
}

}  // namespace table
