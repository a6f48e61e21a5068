// Building the drag's path list and drop block for 100,000 selected entries against 10,000,
// selected evenly over the same table of 100,000 entries. Work in proportion to the entries
// gives a ratio of 10; the larger list and block (about 3 MB each) leave the processor's caches,
// which adds to it (14-17 measured natively), while a quadratic build would give about 100.
// The best of several rounds each, taken in turns so that a busy machine slows both alike.
//   drop_block_bench
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fileops/drop_block.h"
#include "fileops/drop_policy.h"
#include "os/clock.h"
#include "table/sm_dat.h"

namespace {

uint64_t BuildMicros(const std::vector<table::SM_DAT>& entries, size_t n) {
  std::vector<const table::SM_DAT*> selected;
  const size_t step = entries.size() / n;
  for (size_t i = 0; i < n; ++i) selected.push_back(&entries[i * step]);
  const uint64_t start = os::MonotonicMicros();
  size_t count = 0;
  const std::string list = fileops::DragPathList("C:\\some\\directory\\", selected, true, &count);
  std::vector<uint8_t> block(fileops::DropBlockSize(list));
  fileops::WriteDropBlock(block.data(), block.size(), list, 0, 0, true);
  const uint64_t t = os::MonotonicMicros() - start;
  if (count != n) std::printf("(built %zu paths of %zu)\n", count, n);
  return t ? t : 1;
}

}  // namespace

int main() {
  std::vector<table::SM_DAT> entries(100000);
  for (size_t i = 0; i < entries.size(); ++i) entries[i].name = "file" + std::to_string(i) + ".dat";
  uint64_t small = ~0ull, large = ~0ull;
  for (int round = 0; round < 9; ++round) {
    small = std::min(small, BuildMicros(entries, 10000));
    large = std::min(large, BuildMicros(entries, 100000));
  }
  std::printf("drop block: 10,000 entries %llu us, 100,000 entries %llu us, ratio %.2f\n",
              static_cast<unsigned long long>(small), static_cast<unsigned long long>(large),
              static_cast<double>(large) / static_cast<double>(small));
  return 0;
}
