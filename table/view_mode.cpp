#include "table/view_mode.h"

#include <string>

#include "table/cursor_move.h"
#include "table/layout_math.h"

namespace table {
namespace {

// Moves the origin so that the cursor's line is the first in view when it is out of view, and
// lays the table out again for the scroll bars. True when the origin moved.
bool BringCursorIntoView(Sorm& t) {
  if (!t.HasCursor()) return false;
  const MoveGrid g = GridOf(t);
  const int32_t line = LineOf(g.index, g.perLine);
  if (!ScrollToShow(line, g.firstLine, g.linesPerPage)) return false;
  // The origin the pane's scroll thumb gives for that line.
  const bool list = t.listMode();
  const LayoutMetrics& m = t.metrics();
  Point o = t.origin();
  const ScrollMove mv = ComputeScroll(kThumbTrack, line, list ? o.x : o.y,
                                      list ? t.extentWidth() : t.extentHeight(),
                                      list ? t.pageSize().width : t.pageSize().height,
                                      list ? m.cellWidth : m.cellHeight, g.linesPerPage);
  if (!mv.moves) return false;
  (list ? o.x : o.y) = mv.origin;
  t.SetOrigin(o);
  t.Layout();
  return true;
}

}  // namespace

bool SwitchViewMode(Sorm& t, int16_t mode) {
  const int16_t wanted = mode == kListMode ? kListMode : kIconMode;
  if (t.viewMode() == wanted) return false;
  // The reload keeps a cursor by its index only while it is in view at the old origin, which
  // means nothing in the other mode: the cursor is found again by its name.
  t.SetViewMode(wanted);
  ReloadKeepingCursor(t);
  return true;
}

void ReloadKeepingCursor(Sorm& t) {
  const std::string name = t.HasCursor() ? t.cursor()->Data()->name : std::string();
  t.ReloadKeepPosition();
  if (BINFO* e = name.empty() ? nullptr : t.FindEntryByName(name.c_str())) {
    t.SetCursor(e);
    BringCursorIntoView(t);
  }
}

}  // namespace table
