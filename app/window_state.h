// The saved state of windows in the configuration file: the per-window keys of INST<n>, the
// save counter INSTID/ID, EndMode, and the writers SaveWindowState and PurgeSavedWindows.
#pragma once
#include <string>

#include "settings/bar_settings.h"

namespace app {

inline constexpr int kRestartInstanceNumber = 65;  // 1..64 belong to saved windows
inline constexpr int kSecondPaneOffset = 100;      // INST<n+100> holds pane 1 of INST<n>

// The window keys of a section, in the order they are written.
struct WindowSettings {
  int wmode = 1;        // number of panes, 1 or 2
  int focusWin = 0;     // index of the active pane; 0 when wmode is below 2
  bool clickScroll = false;
  bool menu = true;
  bool toolBarDisp = true;
  settings::ToolBarEdge toolBarPos = settings::ToolBarEdge::kTop;
  bool statusBarDisp = true;
};

WindowSettings ReadWindowSettings(int n);
void WriteWindowSettings(int n, const WindowSettings& s);

// What SaveWindowState needs from the window it saves; the frame implements it.
class WindowStateSource {
 public:
  virtual ~WindowStateSource() = default;
  virtual WindowSettings Settings() = 0;
  virtual bool HasFrame() = 0;
  virtual void WritePlacement(int n, int dx, int dy) = 0;  // Placement, Show, Shrink
  virtual bool HasActivePane() = 0;
  virtual void WritePaneSettings(int pane, int section) = 0;
  virtual bool HasActiveTable() = 0;
  virtual void WriteTableSettings(int pane, int section) = 0;
  virtual void ShowLockError() = 0;  // "Lock error" / "Error"
};

// Writes the window as instance n under the lock (n 0: NextSaveNumber of INSTID/ID), and
// records n in INSTID/ID, except for the restart number 65.
// Returns the number used, or -2 when the lock could not be had (nothing written).
int SaveWindowState(int n, WindowStateSource& source);

// Removes the restart sections INST65/INST165 always, and every saved window when INSTID/ID
// reads -1 (then ID becomes 0). onLockError is called when the lock could not be had.
// Returns false in that case.
bool PurgeSavedWindows(void (*onLockError)());

// One write while holding the configuration lock (the write is made even when the lock cannot
// be had, as a last resort).
bool WriteConfigUnderLock(const std::string& section, const char* key, const char* value);
void WriteEndMode(const char* text);
std::string ReadEndMode();  // up to 63 characters

enum class ShowCommand { kNormal, kMaximized, kMinimized };
ShowCommand ReadShowCommand(int n);  // INST<n>/Show: 1 maximised, 2 minimised, else normal

// INSTID/ID, within -1..64 whatever the file holds.
long ReadInstanceId(const char* def);
// The number a window saves as after the counter instanceId: 1..64, never the defaults (-1)
// or the restart section (65).
int NextSaveNumber(long instanceId);

// The may-close decision for the last window: true when this process must save itself as
// instance 1 (only window, not saved yet, and no save cycle running).
bool ShouldSaveAsLastWindow(int windowCount, bool stateSaved);

}  // namespace app
