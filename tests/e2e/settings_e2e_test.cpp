// The settings dialogs driven like a person would: the Mask and Run menus' items and their list
// editors, registering files in the run menu, and the about box. Files and the configuration
// are checked afterwards, and a second window must follow the broadcasts.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::ReadAll;
using e2e::Sandbox;
using e2e::Touch;


// Types ASCII text with real key presses into the focused control of the foreground window.
void Type(const std::string& text) {
  std::vector<INPUT> events;
  for (char ch : text) {
    const SHORT vk = ::VkKeyScanA(ch);
    const bool shift = (vk >> 8) & 1;
    auto key = [&](WORD v, bool up) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = v;
      in.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(v, 0));
      in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
      events.push_back(in);
    };
    if (shift) key(VK_SHIFT, false);
    key(static_cast<WORD>(vk & 0xFF), false);
    key(static_cast<WORD>(vk & 0xFF), true);
    if (shift) key(VK_SHIFT, true);
  }
  ::SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

std::string ItemText(HWND dlg, int id) {
  char buf[2048] = {};
  ::GetDlgItemTextA(dlg, id, buf, sizeof(buf));
  return buf;
}

// A visible dialog with this caption that has the control id; null when none came.
HWND FindDialogWith(const char* caption, int control, DWORD timeoutMs = 20000) {
  HWND found = nullptr;
  e2e::WaitFor([&] {
    for (HWND d = ::FindWindowExA(nullptr, nullptr, "#32770", caption); d;
         d = ::FindWindowExA(nullptr, d, "#32770", caption)) {
      if (::IsWindowVisible(d) && ::GetDlgItem(d, control)) {
        found = d;
        return true;
      }
    }
    return false;
  }, timeoutMs);
  return found;
}

// Clicks a dialog's button as its owner hears it.
void Click(HWND dlg, int id) {
  ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}

bool Gone(HWND dlg) {
  return e2e::WaitFor([&] { return !::IsWindow(dlg) || !::IsWindowVisible(dlg); }, 10000);
}

std::vector<std::string> ListTitles(HWND list) {
  std::vector<std::string> out;
  const LRESULT n = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    // Across processes Wine hands the text over in UTF-16 whatever was asked.
    wchar_t wide[1024] = {};
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char buf[2048] = {};
    ::WideCharToMultiByte(932, 0, wide, -1, buf, sizeof(buf), nullptr, nullptr);
    out.push_back(buf);
  }
  return out;
}

// The keys of a section in file order.
std::vector<std::string> Keys(const Sandbox& box, const char* section) {
  std::vector<char> buf(65536);
  const DWORD n = ::GetPrivateProfileStringA(section, nullptr, "", buf.data(),
                                             static_cast<DWORD>(buf.size()), box.Cfg().c_str());
  std::vector<std::string> out;
  for (DWORD i = 0; i < n && buf[i];) {
    out.emplace_back(&buf[i]);
    i += static_cast<DWORD>(out.back().size()) + 1;
  }
  return out;
}

constexpr int kMaskEdit = 186, kRunEdit = 188, kRegister = 140, kSelectAll = 154, kAbout = 2009;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready() && e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "data dir";
    ::CreateDirectoryA(data_.c_str(), nullptr);
    for (const char* f : {"\\a.txt", "\\b.doc", "\\c.exe"}) Touch(data_ + f);
    box_.Write("INSTID", "ID", "-1");
    box_.Write("INST1", "vmode", "0");
    box_.Write("INST2", "vmode", "0");
  }
  void TearDown() override {
    box_.CloseAll();
    for (const char* f : {"\\a.txt", "\\b.doc", "\\c.exe", "\\args.txt"})
      ::DeleteFileA((data_ + f).c_str());
    ::DeleteFileA((box_.Dir() + "record.bat").c_str());
    ::RemoveDirectoryA(data_.c_str());
  }
  // Window n on the data folder at (left, top).
  HWND Start(int n, int left, int top) {
    const std::string sec = "INST" + std::to_string(n);
    box_.Write(sec.c_str(), "Placement",
               (std::to_string(left) + ";" + std::to_string(top) + ";560;380;-1;-1;-1;-1").c_str());
    box_.Write(sec.c_str(), "Path", data_.c_str());
    box_.Start("-CFGID " + std::to_string(n));
    HWND w = nullptr;
    e2e::WaitFor([&] { return (w = e2e::WindowAt(left, top)) != nullptr; });
    if (w) e2e::WaitFor([&] { return e2e::Caption(w).rfind(data_, 0) == 0; }, 5000);
    return w;
  }
  // Two windows; the first opens a list editor (command) and the editor is returned.
  HWND TwoWindowsAndEditor(int command, const char* caption) {
    a_ = Start(1, 40, 30);
    b_ = Start(2, 320, 200);
    if (!a_ || !b_) return nullptr;
    ::PostMessageA(a_, WM_COMMAND, command, 0);
    return FindDialogWith(caption, 908);
  }
  bool CaptionStartsWith(HWND w, const std::string& prefix) {
    return e2e::WaitFor([&] { return e2e::Caption(w).rfind(prefix, 0) == 0; }, 5000);
  }
  // The record program: writes its arguments to args.txt in the data folder.
  std::string Recorder() {
    const std::string record = box_.Dir() + "record.bat";
    Touch(record, "@echo %*> \"" + data_ + "\\args.txt\"\r\n");
    return record;
  }

  Sandbox box_;
  std::string data_;
  HWND a_ = nullptr, b_ = nullptr;
};

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
