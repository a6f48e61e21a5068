#include "fw/splash_window.h"

namespace fw {
namespace {
const char* const kSplashClass = "SormSplash";
constexpr UINT_PTR kCloseTimer = 1;
}  // namespace

SplashWindow::~SplashWindow() {
  Destroy();
  if (bitmap_) ::DeleteObject(bitmap_);
}

bool SplashWindow::Show(int bitmapId, UINT closeAfterMs) {
  bitmap_ = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                              MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
  if (!bitmap_) return false;
  BITMAP bm{};
  ::GetObjectA(bitmap_, sizeof(bm), &bm);
  RegisterClassOnce(kSplashClass, 0, nullptr, nullptr, ::LoadCursorA(nullptr, IDC_ARROW),
                    nullptr);
  int x = (::GetSystemMetrics(SM_CXSCREEN) - bm.bmWidth) / 2;
  int y = (::GetSystemMetrics(SM_CYSCREEN) - bm.bmHeight) / 2;
  if (!Create(kSplashClass, "", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, x, y, bm.bmWidth,
              bm.bmHeight, nullptr, nullptr))
    return false;
  ::ShowWindow(Handle(), SW_SHOWNORMAL);
  ::UpdateWindow(Handle());
  ::SetCapture(Handle());
  ::SetTimer(Handle(), kCloseTimer, closeAfterMs, nullptr);
  return true;
}

LRESULT SplashWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Handle(), &ps);
      HDC mem = ::CreateCompatibleDC(dc);
      HGDIOBJ old = ::SelectObject(mem, bitmap_);
      BITMAP bm{};
      ::GetObjectA(bitmap_, sizeof(bm), &bm);
      ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteDC(mem);
      ::EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_TIMER:
      Destroy();
      return 0;
    case WM_DESTROY:
      ::KillTimer(Handle(), kCloseTimer);
      if (::GetCapture() == Handle()) ::ReleaseCapture();
      return 0;
    default:
      return DefaultProc(msg, wp, lp);
  }
}

}  // namespace fw
