#include "app/launcher.h"

#include <atomic>
#include <memory>
#include <thread>

#include "config/config_file.h"
#include "config/instance_paths.h"
#include "app/window_state.h"
#include "os/services.h"

namespace app {
namespace {
constexpr uint32_t kStartGraceMs = 3000;
constexpr uint32_t kPollMs = 10;
}  // namespace

bool HasSavedPlacement(int n) {
  return !config::ReadConfigString(config::InstSection(n), "Placement", "", 64).empty();
}

std::vector<int> LauncherStartOrder(const std::string& endMode) {
  std::vector<int> order;
  if (endMode == "EndSession") {
    order.push_back(1);
    for (int n = 2; n < kMaxSavedWindows && HasSavedPlacement(n); ++n) order.push_back(n);
  } else {
    for (int n = kMaxSavedWindows; n >= 2; --n)
      if (HasSavedPlacement(n)) order.push_back(n);
    order.push_back(1);
  }
  return order;
}

std::vector<std::string> RunLauncher(const std::string& exePath, LauncherUi& ui) {
  ui.ShowSplash();
  std::vector<std::string> lines;
  for (int n : LauncherStartOrder(config::ReadConfigString("EndMode", "EndMode", "", 64)))
    lines.push_back(config::InstanceCommandLine(exePath, n));

  // One short-lived thread per start runs WinExec, which returns once that process is idle.
  // Each start is given up to kStartGraceMs to get there before the next begins, so the windows
  // come up in the launcher's order and window 1 ends on top; a slow start holds the others back
  // no longer than that.
  std::vector<std::thread> starters;
  std::vector<std::unique_ptr<std::atomic<bool>>> done;
  starters.reserve(lines.size());
  for (const std::string& line : lines) {
    done.push_back(std::make_unique<std::atomic<bool>>(false));
    std::atomic<bool>* flag = done.back().get();
    starters.emplace_back([&line, flag] {
      os::Sys().WinExec(line.c_str(), 5 /* SW_SHOW */);
      flag->store(true);
    });
    for (uint32_t waited = 0; !flag->load() && waited < kStartGraceMs; waited += kPollMs)
      ui.Wait(kPollMs);
  }
  ui.Wait(200);
  ui.CloseSplash();
  for (std::thread& t : starters) t.join();

  WriteConfigUnderLock("INSTID", "ID", "-1");
  return lines;
}

}  // namespace app
