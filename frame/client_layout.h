// Where the panes and title bars of the client window go.
#pragma once

namespace frame {

inline constexpr int kTitleBarHeight = 16;

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

struct ClientLayout {
  Rect title[2];  // two-pane mode only
  Rect pane[2];
};

// One pane covers the client. Two panes split the width at w/2 (the right one gets the odd
// pixel) below title bars of the given height.
ClientLayout ComputeClientLayout(int w, int h, int paneCount, int titleHeight);

}  // namespace frame
