// The configuration lock: a lock another window holds is waited for; a lock file that cannot be
// made or opened for writing here fails at once, and every writer reports it without waiting.
#include "config/config_lock.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/window_state.h"
#include "exec/history.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/fake_system.h"
#include "tests/unit/faulty_fs.h"
#include "tests/unit/test_util.h"
#include "tests/unit/window_state_stub.h"

namespace {

using testutil::FaultyFs;
using testutil::FsOp;

class ConfigLockTest : public testutil::AppDirTest {
 public:  // the case table's set-ups use these
  std::string LockPath() const { return config::Context().lockFilePath; }
  void MakeLockFile() { testutil::WriteFileBytes(LockPath(), ""); }
  // Whether this system refuses to open a read-only file for writing. Windows does; Wine run
  // as root does not (the file's Unix permissions do not hold for root).
  bool ReadOnlyIsRefused() {
    const std::string probe = dir_.Path("probe.ro");
    testutil::WriteFileBytes(probe, "");
    os::Fs().SetAttributes(probe.c_str(), os::kAttrReadOnly);
    bool refused = !os::Fs().Open(probe.c_str(), os::kGenericWrite, 0, os::kOpenExisting);
    os::Fs().SetAttributes(probe.c_str(), os::kAttrNormal);
    os::Fs().DeleteFile(probe.c_str());
    return refused;
  }

 protected:
  void TearDown() override {
    os::Fs().SetAttributes(LockPath().c_str(), os::kAttrNormal);
    AppDirTest::TearDown();
  }
};

struct LockCase {
  const char* what;
  // Prepares the files and the faults; the held lock (if any) is kept in *held.
  std::function<void(ConfigLockTest&, FaultyFs&, config::ConfigLock* held)> setup;
  bool wantLock;
  int wantSleeps;
  int maxOpens;  // opens of the lock file the call may make
  bool needsReadOnlyRefusal = false;
};

// Another window makes the lock file just as this one tries to create it, whose creation
// then fails with error.
std::function<void(ConfigLockTest&, FaultyFs&, config::ConfigLock*)> MadeMeanwhile(uint32_t error) {
  return [error](ConfigLockTest& t, FaultyFs& fs, config::ConfigLock*) {
    fs.before = [&t, &fs](FsOp op, const std::string&) {
      if (op == FsOp::kOpen && fs.Calls(FsOp::kOpen) == 2) t.MakeLockFile();
    };
    fs.Fail(FsOp::kOpen, "smlock", 2, error);
  };
}

TEST_F(ConfigLockTest, HeldLocksAreWaitedForOthersFailAtOnce) {
  const LockCase cases[] = {
      {"an existing free lock file is taken",
       [](ConfigLockTest& t, FaultyFs&, config::ConfigLock*) { t.MakeLockFile(); }, true, 0, 1},
      {"a missing lock file is made and taken", [](ConfigLockTest&, FaultyFs&, config::ConfigLock*) {},
       true, 0, 3},
      {"a lock held by another window is waited for the whole budget",
       [](ConfigLockTest&, FaultyFs&, config::ConfigLock* held) {
         *held = config::AcquireConfigLock();
       },
       false, 10 * 50, 10 * 50},
      {"a read-only lock file fails at once",
       [](ConfigLockTest& t, FaultyFs&, config::ConfigLock*) {
         t.MakeLockFile();
         os::Fs().SetAttributes(t.LockPath().c_str(), os::kAttrReadOnly);
       },
       false, 0, 1, true},
      {"a lock file in a folder we may not write fails at once",
       [](ConfigLockTest& t, FaultyFs& fs, config::ConfigLock*) {
         t.MakeLockFile();
         fs.Fail(FsOp::kOpen, "smlock", 0, os::kErrAccessDenied);
       },
       false, 0, 1},
      {"a lock file that may not be created fails at once",
       [](ConfigLockTest&, FaultyFs& fs, config::ConfigLock*) {
         // Every second open is a creation; all of them are refused.
         for (int nth = 2; nth <= 2000; nth += 2)
           fs.Fail(FsOp::kOpen, "smlock", nth, os::kErrAccessDenied);
       },
       false, 0, 2},
      {"a lock file made by another window meanwhile is taken",
       MadeMeanwhile(os::kErrFileExists), true, 0, 3},
      {"a creation refused while the file is there is tried again",
       MadeMeanwhile(os::kErrAccessDenied), true, 0, 3},
  };
  const bool readOnlyRefused = ReadOnlyIsRefused();
  for (const LockCase& c : cases) {
    SCOPED_TRACE(c.what);
    // Where read-only files open for writing, the next case injects the refusal instead.
    if (c.needsReadOnlyRefusal && !readOnlyRefused) continue;
    os::Fs().SetAttributes(LockPath().c_str(), os::kAttrNormal);
    os::Fs().DeleteFile(LockPath().c_str());
    testutil::InstalledFaultyFs fs;
    config::ConfigLock held;
    testutil::FakeSystem fake;  // the waiting is counted, not slept
    os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
    c.setup(*this, fs, &held);
    const int opensBefore = fs.Calls(FsOp::kOpen);
    config::ConfigLock lock = config::AcquireConfigLock();
    EXPECT_EQ(static_cast<bool>(lock), c.wantLock);
    EXPECT_EQ(fake.sleeps, c.wantSleeps);
    EXPECT_LE(fs.Calls(FsOp::kOpen) - opensBefore, c.maxOpens);
  }
}

TEST_F(ConfigLockTest, OneAttemptTellsACannotBeMadeFailureFromAHeldLock) {
  testutil::FakeSystem fake;
  os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
  bool cannotBeMade = true;
  {
    config::ConfigLock held = config::AcquireConfigLock();
    ASSERT_TRUE(held);
    EXPECT_FALSE(config::TryAcquireConfigLockOnce(&cannotBeMade));
    EXPECT_FALSE(cannotBeMade) << "held: waiting may help";
  }
  {
    testutil::InstalledFaultyFs fs;  // a lock file we may not open for writing
    fs.Fail(FsOp::kOpen, "smlock", 0, os::kErrAccessDenied);
    EXPECT_FALSE(config::TryAcquireConfigLockOnce(&cannotBeMade));
    EXPECT_TRUE(cannotBeMade);
  }
  config::ConfigLock again = config::TryAcquireConfigLockOnce(&cannotBeMade);
  EXPECT_TRUE(again);
  EXPECT_FALSE(cannotBeMade);
}

// Every writer of the configuration meets a lock file it may not open for writing: each reports
// "Lock error" once, writes nothing and does not wait.
using NoWindow = testutil::SettingsOnlyWindow;

int purgeLockErrors = 0;

TEST_F(ConfigLockTest, WritersReportAnUnwritableLockFileWithoutWaiting) {
  struct Writer {
    const char* what;
    std::function<bool()> run;  // true when it wrote
  } writers[] = {
      {"window save",
       [] {
         NoWindow w;
         bool wrote = app::SaveWindowState(3, w) != -2;
         return wrote || w.lockErrors != 1;
       }},
      {"purge",
       [] {
         purgeLockErrors = 0;
         bool wrote = app::PurgeSavedWindows([] { ++purgeLockErrors; });
         return wrote || purgeLockErrors != 1;
       }},
      {"history load",
       [] {
         exec::History h;
         return exec::LoadHistory(h, "HistCopy");
       }},
      {"history store",
       [] {
         exec::History h;
         return exec::StoreAnswer(h, "HistCopy", "answer");
       }},
  };
  config::WriteConfigString("INSTID", "ID", "-1");
  const std::string before = Cfg();
  MakeLockFile();
  for (const Writer& w : writers) {
    SCOPED_TRACE(w.what);
    testutil::InstalledFaultyFs fs;  // a lock file we may not open for writing
    fs.Fail(FsOp::kOpen, "smlock", 0, os::kErrAccessDenied);
    testutil::FakeSystem fake;
    os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
    EXPECT_FALSE(w.run()) << "reported once and nothing written";
    EXPECT_EQ(fake.sleeps, 0);
    EXPECT_EQ(Cfg(), before);
  }
}

}  // namespace
