// Owners for GDI objects and device contexts: every font, brush, pen and bitmap the panes make
// is deleted, every selection undone and every device context given back on all paths.
#pragma once
#include <windows.h>

#include <utility>

#include "frame/pane_settings.h"

namespace frame::gdi {

inline COLORREF ToColorRef(const Rgb& c) { return RGB(c.r, c.g, c.b); }

// A font, brush, pen or bitmap, deleted with DeleteObject. Declare it before any Selection of
// it, so that the selection is undone first.
template <class Handle>
class Object {
 public:
  Object() = default;
  explicit Object(Handle h) : h_(h) {}
  ~Object() { Reset(); }
  Object(Object&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  Object& operator=(Object&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(Handle h = nullptr) {
    if (h_) ::DeleteObject(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

using Font = Object<HFONT>;
using Brush = Object<HBRUSH>;
using Pen = Object<HPEN>;
using Bitmap = Object<HBITMAP>;

inline Brush SolidBrush(const Rgb& c) { return Brush(::CreateSolidBrush(ToColorRef(c))); }

// Selects an object into a device context for the guard's lifetime.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory device context compatible with another (CreateCompatibleDC / DeleteDC).
class MemoryDc {
 public:
  explicit MemoryDc(HDC like) : dc_(::CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc_) ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A window's client-area device context (GetDC / ReleaseDC); the screen's for a null window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A window's paint (BeginPaint / EndPaint).
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &ps_)) {}
  ~PaintDc() { ::EndPaint(window_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return dc_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Keeps a device context's text colours, background mode and viewport origin as they were
// (SaveDC / RestoreDC).
class SavedState {
 public:
  explicit SavedState(HDC dc) : dc_(dc), saved_(dc ? ::SaveDC(dc) : 0) {}
  ~SavedState() {
    if (saved_) ::RestoreDC(dc_, saved_);
  }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace frame::gdi
