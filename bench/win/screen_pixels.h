// Pixels as the screen shows them, for the benchmarks and the end-to-end tests that watch what a
// window paints.
#pragma once
#include <windows.h>

#include <vector>

#include "frame/gdi_objects_win.h"

namespace screen {

// The w x h pixels whose top left is at screen point (x, y), top row first, as 0x00RRGGBB.
inline std::vector<DWORD> Pixels(int x, int y, int w, int h) {
  std::vector<DWORD> px;
  if (w <= 0 || h <= 0) return px;
  px.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  frame::gdi::WindowDc screen(nullptr);
  frame::gdi::Bitmap bitmap(::CreateCompatibleBitmap(screen.Get(), w, h));
  frame::gdi::MemoryDc mem(screen.Get());
  if (!bitmap || !mem.Get()) return px;
  {
    frame::gdi::Selection selected(mem.Get(), bitmap.Get());
    ::BitBlt(mem.Get(), 0, 0, w, h, screen.Get(), x, y, SRCCOPY);
  }  // GetDIBits wants the bitmap out of any DC
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  ::GetDIBits(mem.Get(), bitmap.Get(), 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
  return px;
}

// The pixels of a client rectangle of window (client coordinates).
inline std::vector<DWORD> ClientPixels(HWND window, int x, int y, int w, int h) {
  POINT p{x, y};
  ::ClientToScreen(window, &p);
  return Pixels(p.x, p.y, w, h);
}

}  // namespace screen
