// The launcher: re-opens the windows saved at the last quit or session end, then exits.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace app {

inline constexpr int kMaxSavedWindows = 64;

// The instance numbers to start, in order. After "EndSession" (exactly): 1, then 2, 3, ... up
// to 63 while INST<n>/Placement is non-empty. Otherwise every saved window from 64 down to 2
// (gaps skipped), then 1, which is started whether or not it was saved. The window saved as
// number 1 so comes up last and ends on top.
std::vector<int> LauncherStartOrder(const std::string& endMode);

bool HasSavedPlacement(int n);

// Callbacks around the starts; the Win32 launcher shows its splash window through them.
class LauncherUi {
 public:
  virtual ~LauncherUi() = default;
  virtual void ShowSplash() = 0;
  // Every pause of the launcher while the splash may be up: lets ms pass while the splash
  // keeps answering its click and its timer.
  virtual void Wait(uint32_t ms) = 0;
  virtual void CloseSplash() = 0;  // after the starts and a 200 ms pause
};

// Starts every instance of the order, each from a short-lived thread of its own running
// WinExec (which returns once that process is idle), the next one once the previous is idle or
// after a few seconds, waiting through ui.Wait; waits for all of them, then writes
// INSTID/ID = -1. Returns the command lines started, in order.
std::vector<std::string> RunLauncher(const std::string& exePath, LauncherUi& ui);

}  // namespace app
