#include "table/key_arena.h"

#include <cstring>

namespace table {

std::string_view KeyArena::Store(std::string_view key) {
  if (key.empty()) return std::string_view();
  if (key.size() > free_) {
    // A key longer than a block gets a block of its own.
    std::size_t size = key.size() > kBlockSize ? key.size() : kBlockSize;
    blocks_.push_back(std::make_unique<char[]>(size));
    next_ = blocks_.back().get();
    free_ = size;
  }
  char* at = next_;
  std::memcpy(at, key.data(), key.size());
  next_ += key.size();
  free_ -= key.size();
  stored_ += key.size();
  return std::string_view(at, key.size());
}

void KeyArena::Clear() {
  blocks_.clear();
  next_ = nullptr;
  free_ = 0;
  stored_ = 0;
}

}  // namespace table
