// The change monitor's records and its worker loop: arming with retries, polling of panes that
// cannot be watched, coalesced change messages, handles retired while the worker waits, the
// stop flag; and, against the real backend, a directory changed from outside.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <thread>

#include "os/clock.h"
#include "table/change_monitor.h"
#include "tests/unit/monitor_test_support.h"
#include "tests/unit/table_test_support.h"

namespace {

using monitortest::Posted;
using monitortest::RecordingSink;
using table::ChangeMonitor;
using table::FNotification;

// Scripted change notification: FindFirst answers from a queue (true: a new handle), FindNext
// and Wait as set per handle; records closes.
class FakeNotify : public os::ChangeNotify {
 public:
  os::ChangeHandle FindFirst(const char*, bool subtree, uint32_t filter) override {
    EXPECT_FALSE(subtree);
    EXPECT_EQ(filter, 31u);
    ++findFirstCalls;
    bool ok = firstResults.empty() ? true : firstResults.front();
    if (!firstResults.empty()) firstResults.pop_front();
    if (!ok) return os::kNoChangeHandle;
    open.insert(next);
    return next++;
  }
  bool FindNext(os::ChangeHandle h) override {
    ++findNextCalls[h];
    bool ok = nextResults.empty() ? true : nextResults.front();
    if (!nextResults.empty()) nextResults.pop_front();
    return ok;
  }
  void Close(os::ChangeHandle h) override {
    EXPECT_EQ(open.count(h), 1u) << "closed twice or never opened: " << h;
    open.erase(h);
    closed.push_back(h);
  }
  os::WaitResult Wait(os::ChangeHandle h, uint32_t ms) override {
    EXPECT_EQ(ms, 100u);
    EXPECT_EQ(open.count(h), 1u) << "waiting on a closed handle";
    waited.push_back(h);
    if (onWait) {
      auto call = onWait;  // it may replace itself
      call();
    }
    auto it = waitResult.find(h);
    return it == waitResult.end() ? os::WaitResult::kTimeout : it->second;
  }

  std::deque<bool> firstResults, nextResults;
  std::map<os::ChangeHandle, os::WaitResult> waitResult;
  std::map<os::ChangeHandle, int> findNextCalls;
  std::set<os::ChangeHandle> open;
  std::vector<os::ChangeHandle> closed, waited;
  std::function<void()> onWait;
  int findFirstCalls = 0;
  os::ChangeHandle next = 10;
};

class FakeClock : public table::MonitorClock {
 public:
  uint32_t Ticks() override { return now; }
  void Sleep(uint32_t ms) override { now += ms; }
  uint32_t now = 50000;
};

class NoPanes : public table::MonitorPanes {
 public:
  int PaneCount() override { return 0; }
  table::Sorm* Table(int) override { return nullptr; }
  table::IconSource& Icons(int) override { return icons; }
  bool DirectoryExists(const std::string& path) override { return path != gone; }
  monitortest::CountingIcons icons;
  std::string gone;  // the directory that is no longer there
};

class ChangeMonitorTest : public ::testing::Test {
 protected:
  int Count(uint32_t message, intptr_t lp = -1) { return sink.Count(message, lp); }
  FakeNotify notify;
  FakeClock clock;
  RecordingSink sink;
  NoPanes panes;
};

TEST_F(ChangeMonitorTest, ArmTriesElevenTimesAndReportsTheLastFailure) {
  struct Case {
    const char* name;
    std::deque<bool> first, next;
    int result;
    int findFirstCalls;
    bool watched;
  } cases[] = {
      {"first attempt", {true}, {true}, 0, 1, true},
      {"third attempt", {false, false, true}, {true}, 0, 3, true},
      {"never a handle", std::deque<bool>(11, false), {}, -1, 11, false},
      {"FindNext fails every time", {}, std::deque<bool>(11, false), -2, 11, false},
      {"handle, then FindNext fails last", std::deque<bool>{false, false, false, false, false,
                                                            false, false, false, false, false,
                                                            true},
       {false}, -2, 11, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeNotify n;
    n.firstResults = c.first;
    n.nextResults = c.next;
    {
      ChangeMonitor m(n, sink, panes, clock);
      FNotification& r = m.AddRecord(0);
      EXPECT_EQ(m.Arm(r, "C:\\dir"), c.result);
      EXPECT_EQ(n.findFirstCalls, c.findFirstCalls);
      EXPECT_EQ(r.handle() != os::kNoChangeHandle, c.watched);
      // Handles whose FindNext failed were closed at once.
      EXPECT_EQ(n.open.size(), c.watched ? 1u : 0u);
    }
    EXPECT_TRUE(n.open.empty());  // the record closes its handle with the monitor
  }
}

TEST_F(ChangeMonitorTest, UnwatchedPaneIsPolledEveryEightSeconds) {
  ChangeMonitor m(notify, sink, panes, clock);
  FNotification& r = m.AddRecord(1);
  EXPECT_EQ(r.handle(), os::kNoChangeHandle);
  m.RunOnce();  // never polled: at once
  EXPECT_EQ(Count(table::kMsgUser, table::kCodePollPane), 1);
  const uint32_t polledAt = clock.now;
  while (clock.now - polledAt <= 8000) m.RunOnce();
  // Each round sleeps 160 ms; the next poll comes with the first round past 8000 ms.
  EXPECT_EQ(Count(table::kMsgUser, table::kCodePollPane), 2);
  for (const Posted& p : sink.Take()) EXPECT_EQ(p.wp, 1u);
  // The tick count wraps: a poll at once rather than after 49 days.
  clock.now = 10;
  m.RunOnce();
  EXPECT_EQ(Count(table::kMsgUser, table::kCodePollPane), 1);
}

TEST_F(ChangeMonitorTest, ChangesAreCoalescedUntilTheWindowHandlesOne) {
  ChangeMonitor m(notify, sink, panes, clock);
  FNotification& r = m.AddRecord(0);
  ASSERT_EQ(m.Arm(r, "C:\\dir"), 0);
  const os::ChangeHandle h = r.handle();
  notify.waitResult[h] = os::WaitResult::kSignalled;
  for (int i = 0; i < 5; ++i) m.RunOnce();
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 1);
  EXPECT_EQ(notify.findNextCalls[h], 1 + 5);  // armed once, re-armed after every change
  m.ChangeHandled(0);
  m.RunOnce();
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 2);
  m.QueueChange(r);  // the window's own request joins the change that waits
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 2);
  notify.waitResult[h] = os::WaitResult::kTimeout;
  m.ChangeHandled(0);
  m.RunOnce();
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 2);
  EXPECT_EQ(Count(table::kMsgUser, table::kCodePollPane), 0);
}

TEST_F(ChangeMonitorTest, HandleThatStopsWorkingTurnsThePaneToPolling) {
  struct Case {
    os::WaitResult wait;
    bool nextFails;
  } cases[] = {{os::WaitResult::kFailed, false}, {os::WaitResult::kSignalled, true}};
  for (const Case& c : cases) {
    FakeNotify n;
    RecordingSink s;
    ChangeMonitor m(n, s, panes, clock);
    FNotification& r = m.AddRecord(0);
    ASSERT_EQ(m.Arm(r, "C:\\gone"), 0);
    n.waitResult[r.handle()] = c.wait;
    if (c.nextFails) n.nextResults = {false};
    m.RunOnce();
    EXPECT_EQ(r.handle(), os::kNoChangeHandle);
    EXPECT_TRUE(n.open.empty());  // closed by the worker
    m.RunOnce();
    EXPECT_EQ(s.Count(table::kMsgUser, table::kCodePollPane), 1);
  }
}

TEST_F(ChangeMonitorTest, WatchedDirectoryThatIsGoneIsReportedAsAChangeEveryEightSeconds) {
  ChangeMonitor m(notify, sink, panes, clock);
  FNotification& r = m.AddRecord(0);
  ASSERT_EQ(m.Arm(r, "C:\\here"), 0);
  m.RunOnce();
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 0);
  panes.gone = "C:\\here";  // renamed away without a signal on its own handle
  const uint32_t checkedAt = clock.now;
  while (clock.now - checkedAt <= 8000) {
    m.ChangeHandled(0);
    m.RunOnce();
  }
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 1);
  m.ChangeHandled(0);
  for (int i = 0; i < 3; ++i) m.RunOnce();
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 1);  // not again before the next interval
}

TEST_F(ChangeMonitorTest, DisarmWhileTheWorkerWaitsClosesOnlyAfterTheWait) {
  ChangeMonitor m(notify, sink, panes, clock);
  FNotification& r = m.AddRecord(0);
  ASSERT_EQ(m.Arm(r, "C:\\a"), 0);
  const os::ChangeHandle old = r.handle();
  notify.waitResult[old] = os::WaitResult::kSignalled;
  // The path changes while the worker is in its wait on the old directory.
  notify.onWait = [&] {
    notify.onWait = nullptr;
    m.Disarm(r);
    EXPECT_EQ(notify.open.count(old), 1u);  // still open: the wait uses it
    ASSERT_EQ(m.Arm(r, "C:\\b"), 0);
  };
  m.RunOnce();
  EXPECT_EQ(notify.open.count(old), 0u);  // closed once the wait was over
  EXPECT_EQ(Count(table::kMsgDirectoryChanged), 0);  // the old directory's change is dropped
  EXPECT_NE(r.handle(), os::kNoChangeHandle);
  EXPECT_NE(r.handle(), old);
}

TEST_F(ChangeMonitorTest, StopFlagEndsTheLoopAtOnce) {
  ChangeMonitor m(notify, sink, panes, clock);
  FNotification& r0 = m.AddRecord(0);
  m.AddRecord(1);
  ASSERT_EQ(m.Arm(r0, "C:\\a"), 0);
  notify.onWait = [&] { m.RequestStop(); };
  EXPECT_FALSE(m.RunOnce());
  EXPECT_EQ(notify.waited.size(), 1u);
  EXPECT_TRUE(sink.Take().empty());  // neither the change nor pane 1's poll
}

// Against the backend's real change notification (inotify natively, the system's under Wine):
// files created, renamed, written and deleted from outside each bring a change message.
TEST(ChangeMonitorRealTest, OutsideChangesReachTheWindowAsMessages) {
  testutil::TempDir dir;
  RecordingSink sink;
  NoPanes panes;
  ChangeMonitor m(os::ChangeNotifications(), sink, panes);
  FNotification& r = m.AddRecord(0);
  ASSERT_EQ(m.Arm(r, dir.Dir()), 0);
  std::thread worker([&] { m.Run(); });
  auto waitForChange = [&](int n) {
    const uint64_t deadline = os::MonotonicMicros() + 5000000;
    while (sink.Count(table::kMsgDirectoryChanged) < n && os::MonotonicMicros() < deadline)
      os::Sys().Sleep(10);
    return sink.Count(table::kMsgDirectoryChanged) >= n;
  };
  const std::vector<std::function<void()>> changes = {
      [&] { testutil::WriteFileBytes(dir.Path("a.txt"), "x"); },
      [&] { os::Fs().MoveFile(dir.Path("a.txt").c_str(), dir.Path("b.txt").c_str()); },
      [&] { testutil::WriteFileBytes(dir.Path("b.txt"), "longer"); },
      [&] { testutil::RemoveTree(dir.Path("b.txt")); },
  };
  int expected = 0;
  for (const auto& change : changes) {
    m.ChangeHandled(0);
    change();
    EXPECT_TRUE(waitForChange(++expected)) << "change " << expected;
    // Let the burst of one change settle before the next is counted.
    os::Sys().Sleep(300);
    expected = sink.Count(table::kMsgDirectoryChanged);
  }
  m.RequestStop();
  worker.join();
}

}  // namespace

namespace {

TEST(MonitorActionTest, ChangesAreNeverDroppedAndPollsOnlyWhenIdle) {
  using table::MonitorAction;
  using table::MonitorContext;
  const MonitorContext idle{true, false, false};
  const MonitorContext waiting{true, false, true};
  const MonitorContext busy{true, true, false};
  const MonitorContext nested{false, false, false};
  struct Case {
    uint32_t message;
    intptr_t lp;
    MonitorContext context;
    MonitorAction action;
  } cases[] = {
      {table::kMsgDirectoryChanged, 0, idle, MonitorAction::kUpdate},
      {table::kMsgDirectoryChanged, 0, waiting, MonitorAction::kUpdate},
      {table::kMsgDirectoryChanged, 0, busy, MonitorAction::kDefer},
      {table::kMsgDirectoryChanged, 0, nested, MonitorAction::kDefer},
      {table::kMsgUser, table::kCodePollPane, idle, MonitorAction::kUpdateAbortable},
      {table::kMsgUser, table::kCodePollPane, waiting, MonitorAction::kNone},
      {table::kMsgUser, table::kCodePollPane, busy, MonitorAction::kNone},
      {table::kMsgUser, table::kCodePollPane, nested, MonitorAction::kNone},
      {table::kMsgUser, table::kCodeIconsVisible, nested, MonitorAction::kRepaint},
      {table::kMsgIconsProgress, 40, busy, MonitorAction::kProgress},
      {table::kMsgIconsComplete, 41, nested, MonitorAction::kComplete},
      {table::kMsgUser, 1, idle, MonitorAction::kNone},  // another program message
      {table::kMsgUser + 4, 0, idle, MonitorAction::kNone},
  };
  for (const Case& c : cases)
    EXPECT_EQ(table::DecideMonitorAction(c.message, c.lp, c.context), c.action)
        << c.message << " " << c.lp;
}

TEST(MonitorActionTest, ReportsNameTheirPaneAndRescan) {
  for (uint32_t gen : {0u, 1u, 0xFFFFFFu, 0x1234567u}) {
    for (int pane : {0, 1}) {
      const uintptr_t wp = table::PackPane(pane, gen);
      EXPECT_EQ(table::PaneOf(wp), pane);
      EXPECT_TRUE(table::SameGeneration(wp, gen));
      EXPECT_FALSE(table::SameGeneration(wp, gen + 1));
    }
  }
}

}  // namespace
