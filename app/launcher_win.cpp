#include "app/launcher_win.h"

#include <windows.h>

#include "app/launcher.h"
#include "config/program_context.h"
#include "fw/splash_window.h"
#include "os/clock.h"
#include "resources/resource_ids.h"

namespace app {
namespace {

class SplashUi final : public LauncherUi {
 public:
  void ShowSplash() override {
    if (splash_.Show(IDB_SPLASH, 1000)) Pump();
  }
  void Wait(uint32_t ms) override {
    // The splash is topmost: while it is up it must answer its click, its timer and its paint.
    const uint64_t until = os::MonotonicMicros() + uint64_t{ms} * 1000;
    for (;;) {
      Pump();
      const uint64_t now = os::MonotonicMicros();
      if (now >= until) break;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>((until - now + 999) / 1000),
                                  QS_ALLINPUT);
    }
  }
  void CloseSplash() override {
    Pump();  // a click or the time-out may already have closed it
    if (splash_.Handle()) splash_.Destroy();
  }

 private:
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  fw::SplashWindow splash_;
};

}  // namespace

int RunLauncherProcess() {
  SplashUi ui;
  RunLauncher(config::Context().programPath, ui);
  return 0;
}

}  // namespace app
