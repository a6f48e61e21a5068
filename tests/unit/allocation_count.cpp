// The unit tests' replacement of the global operator new and delete: the plain allocation, and
// a count of the allocations of the one thread an AllocationCounter watches. No thread-local
// storage here: this runs in every thread of the process, from its first allocation to its last.
#include "tests/unit/allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

std::atomic<uintptr_t> g_watched{0};  // the counted thread's key; 0: none
std::atomic<uint64_t> g_count{0};

uintptr_t ThreadKey() {
#ifdef _WIN32
  return static_cast<uintptr_t>(::GetCurrentThreadId());
#else
  return reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(pthread_self()));
#endif
}

// As the standard operator new: a failed allocation calls the new-handler (the program's
// out-of-memory report) and tries again, or throws when there is none.
void* Allocate(std::size_t size) {
  const uintptr_t watched = g_watched.load(std::memory_order_relaxed);
  if (watched != 0 && watched == ThreadKey()) g_count.fetch_add(1, std::memory_order_relaxed);
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
AllocationCounter::AllocationCounter() {
  g_count.store(0);
  g_watched.store(ThreadKey());
}
AllocationCounter::~AllocationCounter() { g_watched.store(0); }
uint64_t AllocationCounter::Count() const { return g_count.load(); }
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
