// The copy engine over the posix emulation against cp on the same data.
//   copy_bench [host directory for the data]   (default /tmp/sorm_copy_bench)
#include <unistd.h>

#include <cstdlib>

#include "bench/copy_bench_common.h"
#include "os/posix/path_map.h"

namespace {

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string Host(const std::string& win) { return os::posix::ToHostPath(win.c_str()); }

}  // namespace

int main(int argc, char** argv) {
  std::string base = os::posix::ToWinPath(argc > 1 ? argv[1] : "/tmp/sorm_copy_bench");
  if (base.back() != '\\') base += '\\';
  copybench::Host host;
  host.referenceName = "cp -r";
  host.copyTree = [](const std::string& from, const std::string& to) {
    return Run("cp -r " + Quoted(Host(from)) + " " + Quoted(Host(to)));
  };
  host.copyFile = [](const std::string& from, const std::string& to) {
    return Run("cp " + Quoted(Host(from)) + " " + Quoted(Host(to)));
  };
  host.remove = [](const std::string& path) {
    std::string h = Host(path);
    if (!h.empty() && h != "/") Run("rm -rf " + Quoted(h));
  };
  host.settle = [] { sync(); };
  return copybench::RunAll(host, base);
}
