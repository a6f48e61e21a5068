// The posix emulation backend's parts, assembled by services_posix.cpp.
#pragma once
#include "os/services.h"

namespace os::posix {
FileSystem& PosixFileSystem();
Profile& PosixProfile();
Registry& PosixRegistry();
System& PosixSystem();
}  // namespace os::posix
