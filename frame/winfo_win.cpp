#include "frame/winfo_win.h"

#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"

WINFO::~WINFO() { Destroy(); }

bool WINFO::CreatePane(HWND parent, int section, bool thinBorder) {
  settings_ = frame::ReadPaneSettings(section);
  return Create(app::kWindowClass, "",
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL |
                    (thinBorder ? WS_BORDER : 0),
                thinBorder ? 0 : WS_EX_CLIENTEDGE, 0, 0, 0, 0, parent, nullptr);
}

void WINFO::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(Handle(), &ps);
  const frame::Rgb& bk = settings_.background;
  HBRUSH brush = ::CreateSolidBrush(RGB(bk.r, bk.g, bk.b));
  ::FillRect(dc, &ps.rcPaint, brush);
  ::DeleteObject(brush);
  ::EndPaint(Handle(), &ps);
}

LRESULT WINFO::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the pane paints its whole area
    case WM_SIZE:
      width_ = LOWORD(lp);
      height_ = HIWORD(lp);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      app_->ActivatePane(index_);
      return 0;
    default:
      return DefaultProc(msg, wp, lp);
  }
}
