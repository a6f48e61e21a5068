// Creating files one by one through the posix emulation, as every native test and benchmark
// that makes data does: files per second over each stretch of a growing directory, against
// open(2) with O_CREAT on the same names in another directory.
//   create_bench [files] [host directory for the data]   (default 100000, /tmp/sorm_create_bench)
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "os/clock.h"
#include "os/posix/path_map.h"
#include "os/services.h"

namespace {

std::string Name(long i) { return "File " + std::to_string(i) + ".dat"; }

// Files per second for each stretch [from, to) of creates.
double RateEmulated(const std::string& dir, long from, long to) {
  const uint64_t start = os::MonotonicMicros();
  for (long i = from; i < to; ++i) {
    if (!os::Fs().Open((dir + Name(i)).c_str(), os::kGenericWrite, os::kShareRead,
                       os::kCreateNew)) {
      std::printf("creating %s failed\n", Name(i).c_str());
      std::exit(1);
    }
  }
  return (to - from) * 1e6 / static_cast<double>(os::MonotonicMicros() - start + 1);
}

double RateBare(const std::string& dir, long from, long to) {
  const uint64_t start = os::MonotonicMicros();
  for (long i = from; i < to; ++i) {
    int fd = open((dir + Name(i)).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) close(fd);
  }
  return (to - from) * 1e6 / static_cast<double>(os::MonotonicMicros() - start + 1);
}

}  // namespace

int main(int argc, char** argv) {
  const long total = argc > 1 ? std::atol(argv[1]) : 100000;
  const std::string base = argc > 2 ? argv[2] : "/tmp/sorm_create_bench";
  std::system(("rm -rf '" + base + "' && mkdir -p '" + base + "/emulated' '" + base + "/bare'")
                  .c_str());
  const std::string emulated = os::posix::ToWinPath(base + "/emulated") + "\\";
  const std::string bare = base + "/bare/";
  std::printf("files created per second, by the number already in the directory\n");
  std::printf("%10s %14s %14s %8s\n", "files", "emulated", "open(2)", "ratio");
  long done = 0;
  for (long mark = 100; done < total; mark = mark * 10 > total ? total : mark * 10) {
    // The stretch measured: the last 1,000 files before the mark (all of them at the first).
    const long from = mark - 1000 > done ? mark - 1000 : done;
    RateEmulated(emulated, done, from);
    RateBare(bare, done, from);
    const double e = RateEmulated(emulated, from, mark);
    const double b = RateBare(bare, from, mark);
    std::printf("%10ld %14.0f %14.0f %8.2f\n", mark, e, b, b / e);
    done = mark;
  }
  std::system(("rm -rf '" + base + "'").c_str());
  return 0;
}
