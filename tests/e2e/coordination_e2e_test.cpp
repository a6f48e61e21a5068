// Several windows as several processes: quit all, open a new window, restarts, broadcasts and
// the end of the Windows session.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Sandbox;

std::string PlacementText(int left, int top) {
  return std::to_string(left) + ";" + std::to_string(top) + ";400;280;-1;-1;-1;-1";
}

class CoordinationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready()) << "SORM_EXE must name the program to test";
    ASSERT_TRUE(e2e::ProgramWindows().empty()) << "a window of an earlier test is still open";
    box_.Write("INSTID", "ID", "-1");
  }
  // Saves window n at (left, top) and starts it; waits until it is shown, its process is idle
  // and it has come on top. A window shown but not yet activated could otherwise still rise
  // above the next one started, after the test took the z-order.
  HWND StartSaved(int n, int left, int top, const char* wmode = "1") {
    std::string sec = "INST" + std::to_string(n);
    box_.Write(sec.c_str(), "Placement", PlacementText(left, top).c_str());
    box_.Write(sec.c_str(), "WMode", wmode);
    size_t before = e2e::ProgramWindows().size();
    HANDLE process = box_.Start("-CFGID " + std::to_string(n));
    HWND w = nullptr;
    e2e::WaitFor([&] {
      w = e2e::WindowAt(left, top);
      return w && e2e::ProgramWindows().size() == before + 1;
    });
    if (!w) return nullptr;
    ::WaitForInputIdle(process, 20000);
    e2e::WaitFor([&] {
      std::vector<HWND> z = e2e::ProgramWindows();
      return !z.empty() && z.front() == w && ::GetForegroundWindow() == w;
    }, 10000);
    return w;
  }
  void RunLauncher() {
    HANDLE launcher = box_.Start("");
    ASSERT_NE(launcher, nullptr);
    ASSERT_TRUE(box_.WaitExit(launcher, 90000));
  }
  // The windows save concurrently, each writing its own number: the counter ends at one of
  // them (never -1, so a later last-window close does not start a new cycle).
  void ExpectCycleCounterWithin(int n) {
    int id = std::atoi(box_.Read("INSTID", "ID").c_str());
    EXPECT_GE(id, 1);
    EXPECT_LE(id, n);
  }
  std::string Placement(int n) {
    return box_.Read(("INST" + std::to_string(n)).c_str(), "Placement");
  }
  Sandbox box_;
};

TEST_F(CoordinationTest, QuitAllSavesTopToBottomAndTheLauncherBringsThemBack) {
  ASSERT_NE(StartSaved(11, 30, 30), nullptr);
  ASSERT_NE(StartSaved(12, 130, 80, "2"), nullptr);
  ASSERT_NE(StartSaved(13, 230, 130), nullptr);
  std::vector<HWND> z = e2e::ProgramWindows();  // top first
  ASSERT_EQ(z.size(), 3u);
  std::vector<e2e::WindowRect> rects;
  for (HWND h : z) rects.push_back(e2e::NormalRect(h));

  ::PostMessageA(z.back(), WM_COMMAND, 144, 0);  // quit all, chosen in the bottom window
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "Quit");
  ExpectCycleCounterWithin(3);
  for (int k = 1; k <= 3; ++k)
    EXPECT_EQ(Placement(k).rfind(std::to_string(rects[k - 1].left) + ";" +
                                     std::to_string(rects[k - 1].top) + ";",
                                 0),
              0u)
        << "INST" << k << " = " << Placement(k);
  for (int n : {11, 12, 13})
    EXPECT_EQ(Placement(n), "<missing>") << "the old sections were purged";

  RunLauncher();
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 3; }));
  std::vector<HWND> back = e2e::ProgramWindows();
  for (size_t i = 0; i < back.size(); ++i) {
    e2e::WindowRect r = e2e::NormalRect(back[i]);
    EXPECT_EQ(r.left, rects[i].left) << "same z-order after the restore, position " << i;
    EXPECT_EQ(r.top, rects[i].top);
  }
  HWND twoPane = e2e::WindowAt(130, 80);
  ASSERT_NE(twoPane, nullptr);
  EXPECT_EQ(e2e::PaneCount(twoPane), 2) << "pane mode restored";
  EXPECT_EQ(e2e::PaneCount(e2e::WindowAt(30, 30)), 1);
  e2e::SaveScreenshot("quit_all_restored");
}

TEST_F(CoordinationTest, QuitAllAfterALargerSetLeavesNoSectionAboveTheNewCount) {
  box_.Write("EndMode", "EndMode", "Quit");
  for (int n = 1; n <= 5; ++n) {
    std::string sec = "INST" + std::to_string(n);
    box_.Write(sec.c_str(), "Placement", PlacementText(20 + 60 * n, 20 + 40 * n).c_str());
  }
  RunLauncher();
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 5; }));
  // Two windows are closed on their own (saving nothing), then the rest quit together.
  for (int n : {4, 5}) ::PostMessageA(e2e::WindowAt(20 + 60 * n, 20 + 40 * n), WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 3; }));
  ::PostMessageA(e2e::ProgramWindows().front(), WM_COMMAND, 144, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  ExpectCycleCounterWithin(3);
  for (int n = 1; n <= 3; ++n) EXPECT_NE(Placement(n), "<missing>") << n;
  for (int n = 4; n <= 5; ++n) EXPECT_EQ(Placement(n), "<missing>") << n;
}

TEST_F(CoordinationTest, TenWindowsQuittingAtOnceAreEachSavedOnce) {
  for (int n = 1; n <= 10; ++n) ASSERT_NE(StartSaved(20 + n, 10 + 30 * n, 10 + 20 * n), nullptr);
  DWORD start = ::GetTickCount();
  ::PostMessageA(e2e::ProgramWindows().front(), WM_COMMAND, 144, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }, 60000));
  // Every save waits for the lock in turn; the last window to close waited longest.
  std::printf("[          ] ten windows saved and closed in %lu ms\n", ::GetTickCount() - start);
  ExpectCycleCounterWithin(10);
  std::vector<std::string> lefts;
  for (int k = 1; k <= 10; ++k) {
    std::string p = Placement(k);
    ASSERT_NE(p, "<missing>") << k;
    lefts.push_back(p.substr(0, p.find(';')));
  }
  std::sort(lefts.begin(), lefts.end());
  EXPECT_EQ(std::unique(lefts.begin(), lefts.end()), lefts.end()) << "each window saved once";
}

// A window whose own message loop is held by an input dialog still saves itself when another
// window quits all: the request reaches its frame through the dialog's loop.
TEST_F(CoordinationTest, QuitAllSavesAWindowWithAnInputDialogOpen) {
  HWND busy = StartSaved(21, 40, 40);
  ASSERT_NE(busy, nullptr);
  HWND other = StartSaved(22, 300, 200);
  ASSERT_NE(other, nullptr);
  ::PostMessageA(busy, WM_COMMAND, 176, 0);  // make directory: asks for the name
  HWND dlg = e2e::FindDialog("ディレクトリの作成");
  ASSERT_NE(dlg, nullptr);
  e2e::SaveScreenshot("quit_all_with_dialog_before");
  ::PostMessageA(other, WM_COMMAND, 144, 0);  // quit all, chosen in the other window
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "Quit");
  ExpectCycleCounterWithin(2);
  // Both windows are saved, each once, under the numbers of the cycle.
  std::vector<std::string> placements = {Placement(1), Placement(2)};
  std::sort(placements.begin(), placements.end());
  ASSERT_EQ(placements.size(), 2u);
  EXPECT_EQ(placements[0].rfind("300;200;", 0), 0u) << placements[0];
  EXPECT_EQ(placements[1].rfind("40;40;", 0), 0u) << placements[1];
  EXPECT_EQ(Placement(3), "<missing>");
}

TEST_F(CoordinationTest, OpenWindowTwiceGivesTwoWindowsAtTheSameOffset) {
  HWND first = StartSaved(1, 60, 50);
  ASSERT_NE(first, nullptr);
  ::PostMessageA(first, WM_COMMAND, 136, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 2; }));
  ::PostMessageA(first, WM_COMMAND, 136, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().size() == 3; }));
  int atOffset = 0;
  for (HWND h : e2e::ProgramWindows()) {
    e2e::WindowRect r = e2e::NormalRect(h);
    if (r.left == 108 && r.top == 98) ++atOffset;
  }
  EXPECT_EQ(atOffset, 2);
  ASSERT_TRUE(box_.WaitSaved([&] { return box_.Read("INST-1", "Placement").empty(); }));
  EXPECT_EQ(box_.Read("INST-1", "Show"), "");
}

TEST_F(CoordinationTest, MenuAndTwoPaneRestartsKeepThePlace) {
  HWND w = StartSaved(1, 70, 60);
  ASSERT_NE(w, nullptr);
  ASSERT_NE(::GetMenu(w), nullptr);
  ::PostMessageA(w, WM_COMMAND, 19589, 0);  // two-pane mode
  HWND two = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] {
    two = e2e::WindowAt(70, 60);
    return two && two != w && e2e::ProgramWindows().size() == 1;
  }));
  EXPECT_EQ(e2e::PaneCount(two), 2);
  ::PostMessageA(two, WM_COMMAND, 108, 0);  // hide the menu bar
  HWND bare = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] {
    bare = e2e::WindowAt(70, 60);
    return bare && bare != two && e2e::ProgramWindows().size() == 1;
  }));
  EXPECT_EQ(::GetMenu(bare), nullptr);
  EXPECT_EQ(e2e::PaneCount(bare), 2);
  ::PostMessageA(bare, WM_COMMAND, 19589, 0);  // without a menu bar the toggle does nothing
  ::Sleep(500);
  EXPECT_EQ(e2e::ProgramWindows().size(), 1u);
  EXPECT_EQ(e2e::PaneCount(bare), 2);
  // Closing the restarted window as the last one still saves it.
  ::PostMessageA(bare, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(Placement(1).rfind("70;60;", 0), 0u) << Placement(1);
  EXPECT_EQ(box_.Read("INST1", "Menu"), "Off");
  EXPECT_EQ(box_.Read("INST1", "WMode"), "2");
}

// A restart whose new process cannot start keeps the window, says so, and leaves no restart
// section behind.
TEST_F(CoordinationTest, RestartThatCannotStartKeepsTheWindow) {
  HWND w = StartSaved(1, 70, 60);
  ASSERT_NE(w, nullptr);
  // The program file goes away under the running window (Wine lets a running image be moved).
  const std::string aside = box_.Dir() + "ASIDE.EXE";
  ASSERT_TRUE(::MoveFileA(box_.Exe().c_str(), aside.c_str()));
  ::PostMessageA(w, WM_COMMAND, 19589, 0);  // two-pane mode
  HWND box = e2e::FindDialog("ソルモ", 10000);
  char text[256] = {};
  if (box) ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
  e2e::SaveScreenshot("restart_failed");
  ASSERT_TRUE(::MoveFileA(aside.c_str(), box_.Exe().c_str()));
  ASSERT_NE(box, nullptr) << "the failed restart is reported";
  EXPECT_NE(std::string(text).find("再起動できませんでした"), std::string::npos) << text;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
  ASSERT_TRUE(::IsWindow(w)) << "the window stays";
  EXPECT_EQ(e2e::ProgramWindows().size(), 1u);
  EXPECT_EQ(e2e::PaneCount(w), 1);
  EXPECT_EQ(box_.Read("INST65", "WMode"), "<missing>");
  // It still works: the next restart goes through.
  ::PostMessageA(w, WM_COMMAND, 19589, 0);
  HWND two = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] {
    two = e2e::WindowAt(70, 60);
    return two && two != w && e2e::ProgramWindows().size() == 1;
  }));
  EXPECT_EQ(e2e::PaneCount(two), 2);
}

TEST_F(CoordinationTest, ToolbarBroadcastReachesEveryWindowButSparesHiddenToolbars) {
  box_.Write("INST2", "ToolBarDisp", "Off");
  HWND shown = StartSaved(1, 40, 40);
  HWND hidden = StartSaved(2, 300, 200);
  ASSERT_TRUE(shown && hidden);
  HWND tb = e2e::ToolBarOf(shown);
  ASSERT_NE(tb, nullptr);
  EXPECT_EQ(::SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), 0) << "no ToolBar value: no buttons";
  EXPECT_EQ(e2e::ToolBarOf(hidden), nullptr);
  box_.Write("BarSettings", "ToolBar", "FWINOPEN / FQUIT");
  // What the toolbar editor sends after storing a new definition.
  int k = 1;
  for (HWND h : e2e::ProgramWindows()) ::PostMessageA(h, WM_USER, k++, 7);
  ASSERT_TRUE(e2e::WaitFor([&] {
    HWND t = e2e::ToolBarOf(shown);
    return t && ::SendMessageA(t, TB_BUTTONCOUNT, 0, 0) == 3;
  }));
  EXPECT_EQ(e2e::ToolBarOf(hidden), nullptr);
  e2e::SaveScreenshot("toolbar_rebuilt");
}

TEST_F(CoordinationTest, SessionEndSavesEachWindowOnceInDeliveryOrder) {
  std::vector<HWND> w = {StartSaved(31, 50, 50), StartSaved(32, 150, 100), StartSaved(33, 250, 150)};
  for (HWND h : w) ASSERT_NE(h, nullptr);
  // The system delivers the end of the session to one window after another.
  for (HWND h : {w[1], w[2], w[0]}) ::SendMessageA(h, WM_ENDSESSION, TRUE, 0);
  ::SendMessageA(w[1], WM_ENDSESSION, TRUE, 0);  // a second delivery saves nothing more
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "EndSession");
  EXPECT_EQ(box_.Read("INSTID", "ID"), "3");
  EXPECT_EQ(Placement(1).rfind("150;100;", 0), 0u) << Placement(1);
  EXPECT_EQ(Placement(2).rfind("250;150;", 0), 0u) << Placement(2);
  EXPECT_EQ(Placement(3).rfind("50;50;", 0), 0u) << Placement(3);
  EXPECT_EQ(Placement(4), "<missing>");
}

// Another program called the session's end off: the window goes on as before, and its own
// close later saves it.
TEST_F(CoordinationTest, ACalledOffSessionEndChangesNothing) {
  HWND w = StartSaved(1, 60, 60);
  ASSERT_NE(w, nullptr);
  ::SendMessageA(w, WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "<missing>");
  EXPECT_EQ(box_.Read("INSTID", "ID"), "-1");
  ::SetWindowPos(w, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::PostMessageA(w, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(Placement(1).rfind("120;90;", 0), 0u) << Placement(1);
}

}  // namespace
