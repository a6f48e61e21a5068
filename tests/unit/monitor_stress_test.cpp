// The worker thread against the user-interface thread: while the loader fills icons, the
// "window" keeps rescanning, updating after outside changes, switching directories and
// deleting files, and handles the worker's reports as the program does. No icon may be
// written into a removed entry (AddressSanitizer, ThreadSanitizer), none may leak.
// SORM_STRESS_ENTRIES and SORM_STRESS_ROUNDS make it larger than the bounded CI run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <thread>

#include "os/services.h"
#include "table/change_monitor.h"
#include "tests/unit/monitor_test_support.h"
#include "tests/unit/table_test_support.h"

namespace {

using monitortest::CountingIcons;
using monitortest::Posted;
using monitortest::RecordingSink;

int EnvOr(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// Owned icons for most entries; programs through the table's cache, as the real loader does.
class StressIcons : public table::IconSource {
 public:
  void LoadIcons(table::Sorm& t, const std::string& directory, table::BINFO& entry) override {
    // The entry is one of the list the loader walks: linked under the table's root.
    ASSERT_EQ(entry.parent, t.root());
    table::SM_DAT& d = *entry.Data();
    ASSERT_EQ(d.largeIcon, nullptr);
    ++loaded;
    if (d.name.size() > 4 && d.name.compare(d.name.size() - 4, 4, ".exe") == 0) {
      if (t.iconCache().FindCached(d, d.name.c_str(), d.date, d.time)) return;
      d.largeIcon = new int(1);
      ++CountingIcons::Alive();
      d.iconFlags = table::kOwnsLarge;
      t.iconCache().AddToCache(d, d.name.c_str());
      return;
    }
    d.largeIcon = new int(2);
    d.smallIcon = new int(3);
    CountingIcons::Alive() += 2;
    d.iconFlags = table::kOwnsLarge | table::kOwnsSmall;
  }
  std::atomic<long> loaded{0};
};

// Fast time for the worker: its sleeps are a millisecond, its tick count runs ahead.
class FastClock : public table::MonitorClock {
 public:
  uint32_t Ticks() override { return ticks_.load(); }
  void Sleep(uint32_t ms) override {
    ticks_ += ms;
    os::Sys().Sleep(1);
  }

 private:
  std::atomic<uint32_t> ticks_{1000};
};

class OnePane : public table::MonitorPanes {
 public:
  int PaneCount() override { return 1; }
  table::Sorm* Table(int) override { return table; }
  table::IconSource& Icons(int) override { return icons; }
  table::Sorm* table = nullptr;
  StressIcons icons;
};

class MonitorStressTest : public tabletest::TableTest {};

TEST_F(MonitorStressTest, RescansPathChangesAndDeletionsWhileTheLoaderRuns) {
  const int entries = EnvOr("SORM_STRESS_ENTRIES", 600);
  const int rounds = EnvOr("SORM_STRESS_ROUNDS", 150);
  CountingIcons hook;  // the release hook frees the fake icons
  CountingIcons::Alive() = 0;
  MakeDir("one");
  MakeDir("two");
  for (int i = 0; i < entries; ++i) {
    const std::string name = std::to_string(i) + (i % 7 == 0 ? ".exe" : ".txt");
    MakeFile("one\\" + name);
    if (i % 2 == 0) MakeFile("two\\" + name);
  }
  {
    RecordingSink sink;
    OnePane pane;
    FastClock clock;
    auto t = Open(dir_.Path("one"));
    pane.table = t.get();
    table::ChangeMonitor monitor(os::ChangeNotifications(), sink, pane, clock);
    table::FNotification& record = monitor.AddRecord(0);
    monitor.Arm(record, t->path());
    std::thread worker([&] { monitor.Run(); });

    std::mt19937 random(12345);
    int created = 0;
    for (int round = 0; round < rounds; ++round) {
      // What the window does with the worker's reports.
      for (const Posted& p : sink.Take()) {
        if (p.message == table::kMsgDirectoryChanged) {
          monitor.ChangeHandled(0);
          t->Update();
        } else if (p.message == table::kMsgIconsProgress) {
          if (table::SameGeneration(p.wp, t->rescanGeneration())) t->SetLoadedIndex(p.lp);
        } else if (p.message == table::kMsgIconsComplete) {
          std::lock_guard<std::mutex> g(t->lock());
          if (table::SameGeneration(p.wp, t->rescanGeneration()) &&
              t->loaderState() == table::kLoaderLoading)
            t->SetLoaderState(table::kLoaderComplete);
        }
      }
      switch (random() % 5) {
        case 0:
          t->ReloadKeepPosition();
          break;
        case 1: {  // another directory, watched instead
          monitor.Disarm(record);
          const bool toTwo = t->path().find("one") != std::string::npos;
          ASSERT_EQ(t->ChangePath(dir_.Path(toTwo ? "two" : "one").c_str()), 0);
          t->Reload();
          monitor.Arm(record, t->path());
          break;
        }
        case 2:  // files deleted and created from outside, then the incremental update
          for (int k = 0; k < 5; ++k) {
            const int victim = static_cast<int>(random() % static_cast<unsigned>(entries));
            testutil::RemoveTree(t->DirectoryString() + std::to_string(victim) + ".txt");
            MakeFile((t->path().find("one") != std::string::npos ? "one\\" : "two\\") +
                     std::string("new") + std::to_string(created++) + ".txt");
          }
          t->Update();
          break;
        case 3:
          t->Update();
          break;
        default:
          t->SetLastPaintedIndex(static_cast<int32_t>(random() % 100));
          os::Sys().Sleep(1);
          break;
      }
    }
    monitor.RequestStop();
    worker.join();
    EXPECT_GT(pane.icons.loaded.load(), 0);
  }
  EXPECT_EQ(CountingIcons::Alive(), 0) << "icons leaked or were destroyed twice";
}

}  // namespace
