#include "os/drop_record.h"

namespace os {

void DropRecord::Set(const void* block, MadeDrop state) {
  if (!block) return;
  const std::lock_guard<std::mutex> hold(lock_);
  blocks_[reinterpret_cast<std::uintptr_t>(block)] = state;
}

void DropRecord::Forget(const void* block) {
  const std::lock_guard<std::mutex> hold(lock_);
  blocks_.erase(reinterpret_cast<std::uintptr_t>(block));
}

MadeDrop DropRecord::StateOf(const void* block) const {
  const std::lock_guard<std::mutex> hold(lock_);
  const auto it = blocks_.find(reinterpret_cast<std::uintptr_t>(block));
  return it == blocks_.end() ? MadeDrop::kNone : it->second;
}

DropRecord& MadeDrops() {
  static DropRecord record;
  return record;
}

}  // namespace os
