#include "frame/client_layout.h"

namespace frame {

ClientLayout ComputeClientLayout(int w, int h, int paneCount, int titleHeight) {
  ClientLayout l;
  if (w < 0) w = 0;
  if (h < 0) h = 0;
  if (paneCount < 2) {
    l.pane[0] = {0, 0, w, h};
    return l;
  }
  int half = w / 2;
  int t = titleHeight < h ? titleHeight : h;
  l.title[0] = {0, 0, half, t};
  l.title[1] = {half, 0, w - half, t};
  l.pane[0] = {0, t, half, h - t};
  l.pane[1] = {half, t, w - half, h - t};
  return l;
}

}  // namespace frame
