// Association lookups under Windows (or Wine) against a bare FindFirstFileA / FindNextFileA
// loop over the same folder; the registry is the system's.
//   association_bench_win.exe [directory for the test data]
// (default Z:\tmp\sorm_assoc_bench, where the native benchmark makes the files much faster
// than Wine can.)
#include <windows.h>

#include "bench/win/bare_enumeration.h"
#include "bench/association_bench_common.h"

int main(int argc, char** argv) {
  // A first argument that names a file (the benchmark script passes the program) is not a
  // place for the data.
  std::string dir = "Z:\\tmp\\sorm_assoc_bench";
  if (argc > 1) {
    const uint32_t a = os::Fs().GetAttributes(argv[1]);
    if (a == os::kInvalidAttributes || (a & os::kAttrDirectory)) dir = argv[1];
  }
  assocbench::Run({"bare FindFirstFileA / FindNextFileA", BareEnumeration}, dir);
  return 0;
}
