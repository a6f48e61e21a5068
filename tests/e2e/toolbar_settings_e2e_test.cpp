// The toolbar editor and the bar settings driven through their controls (the owner-drawn lists
// by their messages): the stored button list afterwards, a second window rebuilding its toolbar
// after the broadcast, and the toolbar moved to the bottom with the status bar gone.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/dialog_driving.h"
#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Click;
using e2e::FindDialogWith;
using e2e::Gone;

constexpr int kToolbarEdit = 190, kBars = 128;
// Choice numbers of the editor (its table order): the separator is 0.
constexpr LPARAM kSeparator = 0, kOpen = 2, kMove = 3, kCopy = 4;

std::vector<LPARAM> Choices(HWND list) {
  std::vector<LPARAM> out;
  const LRESULT n = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i)
    out.push_back(::SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
  return out;
}

int IndexOf(HWND list, LPARAM choice) {
  const std::vector<LPARAM> c = Choices(list);
  for (std::size_t i = 0; i < c.size(); ++i)
    if (c[i] == choice) return static_cast<int>(i);
  return -1;
}

using ToolbarSettingsTest = e2e::DialogTest;

// The default configuration beside the program becomes the configuration of a first start
// only: a user's own file keeps its toolbar.
TEST(DefaultConfigurationTest, FirstStartGetsTheEverydayToolbarAndAUsersFileIsKept) {
  struct Case {
    const char* name;
    const char* own;  // the user's sorm.cfg, null for none
    LRESULT buttons;  // toolbar buttons and separators
    bool masks;       // the default mask items arrived
  } cases[] = {
      {"first start", nullptr, 27, true},
      {"user's own file", "[BarSettings]\r\nToolBar=FCOPY\r\n", 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e2e::Sandbox box;
    ASSERT_TRUE(box.Ready() && e2e::ProgramWindows().empty());
    std::string exeDir = std::getenv("SORM_EXE");
    exeDir = exeDir.substr(0, exeDir.find_last_of('\\') + 1);
    const std::string shipped = box.Dir() + "sormdef.cfg";
    ASSERT_TRUE(::CopyFileA((exeDir + "sormdef.cfg").c_str(), shipped.c_str(), FALSE));
    if (c.own) e2e::Touch(box.Cfg(), c.own);
    const std::string before = e2e::ReadAll(box.Cfg());
    box.Start("");
    HWND w = nullptr;
    ASSERT_TRUE(e2e::WaitFor([&] {
      const std::vector<HWND> windows = e2e::ProgramWindows();
      w = windows.empty() ? nullptr : windows.front();
      return w && e2e::ToolBarOf(w);
    }));
    EXPECT_EQ(::SendMessageA(e2e::ToolBarOf(w), TB_BUTTONCOUNT, 0, 0), c.buttons);
    const std::string cfg = e2e::ReadAll(box.Cfg());
    EXPECT_EQ(cfg.find("[Mask]") != std::string::npos, c.masks);
    if (c.own) {
      EXPECT_EQ(cfg.substr(0, before.size()), before) << "the user's lines stay";
    }
    if (!c.own) e2e::SaveScreenshot("toolbar_default_configuration");
    box.CloseAll();
    ::DeleteFileA(shipped.c_str());
  }
}

TEST_F(ToolbarSettingsTest, EditorStoresTheButtonsAndEveryWindowRebuildsItsToolbar) {
  box_.Write("BarSettings", "ToolBar", "FOPEN / / FCOPY UNKNOWN");
  a_ = Start(1, 40, 30);
  b_ = Start(2, 320, 200);
  ASSERT_TRUE(a_ && b_);
  HWND tbB = e2e::ToolBarOf(b_);
  ASSERT_NE(tbB, nullptr);
  EXPECT_EQ(::SendMessageA(tbB, TB_BUTTONCOUNT, 0, 0), 4);
  ::PostMessageA(a_, WM_COMMAND, kToolbarEdit, 0);
  HWND dlg = FindDialogWith("ﾂｰﾙﾊﾞｰ設定", 903);
  ASSERT_NE(dlg, nullptr);
  HWND available = ::GetDlgItem(dlg, 908), toolbar = ::GetDlgItem(dlg, 903);
  EXPECT_EQ(Choices(toolbar), (std::vector<LPARAM>{kOpen, kSeparator, kSeparator, kCopy}));
  EXPECT_EQ(IndexOf(available, kSeparator), 0) << "the separator is always offered";
  EXPECT_EQ(IndexOf(available, kOpen), -1);
  EXPECT_EQ(::SendMessageA(available, LB_GETITEMHEIGHT, 0, 0), 22);
  e2e::SaveScreenshot("toolbar_editor");

  // Move goes in after the toolbar's first button.
  ::SendMessageA(available, LB_SETCURSEL, static_cast<WPARAM>(IndexOf(available, kMove)), 0);
  ::SendMessageA(toolbar, LB_SETCURSEL, 0, 0);
  Click(dlg, 901);
  ASSERT_TRUE(e2e::WaitFor([&] { return IndexOf(toolbar, kMove) == 1; }, 5000));
  EXPECT_EQ(::SendMessageA(toolbar, LB_GETCURSEL, 0, 0), 1);
  // Copy goes back to its place in table order among the available buttons.
  ::SendMessageA(toolbar, LB_SETCURSEL, static_cast<WPARAM>(IndexOf(toolbar, kCopy)), 0);
  Click(dlg, 902);
  ASSERT_TRUE(e2e::WaitFor([&] { return IndexOf(toolbar, kCopy) == -1; }, 5000));
  EXPECT_EQ(IndexOf(available, kCopy), IndexOf(available, 1) + 1);  // after "new window"
  // Move up to the top.
  ::SendMessageA(toolbar, LB_SETCURSEL, 1, 0);
  Click(dlg, 904);
  ASSERT_TRUE(e2e::WaitFor([&] { return IndexOf(toolbar, kMove) == 0; }, 5000));
  e2e::SaveScreenshot("toolbar_editor_changed");
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  // Each keyword is followed by one blank; a value that ends in a blank is stored quoted, so
  // that it reads back as it was written.
  EXPECT_NE(e2e::ReadAll(box_.Cfg()).find("ToolBar=\"FMOVE FOPEN / / \"\r\n"), std::string::npos)
      << e2e::ReadAll(box_.Cfg());
  // The other window rebuilt its toolbar: two buttons and two separators.
  EXPECT_TRUE(e2e::WaitFor([&] {
    HWND t = e2e::ToolBarOf(b_);
    return t && ::SendMessageA(t, TB_BUTTONCOUNT, 0, 0) == 4 &&
           ::SendMessageA(t, TB_COMMANDTOINDEX, 182, 0) == 0;  // move first
  }, 10000));
}

// A list with a button twice and two keywords glued together: the editor shows what the toolbar
// carries, the glued pair in the editor's own order, and OK on the untouched list writes back
// every button.
TEST_F(ToolbarSettingsTest, EditorShowsAButtonListedTwiceAndKeepsItOnOk) {
  constexpr LPARAM kData = 22, kColour = 29;
  box_.Write("BarSettings", "ToolBar", "FCOPY VDATAVCOLOR FCOPY ");
  a_ = Start(1, 40, 30);
  ASSERT_TRUE(a_);
  ::PostMessageA(a_, WM_COMMAND, kToolbarEdit, 0);
  HWND dlg = FindDialogWith("ﾂｰﾙﾊﾞｰ設定", 903);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(Choices(::GetDlgItem(dlg, 903)), (std::vector<LPARAM>{kCopy, kData, kColour, kCopy}));
  EXPECT_EQ(IndexOf(::GetDlgItem(dlg, 908), kCopy), -1);
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  EXPECT_NE(e2e::ReadAll(box_.Cfg()).find("ToolBar=\"FCOPY VDATA VCOLOR FCOPY \"\r\n"),
            std::string::npos)
      << e2e::ReadAll(box_.Cfg());
}

TEST_F(ToolbarSettingsTest, BarSettingsMoveTheToolbarAndHideTheStatusBar) {
  box_.Write("BarSettings", "ToolBar", "FCOPY");
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, kBars, 0);
  HWND dlg = FindDialogWith("ツールバー・ステータスバーの設定", 30065);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(::IsDlgButtonChecked(dlg, 30065), BST_CHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(dlg, 30064), BST_CHECKED);
  EXPECT_EQ(::IsDlgButtonChecked(dlg, 30060), BST_CHECKED);
  e2e::SaveScreenshot("toolbar_bars");
  // Clicked as a person would: the radio button and the check box change their state.
  ::SendMessageA(::GetDlgItem(dlg, 30061), BM_CLICK, 0, 0);
  ::SendMessageA(::GetDlgItem(dlg, 30060), BM_CLICK, 0, 0);
  ASSERT_EQ(::IsDlgButtonChecked(dlg, 30061), BST_CHECKED);
  ASSERT_EQ(::IsDlgButtonChecked(dlg, 30064), BST_UNCHECKED);
  ASSERT_EQ(::IsDlgButtonChecked(dlg, 30060), BST_UNCHECKED);
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  // The toolbar now sits at the bottom of the frame and the status bar is gone.
  ASSERT_TRUE(e2e::WaitFor([&] {
    HWND tb = e2e::ToolBarOf(w);
    if (!tb || ::FindWindowExA(w, nullptr, "msctls_statusbar32", nullptr)) return false;
    RECT bar{}, client{};
    ::GetWindowRect(tb, &bar);
    ::GetClientRect(w, &client);
    POINT bottom{0, client.bottom};
    ::ClientToScreen(w, &bottom);
    return bar.bottom == bottom.y;
  }, 10000));
  DWORD_PTR unused = 0;  // the window has handled what came before: it has painted
  ::SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &unused);
  e2e::SaveScreenshot("toolbar_bars_applied");
  ::PostMessageA(w, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("INST1", "ToolBarPos"), "Bottom");
  EXPECT_EQ(box_.Read("INST1", "StatusBarDisp"), "Off");
  EXPECT_EQ(box_.Read("INST1", "ToolBarDisp"), "On");
}

}  // namespace
