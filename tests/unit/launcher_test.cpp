#include "app/launcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "os/clock.h"

#include "tests/unit/app_fixture.h"
#include "tests/unit/fake_system.h"

namespace {

using LauncherTest = testutil::AppDirTest;

class NullUi : public app::LauncherUi {
 public:
  int shown = 0, closed = 0;
  std::atomic<int> waits{0};
  std::vector<uint32_t> waitedMs;  // every pause, in order, while the splash is up
  void ShowSplash() override { ++shown; }
  void Wait(uint32_t ms) override {
    if (shown == 1 && closed == 0) waitedMs.push_back(ms);
    ++waits;
    std::this_thread::yield();
  }
  void CloseSplash() override { ++closed; }
};

// A system whose starts take until the launcher has paused a few times (as a start under load
// takes long), or 5 s at most.
class SlowStarts : public testutil::FakeSystem {
 public:
  explicit SlowStarts(const NullUi& ui) : ui_(ui) {}
  uint32_t WinExec(const char* commandLine, int show) override {
    const uint64_t until = os::MonotonicMicros() + 5000000;
    while (ui_.waits.load() < startedSoFar_ * 5 + 5 && os::MonotonicMicros() < until)
      std::this_thread::yield();
    ++startedSoFar_;
    return FakeSystem::WinExec(commandLine, show);
  }

 private:
  const NullUi& ui_;
  std::atomic<int> startedSoFar_{0};
};

void SaveWindows(std::initializer_list<int> numbers) {
  for (int n : numbers) config::WriteConfigString(config::InstSection(n), "Placement", "0;0;9;9;0;0;0;0");
}

TEST_F(LauncherTest, StartOrder) {
  struct Case {
    const char* endMode;
    std::vector<int> saved;
    std::vector<int> order;
  } cases[] = {
      {"Quit", {1, 2, 4}, {4, 2, 1}},
      {"EndSession", {1, 2, 4}, {1, 2}},  // ascending stops at the first gap
      {"endsession", {1, 2, 4}, {4, 2, 1}},  // only the exact word means a session end
      {"", {}, {1}},  // instance 1 always starts
      {"Quit", {64, 3}, {64, 3, 1}},
      {"EndSession", {2, 3, 4}, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    for (int n = 1; n <= 64; ++n) config::DeleteConfigSection(config::InstSection(n));
    for (int n : c.saved) SaveWindows({n});
    EXPECT_EQ(app::LauncherStartOrder(c.endMode), c.order) << c.endMode;
  }
}

TEST_F(LauncherTest, SessionEndDoesNotRestartWindow64) {
  for (int n = 1; n <= 64; ++n) SaveWindows({n});
  std::vector<int> order = app::LauncherStartOrder("EndSession");
  ASSERT_EQ(order.size(), 63u);
  EXPECT_EQ(order.back(), 63);
  EXPECT_EQ(app::LauncherStartOrder("Quit").front(), 64);
}

TEST_F(LauncherTest, EmptyPlacementIsNotASavedWindow) {
  config::WriteConfigString("INST3", "Placement", "");
  config::WriteConfigString("INST3", "WMode", "2");
  EXPECT_EQ(app::LauncherStartOrder("Quit"), std::vector<int>{1});
}

TEST_F(LauncherTest, RunStartsEachInstanceAndEndsTheCycle) {
  SaveWindows({1, 2, 4});
  config::WriteConfigString("EndMode", "EndMode", "Quit");
  config::WriteConfigString("INSTID", "ID", "3");
  testutil::FakeSystem fake;
  os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
  NullUi ui;
  std::vector<std::string> lines = app::RunLauncher("C:\\SORM\\SORM32.EXE", ui);
  EXPECT_EQ(lines, (std::vector<std::string>{"C:\\SORM\\SORM32.EXE -CFGID 4",
                                             "C:\\SORM\\SORM32.EXE -CFGID 2",
                                             "C:\\SORM\\SORM32.EXE -CFGID 1"}));
  std::vector<std::string> started = fake.started;
  std::sort(started.begin(), started.end());
  std::vector<std::string> expected = lines;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(started, expected);
  EXPECT_EQ(ui.shown, 1);
  EXPECT_EQ(ui.closed, 1);
  EXPECT_EQ(config::ReadConfigString("INSTID", "ID", ""), "-1");
}

TEST_F(LauncherTest, EveryPauseLetsTheSplashWork) {
  // While the starts run one after another, the launcher pauses only through its UI, which
  // keeps the topmost splash answering its click and its timer; the system's Sleep is never
  // used while the splash is up.
  SaveWindows({1, 2, 4});
  config::WriteConfigString("EndMode", "EndMode", "Quit");
  NullUi ui;
  SlowStarts slow(ui);
  os::ScopedServices scope({nullptr, nullptr, nullptr, &slow});
  std::vector<std::string> lines = app::RunLauncher("C:\\SORM\\SORM32.EXE", ui);
  EXPECT_EQ(lines.size(), 3u);
  EXPECT_EQ(slow.started.size(), 3u);
  EXPECT_EQ(slow.sleeps, 0) << "a pause outside the UI leaves the splash unanswered";
  ASSERT_FALSE(ui.waitedMs.empty());
  EXPECT_GE(ui.waits.load(), 3 * 5) << "each slow start is waited for through the UI";
  EXPECT_EQ(ui.waitedMs.back(), 200u) << "the last pause before the splash closes";
  EXPECT_EQ(ui.closed, 1);
}

TEST(InstanceCommandLine, QuotesPathsWithBlanks) {
  EXPECT_EQ(config::InstanceCommandLine("C:\\A\\SORM32.EXE", 1), "C:\\A\\SORM32.EXE -CFGID 1");
  EXPECT_EQ(config::InstanceCommandLine("C:\\Program Files\\SORM32.EXE", 12),
            "\"C:\\Program Files\\SORM32.EXE\" -CFGID 12");
  EXPECT_EQ(config::InstanceCommandLine("SORM32.EXE", 65), "SORM32.EXE -CFGID 65");
}

}  // namespace
