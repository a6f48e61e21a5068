#include "app/window_state.h"

#include "app/launcher.h"
#include "config/config_file.h"
#include "config/config_lock.h"
#include "config/program_context.h"

namespace app {
WindowSettings ReadWindowSettings(int n) {
  std::string sec = config::InstSection(n);
  WindowSettings s;
  s.wmode = static_cast<int>(config::ReadConfigLong(sec, "WMode", "1"));
  if (s.wmode != 2) s.wmode = 1;  // one pane or two; anything else would have no layout
  s.focusWin = static_cast<int>(config::ReadConfigLong(sec, "FocusWin", "0"));
  if (s.wmode < 2 || s.focusWin != 1) s.focusWin = 0;
  s.clickScroll = config::ReadConfigSwitch(sec, "ClickScroll", "Off");
  s.menu = config::ReadConfigSwitch(sec, "Menu", "On");
  s.toolBarDisp = config::ReadConfigSwitch(sec, "ToolBarDisp", "On");
  s.toolBarPos = settings::ParseToolBarEdge(config::ReadConfigString(sec, "ToolBarPos", "Top"));
  s.statusBarDisp = config::ReadConfigSwitch(sec, "StatusBarDisp", "On");
  return s;
}

void WriteWindowSettings(int n, const WindowSettings& s) {
  std::string sec = config::InstSection(n);
  config::WriteConfigLong(sec, "WMode", s.wmode);
  config::WriteConfigLong(sec, "FocusWin", s.focusWin);
  config::WriteConfigSwitch(sec, "ClickScroll", s.clickScroll);
  config::WriteConfigSwitch(sec, "Menu", s.menu);
  config::WriteConfigSwitch(sec, "ToolBarDisp", s.toolBarDisp);
  config::WriteConfigString(sec, "ToolBarPos", settings::ToolBarEdgeText(s.toolBarPos));
  config::WriteConfigSwitch(sec, "StatusBarDisp", s.statusBarDisp);
}

long ReadInstanceId(const char* def) {
  // A damaged or hand-edited counter reads as the nearest value with a meaning: below -1 as -1
  // (the saved windows are stale), above the last saved window as that window.
  const long id = config::ReadConfigLong("INSTID", "ID", def, 6);
  if (id < -1) return -1;
  if (id > kMaxSavedWindows) return kMaxSavedWindows;
  return id;
}

int NextSaveNumber(long instanceId) {
  if (instanceId < 0) return 1;
  if (instanceId >= kMaxSavedWindows) return kMaxSavedWindows;
  return static_cast<int>(instanceId) + 1;
}

int SaveWindowState(int n, WindowStateSource& source) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) {
    source.ShowLockError();
    return -2;
  }
  if (n == 0) n = NextSaveNumber(ReadInstanceId("0"));
  // A restart (65) is no save cycle: the counter keeps its value, so that the restarted window
  // is still saved when it is later closed as the last one.
  if (n != kRestartInstanceNumber) config::WriteConfigLong("INSTID", "ID", n);
  WindowSettings s = source.Settings();
  WriteWindowSettings(n, s);
  if (source.HasFrame()) source.WritePlacement(n, 32, 32);
  if (source.HasActivePane()) {
    source.WritePaneSettings(0, n);
    if (s.wmode == 2) source.WritePaneSettings(1, n + kSecondPaneOffset);
  }
  if (source.HasActiveTable()) {
    source.WriteTableSettings(0, n);
    if (s.wmode == 2) source.WriteTableSettings(1, n + kSecondPaneOffset);
  }
  config::ReleaseConfigLock(lock);
  return n;
}

bool PurgeSavedWindows(void (*onLockError)()) {
  config::ConfigLock lock = config::AcquireConfigLock();
  if (!lock) {
    if (onLockError) onLockError();
    return false;
  }
  config::DeleteConfigSection(config::InstSection(kRestartInstanceNumber));
  config::DeleteConfigSection(config::InstSection(kRestartInstanceNumber + kSecondPaneOffset));
  if (ReadInstanceId("-1") == -1) {
    for (int i = 0; i <= 64; ++i) {
      config::DeleteConfigSection(config::InstSection(i));
      config::DeleteConfigSection(config::InstSection(i + kSecondPaneOffset));
    }
    config::WriteConfigString("INSTID", "ID", "0");
  }
  config::ReleaseConfigLock(lock);
  return true;
}

bool WriteConfigUnderLock(const std::string& section, const char* key, const char* value) {
  // Without the lock a write can be lost: the profile functions rewrite the whole file, and
  // another window saving at the same moment would write back a copy read before this key.
  config::ConfigLock lock = config::AcquireConfigLock();
  return config::WriteConfigString(section, key, value);
}

void WriteEndMode(const char* text) { WriteConfigUnderLock("EndMode", "EndMode", text); }

std::string ReadEndMode() { return config::ReadConfigString("EndMode", "EndMode", "", 64); }

ShowCommand ReadShowCommand(int n) {
  switch (config::ReadConfigLong(config::InstSection(n), "Show", "0")) {
    case 1: return ShowCommand::kMaximized;
    case 2: return ShowCommand::kMinimized;
    default: return ShowCommand::kNormal;
  }
}

bool ShouldSaveAsLastWindow(int windowCount, bool stateSaved) {
  return windowCount <= 1 && !stateSaved && ReadInstanceId("-1") == -1;
}

}  // namespace app
