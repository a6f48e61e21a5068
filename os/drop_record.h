// The drop blocks this process made, by handle value, so that a WM_DROPFILES handler can tell
// its own blocks from a value another process put into the message. A block is recorded as
// held while the code that made it still owns it (a data object during a drag) and as posted
// once a WM_DROPFILES to one of this process's windows carries it; freeing forgets it.
#pragma once
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace os {

enum class MadeDrop { kNone, kHeld, kPosted };

class DropRecord {
 public:
  void Made(const void* block) { Set(block, MadeDrop::kHeld); }
  void Posted(const void* block) { Set(block, MadeDrop::kPosted); }
  void Forget(const void* block);
  MadeDrop StateOf(const void* block) const;

 private:
  void Set(const void* block, MadeDrop state);
  mutable std::mutex lock_;
  std::unordered_map<std::uintptr_t, MadeDrop> blocks_;
};

// The process's record.
DropRecord& MadeDrops();

}  // namespace os
