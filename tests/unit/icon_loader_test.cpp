// The icon loader's walk over a table: one entry per hold of the lock, progress every 20
// entries, the one-time repaint, the completion report, and a restart after every rescan.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>

#include "os/clock.h"
#include "table/icon_loader.h"
#include "tests/unit/monitor_test_support.h"
#include "tests/unit/table_test_support.h"

namespace {

using monitortest::CountingIcons;
using monitortest::Posted;
using monitortest::RecordingSink;
using table::LoaderPane;

class IconLoaderTest : public tabletest::TableTest {
 protected:
  void MakeFiles(int n) {
    for (int i = 0; i < n; ++i) MakeFile("f" + std::to_string(1000 + i) + ".txt");
  }
  // Runs the loader on pane 1 until it reports that the pane is done.
  void RunToEnd(table::Sorm& t) {
    while (!table::LoaderStep(t, 1, state_, icons_, sink_, UINT64_MAX, [] { return false; })) {
    }
  }
  LoaderPane state_;
  CountingIcons icons_;
  RecordingSink sink_;
};

TEST_F(IconLoaderTest, FillsEveryEntryReportsEveryTwentyAndCompletesOnce) {
  MakeFiles(64);  // with "..": 65 entries
  auto t = Open();
  ASSERT_EQ(t->EntryCount(), 65);
  t->SetLastPaintedIndex(10);
  EXPECT_EQ(t->loaderState(), table::kLoaderPending);
  RunToEnd(*t);
  EXPECT_EQ(t->loaderState(), table::kLoaderLoading);  // Complete is the window's to set
  EXPECT_EQ(icons_.filled.size(), 65u);
  EXPECT_EQ(icons_.lastDirectory, dir_.Dir());
  std::vector<Posted> posted = sink_.Take();
  const uint32_t gen = t->rescanGeneration();
  std::vector<intptr_t> progress;
  int repaints = 0, completes = 0;
  for (const Posted& p : posted) {
    EXPECT_EQ(table::PaneOf(p.wp), 1);
    EXPECT_TRUE(table::SameGeneration(p.wp, gen));
    if (p.message == table::kMsgIconsProgress) progress.push_back(p.lp);
    if (p.message == table::kMsgUser && p.lp == table::kCodeIconsVisible) ++repaints;
    if (p.message == table::kMsgIconsComplete) {
      ++completes;
      EXPECT_EQ(p.lp, 65);
    }
  }
  EXPECT_EQ(progress, (std::vector<intptr_t>{20, 40, 60}));
  EXPECT_EQ(repaints, 1);  // 10 + 50 < 65, once
  EXPECT_EQ(completes, 1);
  // Done: further steps post nothing until the next rescan.
  RunToEnd(*t);
  EXPECT_TRUE(sink_.Take().empty());
}

TEST_F(IconLoaderTest, RepaintOnlyWhenTheListExtendsFiftyBeyondThePaintedArea) {
  struct Case {
    int files;
    int32_t painted;
    int repaints;
  } cases[] = {{64, 10, 1}, {64, 14, 1}, {64, 15, 0}, {30, 0, 0}, {64, 40, 0}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.files) + " files, painted " + std::to_string(c.painted));
    // A folder per case: the table entered the last one, which cannot be removed meanwhile.
    const std::string sub = "sub" + std::to_string(n++);
    MakeDir(sub);
    for (int i = 0; i < c.files; ++i) MakeFile(sub + "\\f" + std::to_string(i) + ".txt");
    auto t = Open(dir_.Dir() + sub);
    t->SetLastPaintedIndex(c.painted);
    state_ = LoaderPane();
    RunToEnd(*t);
    EXPECT_EQ(sink_.Count(table::kMsgUser, table::kCodeIconsVisible), c.repaints);
    sink_.Take();
  }
}

TEST_F(IconLoaderTest, RescanBetweenStepsRestartsOnTheNewList) {
  MakeFiles(40);
  auto t = Open();
  // A few entries, then the list is rebuilt under the loader.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(table::LoaderStepOne(*t, 0, state_, icons_, sink_));
  const uint32_t oldGen = t->rescanGeneration();
  testutil::RemoveTree(dir_.Path("f1001.txt"));
  MakeFile("new.txt");
  ASSERT_EQ(t->ReloadKeepPosition(), 0);
  EXPECT_EQ(t->loaderState(), table::kLoaderPending);
  EXPECT_EQ(CountingIcons::Alive(), 0);  // the old entries gave their icons back
  icons_.filled.clear();
  RunToEnd(*t);
  EXPECT_EQ(static_cast<int>(icons_.filled.size()), t->EntryCount());
  EXPECT_EQ(std::count(icons_.filled.begin(), icons_.filled.end(), "f1001.txt"), 0);
  EXPECT_EQ(std::count(icons_.filled.begin(), icons_.filled.end(), "new.txt"), 1);
  for (const Posted& p : sink_.Take()) {
    if (p.message == table::kMsgIconsProgress && p.lp < 20) ADD_FAILURE() << "early progress";
    EXPECT_FALSE(table::SameGeneration(p.wp, oldGen) && p.message == table::kMsgIconsComplete);
  }
}

// A sort while icons load puts loaded entries after the loader's position and others before
// it: every entry still gets its icon, and none is loaded twice.
TEST_F(IconLoaderTest, ASortWhileIconsLoadLeavesNoEntryWithoutItsIcon) {
  for (int i = 0; i < 40; ++i) MakeFile("f" + std::to_string(1000 + i) + ".txt", i + 1);
  auto t = Open();
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(table::LoaderStepOne(*t, 0, state_, icons_, sink_));
  t->Sort(table::kSortLargest, false);  // the largest first: the loaded entries go last
  RunToEnd(*t);
  for (table::BINFO* e : t->Entries())
    EXPECT_NE(e->Data()->largeIcon, nullptr) << e->Data()->name;
  EXPECT_EQ(static_cast<int>(icons_.filled.size()), t->EntryCount());
}

// The painter shows real icons up to the loaded index the loader's reports publish. After a sort
// that index meant the old order: it starts again at 0, and a report about the old order still
// on its way is recognised as stale.
TEST_F(IconLoaderTest, ASortWhileIconsLoadStartsTheLoadedIndexAgain) {
  MakeFiles(60);
  auto t = Open();
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(table::LoaderStepOne(*t, 0, state_, icons_, sink_));
  const std::vector<Posted> before = sink_.Take();
  ASSERT_FALSE(before.empty());
  for (const Posted& p : before)
    if (p.message == table::kMsgIconsProgress) t->SetLoadedIndex(static_cast<int32_t>(p.lp));
  ASSERT_GT(t->loadedIndex(), 0);
  t->Sort(table::kSortLargest, false);
  EXPECT_EQ(t->loadedIndex(), 0);
  for (const Posted& p : before)
    EXPECT_FALSE(table::SameGeneration(p.wp, t->rescanGeneration())) << "a stale report";
  RunToEnd(*t);
  for (const Posted& p : sink_.Take())
    EXPECT_TRUE(table::SameGeneration(p.wp, t->rescanGeneration()));
  // Once all icons are loaded, a sort keeps the index: the loader writes nothing more.
  t->SetLoaderState(table::kLoaderComplete);
  t->SetLoadedIndex(t->LastEntry()->index);
  t->Sort(table::kSortName, false);
  EXPECT_EQ(t->loadedIndex(), t->LastEntry()->index);
}

// The loader thread fills icons while the user-interface thread sorts again and again, takes the
// loader's reports as the window does and reads the icons of the entries up to the loaded index
// without the lock, as the painter does. Under ThreadSanitizer a read of an icon the loader may
// still be writing is reported.
TEST_F(IconLoaderTest, SortingWhileTheLoaderRunsNeverShowsAnIconBeingWritten) {
  // Each entry takes the loader a while, as the shell's icons do, so that the sorts come while
  // the first load is still on its way.
  struct SlowIcons : table::IconSource {
    explicit SlowIcons(table::IconSource& inner) : inner(inner) {}
    void LoadIcons(table::Sorm& table, const std::string& directory, table::BINFO& e) override {
      const uint64_t until = os::MonotonicMicros() + 100;
      while (os::MonotonicMicros() < until) {
      }
      inner.LoadIcons(table, directory, e);
    }
    table::IconSource& inner;
  } slow(icons_);
  for (int i = 0; i < 600; ++i) MakeFile("f" + std::to_string(1000 + i) + ".txt", (i * 37) % 600);
  auto t = Open();
  std::atomic<bool> stop{false};
  std::thread loader([&] {
    while (!stop.load()) {
      table::LoaderStep(*t, 0, state_, slow, sink_, UINT64_MAX, [&] { return stop.load(); });
      std::this_thread::yield();
    }
  });
  const int16_t orders[] = {table::kSortLargest, table::kSortName, table::kSortSmallest};
  uintptr_t shown = 0;
  bool complete = false;
  // As the window does: reports of the current generation move the loaded index, and the
  // painter reads the icons up to it.
  auto takeReportsAndPaint = [&] {
    for (const Posted& p : sink_.Take()) {
      // Read without the lock, as the window does: only this thread changes it.
      if (!table::SameGeneration(p.wp, t->rescanGeneration())) continue;
      if (p.message == table::kMsgIconsProgress) t->SetLoadedIndex(static_cast<int32_t>(p.lp));
      if (p.message == table::kMsgIconsComplete) {
        t->SetLoadedIndex(static_cast<int32_t>(p.lp));
        complete = true;
      }
    }
    for (table::BINFO* e : t->Entries())
      if (e->index <= t->loadedIndex())
        shown += reinterpret_cast<uintptr_t>(e->Data()->largeIcon) != 0;
  };
  // Sorts while the first load runs (600 entries of 100 microseconds each).
  const uint64_t sortingEnds = os::MonotonicMicros() + 40'000;
  for (int round = 0; os::MonotonicMicros() < sortingEnds; ++round) {
    takeReportsAndPaint();
    if (round % 4 == 0) t->Sort(orders[(round / 4) % 3], false);
    std::this_thread::yield();
  }
  const uint64_t deadline = os::MonotonicMicros() + 20'000'000;
  while (!complete && os::MonotonicMicros() < deadline) {
    takeReportsAndPaint();
    std::this_thread::yield();
  }
  stop = true;
  loader.join();
  EXPECT_TRUE(complete) << "the loader finished the last order";
  EXPECT_GT(shown, 0u) << "the painter's side saw loaded icons";
  for (table::BINFO* e : t->Entries())
    EXPECT_NE(e->Data()->largeIcon, nullptr) << e->Data()->name;
}

TEST_F(IconLoaderTest, UpdateKeepsLoadedIconsAndLoadsOnlyTheNewEntries) {
  MakeFiles(10);
  auto t = Open();
  RunToEnd(*t);
  icons_.filled.clear();
  MakeFile("zz.txt");
  ASSERT_EQ(t->Update(), 1);
  state_.completeSent = false;
  RunToEnd(*t);
  EXPECT_EQ(icons_.filled, (std::vector<std::string>{"zz.txt"}));
  t.reset();
  EXPECT_EQ(CountingIcons::Alive(), 0);
}

TEST_F(IconLoaderTest, IdleOrCompleteTablesAreLeftAlone) {
  MakeFiles(3);
  auto t = Open();
  for (int32_t s : {table::kLoaderIdle, table::kLoaderComplete}) {
    t->SetLoaderState(s);
    EXPECT_FALSE(table::LoaderStepOne(*t, 0, state_, icons_, sink_));
  }
  EXPECT_TRUE(icons_.filled.empty());
  EXPECT_TRUE(sink_.Take().empty());
}

TEST_F(IconLoaderTest, DeadlineEndsTheStepBeforeThePaneIsDone) {
  MakeFiles(30);
  auto t = Open();
  EXPECT_FALSE(table::LoaderStep(*t, 0, state_, icons_, sink_, 0, [] { return false; }));
  EXPECT_EQ(icons_.filled.size(), 1u);
  bool stop = false;
  int calls = 0;
  EXPECT_FALSE(table::LoaderStep(*t, 0, state_, icons_, sink_, UINT64_MAX, [&] {
    stop = ++calls == 3;
    return stop;
  }));
  EXPECT_EQ(icons_.filled.size(), 4u);
}

// A watch armed after a rescan learns from the folder's write time whether names changed
// between the listing and the arming.
TEST_F(IconLoaderTest, RescanRecordsTheFoldersWriteTimeFromBeforeItsListing) {
  MakeFiles(3);
  auto t = Open();
  const uint64_t listed = t->scannedDirectoryTime();
  ASSERT_NE(listed, 0u);
  EXPECT_EQ(table::DirectoryWriteTime(t->path()), listed);
  EXPECT_EQ(table::DirectoryWriteTime(t->DirectoryString()), listed);  // with its backslash
  os::Sys().Sleep(20);
  MakeFile("late.txt");  // after the listing, before a watch would be armed
  const uint64_t now = table::DirectoryWriteTime(t->path());
  EXPECT_NE(now, listed);
  t->ReloadKeepPosition();
  EXPECT_EQ(t->scannedDirectoryTime(), now);
  EXPECT_EQ(table::DirectoryWriteTime(dir_.Path("missing")), 0u);
}

}  // namespace
