#include "fw/application.h"

namespace fw {

int Application::Run() {
  if (!BuildWindows() || !AttachTables()) return Terminate(1);
  MSG msg;
  long idleCount = 0;
  for (;;) {
    while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!Idle(idleCount++)) break;
    }
    BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) break;
    idleCount = 0;
    if (PreDispatch(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return Terminate(msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0);
}

}  // namespace fw
