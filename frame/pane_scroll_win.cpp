#include "frame/pane_scroll_win.h"

#include "frame/scroll_rules.h"
#include "table/layout_math.h"

namespace frame {
namespace {

// A bar that appears narrows the client area, whose new layout sets the bars again; a layout
// that kept making a bar come and go would otherwise recurse without end.
constexpr int kMaxBarsNesting = 3;

class SuppressPainting {
 public:
  explicit SuppressPainting(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
  ~SuppressPainting() { flag_ = old_; }
  SuppressPainting(const SuppressPainting&) = delete;
  SuppressPainting& operator=(const SuppressPainting&) = delete;

 private:
  bool& flag_;
  bool old_;
};

void SetBar(HWND pane, int bar, int32_t min, int32_t max, int32_t pos) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_POS;  // a range of one value hides the bar
  si.nMin = min;
  si.nMax = max;
  si.nPos = pos;
  ::SetScrollInfo(pane, bar, &si, TRUE);
}

}  // namespace

void ApplyScrollBars(HWND pane, const table::ScrollBars& bars, PaneScrollState& state) {
  if (state.barsNesting >= kMaxBarsNesting) return;
  ++state.barsNesting;
  {
    SuppressPainting suppress(state.paintingSuppressed);
    const bool horizontalHidden = bars.horizontalMin == bars.horizontalMax;
    if (horizontalHidden) {
      SetBar(pane, SB_HORZ, bars.horizontalMin, bars.horizontalMax, bars.horizontalPos);
      SetBar(pane, SB_VERT, bars.verticalMin, bars.verticalMax, bars.verticalPos);
    } else {
      SetBar(pane, SB_VERT, bars.verticalMin, bars.verticalMax, bars.verticalPos);
      SetBar(pane, SB_HORZ, bars.horizontalMin, bars.horizontalMax, bars.horizontalPos);
    }
  }
  --state.barsNesting;
}

void HandleScrollMessage(HWND pane, table::Sorm& table, bool vertical, WPARAM wParam,
                         PaneScrollState& state) {
  if (!BarScrollsTable(vertical, table.listMode())) return;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!::GetScrollInfo(pane, vertical ? SB_VERT : SB_HORZ, &si)) return;
  const auto request = MapScrollCode(LOWORD(wParam), HIWORD(wParam), si.nTrackPos, si.nPos,
                                     si.nMax);
  if (request) ScrollPane(pane, table, request->kind, request->position, state);
}

bool ScrollPane(HWND pane, table::Sorm& table, int kind, int32_t position,
                PaneScrollState& state) {
  const table::LayoutMetrics& m = table.metrics();
  const bool list = table.listMode();
  const int32_t cell = list ? m.cellWidth : m.cellHeight;
  if (cell <= 0) return false;
  const table::Point origin = table.origin();
  const table::ClientSize client = table.pageSize();
  const int32_t along = list ? origin.x : origin.y;
  const table::ScrollMove move =
      table::ComputeScroll(kind, position, along, list ? table.extentWidth() : table.extentHeight(),
                           list ? client.width : client.height, cell, m.linesPerPage);
  if (!move.moves) return false;
  // What is still waiting to be painted is painted for the old origin before the pixels move.
  ::UpdateWindow(pane);
  table.SetOrigin(list ? table::Point{move.origin, origin.y} : table::Point{origin.x, move.origin});
  const int32_t distance = along - move.origin;
  if (move.lineStep) {
    ::ScrollWindow(pane, list ? distance : 0, list ? 0 : distance, nullptr, nullptr);
  } else {
    ::InvalidateRect(pane, nullptr, FALSE);
  }
  ::UpdateWindow(pane);
  {
    SuppressPainting suppress(state.paintingSuppressed);
    ::SetScrollPos(pane, list ? SB_HORZ : SB_VERT, table::ScrollBarPosition(move.origin, cell),
                   TRUE);
  }
  return true;
}

}  // namespace frame
