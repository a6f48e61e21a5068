// The real Win32 backend's parts, assembled by services_win32.cpp.
#pragma once
#include "os/services.h"

namespace os::win32 {
FileSystem& Win32FileSystem();
Profile& Win32Profile();
Registry& Win32Registry();
System& Win32System();
}  // namespace os::win32
