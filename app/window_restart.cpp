#include "app/window_restart.h"

#include "config/config_file.h"
#include "config/config_lock.h"
#include "config/instance_paths.h"
#include "os/services.h"

namespace app {
namespace {
constexpr uint32_t kShowNormal = 5;  // SW_SHOW
constexpr uint32_t kWinExecStarted = 32;  // WinExec succeeded when its result is above 31
}  // namespace

bool StartRestartedWindow(WindowStateSource& source, const std::string& exePath) {
  if (SaveWindowState(kRestartInstanceNumber, source) != kRestartInstanceNumber) return false;
  const std::string line = config::InstanceCommandLine(exePath, kRestartInstanceNumber);
  if (os::Sys().WinExec(line.c_str(), kShowNormal) >= kWinExecStarted) return true;
  config::ConfigLock lock = config::AcquireConfigLock();
  config::DeleteConfigSection(config::InstSection(kRestartInstanceNumber));
  config::DeleteConfigSection(config::InstSection(kRestartInstanceNumber + kSecondPaneOffset));
  return false;
}

const char* RestartFailedMessage() {
  return "ウィンドウを再起動できませんでした。このウィンドウはそのまま使えます";
}

}  // namespace app
