// Start-up roles, the launcher's restore order and the saving of the last window, with real
// processes of SORM32.EXE.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Sandbox;

// Placements that tell the windows apart (left, top, width, height, min x/y, max x/y).
const char* PlacementFor(int n) {
  switch (n) {
    case 1: return "40;40;420;300;-1;-1;-1;-1";
    case 2: return "140;90;420;300;-1;-1;-1;-1";
    case 4: return "240;140;420;300;-1;-1;-1;-1";
    default: return "300;200;420;300;-1;-1;-1;-1";
  }
}

// Which saved window a frame is, by its left edge.
int WindowNumber(HWND h) {
  e2e::WindowRect r = e2e::NormalRect(h);
  for (int n : {1, 2, 4})
    if (r.left == std::atoi(PlacementFor(n))) return n;
  return 0;
}

ULONGLONG CreationTime(HWND h) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  HANDLE p = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
  FILETIME c{}, e{}, k{}, u{};
  if (p) {
    ::GetProcessTimes(p, &c, &e, &k, &u);
    ::CloseHandle(p);
  }
  return (static_cast<ULONGLONG>(c.dwHighDateTime) << 32) | c.dwLowDateTime;
}

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready()) << "SORM_EXE must name the program to test";
    ASSERT_TRUE(e2e::ProgramWindows().empty()) << "a window of an earlier test is still open";
  }
  void SaveWindows(const char* endMode) {
    box_.Write("EndMode", "EndMode", endMode);
    box_.Write("INSTID", "ID", "4");
    for (int n : {1, 2, 4}) {
      std::string sec = "INST" + std::to_string(n);
      box_.Write(sec.c_str(), "Placement", PlacementFor(n));
    }
  }
  // Runs the launcher and waits until it has ended.
  void RunLauncher() {
    HANDLE launcher = box_.Start("");
    ASSERT_NE(launcher, nullptr);
    ASSERT_TRUE(box_.WaitExit(launcher, 90000)) << "the launcher did not end";
    DWORD code = 1;
    ::GetExitCodeProcess(launcher, &code);
    EXPECT_EQ(code, 0u);
  }
  Sandbox box_;
};

TEST_F(StartupTest, LauncherRestoresWindowsSavedAtQuitWithWindowOneOnTop) {
  SaveWindows("Quit");
  RunLauncher();
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 3; }));
  std::vector<HWND> windows = e2e::ProgramWindows();  // top first
  std::vector<int> numbers;
  for (HWND h : windows) numbers.push_back(WindowNumber(h));
  std::vector<int> sorted = numbers;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<int>{1, 2, 4})) << "each window at its saved place";
  EXPECT_EQ(numbers.front(), 1) << "window 1 starts last and ends on top";

  // Started in the order 4, 2, 1.
  std::sort(windows.begin(), windows.end(),
            [](HWND a, HWND b) { return CreationTime(a) < CreationTime(b); });
  std::vector<int> started;
  for (HWND h : windows) started.push_back(WindowNumber(h));
  EXPECT_EQ(started, (std::vector<int>{4, 2, 1}));

  EXPECT_EQ(box_.Read("INSTID", "ID"), "-1") << "the launcher ends the save cycle";
  e2e::SaveScreenshot("launcher_restored_three_windows");
}

TEST_F(StartupTest, LauncherAfterSessionEndStopsAtFirstGap) {
  SaveWindows("EndSession");
  RunLauncher();
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() >= 2; }));
  ::Sleep(1000);  // a third window would have come up by now
  std::vector<int> numbers;
  for (HWND h : e2e::ProgramWindows()) numbers.push_back(WindowNumber(h));
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
  EXPECT_EQ(box_.Read("INSTID", "ID"), "-1");
}

TEST_F(StartupTest, ClosingTheLastWindowSavesItAsInstanceOne) {
  box_.Write("INSTID", "ID", "-1");
  box_.Write("INST3", "Placement", "120;130;400;300;-1;-1;-1;-1");
  box_.Write("INST3", "WMode", "2");
  HANDLE p = box_.Start("-CFGID 3");
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 1; }));
  HWND w = e2e::ProgramWindows().front();
  e2e::WindowRect r = e2e::NormalRect(w);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 130);
  EXPECT_EQ(r.width, 400);
  EXPECT_EQ(r.height, 300);
  e2e::SaveScreenshot("two_pane_window");
  ::PostMessageA(w, WM_CLOSE, 0, 0);
  ASSERT_TRUE(box_.WaitExit(p));
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "Quit");
  EXPECT_EQ(box_.Read("INSTID", "ID"), "1");
  EXPECT_EQ(box_.Read("INST1", "Placement").rfind("120;130;400;300;", 0), 0u)
      << box_.Read("INST1", "Placement");
  EXPECT_EQ(box_.Read("INST1", "WMode"), "2");
  EXPECT_EQ(box_.Read("INST1", "Show"), "0");
  EXPECT_EQ(box_.Read("INST101", "bkcol_r"), "255") << "the second pane is saved too";
  EXPECT_EQ(box_.Read("INST3", "Placement"), "<missing>") << "purged at the start of the cycle";
}

TEST_F(StartupTest, ClosingOneOfTwoWindowsSavesNothing) {
  box_.Write("INSTID", "ID", "-1");
  box_.Write("INST2", "Placement", PlacementFor(2));
  box_.Write("INST4", "Placement", PlacementFor(4));
  box_.Start("-CFGID 2");
  box_.Start("-CFGID 4");
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 2; }));
  HWND four = nullptr;
  for (HWND h : e2e::ProgramWindows())
    if (WindowNumber(h) == 4) four = h;
  ASSERT_NE(four, nullptr);
  ::PostMessageA(four, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 1; }));
  EXPECT_EQ(box_.Read("INSTID", "ID"), "-1");
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "<missing>");
}

TEST_F(StartupTest, SecondProcessWithoutArgumentsOpensANewWindowFromDefaults) {
  box_.Write("INST1", "Placement", PlacementFor(1));
  box_.Write("INST-1", "Placement", "300;310;360;240;-1;-1;-1;-1");
  box_.Start("-CFGID 1");
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 1; }));
  HANDLE second = box_.Start("");
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 2; }));
  bool foundDefaults = false;
  for (HWND h : e2e::ProgramWindows()) {
    e2e::WindowRect r = e2e::NormalRect(h);
    if (r.left == 300 && r.top == 310 && r.width == 360) foundDefaults = true;
  }
  EXPECT_TRUE(foundDefaults) << "instance -1 reads INST-1";
  EXPECT_EQ(::WaitForSingleObject(second, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "instance -1 is a window, not a launcher that ends";
}

TEST_F(StartupTest, NumberNamingNoWindowOpensANewWindowWhileOneIsOpen) {
  SaveWindows("Quit");  // saved windows 1, 2 and 4; INSTID 4
  box_.Write("INST-1", "Placement", "300;310;360;240;-1;-1;-1;-1");
  box_.Start("-CFGID 1");
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 1; }));
  for (const char* number : {"99", "-7"}) {
    SCOPED_TRACE(number);
    const size_t before = e2e::ProgramWindows().size();
    HANDLE p = box_.Start(std::string("-CFGID ") + number);
    ASSERT_NE(p, nullptr);
    // A new window from the defaults, not the launcher that would open 4 and 2 again.
    ASSERT_TRUE(e2e::WaitFor([&] {
      int atDefaults = 0;
      for (HWND h : e2e::ProgramWindows()) {
        e2e::WindowRect r = e2e::NormalRect(h);
        if (r.left == 300 && r.top == 310) ++atDefaults;
      }
      return atDefaults == static_cast<int>(before);
    })) << "instance -1 reads INST-1";
    ::WaitForInputIdle(p, 10000);
    EXPECT_EQ(e2e::ProgramWindows().size(), before + 1) << "no saved window opened again";
    EXPECT_EQ(::WaitForSingleObject(p, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "a window, not a launcher that ends";
    EXPECT_EQ(box_.Read("INSTID", "ID"), "4") << "the save cycle goes on";
  }
}

TEST_F(StartupTest, NumberNamingNoWindowRunsTheLauncherWhenNoneIsOpen) {
  SaveWindows("Quit");
  HANDLE launcher = box_.Start("-CFGID 99");
  ASSERT_NE(launcher, nullptr);
  ASSERT_TRUE(box_.WaitExit(launcher, 90000)) << "the launcher ends";
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 3; }));
  std::vector<int> numbers;
  for (HWND h : e2e::ProgramWindows()) numbers.push_back(WindowNumber(h));
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(box_.Read("INSTID", "ID"), "-1");
}

// Many saved windows, so that starting them one after another takes a good while.
class LauncherSplashTest : public StartupTest {
 protected:
  static constexpr int kWindows = 12;
  static int LeftOf(int n) { return 20 + 25 * n; }
  void SetUp() override {
    StartupTest::SetUp();
    box_.Write("EndMode", "EndMode", "Quit");
    box_.Write("INSTID", "ID", "12");
    for (int n = 1; n <= kWindows; ++n) {
      std::string sec = "INST" + std::to_string(n);
      std::string placement = std::to_string(LeftOf(n)) + ";" + std::to_string(10 + 15 * n) +
                              ";300;200;-1;-1;-1;-1";
      box_.Write(sec.c_str(), "Placement", placement.c_str());
    }
  }
  static HWND Splash() { return ::FindWindowA("SormSplash", nullptr); }
  // Starts the launcher and waits for its splash.
  HWND StartLauncher() {
    launcher_ = box_.Start("");
    if (!launcher_) return nullptr;
    HWND splash = nullptr;
    e2e::WaitFor([&] { return (splash = Splash()) != nullptr; }, 20000);
    return splash;
  }
  // After the splash went away: the launcher was still starting windows, and once it is done
  // window 1 is on top.
  void ExpectGoneDuringTheStarts(size_t windowsWhenGone, bool launcherRanWhenGone) {
    EXPECT_TRUE(launcherRanWhenGone) << "the splash closed only at the end";
    EXPECT_LT(windowsWhenGone, static_cast<size_t>(kWindows)) << "the splash closed only at the end";
    ASSERT_TRUE(box_.WaitExit(launcher_, 120000));
    ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == kWindows; }));
    EXPECT_EQ(e2e::NormalRect(e2e::ProgramWindows().front()).left, LeftOf(1))
        << "window 1 starts last and ends on top";
  }
  // Waits until the splash is gone; how many windows were up and whether the launcher still
  // ran at that moment.
  bool WaitGone(HWND splash, size_t* windows, bool* running) {
    return e2e::WaitFor([&] {
      *windows = e2e::ProgramWindows().size();
      *running = ::WaitForSingleObject(launcher_, 0) == WAIT_TIMEOUT;
      return !::IsWindow(splash);
    }, 60000);
  }
  HANDLE launcher_ = nullptr;
};

TEST_F(LauncherSplashTest, SplashClosesByItselfWhileTheWindowsStart) {
  HWND splash = StartLauncher();
  ASSERT_NE(splash, nullptr);
  const DWORD seen = ::GetTickCount();
  size_t windows = 0;
  bool running = false;
  ASSERT_TRUE(WaitGone(splash, &windows, &running));
  const DWORD shown = ::GetTickCount() - seen;
  EXPECT_LT(shown, 1000u + 1500u) << "closes after about a second";
  std::printf("[          ] splash seen for %lu ms; %u of %d windows were up\n", shown,
              static_cast<unsigned>(windows), kWindows);
  ExpectGoneDuringTheStarts(windows, running);
}

TEST_F(LauncherSplashTest, SplashClosesOnAClickWhileTheWindowsStart) {
  HWND splash = StartLauncher();
  ASSERT_NE(splash, nullptr);
  e2e::SaveScreenshot("launcher_splash");
  ::PostMessageA(splash, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ::PostMessageA(splash, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  const DWORD clicked = ::GetTickCount();
  size_t windows = 0;
  bool running = false;
  ASSERT_TRUE(WaitGone(splash, &windows, &running));
  EXPECT_LT(::GetTickCount() - clicked, 900u) << "the click closes it before its timer would";
  ExpectGoneDuringTheStarts(windows, running);
}

}  // namespace
