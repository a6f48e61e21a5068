// The calling thread's last error, as GetLastError/SetLastError keep it.
// Every failing OS-layer operation sets it, exactly as the Win32 call it stands for.
#pragma once
#include <cstdint>

namespace os {
uint32_t LastError();          // GetLastError
void SetLastError(uint32_t e); // SetLastError
}  // namespace os
