#include <windows.h>

#include "os/clock.h"

namespace os {

uint64_t MonotonicMicros() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<uint64_t>(c.QuadPart / f.QuadPart * 1000000 +
                               (c.QuadPart % f.QuadPart) * 1000000 / f.QuadPart);
}

}  // namespace os
