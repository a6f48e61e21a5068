// The sort keys of a table's entries, stored together: a few large blocks instead of one
// allocation per key, given back all at once when the list is cleared.
#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace table {

class KeyArena {
 public:
  // A copy of key that lives until Clear.
  std::string_view Store(std::string_view key);
  void Clear();
  // Bytes handed out since the last Clear (live keys and those of removed entries).
  std::size_t BytesStored() const { return stored_; }

 private:
  static constexpr std::size_t kBlockSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;  // first free byte of the last block
  std::size_t free_ = 0;  // bytes left in the last block
  std::size_t stored_ = 0;
};

}  // namespace table
