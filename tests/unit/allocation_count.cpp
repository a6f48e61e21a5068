// The unit tests' replacement of the global operator new and delete: the plain allocation with
// a per-thread count (testutil::AllocationsOfThisThread).
#include "tests/unit/allocation_count.h"

#include <cstdlib>
#include <new>

namespace {
thread_local uint64_t allocations = 0;

void* Allocate(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
}  // namespace

namespace testutil {
uint64_t AllocationsOfThisThread() { return allocations; }
}  // namespace testutil

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  ++allocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  ++allocations;
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
