#include "app/window_state.h"

#include <gtest/gtest.h>

#include <thread>

#include "config/config_lock.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/fake_system.h"

namespace {

using testutil::AppDirTest;

// A window as SaveWindowState sees it, recording what it was asked to write.
class RecordingWindow : public app::WindowStateSource {
 public:
  app::WindowSettings settings;
  bool frame = true, pane = true, table = false;
  std::vector<std::string> calls;
  int lockErrors = 0;

  app::WindowSettings Settings() override { return settings; }
  bool HasFrame() override { return frame; }
  void WritePlacement(int n, int dx, int dy) override {
    calls.push_back("placement " + std::to_string(n));
    config::WriteConfigString(config::InstSection(n), "Placement",
                           n == -1 ? "42;42;100;100;0;0;0;0" : "10;10;100;100;0;0;0;0");
  }
  bool HasActivePane() override { return pane; }
  void WritePaneSettings(int p, int s) override {
    calls.push_back("pane " + std::to_string(p) + " " + std::to_string(s));
  }
  bool HasActiveTable() override { return table; }
  void WriteTableSettings(int p, int s) override {
    calls.push_back("table " + std::to_string(p) + " " + std::to_string(s));
  }
  void ShowLockError() override { ++lockErrors; }
};

using WindowStateTest = AppDirTest;

TEST_F(WindowStateTest, SettingsDefaultsWhenNothingIsSaved) {
  app::WindowSettings s = app::ReadWindowSettings(7);
  EXPECT_EQ(s.wmode, 1);
  EXPECT_EQ(s.focusWin, 0);
  EXPECT_FALSE(s.clickScroll);
  EXPECT_TRUE(s.menu);
  EXPECT_TRUE(s.toolBarDisp);
  EXPECT_EQ(s.toolBarPos, settings::ToolBarEdge::kTop);
  EXPECT_TRUE(s.statusBarDisp);
}

TEST_F(WindowStateTest, SettingsReadRules) {
  struct Case {
    const char* wmode;
    const char* focus;
    int wantWmode, wantFocus;
  } cases[] = {
      {"2", "1", 2, 1}, {"1", "1", 1, 0},  // FocusWin forced to 0 with one pane
      {"2", "7", 2, 0}, {"junk", "1", 1, 0}, {"99999999999999", "1", 1, 0},
  };
  for (const Case& c : cases) {
    config::WriteConfigString("INST3", "WMode", c.wmode);
    config::WriteConfigString("INST3", "FocusWin", c.focus);
    app::WindowSettings s = app::ReadWindowSettings(3);
    EXPECT_EQ(s.wmode, c.wantWmode) << c.wmode;
    EXPECT_EQ(s.focusWin, c.wantFocus) << c.wmode << "/" << c.focus;
  }
}

TEST(ToolBarEdge, ParsesAnyCaseAndFallsBackToTop) {
  struct Case {
    const char* text;
    settings::ToolBarEdge edge;
  } cases[] = {{"Right", settings::ToolBarEdge::kRight},   {"rIGHT", settings::ToolBarEdge::kRight},
               {"bottom", settings::ToolBarEdge::kBottom}, {"LEFT", settings::ToolBarEdge::kLeft},
               {"Top", settings::ToolBarEdge::kTop},       {"Middle", settings::ToolBarEdge::kTop},
               {"", settings::ToolBarEdge::kTop},          {"Right ", settings::ToolBarEdge::kTop}};
  for (const Case& c : cases) EXPECT_EQ(settings::ParseToolBarEdge(c.text), c.edge) << c.text;
}

TEST_F(WindowStateTest, SwitchesCompareOnWithoutCase) {
  for (const char* on : {"On", "ON", "on", "oN"}) {
    config::WriteConfigString("INST2", "Menu", on);
    EXPECT_TRUE(app::ReadWindowSettings(2).menu) << on;
  }
  for (const char* off : {"Off", "1", "yes", "O n", "", "Onn"}) {
    config::WriteConfigString("INST2", "Menu", off);
    EXPECT_FALSE(app::ReadWindowSettings(2).menu) << off;
  }
}

TEST_F(WindowStateTest, SaveWritesKeysInOrderAndNumbersFromInstId) {
  RecordingWindow w;
  w.settings.wmode = 2;
  w.settings.focusWin = 1;
  w.settings.toolBarPos = settings::ToolBarEdge::kLeft;
  w.table = true;
  EXPECT_EQ(app::SaveWindowState(0, w), 1);  // ID missing reads 0
  EXPECT_EQ(Get("INSTID", "ID"), "1");
  EXPECT_EQ(Get("INST1", "WMode"), "2");
  EXPECT_EQ(Get("INST1", "FocusWin"), "1");
  EXPECT_EQ(Get("INST1", "ToolBarPos"), "Left");
  EXPECT_EQ(Get("INST1", "ClickScroll"), "Off");
  EXPECT_EQ(w.calls, (std::vector<std::string>{"placement 1", "pane 0 1", "pane 1 101",
                                               "table 0 1", "table 1 101"}));
  EXPECT_EQ(app::SaveWindowState(0, w), 2);
  EXPECT_EQ(Get("INSTID", "ID"), "2");
  std::string cfg = Cfg();
  EXPECT_LT(cfg.find("WMode="), cfg.find("FocusWin="));
  EXPECT_LT(cfg.find("StatusBarDisp="), cfg.find("Placement="));
}

TEST_F(WindowStateTest, SaveAsDefaultLeavesIdAtMinusOne) {
  config::WriteConfigString("INSTID", "ID", "-1");
  RecordingWindow w;
  EXPECT_EQ(app::SaveWindowState(-1, w), -1);
  EXPECT_EQ(Get("INSTID", "ID"), "-1");
  EXPECT_EQ(Get("INST-1", "Placement"), "42;42;100;100;0;0;0;0");
}

TEST_F(WindowStateTest, PurgeForgetsSavedWindowsOnlyAtStartOfCycle) {
  for (const char* s : {"INST1", "INST2", "INST64", "INST101", "INST164", "INST65", "INST165",
                        "INST-1"})
    config::WriteConfigString(s, "Placement", "1;2;3;4;5;6;7;8");
  config::WriteConfigString("INSTID", "ID", "3");
  ASSERT_TRUE(app::PurgeSavedWindows(nullptr));
  // Restart sections always go; saved windows stay while a cycle runs.
  EXPECT_EQ(Get("INST65", "Placement"), "<missing>");
  EXPECT_EQ(Get("INST165", "Placement"), "<missing>");
  EXPECT_EQ(Get("INST2", "Placement"), "1;2;3;4;5;6;7;8");
  EXPECT_EQ(Get("INSTID", "ID"), "3");

  config::WriteConfigString("INSTID", "ID", "-1");
  ASSERT_TRUE(app::PurgeSavedWindows(nullptr));
  for (const char* s : {"INST1", "INST2", "INST64", "INST101", "INST164"})
    EXPECT_EQ(Get(s, "Placement"), "<missing>") << s;
  EXPECT_EQ(Get("INST-1", "Placement"), "1;2;3;4;5;6;7;8");  // defaults are never purged
  EXPECT_EQ(Get("INSTID", "ID"), "0");
}

TEST_F(WindowStateTest, ShowCommandMapping) {
  struct Case {
    const char* value;
    app::ShowCommand want;
  } cases[] = {{"1", app::ShowCommand::kMaximized}, {"2", app::ShowCommand::kMinimized},
               {"0", app::ShowCommand::kNormal},    {"3", app::ShowCommand::kNormal},
               {"-2", app::ShowCommand::kNormal},   {"x", app::ShowCommand::kNormal}};
  for (const Case& c : cases) {
    config::WriteConfigString("INST4", "Show", c.value);
    EXPECT_EQ(app::ReadShowCommand(4), c.want) << c.value;
  }
  EXPECT_EQ(app::ReadShowCommand(5), app::ShowCommand::kNormal);
}

TEST_F(WindowStateTest, LastWindowSavesOnlyWhenNoCycleRuns) {
  EXPECT_TRUE(app::ShouldSaveAsLastWindow(1, false));  // ID missing reads -1
  EXPECT_FALSE(app::ShouldSaveAsLastWindow(2, false));
  EXPECT_FALSE(app::ShouldSaveAsLastWindow(1, true));
  config::WriteConfigString("INSTID", "ID", "2");
  EXPECT_FALSE(app::ShouldSaveAsLastWindow(1, false));
}

TEST_F(WindowStateTest, SaveIsSkippedWhileTheLockIsHeld) {
  config::ConfigLock held = config::AcquireConfigLock();
  ASSERT_TRUE(held);
  testutil::FakeSystem fake;  // no real waiting for the 50 s retry budget
  os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
  RecordingWindow w;
  EXPECT_EQ(app::SaveWindowState(5, w), -2);
  EXPECT_EQ(w.lockErrors, 1);
  EXPECT_TRUE(w.calls.empty());
  EXPECT_EQ(Get("INST5", "WMode"), "<missing>");
  EXPECT_EQ(fake.sleeps, 10 * 50);
  EXPECT_EQ(fake.peeks, 10 * 50);
}

TEST_F(WindowStateTest, ConcurrentSavesLoseNothing) {
  // Several writers at once (threads here; processes in the end-to-end tests): every save gets
  // its own number and all keys of every window arrive.
  constexpr int kWriters = 6;
  std::vector<std::thread> threads;
  for (int i = 0; i < kWriters; ++i)
    threads.emplace_back([] {
      RecordingWindow w;
      w.pane = false;
      app::SaveWindowState(0, w);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(Get("INSTID", "ID"), std::to_string(kWriters));
  for (int n = 1; n <= kWriters; ++n) {
    EXPECT_EQ(Get(config::InstSection(n), "StatusBarDisp"), "On") << n;
    EXPECT_EQ(Get(config::InstSection(n), "Placement"), "10;10;100;100;0;0;0;0") << n;
  }
}

}  // namespace

namespace {

TEST_F(WindowStateTest, UnwritableConfigurationFolderSkipsTheSaveWithALockError) {
  // The program folder (and so the lock file and the configuration) is somewhere that cannot be
  // created: every attempt fails at once, the save is skipped and reported, nothing crashes.
  config::ProgramContext c = config::Context();
  c.configFilePath = dir_.Path("missing\\sorm.cfg");
  c.lockFilePath = dir_.Path("missing\\smlock");
  config::ScopedContext context(c);
  testutil::FakeSystem fake;
  os::ScopedServices scope({nullptr, nullptr, nullptr, &fake});
  RecordingWindow w;
  EXPECT_EQ(app::SaveWindowState(1, w), -2);
  EXPECT_EQ(w.lockErrors, 1);
  EXPECT_EQ(fake.sleeps, 0) << "only a lock held by someone else is waited for";
  int purgeErrors = 0;
  static int* counter = nullptr;
  counter = &purgeErrors;
  EXPECT_FALSE(app::PurgeSavedWindows([] { ++*counter; }));
  EXPECT_EQ(purgeErrors, 1);
  EXPECT_FALSE(config::WriteConfigString("INST1", "WMode", "2"));
  EXPECT_EQ(config::ReadConfigString("INST1", "WMode", "1"), "1");
}

}  // namespace

namespace {

TEST_F(WindowStateTest, RestartSaveKeepsTheCycleCounter) {
  config::WriteConfigString("INSTID", "ID", "-1");
  RecordingWindow w;
  EXPECT_EQ(app::SaveWindowState(app::kRestartInstanceNumber, w), 65);
  EXPECT_EQ(Get("INST65", "WMode"), "1");
  EXPECT_EQ(Get("INSTID", "ID"), "-1");
  EXPECT_TRUE(app::ShouldSaveAsLastWindow(1, false)) << "the restarted window still saves";
}

// A damaged counter never numbers a save outside the saved windows: not the defaults
// (INST-1), not the restart section (INST65), and never by overflowing.
TEST_F(WindowStateTest, DamagedCounterStaysWithinTheSavedWindows) {
  const struct Case {
    const char* stored;
    long read;
    int saved;
  } cases[] = {
      {"2147483647", 64, 64}, {"99999999999", 64, 64}, {"65", 64, 64},  {"64", 64, 64},
      {"63", 63, 64},         {"5", 5, 6},             {"-1", -1, 1},   {"-2", -1, 1},
      {"-2147483648", -1, 1}, {"junk", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    config::WriteConfigString("INSTID", "ID", c.stored);
    EXPECT_EQ(app::ReadInstanceId("0"), c.read);
    RecordingWindow w;
    EXPECT_EQ(app::SaveWindowState(0, w), c.saved);
    EXPECT_EQ(Get(config::InstSection(c.saved), "WMode"), "1");
    EXPECT_EQ(Get("INSTID", "ID"), std::to_string(c.saved));
    EXPECT_EQ(Get("INST-1", "WMode"), "<missing>");
    EXPECT_EQ(Get("INST65", "WMode"), "<missing>");
    config::DeleteConfigSection(config::InstSection(c.saved));
  }
}

}  // namespace
