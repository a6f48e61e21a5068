// A drop of 1,000 small files onto a table against the copy command's loop on the same files:
// both through the engine with the same progress stand-in, in alternating rounds. The drop
// should copy at the engine's own speed.
//   drop_bench [host directory for the data]   (default /tmp/sorm_drop_bench)
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/copy_bench_common.h"
#include "fileops/drop_run.h"
#include "fileops/engine.h"
#include "fileops/engine_path.h"
#include "os/posix/path_map.h"

namespace {

constexpr int kFiles = 1000;
constexpr int kRounds = 7;

// What the copy command does per selected file: the destination in the target directory and
// CopyOneFile.
int CopyCommandLoop(const fileops::OperationUi& ui, const std::string& tableDir,
                    const std::vector<std::string>& names, const std::string& target) {
  fileops::CopyBuffer buffer;
  const std::string directory = fileops::WithTrailingBackslash(target);
  for (const std::string& name : names) {
    std::string destination;
    if (!fileops::EntryDestination(directory, name.c_str(), destination)) return -1;
    const std::string source = fileops::EntrySource(tableDir, name.c_str());
    if (fileops::CopyOneFile(ui, source.c_str(), destination.c_str(), buffer.Data(),
                             buffer.Size()) < 0)
      return -1;
  }
  return 0;
}

void RemoveFiles(const std::string& dir, const std::vector<std::string>& names) {
  for (const std::string& n : names) os::Fs().DeleteFile((dir + "\\" + n).c_str());
  os::Fs().RemoveDir(dir.c_str());
}

double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::string base = os::posix::ToWinPath(argc > 1 ? argv[1] : "/tmp/sorm_drop_bench");
  if (base.back() != '\\') base += '\\';
  os::Fs().CreateDir(base.substr(0, base.size() - 1).c_str());
  const std::string src = base + "src\\";
  os::Fs().CreateDir(base.substr(0, base.size()) .append("src").c_str());
  std::vector<std::string> names, full;
  std::string data(2048, 'd');
  for (int i = 0; i < kFiles; ++i) {
    names.push_back("f" + std::to_string(i) + ".txt");
    full.push_back(src + names.back());
    if (!copybench::Exists(full.back()) &&
        !copybench::WriteData(full.back(), data.data(), 512 + (i * 37) % 1536)) {
      std::printf("cannot make the data in %s\n", base.c_str());
      return 1;
    }
  }
  copybench::BenchProgress progress;
  copybench::BenchPump pump;
  fileops::OperationPump* saved = fileops::SetOperationPump(&pump);
  const fileops::OperationUi ui{&progress, nullptr, nullptr};
  std::vector<double> dropMs, commandMs, ratios;
  for (int round = 0; round < kRounds; ++round) {
    const std::string a = base + "drop" + std::to_string(round);
    const std::string b = base + "command" + std::to_string(round);
    os::Fs().CreateDir(a.c_str());
    os::Fs().CreateDir(b.c_str());
    double t0 = copybench::NowMs();
    const int r1 = fileops::RunDrop(ui, fileops::DropMode::kCopy, a, full, 4,
                                    [](const fileops::CommandMessage&) {});
    double t1 = copybench::NowMs();
    const int r2 = CopyCommandLoop(ui, src, names, b);
    double t2 = copybench::NowMs();
    if (r1 != 0 || r2 != 0) {
      std::printf("copy failed (%d, %d)\n", r1, r2);
      return 1;
    }
    dropMs.push_back(t1 - t0);
    commandMs.push_back(t2 - t1);
    ratios.push_back((t1 - t0) / (t2 - t1));
    RemoveFiles(a, names);
    RemoveFiles(b, names);
  }
  fileops::SetOperationPump(saved);
  std::printf("%d small files, median of %d alternating rounds:\n", kFiles, kRounds);
  std::printf("  drop          %8.1f ms\n  copy command  %8.1f ms\n", MedianOf(dropMs),
              MedianOf(commandMs));
  std::printf("  ratio (drop time / copy command time): %.2fx (median of the rounds' ratios)\n",
              MedianOf(ratios));
  return 0;
}
