// The copy engine benchmark shared by the native and the Windows build: a tree of 10,000 small
// files and one 256 MB file, each copied once by the engine (with a progress dialog stand-in
// that formats every text the real one would show, and a pump) and once by the host's own
// copy, which the caller supplies. Prints both times and the engine's throughput as a ratio of
// the reference's.
#pragma once
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "fileops/engine.h"
#include "os/clock.h"
#include "os/services.h"

namespace copybench {

constexpr int kDirectories = 100;
constexpr int kFilesPerDirectory = 100;
constexpr uint64_t kBigFileSize = 256ull << 20;

inline double NowMs() { return os::MonotonicMicros() / 1000.0; }

// Keeps what the engine tells the progress dialog, as the dialog's controls would.
class BenchProgress : public fileops::ProgressDialog {
 public:
  void SetText(int control, const char* text) override {
    if (control >= fileops::kProgressFirstLabel && control <= fileops::kProgressSlash)
      texts_[control - fileops::kProgressFirstLabel] = text;
    ++updates;
  }
  void SetGaugeRange(int, int) override {}
  void SetGauge(int value) override {
    gauge = value;
    ++updates;
  }
  bool IsCancelDisabled() override { return false; }
  void DisableCancel() override {}
  long updates = 0;
  int gauge = 0;

 private:
  std::string texts_[7];
};

class BenchPump : public fileops::OperationPump {
 public:
  void Run() override { ++runs; }
  long runs = 0;
};

inline bool WriteData(const std::string& path, const char* data, std::size_t size) {
  auto f = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead, os::kCreateAlways);
  uint32_t done = 0;
  return f && (size == 0 || (f->Write(data, static_cast<uint32_t>(size), &done) && done == size));
}

inline bool Exists(const std::string& path) {
  return os::Fs().GetAttributes(path.c_str()) != os::kInvalidAttributes;
}

// Makes the data set under base (a directory ending in "\"), or takes the one a run that
// did not finish left there.
inline bool MakeData(const std::string& base, std::string& smallDir, std::string& bigFile) {
  smallDir = base + "small";
  bigFile = base + "big.bin";
  os::Fs().CreateDir(base.substr(0, base.size() - 1).c_str());
  const std::string marker = base + "complete";
  if (Exists(marker)) return true;
  std::string data(4096, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  os::Fs().CreateDir(smallDir.c_str());
  for (int d = 0; d < kDirectories; ++d) {
    std::string dir = smallDir + "\\dir" + std::to_string(d);
    os::Fs().CreateDir(dir.c_str());
    for (int f = 0; f < kFilesPerDirectory; ++f) {
      std::size_t size = 512 + (static_cast<std::size_t>(d * 131 + f * 17) % 3584);
      if (!WriteData(dir + "\\file" + std::to_string(f) + ".dat", data.data(), size)) return false;
    }
  }
  auto big = os::Fs().Open(bigFile.c_str(), os::kGenericWrite, os::kShareRead, os::kCreateAlways);
  if (!big) return false;
  std::string block(1 << 20, '\0');
  for (uint64_t written = 0; written < kBigFileSize; written += block.size()) {
    for (std::size_t i = 0; i < block.size(); i += 4096) block[i] = static_cast<char>(written >> 20);
    uint32_t done = 0;
    if (!big->Write(block.data(), static_cast<uint32_t>(block.size()), &done)) return false;
  }
  big.reset();
  return WriteData(marker, "", 0);
}

// What differs between the hosts.
struct Host {
  const char* referenceName;
  // Copies a tree or one file the host's own way; paths are Windows paths.
  std::function<bool(const std::string&, const std::string&)> copyTree;
  std::function<bool(const std::string&, const std::string&)> copyFile;
  // Removes a copy again, and settles the disk before a timed run.
  std::function<void(const std::string&)> remove;
  std::function<void()> settle;
};

constexpr int kRounds = 3;

struct Timing {
  double referenceMs[kRounds] = {};
  double engineMs[kRounds] = {};
  int engineResult = 0;
  long updates = 0;
  long pumpRuns = 0;
};

inline double Median(const double (&v)[kRounds]) {
  double s[kRounds];
  std::copy(v, v + kRounds, s);
  std::sort(s, s + kRounds);
  return s[kRounds / 2];
}

inline void Print(const char* what, const char* reference, uint64_t bytes, const Timing& t) {
  const double mb = static_cast<double>(bytes) / (1 << 20);
  const double ref = Median(t.referenceMs), eng = Median(t.engineMs);
  std::printf("%s (%.1f MB), median of %d alternating rounds:\n", what, mb, kRounds);
  std::printf("  %-10s %8.1f ms  %8.1f MB/s   rounds:", reference, ref, mb / (ref / 1000.0));
  for (double v : t.referenceMs) std::printf(" %.1f", v);
  std::printf("\n  %-10s %8.1f ms  %8.1f MB/s   rounds:", "engine", eng, mb / (eng / 1000.0));
  for (double v : t.engineMs) std::printf(" %.1f", v);
  std::printf("\n  engine result %d, %ld progress updates and %ld pump runs per copy\n",
              t.engineResult, t.updates, t.pumpRuns);
  std::printf("  ratio (engine throughput / %s throughput): %.2fx\n", reference, ref / eng);
}

inline double EngineCopy(const std::string& from, const std::string& to, bool tree,
                         Timing& t) {
  BenchProgress progress;
  BenchPump pump;
  fileops::OperationPump* saved = fileops::SetOperationPump(&pump);
  fileops::CopyBuffer buffer;
  double start = NowMs();
  const fileops::OperationUi ui{&progress, nullptr, nullptr};
  t.engineResult =
      tree ? fileops::CopyTree(ui, from.c_str(), to.c_str(), buffer.Data(), buffer.Size())
           : fileops::CopyOneFile(ui, from.c_str(), to.c_str(), buffer.Data(), buffer.Size());
  double ms = NowMs() - start;
  t.updates = progress.updates;
  t.pumpRuns = pump.runs;
  fileops::SetOperationPump(saved);
  return ms;
}

// Rounds alternate which copy goes first; each copy starts on a settled disk and its output is
// removed afterwards.
inline Timing Measure(const Host& host, const std::string& from, const std::string& refTo,
                      const std::string& engineTo, bool tree) {
  Timing t;
  host.remove(refTo);
  host.remove(engineTo);
  for (int round = 0; round < kRounds; ++round) {
    for (int side = 0; side < 2; ++side) {
      const bool reference = (side == 0) == (round % 2 == 0);
      host.settle();
      if (reference) {
        double start = NowMs();
        bool ok = tree ? host.copyTree(from, refTo) : host.copyFile(from, refTo);
        t.referenceMs[round] = NowMs() - start;
        if (!ok) std::printf("the reference copy failed\n");
        host.remove(refTo);
      } else {
        t.engineMs[round] = EngineCopy(from, engineTo, tree, t);
        host.remove(engineTo);
      }
    }
  }
  return t;
}

inline int RunAll(const Host& host, const std::string& base) {
  std::string smallDir, bigFile;
  double start = NowMs();
  if (!MakeData(base, smallDir, bigFile)) {
    std::printf("could not make the data under %s\n", base.c_str());
    return 1;
  }
  std::printf("data under %s ready in %.0f ms: %d small files, one file of %llu MB\n",
              base.c_str(), NowMs() - start, kDirectories * kFilesPerDirectory,
              static_cast<unsigned long long>(kBigFileSize >> 20));
  uint64_t smallBytes = 0;
  for (int d = 0; d < kDirectories; ++d)
    for (int f = 0; f < kFilesPerDirectory; ++f)
      smallBytes += 512 + (static_cast<uint64_t>(d * 131 + f * 17) % 3584);
  Timing small = Measure(host, smallDir, base + "small_ref", base + "small_engine", true);
  Print("10,000 small files", host.referenceName, smallBytes, small);
  Timing big = Measure(host, bigFile, base + "big_ref.bin", base + "big_engine.bin", false);
  Print("one 256 MB file", host.referenceName, kBigFileSize, big);
  std::printf("goals: small files at least 0.70x, large file at least 0.80x\n");
  // The data is large; it goes again.
  host.remove(smallDir);
  host.remove(bigFile);
  host.remove(base + "complete");
  os::Fs().RemoveDir(base.substr(0, base.size() - 1).c_str());
  return 0;
}

}  // namespace copybench
