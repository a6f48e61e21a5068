// Maps the Windows-style paths the program uses onto this machine's file system, the way Wine
// does: drive Z: is the root "/", another letter X: is the directory named by the environment
// variable SORM_DRIVE_X. Separators may be "\" or "/" (a CP932 trail byte 0x5C is part of its
// character, never a separator). File names are kept in UTF-8 on disk, as Wine keeps them
// (os/posix/host_names.h).
//
// A path is first made full as GetFullPathNameA does (against the emulated current directory),
// then each component that does not exist with its exact case is looked up without regard to
// case, and then against the 8.3 aliases of the names in its directory (a name that lists as
// a look-alike is reached through its alias only, as on Windows).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace os::posix {

// GetFullPathNameA's result for path against the current directory cwd ("X:\..." without a
// trailing backslash except at a root). Collapses "." and "..", drops one trailing dot of
// inner components and the trailing dots and spaces of the last one. False for paths this
// emulation cannot express (UNC names, empty text).
bool MakeFullPath(std::string_view path, std::string_view cwd, std::string& out);

// The process's current directory in Windows form, and its replacement (a full path).
std::string CurrentDirectory();
void StoreCurrentDirectory(const std::string& full);

// Host directory that a drive letter stands for ("" for Z:, meaning "/"). False when the letter
// is not mapped.
bool DriveRoot(char letter, std::string& root);
// True when a full path is a drive root ("X:\").
bool IsDriveRoot(std::string_view full);

// Checks the characters of a full path: 0 when usable, else the Win32 error
// (kErrInvalidName for * ? < > | " or control characters, kErrFilenameTooLong...).
uint32_t CheckPathText(std::string_view path);

// The host path for a full Windows path with case resolution; empty when the drive is unknown
// or the last component is a device name ("con", "nul.txt": the device, as on Windows).
// With keepLastCase the last component is used as written (for the target of a rename).
std::string HostFromFull(const std::string& full, bool keepLastCase = false);

// Full path then host path in one step; empty when the path cannot be mapped.
std::string ToHostPath(const char* winPath);
// The Windows path ("Z:\...") for an absolute host path, using a mapped drive when the path
// lies under one.
std::string ToWinPath(const std::string& hostPath);

// Splits a full path at its last separator: the directory part keeps its trailing separator
// only at a root ("Z:\" + "name", "Z:\a" + "b").
void SplitLast(const std::string& full, std::string& dir, std::string& name);

}  // namespace os::posix
