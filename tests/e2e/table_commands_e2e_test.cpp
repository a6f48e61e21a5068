// Commands on the active file table, chosen from the menu: mask input, current path, view mode,
// sort order and save as default, checked through the caption and the configuration file.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::FindDialog;
using e2e::Sandbox;


void Touch(const std::string& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ::CloseHandle(h);
}

class TableCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready());
    ASSERT_TRUE(e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "data";
    ::CreateDirectoryA(data_.c_str(), nullptr);
    ::CreateDirectoryA((data_ + "\\sub").c_str(), nullptr);
    for (const char* f : {"a.txt", "b.doc", "c.txt", "d.bmp"}) Touch(data_ + "\\" + f);
    box_.Write("INSTID", "ID", "-1");
    box_.Write("INST1", "Placement", "50;40;560;380;-1;-1;-1;-1");
    box_.Write("INST1", "Path", data_.c_str());
    box_.Write("INST1", "vmode", "0");  // without it the table takes its keys from INST-1
    box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(50, 40)) != nullptr; }));
  }
  void TearDown() override {
    box_.CloseAll();
    for (const char* f : {"a.txt", "b.doc", "c.txt", "d.bmp"}) ::DeleteFileA((data_ + "\\" + f).c_str());
    ::RemoveDirectoryA((data_ + "\\sub").c_str());
    ::RemoveDirectoryA(data_.c_str());
  }
  // Answers the input dialog with the given caption.
  void Answer(const char* caption, const char* text) {
    HWND dlg = FindDialog(caption);
    ASSERT_NE(dlg, nullptr) << caption;
    ::SetDlgItemTextA(dlg, 31051, text);
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(dlg); }));
  }
  bool CaptionStartsWith(const std::string& prefix) {
    return e2e::WaitFor([&] { return e2e::Caption(frame_).rfind(prefix, 0) == 0; }, 5000);
  }
  void CloseAndSave() {
    ::PostMessageA(frame_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  }
  Sandbox box_;
  std::string data_;
  HWND frame_ = nullptr;
};

TEST_F(TableCommandsTest, CaptionShowsPathMaskCountAndFreeSpace) {
  // "..", sub and the four files
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\*.*  6 file(s).  ")) << e2e::Caption(frame_);
  EXPECT_NE(e2e::Caption(frame_).find(" free / "), std::string::npos) << e2e::Caption(frame_);
}

TEST_F(TableCommandsTest, MaskInputJoinsWordsAndBlanksMeanEveryFile) {
  ::PostMessageA(frame_, WM_COMMAND, 146, 0);
  Answer("表示ファイルの種類を指定", "   *.txt    *.doc  ");
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\*.txt *.doc  5 file(s).")) << e2e::Caption(frame_);
  ::PostMessageA(frame_, WM_COMMAND, 146, 0);
  Answer("表示ファイルの種類を指定", "    ");
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\*.*  6 file(s).")) << e2e::Caption(frame_);
  EXPECT_EQ(box_.Read("HistMask", "0"), "   *.txt    *.doc  ") << "the answer as typed";
}

TEST_F(TableCommandsTest, CurrentPathChangesOrReportsAnError) {
  ::PostMessageA(frame_, WM_COMMAND, 132, 0);
  Answer("カレントパスの変更", (data_ + "\\sub").c_str());
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\sub\\*.*  1 file(s).")) << e2e::Caption(frame_);
  ::PostMessageA(frame_, WM_COMMAND, 132, 0);
  Answer("カレントパスの変更", (data_ + "\\missing").c_str());
  HWND box = FindDialog("ソルモ");
  ASSERT_NE(box, nullptr) << "the table's error box";
  e2e::SaveScreenshot("current_path_error");
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\sub\\*.*")) << "the path stays";
}

TEST_F(TableCommandsTest, ViewModeAndSortOrderAreSavedWithTheWindow) {
  ::PostMessageA(frame_, WM_COMMAND, 112, 0);  // list mode
  ::PostMessageA(frame_, WM_COMMAND, 170, 0);  // newest first
  CloseAndSave();
  EXPECT_EQ(box_.Read("INST1", "vmode"), "1");
  EXPECT_EQ(box_.Read("INST1", "Sort"), "170");
  EXPECT_EQ(box_.Read("INST1", "Path"), data_);
}

TEST_F(TableCommandsTest, SaveAsDefaultKeepsNeitherPathNorCursor) {
  ::PostMessageA(frame_, WM_COMMAND, 166, 0);  // largest first
  ::PostMessageA(frame_, WM_COMMAND, 124, 0);
  // The defaults are saved whole, then their path and cursor are cleared: wait for the end.
  ASSERT_TRUE(e2e::WaitFor([&] {
    return box_.Read("INST-1", "Sort") == "166" && box_.Read("INST-1", "Cursor").empty();
  }));
  EXPECT_EQ(box_.Read("INST-1", "Path"), "");
  EXPECT_EQ(box_.Read("INST-1", "Cursor"), "");
  EXPECT_EQ(box_.Read("INST-1", "Placement").rfind("82;72;560;380;", 0), 0u)
      << "shifted by 32: " << box_.Read("INST-1", "Placement");
  EXPECT_EQ(box_.Read("INSTID", "ID"), "-1");
}

}  // namespace

namespace {


HWND ClientOf(HWND frame) {
  for (HWND c = ::GetWindow(frame, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (::FindWindowExA(c, nullptr, "Sorumo32", nullptr)) return c;
  return nullptr;
}

TEST_F(TableCommandsTest, KeysMoveTheCursorAndSelect) {
  HWND client = ClientOf(frame_);
  ASSERT_NE(client, nullptr);
  auto key = [&](WPARAM vk) { ::PostMessageA(client, WM_KEYDOWN, vk, 1); };
  // The cursor starts on ".."; Space there selects nothing (".." is never selectable).
  key(VK_SPACE);
  key(VK_RIGHT);  // to "sub" in icon mode
  key(VK_RIGHT);  // to "a.txt"
  key(VK_SPACE);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::StatusText(frame_) == "Selected 1 file(s) ( 0 bytes )."; }, 5000))
      << e2e::StatusText(frame_);
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all: the files and "sub", never ".."
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::StatusText(frame_).rfind("Selected 5 file(s)", 0) == 0; }, 5000))
      << e2e::StatusText(frame_);
  e2e::SaveScreenshot("keys_selection");
  ::PostMessageA(frame_, WM_COMMAND, 152, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::StatusText(frame_).rfind("Selected 0 file(s)", 0) == 0; }, 5000))
      << e2e::StatusText(frame_);
}

}  // namespace

namespace {

TEST_F(TableCommandsTest, AttributesOfSeveralEntriesChangeTogether) {
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::StatusText(frame_).rfind("Selected 5 file(s)", 0) == 0; }, 5000));
  ::PostMessageA(frame_, WM_COMMAND, 118, 0);
  HWND dlg = FindDialog("名前･日付･属性の変更");
  ASSERT_NE(dlg, nullptr) << "the dialog for several entries";
  LONG style = ::GetWindowLongA(::GetDlgItem(dlg, 707), GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_3STATE) << "three-state boxes when several entries change";
  e2e::SaveScreenshot("attributes_of_several");
  ::SendDlgItemMessageA(dlg, 707, BM_SETCHECK, BST_CHECKED, 0);  // read-only on for all
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(dlg); }));
  for (const char* f : {"a.txt", "b.doc", "c.txt", "d.bmp"}) {
    std::string path = data_ + "\\" + f;
    ASSERT_TRUE(e2e::WaitFor([&] {
      DWORD a = ::GetFileAttributesA(path.c_str());
      return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
    }, 5000)) << f;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
