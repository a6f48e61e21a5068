// CreateFileA and the file handle of the posix emulation.
#pragma once
#include <cstdint>
#include <memory>

#include "os/filesystem.h"

namespace os::posix {

std::unique_ptr<File> OpenFile(const char* path, uint32_t access, uint32_t share,
                               uint32_t disposition);

}  // namespace os::posix
