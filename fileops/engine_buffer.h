// The one copy buffer a copy or move command allocates for its whole run.
#pragma once
#include <cstdint>
#include <memory>
#include <new>

#include "fileops/engine_types.h"

namespace fileops {

class CopyBuffer {
 public:
  explicit CopyBuffer(uint32_t size = kCopyBufferSize)
      : data_(new (std::nothrow) char[size]), size_(data_ ? size : 0) {}
  // False when the memory could not be had (the command shows kMsgNoMemory).
  explicit operator bool() const { return data_ != nullptr; }
  char* Data() { return data_.get(); }
  uint32_t Size() const { return size_; }

 private:
  std::unique_ptr<char[]> data_;
  uint32_t size_;
};

}  // namespace fileops
