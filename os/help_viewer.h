// The system's help viewer and the shell's "open", for showing the program's help: one of
// os::Services (os::Help()); tests put a failing or recording viewer in place with
// ScopedServices.
#pragma once
#include <cstdint>

namespace os {

class HelpViewer {
 public:
  // The commands of WinHelpA that the program uses (their Win32 values).
  static constexpr uint32_t kContext = 0x0001;     // HELP_CONTEXT, data: context number
  static constexpr uint32_t kQuit = 0x0002;        // HELP_QUIT
  static constexpr uint32_t kHelpOnHelp = 0x0004;  // HELP_HELPONHELP
  static constexpr uint32_t kFinder = 0x000B;      // HELP_FINDER

  virtual ~HelpViewer() = default;
  // WinHelpA(owner, file, command, data): false when there is no viewer that took the request.
  virtual bool WinHelp(uintptr_t owner, const char* file, uint32_t command, uintptr_t data) = 0;
  // ShellExecuteA(owner, "open", target, no parameters, no directory, SW_SHOWNORMAL): a file or
  // a URL opened with the program the system has for it; false when it reports 32 or less.
  virtual bool ShellOpen(uintptr_t owner, const char* target) = 0;
};

// The backend's viewer (win32 or posix, chosen at link time).
HelpViewer& BackendHelpViewer();

}  // namespace os
