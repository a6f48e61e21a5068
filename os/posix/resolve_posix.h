// Turns a path argument into its full Windows form and host path, setting os::LastError the
// way the Win32 call would when it cannot (bad characters, unknown drive, UNC name).
#pragma once
#include <string>

namespace os::posix {

struct Resolved {
  std::string full;  // "X:\..." as GetFullPathNameA gives it
  std::string host;  // case-resolved host path
};

// With keepLastCase the last component keeps the case it was written with.
bool Resolve(const char* path, Resolved& out, bool keepLastCase = false);

}  // namespace os::posix
