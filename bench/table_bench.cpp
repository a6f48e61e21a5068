// File table timings against a bare readdir + stat loop over the same directory.
//   table_bench [host directory for the test data]   (default /tmp/sorm_table_bench)
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>

#include "bench/table_bench_common.h"
#include "os/posix/path_map.h"

namespace {

class FixedMeasurer : public table::TextMeasurer {
 public:
  table::TextExtent Measure(const char*, std::size_t len) override {
    ++calls;
    return table::TextExtent{static_cast<int32_t>(len) * 7, 13};
  }
  long calls = 0;
};

// The reference: list the directory and stat every entry.
long BareEnumeration(const std::string& winDir) {
  std::string hostDir = os::posix::ToHostPath(winDir.c_str());
  DIR* d = opendir(hostDir.c_str());
  if (!d) return 0;
  long n = 0;
  struct stat st;
  while (dirent* e = readdir(d)) {
    if (fstatat(dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) ++n;
  }
  closedir(d);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  FixedMeasurer measurer;
  tablebench::Host host;
  host.bareName = "bare readdir + fstatat";
  host.bareEnumerate = BareEnumeration;
  host.heapInUse = [] { return static_cast<size_t>(mallinfo2().uordblks); };
  host.measurer = &measurer;
  host.measureCalls = [&] { return measurer.calls; };
  tablebench::RunAll(host, os::posix::ToWinPath(argc > 1 ? argv[1] : "/tmp/sorm_table_bench"),
                     "japanese10k");
  return 0;
}
