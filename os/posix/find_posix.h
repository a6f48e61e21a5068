// FindFirstFileA / FindNextFileA of the posix emulation.
#pragma once
#include <memory>

#include "os/filesystem.h"

namespace os::posix {

std::unique_ptr<Finder> FindFirstFile(const char* pattern, FindData& out);

}  // namespace os::posix
