#include "fileops/operation_pump_win.h"

#include "fw/application.h"
#include "fileops/drop_handle_win.h"
#include "os/drop_memory.h"
#include "os/services.h"

namespace fileops {
namespace {

// The top-level ancestor of a window, found by following GetParent (which gives the owner of
// an owned top-level window).
HWND TopLevelOf(HWND hwnd) {
  for (int depth = 0; hwnd && depth < 64; ++depth) {
    HWND parent = ::GetParent(hwnd);
    if (!parent) return hwnd;
    hwnd = parent;
  }
  return hwnd;
}

}  // namespace

void WindowsPump::PumpPending() {
  MSG msg;
  for (int handled = 0; handled < kMaxMessagesPerRun; ++handled) {
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (fw::Application::ModelessDialogMessage(msg)) continue;
    const bool command = !commandRunning_ || commandRunning_();
    const HWND frame = mainFrame_;
    const bool inFrame = command && msg.hwnd && frame && TopLevelOf(msg.hwnd) == frame;
    if (RouteMessage(command, inFrame, msg.message) == PumpRoute::kDrop) {
      // A drop refused during a command: its block is freed here, as its handler would.
      if (msg.message == WM_DROPFILES && msg.wParam)
        FreeReceivedDrop(reinterpret_cast<HDROP>(msg.wParam));
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void PumpMessagesFor(uint32_t ms) {
  const uint32_t start = os::Sys().TickCount();
  for (;;) {
    RunOperationPump();
    const uint32_t now = os::Sys().TickCount();
    if (now < start || now - start >= ms) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - (now - start), QS_ALLINPUT);
  }
}

}  // namespace fileops
