// Association lookups against a bare readdir loop over the same folder (posix emulation).
//   association_bench [host directory for the test data]   (default /tmp/sorm_assoc_bench)
#include <dirent.h>

#include "bench/association_bench_common.h"
#include "os/posix/path_map.h"

namespace {

long BareEnumeration(const std::string& winDir) {
  DIR* d = opendir(os::posix::ToHostPath(winDir.c_str()).c_str());
  if (!d) return 0;
  long n = 0;
  while (readdir(d)) ++n;
  closedir(d);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  assocbench::Run({"bare readdir", BareEnumeration},
                  os::posix::ToWinPath(argc > 1 ? argv[1] : "/tmp/sorm_assoc_bench"));
  return 0;
}
