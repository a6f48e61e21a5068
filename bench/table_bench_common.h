// The file table benchmark shared by the native and the Windows build: times a full rescan,
// an incremental one after one file was added, one removed and one changed, each of the six
// sorts and a relayout after a resize, against a bare enumeration of the same directory that
// the caller supplies, and reports the memory per entry.
#pragma once
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/program_context.h"
#include "os/clock.h"
#include "os/services.h"
#include "table/sorm.h"

namespace tablebench {

inline double NowMs() { return os::MonotonicMicros() / 1000.0; }

// The median of runs of f, each after an untimed setup.
inline double MedianMs(int runs, const std::function<void()>& f,
                       const std::function<void()>& setup = [] {}) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    setup();
    double start = NowMs();
    f();
    t.push_back(NowMs() - start);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// What differs between the hosts.
struct Host {
  const char* bareName;                                // what the reference loop is
  std::function<long(const std::string&)> bareEnumerate;  // one run over a Windows path
  std::function<size_t()> heapInUse;                    // bytes allocated by the process
  table::TextMeasurer* measurer = nullptr;              // measures the texts
  std::function<long()> measureCalls;                   // texts measured so far
  std::function<void(table::Sorm&)> afterRun;           // further figures of the host
};

class BenchView : public table::TableView {
 public:
  explicit BenchView(table::TextMeasurer& m) : measurer_(m) {}
  table::ClientSize GetClientSize() override { return client; }
  table::TextMeasurer& Measurer() override { return measurer_; }
  void SetScrollBars(const table::ScrollBars&) override {}
  void Repaint() override {}
  void ErrorBox(const char* text) override { std::printf("error box: %s\n", text); }
  void FatalError(const char* text) override {
    std::printf("fatal: %s\n", text);
    std::exit(1);
  }
  void UpdateSelectionText() override {}
  table::ClientSize client{1000, 700};

 private:
  table::TextMeasurer& measurer_;
};

inline bool WriteFile(const std::string& path, std::size_t size) {
  auto f = os::Fs().Open(path.c_str(), os::kGenericWrite, os::kShareRead, os::kCreateAlways);
  if (!f) return false;
  std::string bytes(size, 'x');
  uint32_t done = 0;
  return size == 0 || f->Write(bytes.data(), static_cast<uint32_t>(size), &done);
}

inline long CountEntries(const std::string& dir) {
  os::FindData fd;
  long n = 0;
  if (auto f = os::Fs().FindFirst((dir + "\\*.*").c_str(), fd)) {
    do {
      ++n;
    } while (f->Next(fd));
  }
  return n;
}

// Makes dir with count files (plus "." and "..") unless it already holds them. Names vary in
// length, extension and size so that every order has work to do.
inline void MakeFiles(const std::string& dir, long count, bool japanese) {
  os::Fs().CreateDir(dir.c_str());
  if (CountEntries(dir) == count + 2) return;
  std::printf("creating %ld files in %s ...\n", count, dir.c_str());
  std::fflush(stdout);
  static const char* kExt[] = {"txt", "doc", "c", "h", "cpp", "tar.gz", "bmp", "exe", "ini", "LOG"};
  // 日本語のファイル名 and 表ソ, whose trail bytes are backslashes.
  static const char kJapanese[] =
      "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc";
  for (long i = 0; i < count; ++i) {
    char name[256];
    long n = i * 7919 % count;
    if (japanese)
      std::snprintf(name, sizeof(name), "%s%s_%06ld_%s\x95\x5c\x83\x5c.%s", kJapanese, kJapanese,
                    n, kJapanese, kExt[i % 10]);
    else
      std::snprintf(name, sizeof(name), "file_%06ld%.*s.%s", n, static_cast<int>(i % 7),
                    "abcdefg", kExt[i % 10]);
    if (!WriteFile(dir + "\\" + name, static_cast<std::size_t>(i % 5000))) {
      std::printf("cannot create %s\n", name);
      std::exit(1);
    }
  }
}

inline void Ratio(const char* what, double ms, double base, double limit) {
  std::printf("  %-46s %9.1f ms  %5.2fx of bare %6.1f ms (limit %.2fx) %s\n", what, ms,
              ms / base, base, limit, ms / base <= limit ? "ok" : "OVER");
}

// Runs of op alternate with runs of the bare enumeration, so that both meet the same load of
// the machine; the ratio is of the two medians.
inline void Compare(const Host& host, const std::string& dir, const char* what, int runs,
                    double limit, const std::function<void()>& op,
                    const std::function<void()>& setup = [] {}) {
  std::vector<double> ops, bares;
  for (int i = 0; i < runs; ++i) {
    double start = NowMs();
    host.bareEnumerate(dir);
    bares.push_back(NowMs() - start);
    setup();
    start = NowMs();
    op();
    ops.push_back(NowMs() - start);
  }
  std::sort(ops.begin(), ops.end());
  std::sort(bares.begin(), bares.end());
  Ratio(what, ops[ops.size() / 2], bares[bares.size() / 2], limit);
}

inline void Run(const Host& host, const std::string& dir, const char* label) {
  std::printf("\n== %s in %s\n", label, dir.c_str());
  long seen = 0;
  double bare = MedianMs(5, [&] { seen = host.bareEnumerate(dir); });
  std::printf("  %s (%ld entries): %.1f ms\n", host.bareName, seen, bare);
  long through = 0;
  double backend = MedianMs(5, [&] { through = CountEntries(dir); });
  std::printf("  the same through os::Fs() FindFirst/Next (%ld entries): %.1f ms, %.2fx\n",
              through, backend, backend / bare);

  config::WriteConfigString("INST1", "vmode", "0");
  config::WriteConfigString("INST1", "Path", dir.c_str());
  config::WriteConfigString("INST1", "Mask", "*.*");
  config::WriteConfigString("INST1", "vinfo", "0");
  config::WriteConfigString("INST1", "Sort", "174");

  BenchView view(*host.measurer);
  size_t heapBefore = host.heapInUse();
  double start = NowMs();
  auto t = std::make_unique<table::Sorm>(view, 1);
  double first = NowMs() - start;
  size_t heapAfter = host.heapInUse();
  std::printf("  first listing (table made): %.1f ms, %d entries\n", first, t->EntryCount());
  std::printf("  memory per entry: %.0f bytes (icon mode, name line only)\n",
              static_cast<double>(heapAfter - heapBefore) / t->EntryCount());

  Compare(host, dir, "Reload (scan + sort + layout)", 7, 1.5, [&] { t->Reload(); });

  int serial = 0;
  std::vector<std::string> added, removed;
  auto prepareUpdate = [&] {
    ++serial;
    added.push_back(t->DirectoryString() + "added_" + std::to_string(serial) + ".txt");
    WriteFile(added.back(), 10);
    table::BINFO* gone = t->EntryAt(t->EntryCount() / 2);
    removed.push_back(t->DirectoryString() + gone->Data()->name);
    os::Fs().DeleteFile(removed.back().c_str());
    table::BINFO* changed = t->EntryAt(t->EntryCount() / 3);
    WriteFile(t->DirectoryString() + changed->Data()->name, 12345 + serial);
  };
  int changes = 0;
  Compare(host, dir, "Update (1 added, 1 removed, 1 changed)", 5, 1.5,
          [&] { changes += t->Update() == 1; }, prepareUpdate);
  if (changes != 5) std::printf("  !! an update saw no change\n");
  // The directory as it was, for the next run.
  for (const std::string& a : added) os::Fs().DeleteFile(a.c_str());
  for (const std::string& r : removed) WriteFile(r, 0);
  t->Update();
  Compare(host, dir, "Update (nothing changed)", 5, 1.5, [&] { t->Update(); });

  struct Order {
    int16_t id;
    const char* name;
  } orders[] = {{table::kSortName, "name"},       {table::kSortExtension, "extension"},
                {table::kSortNewest, "newest"},   {table::kSortOldest, "oldest"},
                {table::kSortLargest, "largest"}, {table::kSortSmallest, "smallest"}};
  for (const Order& o : orders) {
    start = NowMs();
    t->Sort(o.id, false);  // the first sort by extension makes the extension keys
    double once = NowMs() - start;
    char what[80];
    std::snprintf(what, sizeof(what), "sort by %s (first time %.1f ms)", o.name, once);
    Compare(host, dir, what, 5, 0.25, [&] { t->Sort(o.id, false); }, [&] {
      t->Sort(o.id == table::kSortName ? table::kSortLargest : table::kSortName, false);
    });
  }

  long calls = host.measureCalls();
  double relayout = MedianMs(5, [&] {
    view.client.width = view.client.width == 1000 ? 640 : 1000;
    t->Layout();
  });
  std::printf("  relayout after resize: %.1f ms, %ld texts measured\n", relayout,
              host.measureCalls() - calls);

  t->SetViewMode(table::kListMode);
  t->SetViewInfo(table::kShowDate | table::kShowTime | table::kShowSize | table::kShowAttributes);
  size_t before = host.heapInUse();
  start = NowMs();
  t->Layout();
  double listFirst = NowMs() - start;
  std::printf("  list mode with all columns: first layout %.1f ms, +%.0f bytes per entry\n",
              listFirst, static_cast<double>(host.heapInUse() - before) / t->EntryCount());
  calls = host.measureCalls();
  relayout = MedianMs(5, [&] {
    view.client.height = view.client.height == 700 ? 400 : 700;
    t->Layout();
  });
  std::printf("  list-mode relayout after resize: %.1f ms, %ld texts measured\n", relayout,
              host.measureCalls() - calls);
  if (host.afterRun) host.afterRun(*t);
  std::fflush(stdout);
}

// Both data sets in base (a Windows path): 100,000 files, and 10,000 long Japanese names in
// the directory japaneseDir.
inline void RunAll(const Host& host, const std::string& base, const char* japaneseDir) {
  os::Fs().CreateDir(base.c_str());
  config::ProgramContext context = config::Context();
  context.configFilePath = base + "\\sorm.cfg";
  config::SetContext(context);
  MakeFiles(base + "\\files100k", 100000, false);
  MakeFiles(base + "\\" + japaneseDir, 10000, true);
  Run(host, base + "\\files100k", "100,000 files");
  Run(host, base + "\\" + japaneseDir, "10,000 long Japanese names");
}

}  // namespace tablebench
