// The help as a user meets it: F1, context help on a toolbar button and the help menu open the
// shipped sorm32.hlp in the system's help viewer (Wine's winhlp32), whose window is read for the
// topic it shows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Sandbox;

// The viewer's main window: class "MS_WINHELP", of another process than the program's.
HWND ViewerWindow(DWORD programPid) {
  HWND found = nullptr;
  for (HWND w = ::FindWindowExA(nullptr, nullptr, "MS_WINHELP", nullptr); w;
       w = ::FindWindowExA(nullptr, w, "MS_WINHELP", nullptr)) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != programPid && pid != ::GetCurrentProcessId() && ::IsWindowVisible(w)) found = w;
  }
  return found;
}

// The process of the viewer (any window of class "MS_WINHELP", shown or not, of another
// process than the program's and this one's); 0 when there is none.
DWORD ViewerProcess(DWORD programPid) {
  for (HWND w = ::FindWindowExA(nullptr, nullptr, "MS_WINHELP", nullptr); w;
       w = ::FindWindowExA(nullptr, w, "MS_WINHELP", nullptr)) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != programPid && pid != ::GetCurrentProcessId()) return pid;
  }
  return 0;
}

BOOL CALLBACK CollectText(HWND child, LPARAM lp) {
  char buf[8192] = {};
  DWORD_PTR n = 0;
  if (::SendMessageTimeoutA(child, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf),
                            SMTO_ABORTIFHUNG, 2000, &n) && n > 0)
    reinterpret_cast<std::string*>(lp)->append(buf, n).append("\n");
  return TRUE;
}

// The texts of all the viewer's child windows: the topic's text among them.
std::string ViewerText(HWND viewer) {
  std::string text;
  ::EnumChildWindows(viewer, &CollectText, reinterpret_cast<LPARAM>(&text));
  return text;
}

bool Contains(const std::string& s, const std::string& part) {
  return s.find(part) != std::string::npos;
}

void Click(POINT p) {
  e2e::MouseTo(p);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, in, sizeof(INPUT));
}

void ShiftF1() {
  INPUT in[4] = {};
  const WORD keys[4] = {VK_SHIFT, VK_F1, VK_F1, VK_SHIFT};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyA(keys[i], 0));
    in[i].ki.dwFlags = (i >= 2) ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(4, in, sizeof(INPUT));
}

class RealHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready() && e2e::ProgramWindows().empty());
    // Without the help file beside the program there is nothing to test.
    ASSERT_NE(::GetFileAttributesA((box_.Dir() + "sorm32.hlp").c_str()), INVALID_FILE_ATTRIBUTES);
    CloseViewer();
    data_ = box_.Dir() + "data";
    ::CreateDirectoryA(data_.c_str(), nullptr);
    e2e::Touch(data_ + "\\a.txt", "text");
    box_.SaveOneWindowOn(data_);
    box_.Write("BarSettings", "ToolBar", "FCOPY FMOVE");
    process_ = box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(40, 30)) != nullptr; }));
    ::GetWindowThreadProcessId(frame_, &pid_);
    // The listing is up once the status bar tells the selection.
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::StatusText(frame_).rfind("Selected", 0) == 0; }))
        << e2e::StatusText(frame_);
  }
  void TearDown() override {
    box_.CloseAll();
    CloseViewer();
    ::DeleteFileA((data_ + "\\a.txt").c_str());
    ::RemoveDirectoryA(data_.c_str());
  }
  // The viewer the program started is closed (and ended, when a box of its own keeps it).
  void CloseViewer() {
    for (int round = 0; round < 3; ++round) {
      const DWORD viewer = ViewerProcess(pid_);
      if (!viewer) return;
      HANDLE h = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, viewer);
      if (HWND v = ViewerWindow(pid_)) ::PostMessageA(v, WM_CLOSE, 0, 0);
      if (h && ::WaitForSingleObject(h, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(h, 1);
        ::WaitForSingleObject(h, 10000);
      }
      if (h) ::CloseHandle(h);
    }
  }
  void Foreground() {
    ASSERT_TRUE(e2e::WaitFor([&] {
      ::SetForegroundWindow(frame_);
      return ::GetForegroundWindow() == frame_;
    }, 15000));
  }
  // Waits for the viewer to show a text holding every part; the viewer's text when it does,
  // else what it showed last.
  bool ViewerShows(const std::vector<std::string>& parts, std::string* shown) {
    return e2e::WaitFor([&] {
      HWND v = ViewerWindow(pid_);
      if (!v) return false;
      *shown = ViewerText(v);
      for (const std::string& p : parts)
        if (!Contains(*shown, p)) return false;
      return true;
    }, 90000);
  }

  Sandbox box_;
  std::string data_;
  HANDLE process_ = nullptr;
  HWND frame_ = nullptr;
  DWORD pid_ = 0;
};

TEST_F(RealHelpTest, F1WithNothingSelectedShowsTheContentsTopic) {
  Foreground();
  e2e::PressKey(VK_F1);
  std::string shown;
  EXPECT_TRUE(ViewerShows({"ソルモ32 ヘルプの目次", "ﾌｧｲﾙ メニュー", "キー割り当てファイル"},
                          &shown))
      << shown;
  e2e::SaveScreenshot("help_contents");
}

TEST_F(RealHelpTest, ContextHelpOnTheCopyButtonShowsTheCopyTopicAndCopiesNothing) {
  HWND bar = e2e::ToolBarOf(frame_);
  ASSERT_NE(bar, nullptr);
  const LRESULT index = ::SendMessageA(bar, TB_COMMANDTOINDEX, 184, 0);
  ASSERT_GE(index, 0);
  // The buttons stand side by side from the bar's left edge (no gap before copy); the size
  // comes back in the result, which another process can read (a rectangle could not).
  const LRESULT size = ::SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
  POINT centre{static_cast<LONG>(index) * LOWORD(size) + LOWORD(size) / 2, HIWORD(size) / 2};
  ::ClientToScreen(bar, &centre);
  Foreground();
  ShiftF1();
  // The first click waits for help mode: real input keeps its order.
  Click(centre);
  std::string shown;
  EXPECT_TRUE(ViewerShows({"コピー", "メニュー：ﾌｧｲﾙ → ｺﾋﾟｰ", "コピー先"}, &shown)) << shown;
  EXPECT_FALSE(Contains(shown, "ソルモ32 ヘルプの目次"));
  e2e::SaveScreenshot("help_copy_topic");
  // The copy did not run: no destination dialog of the program's came.
  for (HWND d = ::FindWindowExA(nullptr, nullptr, "#32770", nullptr); d;
       d = ::FindWindowExA(nullptr, d, "#32770", nullptr))
    EXPECT_FALSE(::IsWindowVisible(d) && ::GetWindow(d, GW_OWNER) == frame_);
}

TEST_F(RealHelpTest, HelpOnHelpOpensTheViewersOwnHelp) {
  ::PostMessageA(frame_, WM_COMMAND, 2002, 0);
  // The viewer's process comes up and shows a window of its own: its help, or its word that
  // it has none. Either way not a topic of the program's help file.
  HWND shown = nullptr;
  EXPECT_TRUE(e2e::WaitFor([&] {
    const DWORD viewer = ViewerProcess(pid_);
    if (!viewer) return false;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid == viewer && ::IsWindowVisible(w)) {
        shown = w;
        return true;
      }
    }
    return false;
  }, 90000));
  e2e::SaveScreenshot("help_on_help");
  ASSERT_NE(shown, nullptr);
  char cls[64] = {};
  ::GetClassNameA(shown, cls, sizeof(cls));
  std::printf("help on help: window of class %s, caption \"%s\"\n", cls,
              e2e::Caption(shown).c_str());
  EXPECT_FALSE(Contains(ViewerText(shown), "ソルモ32 ヘルプの目次"));
}

}  // namespace
