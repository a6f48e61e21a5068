// The unit tests' replacement of the global operator new and delete: the plain allocation with
// a per-thread count (testutil::AllocationsOfThisThread).
#include "tests/unit/allocation_count.h"

#include <cstdlib>
#include <new>

namespace {
thread_local uint64_t allocations = 0;

// As the standard operator new: a failed allocation calls the new-handler (the program's
// out-of-memory report) and tries again, or throws when there is none.
void* Allocate(std::size_t size) {
  ++allocations;
  for (;;) {
    if (void* p = std::malloc(size ? size : 1)) return p;
    const std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

void* AllocateOrNull(std::size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
}  // namespace

namespace testutil {
uint64_t AllocationsOfThisThread() { return allocations; }
}  // namespace testutil

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
