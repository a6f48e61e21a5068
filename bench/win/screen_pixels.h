// Pixels as the screen shows them, for the benchmarks and the end-to-end tests that watch what a
// window paints.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace screen {

// The screen's device context for a scope.
class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A memory DC and a bitmap like the screen's, both gone with the scope.
struct MemoryBitmap {
  MemoryBitmap(HDC like, int w, int h)
      : dc(::CreateCompatibleDC(like)), bitmap(::CreateCompatibleBitmap(like, w, h)) {}
  ~MemoryBitmap() {
    if (bitmap) ::DeleteObject(bitmap);
    if (dc) ::DeleteDC(dc);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  HDC dc;
  HBITMAP bitmap;
};

// The w x h pixels whose top left is at screen point (x, y), top row first, as 0x00RRGGBB.
inline std::vector<DWORD> Pixels(int x, int y, int w, int h) {
  std::vector<DWORD> px;
  if (w <= 0 || h <= 0) return px;
  px.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  ScreenDc screen;
  MemoryBitmap mem(screen.get(), w, h);
  if (!mem.dc || !mem.bitmap) return px;
  HGDIOBJ old = ::SelectObject(mem.dc, mem.bitmap);
  ::BitBlt(mem.dc, 0, 0, w, h, screen.get(), x, y, SRCCOPY);
  ::SelectObject(mem.dc, old);  // GetDIBits wants the bitmap out of any DC
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  ::GetDIBits(mem.dc, mem.bitmap, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
  return px;
}

// The pixels of a client rectangle of window (client coordinates).
inline std::vector<DWORD> ClientPixels(HWND window, int x, int y, int w, int h) {
  POINT p{x, y};
  ::ClientToScreen(window, &p);
  return Pixels(p.x, p.y, w, h);
}

}  // namespace screen
