#include "fw/application.h"

#include <algorithm>
#include <vector>

namespace fw {
namespace {
std::vector<HWND>& Modeless() {
  static std::vector<HWND> dialogs;
  return dialogs;
}
}  // namespace

void Application::AddModeless(HWND dialog) { Modeless().push_back(dialog); }

void Application::RemoveModeless(HWND dialog) {
  auto& d = Modeless();
  d.erase(std::remove(d.begin(), d.end(), dialog), d.end());
}

bool Application::ModelessDialogMessage(MSG& msg) {
  if (!msg.hwnd) return false;
  // A copy: the dialog may close (and leave the list) while it handles the message.
  const std::vector<HWND> dialogs = Modeless();
  for (HWND d : dialogs) {
    if ((msg.hwnd == d || ::IsChild(d, msg.hwnd)) && ::IsDialogMessageA(d, &msg)) return true;
  }
  return false;
}

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
    if (ModelessDialogMessage(msg)) continue;
    if (PreDispatch(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return Terminate(msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0);
}

}  // namespace fw
