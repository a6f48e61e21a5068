// Counts the allocations made through operator new by one thread, so that a test can check that
// some work takes a fixed number of allocations whatever the size of its input.
#pragma once
#include <cstdint>

namespace testutil {

// Counts the calling thread's allocations while it lives (one counter at a time).
class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;
  uint64_t Count() const;
};

}  // namespace testutil
