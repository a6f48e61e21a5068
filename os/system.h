// Process, user, time and locale services.
#pragma once
#include <cstdint>
#include <string>

namespace os {

class System {
 public:
  virtual ~System() = default;
  // GetUserNameA: false when the buffer (size bytes including the terminator) is too small.
  virtual bool GetUserName(char* buf, uint32_t* size) = 0;
  virtual uint32_t WindowsMajorVersion() = 0;  // GetVersionExA, dwMajorVersion
  virtual uint32_t TickCount() = 0;            // GetTickCount
  virtual void Sleep(uint32_t ms) = 0;         // Sleep
  // PeekMessageA(PM_NOREMOVE) on the calling thread's queue, so that messages sent by other
  // windows are served while a loop waits. True when a message is waiting.
  virtual bool PeekPending() = 0;
  // WinExec: starts a command line; returns a value above 31 on success. For a GUI program it
  // returns once the started process is idle or after its time-out.
  virtual uint32_t WinExec(const char* commandLine, int show) = 0;
  // Minutes to add to local time to get UTC (GetTimeZoneInformation's current bias,
  // daylight saving included), for FileTimeToLocalFileTime.
  virtual int32_t TimeZoneBiasMinutes() = 0;
  // lstrcmpiA in the user's locale: exactly -1, 0 or 1.
  virtual int CompareNoCase(const char* a, const char* b) = 0;
  // LCMapStringA(LCMAP_SORTKEY | NORM_IGNORECASE): comparing two keys with memcmp gives the
  // same order as CompareNoCase on their texts.
  virtual std::string SortKey(const char* text) = 0;
  // SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_EXETYPE): the executable-type code of
  // os/exe_type.h, 0 for a file that is no program or cannot be read.
  virtual uint32_t ExecutableType(const char* path) = 0;
  // The folders a program named without a path is looked for in, after the program's own
  // folder, separated by ";": GetSystemDirectoryA, GetWindowsDirectoryA, then the PATH
  // environment variable (GetEnvironmentVariableA). Never the current directory.
  virtual std::string ProgramSearchPath() = 0;
};

}  // namespace os
