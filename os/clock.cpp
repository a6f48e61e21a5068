#include "os/clock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace os {

uint64_t MonotonicMicros() {
#ifdef _WIN32
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<uint64_t>(c.QuadPart / f.QuadPart * 1000000 +
                               (c.QuadPart % f.QuadPart) * 1000000 / f.QuadPart);
#else
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
#endif
}

}  // namespace os
