// Counts the allocations made through operator new by the calling thread, so that a test can
// check that some work takes a fixed number of allocations whatever the size of its input.
#pragma once
#include <cstdint>

namespace testutil {

// Allocations made by this thread through operator new since it started.
uint64_t AllocationsOfThisThread();

}  // namespace testutil
