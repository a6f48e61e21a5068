// Process-wide values, set once at start-up before any window exists and read everywhere.
#pragma once
#include <cstdint>
#include <string>

namespace app {

struct ProcessGlobals {
  std::string exePath;                 // argv[0]
  std::string configFilePath;          // full path of sorm.cfg (at most 259 bytes)
  bool configPathFromRegistry = false;
  std::string lockFilePath;            // directory of exePath + "smlock"
  std::string helpFilePath;            // directory of exePath + "sorm32.hlp"
  int instanceNumber = 0;              // 0 launcher, -1 new window, n numbered instance
  uint32_t windowsMajorVersion = 4;
  bool stateSaved = false;             // window state written for this quit/restart/session end
  void* mainFrameHandle = nullptr;     // HWND of the main frame once it exists
};

ProcessGlobals& Globals();

}  // namespace app
