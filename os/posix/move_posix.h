// MoveFileA and MoveFileExA(MOVEFILE_REPLACE_EXISTING) of the posix emulation. A file moved to
// another file system is copied (data, permissions, times) and the original removed; a
// directory cannot be moved there (ERROR_NOT_SAME_DEVICE).
#pragma once

namespace os::posix {

bool MovePath(const char* from, const char* to, bool replaceExisting);

}  // namespace os::posix
