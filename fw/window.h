// The thin window layer: a C++ object per HWND. One window procedure, shared by every class
// registered through Window::RegisterClassOnce, finds the object stored with the window and calls
// its OnMessage; what the object does not handle goes to DefWindowProc (or DefFrameProc-like
// handling a derived class chooses).
#pragma once
#include <windows.h>

namespace fw {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }
  bool Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
              int w, int h, HWND parent, HMENU menu);
  // Destroys the window (the object stays alive; it is told through OnDestroyed).
  void Destroy();

  // Registers a class whose windows are served by this layer. Idempotent per name.
  static bool RegisterClassOnce(const char* name, UINT style, HICON icon, HICON smallIcon,
                                HCURSOR cursor, HBRUSH background);
  static Window* FromHandle(HWND hwnd);

  void Move(int x, int y, int w, int h, bool repaint = true) const {
    ::MoveWindow(hwnd_, x, y, w, h, repaint ? TRUE : FALSE);
  }
  void Invalidate(bool erase = false) const { ::InvalidateRect(hwnd_, nullptr, erase); }

 protected:
  // Handles a message; return DefaultProc(...) for what is not handled.
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  virtual LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

}  // namespace fw
