// A monotonic clock for measuring durations. The standard <chrono> header cannot be compiled
// with the CP932 execution character set the program uses, so code that times something uses
// this instead.
#pragma once
#include <cstdint>

namespace os {
// Microseconds from an arbitrary fixed point; never goes backwards.
uint64_t MonotonicMicros();
}  // namespace os
