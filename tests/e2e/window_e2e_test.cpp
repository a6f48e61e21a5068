// The window with its panes on a prepared directory: caption, status text, scroll range, the
// three display modes (screenshots), and the placement kept across a close and a start.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Sandbox;

void MakeFile(const std::string& path, DWORD attributes = 0, const char* text = "data") {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  ::WriteFile(h, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
  ::CloseHandle(h);
  if (attributes) ::SetFileAttributesA(path.c_str(), attributes);
}


HWND FirstPane(HWND frame) {
  HWND client = ::GetWindow(frame, GW_CHILD);
  for (; client; client = ::GetWindow(client, GW_HWNDNEXT)) {
    HWND pane = ::FindWindowExA(client, nullptr, "Sorumo32", nullptr);
    if (pane) return pane;
  }
  return nullptr;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready());
    ASSERT_TRUE(e2e::ProgramWindows().empty());
    dir_ = box_.Dir() + "files";
    made_.clear();
    Mkdir(dir_);
    Mkdir(dir_ + "\\sub folder");
    Mkdir(dir_ + "\\フォルダ");
    Mkdir(dir_ + "\\hidden dir");
    ::SetFileAttributesA((dir_ + "\\hidden dir").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Make("program.exe");
    Make("readme.txt");
    Make("name with blanks.doc");
    Make("長い日本語の名前のファイル名前.txt");
    Make("表ソ能.txt");
    Make("readonly.txt", FILE_ATTRIBUTE_READONLY);
    Make("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    Make("system.sys", FILE_ATTRIBUTE_SYSTEM);
    Make("driver.dll");  // a hidden type by default
    std::string link = "[Link]\r\nLink=" + dir_ + "\\sub folder\r\nTitle=リンク先\r\n";
    Make("shortcut.LFI", 0, link.c_str());
    box_.Write("INSTID", "ID", "5");
  }
  void TearDown() override {
    box_.CloseAll();
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      ::SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!::DeleteFileA(it->c_str())) ::RemoveDirectoryA(it->c_str());
    }
  }
  void Mkdir(const std::string& p) {
    ::CreateDirectoryA(p.c_str(), nullptr);
    made_.push_back(p);
  }
  void Make(const char* name, DWORD attributes = 0, const char* text = "data") {
    MakeFile(dir_ + "\\" + name, attributes, text);
    made_.push_back(dir_ + "\\" + name);
  }
  HWND Open(const char* section_extra_key = nullptr, const char* value = nullptr,
            bool anyPlace = false) {
    box_.Write("INST1", "Placement", "20;20;760;520;-1;-1;-1;-1");
    box_.Write("INST1", "Path", dir_.c_str());
    box_.Write("INST1", "vmode", "0");
    if (section_extra_key) box_.Write("INST1", section_extra_key, value);
    box_.Start("-CFGID 1");
    HWND w = nullptr;
    e2e::WaitFor([&] {
      if (anyPlace) w = e2e::ProgramWindows().empty() ? nullptr : e2e::ProgramWindows().front();
      else w = e2e::WindowAt(20, 20);
      return w != nullptr;
    });
    return w;
  }
  Sandbox box_;
  std::string dir_;
  std::vector<std::string> made_;
};

TEST_F(WindowTest, IconModeCaptionAndStatus) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  // "..", two visible directories, five visible files and the link; hidden, system and the
  // hidden type .dll are left out.
  std::string want = dir_ + "\\*.*  10 file(s).  ";
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(w).rfind(want, 0) == 0; }, 5000))
      << e2e::Caption(w);
  EXPECT_EQ(e2e::StatusText(w), "Selected 0 file(s) ( 0 bytes ).");
  e2e::SaveScreenshot("mode_icons");
}

TEST_F(WindowTest, ListModeWithAllColumnsAndHiddenFiles) {
  box_.Write("INST1", "vinfo", "31");
  HWND w = Open("vmode", "1");
  ASSERT_NE(w, nullptr);
  std::string want = dir_ + "\\*.*  14 file(s).  ";
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(w).rfind(want, 0) == 0; }, 5000))
      << e2e::Caption(w);
  e2e::SaveScreenshot("mode_list_all_columns");
}

TEST_F(WindowTest, TwoPanesShowTheirPathsAndStatusFields) {
  box_.Write("INST101", "Path", (dir_ + "\\sub folder").c_str());
  box_.Write("INST101", "vmode", "1");
  box_.Write("INST101", "vinfo", "15");
  HWND w = Open("WMode", "2");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(e2e::PaneCount(w), 2);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(w).rfind(dir_ + "\\*.*", 0) == 0; }, 5000));
  e2e::SaveScreenshot("mode_two_panes");
}

TEST_F(WindowTest, ScrollRangeCoversTwoThousandFiles) {
  for (int i = 0; i < 2000; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "f%04d.dat", i);
    Make(name);
  }
  HWND w = Open("vmode", "1");
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(w).find("2010 file(s)") != std::string::npos; }))
      << e2e::Caption(w);
  HWND pane = FirstPane(w);
  ASSERT_NE(pane, nullptr);
  // Scroll positions cannot be read from another process under Wine; the bars' presence can.
  LONG style = ::GetWindowLongA(pane, GWL_STYLE);
  EXPECT_TRUE(style & WS_HSCROLL) << "list mode scrolls sideways through its columns";
  EXPECT_FALSE(style & WS_VSCROLL) << "and never up and down";
  ::SendMessageA(pane, WM_HSCROLL, SB_PAGEDOWN, 0);
  e2e::SaveScreenshot("list_two_thousand_scrolled");
}

// The frame's child of a class, or null.
HWND FrameChild(HWND frame, const char* className) {
  return ::FindWindowExA(frame, nullptr, className, nullptr);
}

TEST_F(WindowTest, ToolbarClientAndStatusBarTileTheFrameFromTheFirstShow) {
  HWND w = Open();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(w).find("file(s)") != std::string::npos; }));
  HWND toolbar = FrameChild(w, "ToolbarWindow32");
  HWND status = FrameChild(w, "msctls_statusbar32");
  HWND client = FrameChild(w, "SormClient");
  ASSERT_TRUE(toolbar && status && client);
  RECT frame, t, c, s;
  ::GetClientRect(w, &frame);
  ::MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&frame), 2);
  ::GetWindowRect(toolbar, &t);
  ::GetWindowRect(client, &c);
  ::GetWindowRect(status, &s);
  EXPECT_EQ(t.top, frame.top);
  EXPECT_GT(t.bottom, t.top);
  EXPECT_EQ(c.top, t.bottom) << "the client starts below the toolbar";
  EXPECT_EQ(c.bottom, s.top) << "and ends above the status bar";
  EXPECT_EQ(s.bottom, frame.bottom);
  for (const RECT& r : {t, c, s}) {
    EXPECT_EQ(r.left, frame.left);
    EXPECT_EQ(r.right, frame.right);
  }
}

TEST_F(WindowTest, IconModeShowsOnlyTheScrollBarItsRangeNeeds) {
  struct Case {
    int extraFiles;
    bool vertical;
  } cases[] = {{0, false}, {1500, true}};
  for (const Case& c : cases) {
    for (int i = 0; i < c.extraFiles; ++i) {
      char name[32];
      std::snprintf(name, sizeof(name), "g%04d.dat", i);
      Make(name);
    }
    HWND w = Open();
    ASSERT_NE(w, nullptr) << c.extraFiles;
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(w).find("file(s)") != std::string::npos; }));
    HWND pane = FirstPane(w);
    ASSERT_NE(pane, nullptr);
    LONG style = ::GetWindowLongA(pane, GWL_STYLE);
    EXPECT_EQ((style & WS_VSCROLL) != 0, c.vertical) << c.extraFiles << " more files";
    EXPECT_FALSE(style & WS_HSCROLL) << "icon mode never scrolls sideways";
    box_.CloseAll();
    ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  }
}

TEST_F(WindowTest, PlacementIsKeptAcrossACloseAndAStart) {
  struct Case {
    const char* show;
    const char* shrink;
    UINT wantShow;
  } cases[] = {{"0", "0", SW_SHOWNORMAL}, {"1", "0", SW_SHOWMAXIMIZED},
               {"2", "0", SW_SHOWMINIMIZED}, {"0", "1;760;520", SW_SHOWNORMAL}};
  for (const Case& c : cases) {
    box_.Write("INSTID", "ID", "-1");
    box_.Write("INST1", "Show", c.show);
    box_.Write("INST1", "Shrink", c.shrink);
    HWND w = Open(nullptr, nullptr, true);
    ASSERT_NE(w, nullptr) << c.show;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    ::GetWindowPlacement(w, &wp);
    EXPECT_EQ(wp.showCmd, c.wantShow) << "Show " << c.show;
    ::PostMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
    EXPECT_EQ(box_.Read("INST1", "Show"), c.show);
    EXPECT_EQ(box_.Read("INST1", "Placement").rfind("20;20;760;520;", 0), 0u)
        << box_.Read("INST1", "Placement");
    EXPECT_EQ(box_.Read("INST1", "Shrink").substr(0, 1), std::string(c.shrink).substr(0, 1));
  }
}

}  // namespace
