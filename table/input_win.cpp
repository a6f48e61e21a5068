#include "table/input_win.h"

#include "table/key_binding.h"

namespace table {

namespace {

uint8_t ModifiersBy(SHORT(WINAPI* keyState)(int)) {
  uint8_t m = 0;
  if (keyState(VK_SHIFT) < 0) m |= kModShift;
  if (keyState(VK_CONTROL) < 0) m |= kModCtrl;
  if (keyState(VK_MENU) < 0) m |= kModAlt;
  return m;
}

}  // namespace

uint8_t ModifiersNow() { return ModifiersBy(&::GetAsyncKeyState); }

uint8_t ModifiersOfMessage() { return ModifiersBy(&::GetKeyState); }

bool KeyOfMessage(const MSG& msg, uint32_t* key) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      *key = static_cast<uint32_t>(msg.wParam);
      return true;
    case WM_CHAR:
      if (msg.wParam >= 1 && msg.wParam <= 26) {
        *key = static_cast<uint32_t>(msg.wParam);
        return true;
      }
      return false;
    default:
      return false;
  }
}

Point PointOfMessage(LPARAM lp) {
  return Point{static_cast<int32_t>(static_cast<short>(LOWORD(lp))),
               static_cast<int32_t>(static_cast<short>(HIWORD(lp)))};
}

ClientSize PaneMouseSurfaceWin::Client() {
  RECT rc{};
  ::GetClientRect(pane_, &rc);
  return ClientSize{rc.right, rc.bottom};
}

Point PaneMouseSurfaceWin::Pointer() {
  POINT pt{};
  ::GetCursorPos(&pt);
  ::ScreenToClient(pane_, &pt);
  return Point{pt.x, pt.y};
}

bool PaneMouseSurfaceWin::ButtonHeld(MouseButton b) {
  // GetAsyncKeyState reads the physical buttons.
  const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
  const bool left = (b == MouseButton::kLeft) != swapped;
  return ::GetAsyncKeyState(left ? VK_LBUTTON : VK_RBUTTON) < 0;
}

void PaneMouseSurfaceWin::Capture(bool on) {
  if (on)
    ::SetCapture(pane_);
  else if (::GetCapture() == pane_)
    ::ReleaseCapture();
}

void PaneMouseSurfaceWin::InvertOutline(const BandRect& r) {
  HDC dc = ::GetDC(pane_);
  if (!dc) return;
  const int oldRop = ::SetROP2(dc, R2_NOT);
  HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(dc, r.left, r.top, r.right + 1, r.bottom + 1);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::SetROP2(dc, oldRop);
  ::ReleaseDC(pane_, dc);
}

bool PaneMouseSurfaceWin::PointerOverClient() {
  POINT pt{};
  ::GetCursorPos(&pt);
  if (::WindowFromPoint(pt) != pane_) return false;
  return ::SendMessageA(pane_, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTCLIENT;
}

void PaneMouseSurfaceWin::DiscardMouseMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, pane_, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
}

void PostRightButtonUp(HWND pane, Point p) {
  ::PostMessageA(pane, WM_RBUTTONUP, 0,
                 MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x)),
                            static_cast<WORD>(static_cast<short>(p.y))));
}

}  // namespace table
