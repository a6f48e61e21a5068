// Window-level commands chosen from the menu: the configuration path, click scroll and the
// enabling of menu items and toolbar buttons.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::FindDialog;
using e2e::Sandbox;

constexpr const char* kConfigPathKey = "Software\\Qenvard\\Sorm\\ConfigPath";

std::string LoginName() {
  char name[64] = {};
  DWORD n = sizeof(name);
  if (!::GetUserNameA(name, &n) || n > 15) return "default";
  return name;
}

void ClearConfigPathKey() {
  HKEY k;
  if (::RegOpenKeyA(HKEY_CURRENT_USER, kConfigPathKey, &k) == ERROR_SUCCESS) {
    char sub[260];
    while (::RegEnumKeyA(k, 0, sub, sizeof(sub)) == ERROR_SUCCESS)
      if (::RegDeleteKeyA(k, sub) != ERROR_SUCCESS) break;
    ::RegCloseKey(k);
  }
  ::RegDeleteKeyA(HKEY_CURRENT_USER, kConfigPathKey);
}

std::string StoredConfigPath() {
  char buf[1024] = {};
  LONG size = sizeof(buf);
  HKEY k;
  if (::RegOpenKeyA(HKEY_CURRENT_USER, kConfigPathKey, &k) != ERROR_SUCCESS) return "<none>";
  LONG r = ::RegQueryValueA(k, LoginName().c_str(), buf, &size);
  ::RegCloseKey(k);
  return r == ERROR_SUCCESS ? std::string(buf) : "<none>";
}


class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready());
    ASSERT_TRUE(e2e::ProgramWindows().empty());
    ClearConfigPathKey();
    box_.Write("INSTID", "ID", "5");
    box_.Write("INST1", "Placement", "50;40;520;360;-1;-1;-1;-1");
    box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(50, 40)) != nullptr; }));
  }
  void TearDown() override { ClearConfigPathKey(); }
  Sandbox box_;
  HWND frame_ = nullptr;
};

TEST_F(CommandsTest, ConfigurationPathIsStoredForTheNextStart) {
  const char* answers[] = {"D:\\conf\\my.cfg", "\"C:\\My Settings\\sorm.cfg\" extra words"};
  for (const char* answer : answers) {
    ::PostMessageA(frame_, WM_COMMAND, 104, 0);
    HWND dlg = FindDialog("コンフィグレーションファイル");
    ASSERT_NE(dlg, nullptr);
    e2e::SaveScreenshot("config_path_dialog");
    ::SetDlgItemTextA(dlg, 31051, answer);
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    HWND box = FindDialog("基本設定の変更");
    ASSERT_NE(box, nullptr) << "the program says the setting applies at the next start";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_EQ(StoredConfigPath(), answer);
  }
  EXPECT_NE(box_.Read("HistConfigPath", "0"), "<missing>") << "the answer joined its history";
  // An empty answer removes the setting.
  ::PostMessageA(frame_, WM_COMMAND, 104, 0);
  HWND dlg = FindDialog("コンフィグレーションファイル");
  ASSERT_NE(dlg, nullptr);
  char shown[512] = {};
  ::GetDlgItemTextA(dlg, 31051, shown, sizeof(shown));
  EXPECT_STREQ(shown, "") << "this process's path came from beside the program";
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  HWND box = FindDialog("基本設定の変更");
  ASSERT_NE(box, nullptr);
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return StoredConfigPath() == "<none>"; }));
}

TEST_F(CommandsTest, ClickScrollToggleIsKeptWithTheWindow) {
  ::PostMessageA(frame_, WM_COMMAND, 110, 0);
  ::PostMessageA(frame_, WM_CLOSE, 0, 0);  // the last window saves itself as INST1
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("INST1", "ClickScroll"), "<missing>") << "ID 5: no save cycle to end";
  box_.Write("INSTID", "ID", "-1");
  box_.Start("-CFGID 1");
  HWND w = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] { return (w = e2e::WindowAt(50, 40)) != nullptr; }));
  ::PostMessageA(w, WM_COMMAND, 110, 0);
  ::PostMessageA(w, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("INST1", "ClickScroll"), "On");
}

// The toolbar offers a command when the window has a handler for it and the system's network
// dialogs always (a command without a handler or a row is greyed: the command table's tests).
TEST_F(CommandsTest, ToolbarButtonsAreEnabledByTheirCommands) {
  box_.Write("BarSettings", "ToolBar", "FCOPY VCOLOR DNETADD RKEYIN VSNAME FMARKALL");
  ::PostMessageA(frame_, WM_USER, 1, 7);  // the toolbar definition changed
  HWND tb = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] {
    tb = e2e::ToolBarOf(frame_);
    return tb && ::SendMessageA(tb, TB_BUTTONCOUNT, 0, 0) == 6;
  }));
  struct Case {
    int command;
    bool enabled;
  } cases[] = {
      {184, true},     // copy
      {102, true},     // colours
      {122, true},     // network drive
      {148, true},     // run dialog
      {174, true},     // sort by name
      {154, true},     // select all
  };
  for (const Case& c : cases)
    EXPECT_EQ(::SendMessageA(tb, TB_ISBUTTONENABLED, c.command, 0) != 0, c.enabled) << c.command;
}

}  // namespace
