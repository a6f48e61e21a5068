// CreateFileA and the file handle of the posix emulation.
#pragma once
#include <cstdint>
#include <memory>

#include "os/filesystem.h"

namespace os::posix {

std::unique_ptr<File> OpenFile(const char* path, uint32_t access, uint32_t share,
                               uint32_t disposition);

// An existing file (as OpenFile for reading and writing, unshared) or directory, opened to
// change its times.
std::unique_ptr<File> OpenFileOrDirectoryForTimes(const char* path);

}  // namespace os::posix
