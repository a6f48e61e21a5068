#include "fw/window.h"

namespace fw {
namespace {
// The object of a window of a class served by Window::Proc. It sits in the window's user data
// rather than in a window property: the user data is read in-process, while every property look-up
// is a round trip to the window server under Wine, and this look-up runs for every message.
Window* StoredObject(HWND hwnd) {
  return reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}
}  // namespace

Window::~Window() { Destroy(); }

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                    int y, int w, int h, HWND parent, HMENU menu) {
  HWND h2 = ::CreateWindowExA(exStyle, className, title, style, x, y, w, h, parent, menu,
                              ::GetModuleHandleA(nullptr), this);
  return h2 != nullptr;
}

void Window::Destroy() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Window::RegisterClassOnce(const char* name, UINT style, HICON icon, HICON smallIcon,
                               HCURSOR cursor, HBRUSH background) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (::GetClassInfoExA(::GetModuleHandleA(nullptr), name, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = &Window::Proc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return ::RegisterClassExA(&wc) != 0;
}

Window* Window::FromHandle(HWND hwnd) {
  // Only windows of this layer's classes hold an object in their user data.
  if (!hwnd || static_cast<ULONG_PTR>(::GetClassLongPtrA(hwnd, GCLP_WNDPROC)) !=
                   reinterpret_cast<ULONG_PTR>(&Window::Proc))
    return nullptr;
  return StoredObject(hwnd);
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT Window::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = StoredObject(hwnd);
  if (!self && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    self = static_cast<Window*>(cs->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    LRESULT r = self->OnMessage(msg, wp, lp);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
    return r;
  }
  return self->OnMessage(msg, wp, lp);
}

}  // namespace fw
