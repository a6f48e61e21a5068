// The settings dialogs driven like a person would: the Mask and Run menus' items and their list
// editors, registering files in the run menu, and the about box. Files and the configuration
// are checked afterwards, and a second window must follow the broadcasts.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/dialog_driving.h"
#include "tests/e2e/e2e_util.h"

namespace {

using e2e::ReadAll;
using e2e::Sandbox;
using e2e::Touch;
using e2e::Click;
using e2e::FindDialogWith;
using e2e::Gone;
using e2e::ItemText;
using e2e::Keys;
using e2e::ListTitles;
using e2e::Type;

constexpr int kMaskEdit = 186, kRunEdit = 188, kRegister = 140, kSelectAll = 154, kAbout = 2009;

using SettingsTest = e2e::DialogTest;

TEST_F(SettingsTest, MaskItemsSetTheMaskAndOnlyFortyAreOffered) {
  for (int i = 0; i < 45; ++i)
    box_.Write("Mask", ("m" + std::to_string(i)).c_str(), ("*.t" + std::to_string(i)).c_str());
  box_.Write("Mask", "m7", "");  // an empty value does not count
  // Blanks around and between the patterns (quoted, or reading would strip them).
  box_.Write("Mask", "m0", "\"   *.txt    *.doc  \"");
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, 300, 0);
  EXPECT_TRUE(CaptionStartsWith(w, data_ + "\\*.txt *.doc  3 file(s).")) << e2e::Caption(w);
  // The 40th non-empty entry is m40 (m7 was skipped); m41 has no item.
  ::PostMessageA(w, WM_COMMAND, 339, 0);
  EXPECT_TRUE(CaptionStartsWith(w, data_ + "\\*.t40  ")) << e2e::Caption(w);
  ::PostMessageA(w, WM_COMMAND, 340, 0);
  ::PostMessageA(w, WM_COMMAND, 300, 0);
  EXPECT_TRUE(CaptionStartsWith(w, data_ + "\\*.txt *.doc")) << e2e::Caption(w);
}

TEST_F(SettingsTest, MaskEditorRewritesTheSectionAndASecondWindowFollows) {
  box_.Write("Mask", "first", "*.txt");
  box_.Write("Mask", "second", "*.doc");
  for (int i = 0; i < 103; ++i)  // beyond what the editor loads
    box_.Write("Mask", ("x" + std::to_string(i)).c_str(), "*.x");
  HWND dlg = TwoWindowsAndEditor(kMaskEdit, "ﾏｽｸﾒﾆｭｰ設定");
  ASSERT_NE(dlg, nullptr);
  HWND b = b_;
  HWND list = ::GetDlgItem(dlg, 908);
  EXPECT_EQ(ListTitles(list).size(), 100u) << "the editor loads 100 entries";
  e2e::SaveScreenshot("settings_mask_editor");
  // "second" down to the top: select it and press Up.
  ::SendMessageA(list, LB_SETCURSEL, 1, 0);
  Click(dlg, 905);
  ASSERT_TRUE(e2e::WaitFor([&] { return ListTitles(list).front() == "second"; }, 5000))
      << ListTitles(list)[0];
  // New item, typed in the entry dialog.
  ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Click(dlg, 901);
  HWND entry = FindDialogWith("ﾏｽｸﾒﾆｭｰ設定", 6);
  ASSERT_NE(entry, nullptr);
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::SetForegroundWindow(entry);
    return ::GetForegroundWindow() == entry;
  }, 5000));
  Type("&exe\t*.exe");  // the title, Tab, the mask
  ASSERT_TRUE(e2e::WaitFor([&] { return ItemText(entry, 7) == "*.exe"; }, 5000))
      << ItemText(entry, 6) << "|" << ItemText(entry, 7);
  EXPECT_EQ(ItemText(entry, 6), "&exe");
  e2e::SaveScreenshot("settings_mask_entry");
  Click(entry, IDOK);
  ASSERT_TRUE(Gone(entry));
  ASSERT_TRUE(e2e::WaitFor([&] { return ListTitles(list).back() == "&exe"; }, 5000));
  // Meanwhile another window adds an entry of its own.
  box_.Write("Mask", "other", "*.o");
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  ASSERT_TRUE(box_.WaitSaved([&] { return box_.Read("Mask", "&exe") == "*.exe"; }));
  const std::vector<std::string> keys = Keys(box_, "Mask");
  ASSERT_EQ(keys.size(), 107u);
  EXPECT_EQ(keys[0], "second");
  EXPECT_EQ(keys[1], "first");
  EXPECT_EQ(keys[100], "&exe");
  EXPECT_EQ(keys[101], "x98");  // the first entry the editor did not load
  EXPECT_EQ(keys[105], "x102");
  EXPECT_EQ(keys[106], "other");
  // The second window rebuilt its menu: its first item is now "second".
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::PostMessageA(b, WM_COMMAND, 300, 0);
    return e2e::WaitFor([&] { return e2e::Caption(b).rfind(data_ + "\\*.doc  ", 0) == 0; }, 500);
  }, 10000)) << e2e::Caption(b);
}

TEST_F(SettingsTest, RunItemFromTheEditorRunsWithTheSelectedFilesInAnotherWindow) {
  const std::string record = Recorder();
  HWND dlg = TwoWindowsAndEditor(kRunEdit, "実行ﾒﾆｭｰ設定");
  ASSERT_NE(dlg, nullptr);
  HWND b = b_;
  Click(dlg, 901);
  HWND entry = FindDialogWith("実行ﾒﾆｭｰ設定", 8);
  ASSERT_NE(entry, nullptr);
  ::SetDlgItemTextA(entry, 6, "&Record");
  ::SetDlgItemTextA(entry, 7, ("#" + record).c_str());
  e2e::SaveScreenshot("settings_run_entry");
  Click(entry, IDOK);
  ASSERT_TRUE(Gone(entry));
  e2e::SaveScreenshot("settings_run_editor");
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  ASSERT_TRUE(box_.WaitSaved([&] { return box_.Read("Run", "&Record") == "#" + record; }));
  ::PostMessageA(b, WM_COMMAND, kSelectAll, 0);
  ASSERT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(b).rfind("Selected 3 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(b);
  const std::string args = data_ + "\\args.txt";
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::PostMessageA(b, WM_COMMAND, 400, 0);
    return e2e::WaitFor([&] { return ReadAll(args).find("\r\n") != std::string::npos; }, 1000);
  }, 15000)) << "the run item did not start the program";
  const std::string got = ReadAll(args);
  for (const char* f : {"a.txt", "b.doc", "c.exe"})
    EXPECT_NE(got.find("\"" + data_ + "\\" + f + "\""), std::string::npos) << got;
}

// A run item of 1,000 characters is data: renaming it in the editor keeps the whole command.
TEST_F(SettingsTest, LongCommandSurvivesAChangeOfItsTitle) {
  const std::string command = "#c:\\tools\\run.exe " + std::string(1000, 'a');
  box_.Write("Run", "long", command.c_str());
  box_.Write("Run", "short", "notepad.exe");
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, kRunEdit, 0);
  HWND dlg = FindDialogWith("実行ﾒﾆｭｰ設定", 908);
  ASSERT_NE(dlg, nullptr);
  ::SendMessageA(::GetDlgItem(dlg, 908), LB_SETCURSEL, 0, 0);
  Click(dlg, 902);  // change
  HWND entry = FindDialogWith("実行ﾒﾆｭｰ設定", 8);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(ItemText(entry, 7), command);
  ::SetDlgItemTextA(entry, 6, "renamed");
  Click(entry, IDOK);
  ASSERT_TRUE(Gone(entry));
  Click(dlg, IDOK);
  ASSERT_TRUE(Gone(dlg));
  ASSERT_TRUE(box_.WaitSaved([&] { return box_.Read("Run", "renamed") != "<missing>"; }));
  EXPECT_EQ(Keys(box_, "Run"), (std::vector<std::string>{"renamed", "short"}));
  char value[4096] = {};
  ::GetPrivateProfileStringA("Run", "renamed", "", value, sizeof(value), box_.Cfg().c_str());
  EXPECT_EQ(std::string(value), command);
}

TEST_F(SettingsTest, RegisterOffersEachSelectedFileAndCancelSkipsOne) {
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, kSelectAll, 0);
  ASSERT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(w).rfind("Selected 3 file(s)", 0) == 0;
  }, 5000));
  ::PostMessageA(w, WM_COMMAND, kRegister, 0);
  HWND first = FindDialogWith("実行ﾒﾆｭｰ設定", 8);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ItemText(first, 6), "&a.txt");
  EXPECT_EQ(ItemText(first, 7), "\"" + data_ + "\\a.txt\"");
  e2e::SaveScreenshot("settings_register");
  Click(first, IDCANCEL);
  ASSERT_TRUE(Gone(first));
  HWND second = FindDialogWith("実行ﾒﾆｭｰ設定", 8);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ItemText(second, 6), "&b.doc");
  Click(second, IDOK);
  ASSERT_TRUE(Gone(second));
  HWND third = FindDialogWith("実行ﾒﾆｭｰ設定", 8);
  ASSERT_NE(third, nullptr);
  Click(third, IDCANCEL);
  ASSERT_TRUE(Gone(third));
  ASSERT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(w).rfind("Selected 0 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(w);
  EXPECT_EQ(Keys(box_, "Run"), std::vector<std::string>{"&b.doc"});
  // Stored with one more pair of quotes; it reads back with one pair.
  EXPECT_EQ(box_.Read("Run", "&b.doc"), "\"" + data_ + "\\b.doc\"");
  EXPECT_NE(ReadAll(box_.Cfg()).find("&b.doc=\"\"" + data_ + "\\b.doc\"\""), std::string::npos);
}

TEST_F(SettingsTest, AboutBoxShowsTheVersionResource) {
  HWND w = Start(1, 40, 30);
  ASSERT_NE(w, nullptr);
  ::PostMessageA(w, WM_COMMAND, kAbout, 0);
  HWND dlg = e2e::FindDialog("このプログラムについて");
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(ItemText(dlg, 22001), "Version 1.0");
  EXPECT_NE(ItemText(dlg, 22002).find("Copyright"), std::string::npos);
  EXPECT_FALSE(ItemText(dlg, 22003).empty());
  e2e::SaveScreenshot("settings_about");
  Click(dlg, IDOK);
  EXPECT_TRUE(Gone(dlg));
}

}  // namespace
