#include "fw/frame_window.h"

#include <algorithm>

namespace fw {

void DecoratedFrame::InsertBar(ControlBar* bar, Edge edge) {
  RemoveBar(bar);
  bars_.push_back({bar, edge});
  Layout();
}

void DecoratedFrame::RemoveBar(ControlBar* bar) {
  bars_.erase(std::remove_if(bars_.begin(), bars_.end(),
                             [bar](const Docked& d) { return d.bar == bar; }),
              bars_.end());
}

void DecoratedFrame::Layout() {
  if (!Handle()) return;
  RECT rc;
  ::GetClientRect(Handle(), &rc);
  for (const Docked& d : bars_) {
    HWND h = d.bar->BarHandle();
    // The bar's own visibility, not its frame's: a frame not shown yet gets its bars placed
    // before it appears, so showing it does not place and paint everything a second time.
    if (!h || !(::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) continue;
    bool horizontal = d.edge == Edge::kTop || d.edge == Edge::kBottom;
    int length = horizontal ? rc.right - rc.left : rc.bottom - rc.top;
    int t = d.bar->Thickness(horizontal, length);
    switch (d.edge) {
      case Edge::kTop:
        ::MoveWindow(h, rc.left, rc.top, rc.right - rc.left, t, TRUE);
        rc.top += t;
        break;
      case Edge::kBottom:
        ::MoveWindow(h, rc.left, rc.bottom - t, rc.right - rc.left, t, TRUE);
        rc.bottom -= t;
        break;
      case Edge::kLeft:
        ::MoveWindow(h, rc.left, rc.top, t, rc.bottom - rc.top, TRUE);
        rc.left += t;
        break;
      case Edge::kRight:
        ::MoveWindow(h, rc.right - t, rc.top, t, rc.bottom - rc.top, TRUE);
        rc.right -= t;
        break;
    }
    d.bar->Placed(length);
  }
  if (client_ && client_->Handle())
    client_->Move(rc.left, rc.top, std::max(0L, rc.right - rc.left),
                  std::max(0L, rc.bottom - rc.top));
}

LRESULT DecoratedFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_SETFOCUS:
      if (client_ && client_->Handle()) ::SetFocus(client_->Handle());
      return 0;
    default:
      return DefaultProc(msg, wp, lp);
  }
}

}  // namespace fw
