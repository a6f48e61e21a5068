// The baseline for start-up: a bare Win32 program that registers a class, opens one window and
// runs its message loop.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "SormBareWindow";
  ::RegisterClassA(&wc);
  HWND h = ::CreateWindowA("SormBareWindow", "bare", WS_OVERLAPPEDWINDOW, 40, 40, 420, 300,
                           nullptr, nullptr, inst, nullptr);
  ::ShowWindow(h, show);
  ::UpdateWindow(h);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}
