// Maps the Windows-style paths the program uses onto this machine's file system, the way Wine
// does: drive Z: is the root "/", separators may be "\" or "/" (a CP932 trail byte 0x5C is part
// of its character, never a separator), and a name that does not exist with its exact case is
// looked up without regard to case, component by component.
#pragma once
#include <string>

namespace os::posix {

// The host path for a Windows path; empty when it cannot be mapped (unknown drive, too long).
std::string ToHostPath(const char* winPath);
// The Windows path ("Z:\...") for an absolute host path.
std::string ToWinPath(const std::string& hostPath);

}  // namespace os::posix
