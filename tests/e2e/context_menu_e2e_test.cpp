// The shell's context menu on a real right click: on the background it is the folder's menu
// with the window's view commands and no "Send To", and a sort chosen from its submenu sorts
// the pane and carries the check mark the next time the menu is built.
#include <windows.h>
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

constexpr int kSortNewest = 170;

// Whether a popup menu shows now. (Its items cannot be read from here: under Wine a menu lives
// in the process that made it.)
BOOL CALLBACK FindShownMenu(HWND w, LPARAM found) {
  char cls[16] = {};
  ::GetClassNameA(w, cls, sizeof(cls));
  if (std::string(cls) != "#32768" || !::IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

bool MenuShown() {
  bool shown = false;
  ::EnumWindows(&FindShownMenu, reinterpret_cast<LPARAM>(&shown));
  return shown;
}

class ContextMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready() && e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "menu";
    ::CreateDirectoryA(data_.c_str(), nullptr);
    ::CreateDirectoryA((data_ + "\\folder").c_str(), nullptr);
    box_.SaveOneWindowOn(data_);
  }
  void Start(const char* cursor) {
    box_.Write("INST1", "Cursor", cursor);
    box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(40, 30)) != nullptr; }));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(frame_).rfind(data_, 0) == 0; }));
    ASSERT_TRUE(e2e::WaitFor([&] {
      ::SetForegroundWindow(frame_);
      return ::GetForegroundWindow() == frame_;
    }, 5000));
    HWND client = ::FindWindowExA(frame_, nullptr, "SormClient", nullptr);
    pane_ = client ? ::FindWindowExA(client, nullptr, "Sorumo32", nullptr) : nullptr;
    ASSERT_NE(pane_, nullptr);
  }
  void TearDown() override {
    if (MenuShown()) e2e::PressKey(VK_ESCAPE);
    box_.CloseAll();
    ::RemoveDirectoryA((data_ + "\\folder").c_str());
    ::RemoveDirectoryA(data_.c_str());
    ::SetCursorPos(1000, 750);
  }
  // A real right click on the pane's background; true when a menu showed. The click is given
  // again when the desktop lost it (a press that arrives before the pointer has moved there).
  bool RightClickBackground() {
    POINT p{400, 250};
    ::ClientToScreen(pane_, &p);
    ::SetCursorPos(p.x, p.y);
    e2e::WaitFor([&] { return ::WindowFromPoint(p) == pane_; }, 5000);
    for (int attempt = 0; attempt < 3; ++attempt) {
      e2e::WaitFor([&] {
        ::SetForegroundWindow(frame_);
        return ::GetForegroundWindow() == frame_;
      }, 5000);
      // The pointer is moved there by real input too, and the press waits until the desktop
      // has it there: a press at a stale position would open the menu of an entry.
      e2e::MouseTo(p);
      e2e::WaitFor([&] {
        POINT at{};
        return ::GetCursorPos(&at) && at.x == p.x && at.y == p.y;
      }, 3000);
      INPUT in[2] = {};
      in[0].type = in[1].type = INPUT_MOUSE;
      in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
      in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
      ::SendInput(2, in, sizeof(INPUT));
      if (e2e::WaitFor(MenuShown, 6000)) return true;
    }
    return false;
  }

  e2e::Sandbox box_;
  std::string data_;
  HWND frame_ = nullptr;
  HWND pane_ = nullptr;
};

// The view commands end the background menu: "表示(&V)", "表示順(&S)", colours, font. From the
// bottom: up three items to the sort submenu, into it, two down from "by name" to "newest
// first".
TEST_F(ContextMenuTest, ASortChosenFromTheBackgroundMenuSortsThePane) {
  Start("..");
  const bool shown = RightClickBackground();
  e2e::SaveScreenshot("context_menu_background");
  ASSERT_TRUE(shown) << "no menu on the right click";
  for (WORD k : {VK_UP, VK_UP, VK_UP, VK_RIGHT}) e2e::PressKey(k);
  e2e::SaveScreenshot("context_menu_sort_submenu");
  for (WORD k : {VK_DOWN, VK_DOWN, VK_RETURN}) e2e::PressKey(k);
  ASSERT_TRUE(e2e::WaitFor([] { return !MenuShown(); }, 5000));
  // The check mark is on "newest first" the next time (seen in the screenshot).
  ASSERT_TRUE(RightClickBackground());
  for (WORD k : {VK_UP, VK_UP, VK_UP, VK_RIGHT}) e2e::PressKey(k);
  e2e::SaveScreenshot("context_menu_sort_moved");
  e2e::PressKey(VK_ESCAPE);
  e2e::PressKey(VK_ESCAPE);
  ASSERT_TRUE(e2e::WaitFor([] { return !MenuShown(); }, 5000));
  // The pane's sort order is the one the main menu's command sets, saved with the window.
  ::PostMessageA(frame_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("INST1", "Sort"), std::to_string(kSortNewest));
}

// The files on the clipboard as the shell's copy put them there (CF_HDROP), empty when none.
std::vector<std::string> ClipboardFiles() {
  std::vector<std::string> files;
  if (!::OpenClipboard(nullptr)) return files;
  if (HANDLE h = ::GetClipboardData(CF_HDROP)) {
    if (const auto* drop = static_cast<const DROPFILES*>(::GlobalLock(h))) {
      const char* base = reinterpret_cast<const char*>(drop);
      if (drop->fWide) {
        for (const wchar_t* w = reinterpret_cast<const wchar_t*>(base + drop->pFiles); *w;
             w += wcslen(w) + 1) {
          char name[MAX_PATH * 2] = {};
          ::WideCharToMultiByte(CP_ACP, 0, w, -1, name, sizeof(name), nullptr, nullptr);
          files.push_back(name);
        }
      } else {
        for (const char* a = base + drop->pFiles; *a; a += strlen(a) + 1) files.push_back(a);
      }
      ::GlobalUnlock(h);
    }
  }
  ::CloseClipboard();
  return files;
}

// The copy verb of a key binding (Ctrl+C, action 133) with nothing selected acts on the cursor
// entry through the shell's own item: the shell puts the entry on the clipboard.
TEST_F(ContextMenuTest, TheCopyVerbPutsTheCursorEntryOnTheClipboard) {
  box_.WriteKeyBindings({"67;2;133"});
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  Start("folder");
  INPUT in[4] = {};
  const WORD keys[4] = {VK_CONTROL, 'C', 'C', VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyA(keys[i], 0));
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  // The keys are given again when the desktop lost them.
  std::vector<std::string> files;
  for (int attempt = 0; attempt < 3 && files.empty(); ++attempt) {
    ::SendInput(4, in, sizeof(INPUT));
    e2e::WaitFor([&] { return !(files = ClipboardFiles()).empty(); }, 5000);
  }
  ASSERT_FALSE(files.empty()) << "nothing on the clipboard";
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0], data_ + "\\folder");
  // The entry was selected only while the shell's object was made.
  EXPECT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(frame_).rfind("Selected 0 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(frame_);
}

}  // namespace
