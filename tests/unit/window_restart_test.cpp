// Restarting a window in a new process: the old window may close only once the new process
// has started, and a failed start leaves no restart section behind.
#include "app/window_restart.h"

#include <gtest/gtest.h>

#include "config/config_file.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/fake_system.h"
#include "tests/unit/window_state_stub.h"

namespace {

using SettingsOnly = testutil::SettingsOnlyWindow;

using WindowRestartTest = testutil::AppDirTest;

TEST_F(WindowRestartTest, ClosesOnlyWhenTheNewProcessStarted) {
  const struct Case {
    uint32_t winExecResult;
    bool started;
  } cases[] = {{33, true}, {32, true}, {31, false}, {2, false}, {0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.winExecResult);
    config::WriteConfigString("INSTID", "ID", "-1");
    testutil::FakeSystem fake;
    fake.winExecResult = c.winExecResult;
    os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
    SettingsOnly window;
    window.settings.wmode = 2;
    EXPECT_EQ(app::StartRestartedWindow(window, "C:\\p\\SORM32.EXE"), c.started);
    ASSERT_EQ(fake.started.size(), 1u);
    EXPECT_EQ(fake.started[0], "C:\\p\\SORM32.EXE -CFGID 65");
    // A started window reads its settings from the restart section; after a failed start none
    // is left for the next window to pick up.
    EXPECT_EQ(Get("INST65", "WMode"), c.started ? "2" : "<missing>");
    EXPECT_EQ(Get("INSTID", "ID"), "-1");
    config::DeleteConfigSection("INST65");
  }
}

}  // namespace
