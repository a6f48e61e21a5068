#include "os/drop_memory.h"

#include <windows.h>

#include "os/drop_record.h"
#include "os/win32/late_library.h"

namespace os {
namespace {

class SystemDropMemory final : public DropMemory {
 public:
  void DragFinish(void* drop) override {
    MadeDrops().Forget(drop);
    using Fn = void(WINAPI*)(HDROP);
    static Fn fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(late::Proc("shell32.dll", "DragFinish")));
    // DragFinish is GlobalFree of the block; without shell32 the block is freed the same way.
    if (fn)
      fn(static_cast<HDROP>(drop));
    else
      ::GlobalFree(drop);
  }
  void GlobalFree(void* memory) override {
    MadeDrops().Forget(memory);
    ::GlobalFree(memory);
  }
};

DropMemory*& InForce() {
  static SystemDropMemory system;
  static DropMemory* current = &system;
  return current;
}

}  // namespace

DropMemory& Drops() { return *InForce(); }

ScopedDropMemory::ScopedDropMemory(DropMemory& replacement) : saved_(InForce()) {
  InForce() = &replacement;
}

ScopedDropMemory::~ScopedDropMemory() { InForce() = saved_; }

}  // namespace os
