#include <windows.h>

#include "os/last_error.h"
#include "os/win32/win32_backend.h"

namespace os {

Services& BackendServices() {
  static Services s{&win32::Win32FileSystem(), &win32::Win32Profile(), &win32::Win32Registry(),
                    &win32::Win32System(), &BackendShellLinks(), &BackendHelpViewer()};
  return s;
}

uint32_t LastError() { return ::GetLastError(); }
void SetLastError(uint32_t e) { ::SetLastError(e); }

}  // namespace os
