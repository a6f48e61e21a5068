// Reading hostile drop blocks: no crash or overread, and a block that reads is sound: every
// path lies within the block, is terminated there, fits a MAX_PATH buffer and (ANSI) is a full
// path; one that does not read yields no path at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fileops/drop_block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fileops::DropBlock block;
  // A copy of exactly size bytes, so that AddressSanitizer sees any read past the block.
  uint8_t* copy = static_cast<uint8_t*>(std::malloc(size ? size : 1));
  if (size) std::memcpy(copy, data, size);
  const fileops::DropBlockError e = fileops::ReadDropBlock(copy, size, block);
  if (e != fileops::DropBlockError::kNone) {
    if (block.Count() != 0) abort();
  } else {
    size_t total = 0;
    for (const std::string& p : block.ansi) {
      if (p.empty() || p.size() > fileops::kMaxDroppedPath) abort();
      if (p.find('\0') != std::string::npos || !fileops::IsFullDroppedPath(p)) abort();
      total += p.size() + 1;
    }
    for (const std::u16string& p : block.widePaths) {
      if (p.empty() || p.size() > fileops::kMaxDroppedPath) abort();
      total += 2 * (p.size() + 1);
    }
    if (total + fileops::kDropHeaderSize > size) abort();
    // What reads back writes again into a block that reads the same.
    if (!block.wide) {
      const std::string list = fileops::JoinDropPaths(block.ansi);
      std::string out(fileops::DropBlockSize(list), '\x7f');
      fileops::WriteDropBlock(reinterpret_cast<uint8_t*>(out.data()), out.size(), list, block.x,
                              block.y, block.nonClient);
      fileops::DropBlock again;
      if (fileops::ReadDropBlock(out.data(), out.size(), again) != fileops::DropBlockError::kNone ||
          again.ansi != block.ansi || again.x != block.x || again.y != block.y)
        abort();
    }
  }
  std::free(copy);
  return 0;
}
