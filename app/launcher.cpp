#include "app/launcher.h"

#include <thread>

#include "app/config_file.h"
#include "app/instance_paths.h"
#include "os/services.h"

namespace app {

bool HasSavedPlacement(int n) {
  return !ReadConfigString(InstSection(n), "Placement", "", 64).empty();
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
  for (int n : LauncherStartOrder(ReadConfigString("EndMode", "EndMode", "", 64)))
    lines.push_back(InstanceCommandLine(exePath, n));

  std::vector<std::thread> starters;
  starters.reserve(lines.size());
  for (const std::string& line : lines) {
    starters.emplace_back([&line] { os::Sys().WinExec(line.c_str(), 5 /* SW_SHOW */); });
    // Let each start get under way before the next, so windows come up in this order.
    os::Sys().Sleep(50);
  }
  os::Sys().Sleep(200);
  ui.CloseSplash();
  for (std::thread& t : starters) t.join();

  WriteConfigString("INSTID", "ID", "-1");
  return lines;
}

}  // namespace app
