// Who frees the memory of a drop: the shell's DragFinish for a drop block (an HDROP) and
// GlobalFree for any other global memory block. Each drop block is freed exactly once, by
// whoever holds it last; the calls go through here so that a test can count them.
// (Windows only: the handles are the system's.)
#pragma once

namespace os {

class DropMemory {
 public:
  virtual ~DropMemory() = default;
  virtual void DragFinish(void* drop) = 0;   // DragFinish (shell32)
  virtual void GlobalFree(void* memory) = 0;  // GlobalFree
};

// The calls in force (the system's unless a ScopedDropMemory replaced them).
DropMemory& Drops();

class ScopedDropMemory {
 public:
  explicit ScopedDropMemory(DropMemory& replacement);
  ~ScopedDropMemory();
  ScopedDropMemory(const ScopedDropMemory&) = delete;
  ScopedDropMemory& operator=(const ScopedDropMemory&) = delete;

 private:
  DropMemory* saved_;
};

}  // namespace os
