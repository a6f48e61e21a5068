// Win32 error codes for host failures (errno), and the few codes the emulation needs that the
// shared Error enum does not name.
#pragma once
#include <cstdint>
#include <string>

namespace os::posix {

constexpr uint32_t kErrNotSameDevice = 17;         // ERROR_NOT_SAME_DEVICE
constexpr uint32_t kErrBadPathname = 161;          // ERROR_BAD_PATHNAME
constexpr uint32_t kErrFilenameExcedRange = 206;   // ERROR_FILENAME_EXCED_RANGE
constexpr uint32_t kErrKeyDeleted = 1018;          // ERROR_KEY_DELETED
constexpr uint32_t kErrRegistryCorrupt = 1015;     // ERROR_REGISTRY_CORRUPT

// The error a failing call on hostPath reports for errno e. ENOENT becomes FILE_NOT_FOUND when
// the parent directory exists and PATH_NOT_FOUND otherwise.
uint32_t ErrorFromErrno(int e, const std::string& hostPath);
// Sets os::LastError from errno (see ErrorFromErrno) and returns false.
bool FailErrno(const std::string& hostPath);
// Sets os::LastError to e and returns false.
bool Fail(uint32_t e);

}  // namespace os::posix
