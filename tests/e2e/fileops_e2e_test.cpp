// The file commands of a pane run from the menu: copy, move, copy under another name, delete,
// make directory and the name/date/attribute change, through their input dialogs, the progress
// dialog and the questions, checked on the disk.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::FindDialog;
using e2e::RemoveTree;
using e2e::RemoveTreeWide;
using e2e::Sandbox;


// A visible dialog with this caption that has (or has not) the control id.
HWND FindDialogWith(const char* caption, int control, bool has) {
  HWND found = nullptr;
  e2e::WaitFor([&] {
    found = nullptr;
    for (HWND d = ::FindWindowExA(nullptr, nullptr, "#32770", caption); d;
         d = ::FindWindowExA(nullptr, d, "#32770", caption)) {
      if (::IsWindowVisible(d) && (::GetDlgItem(d, control) != nullptr) == has) found = d;
    }
    return found != nullptr;
  });
  return found;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Wide(const std::string& text) {
  std::wstring out(text.size() + 1, L'\0');
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(),
                                      static_cast<int>(out.size()));
  out.resize(n > 0 ? n - 1 : 0);
  return out;
}

// Files named in UTF-16, for names the program's code page cannot hold.
void WriteFileWide(const std::wstring& path, const std::string& text) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(h);
}

std::string ReadFileWide(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string text(4096, '\0');
  DWORD read = 0;
  ::ReadFile(h, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  ::CloseHandle(h);
  text.resize(read);
  return text;
}

void WriteFile(const std::string& path, const std::string& text) {
  WriteFileWide(Wide(path), text);
}
std::string ReadFile(const std::string& path) { return ReadFileWide(Wide(path)); }

// The names of the files in a directory, as the wide search gives them.
std::vector<std::wstring> FileNamesWide(const std::wstring& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
  } while (::FindNextFileW(h, &fd));
  ::FindClose(h);
  return names;
}


class FileOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready());
    ASSERT_TRUE(e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "data";
    RemoveTree(data_);
    ::CreateDirectoryA(data_.c_str(), nullptr);
    ::CreateDirectoryA((data_ + "\\sub").c_str(), nullptr);
    WriteFile(data_ + "\\a.txt", "alpha");
    WriteFile(data_ + "\\b.txt", "bravo");
  }
  void TearDown() override {
    box_.CloseAll();
    RemoveTree(data_);
  }
  // Starts the program on the data directory with the cursor on the named entry.
  void Start(const char* cursor) {
    box_.Write("INSTID", "ID", "-1");
    box_.Write("INST1", "Placement", "50;40;560;380;-1;-1;-1;-1");
    box_.Write("INST1", "Path", data_.c_str());
    box_.Write("INST1", "vmode", "0");  // without it the table takes its keys from INST-1
    box_.Write("INST1", "Cursor", cursor);
    box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(50, 40)) != nullptr; }));
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(frame_).rfind(data_, 0) == 0; }));
  }
  void Command(int id) { ::PostMessageA(frame_, WM_COMMAND, id, 0); }
  // Answers the input dialog with the given caption.
  void Answer(const char* caption, const std::string& text) {
    HWND dlg = FindDialog(caption);
    ASSERT_NE(dlg, nullptr) << caption;
    ::SetDlgItemTextA(dlg, 31051, text.c_str());
    Press(dlg, IDOK);
  }
  static void Press(HWND dlg, int id) {
    ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(dlg) || !::IsWindowVisible(dlg); }));
  }
  // The table's error box: its text, and closes it.
  std::string ErrorBoxText() {
    HWND box = FindDialog("ソルモ", 10000);
    if (!box) return "<no error box>";
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    e2e::WaitFor([&] { return !::IsWindow(box); });
    return text;
  }
  // Waits until the command is over: the progress dialog gone and the program idle again.
  void WaitIdle() {
    ASSERT_TRUE(e2e::WaitFor([] { return ::FindWindowA("#32770", "処理中") == nullptr; }));
    DWORD_PTR r = 0;
    ::SendMessageTimeoutA(frame_, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &r);
  }
  Sandbox box_;
  std::string data_;
  HWND frame_ = nullptr;
};

TEST_F(FileOpsTest, CopyTheCursorEntryIntoANewDirectory) {
  Start("a.txt");
  Command(184);
  Answer("ファイルのコピー", data_ + "\\dest");
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(data_ + "\\dest\\a.txt") == "alpha"; }));
  WaitIdle();
  EXPECT_EQ(ReadFile(data_ + "\\a.txt"), "alpha") << "the source stays";
  EXPECT_FALSE(Exists(data_ + "\\dest\\b.txt")) << "only the cursor entry";
  EXPECT_EQ(box_.Read("HistCopy", "0"), data_ + "\\dest");
}

// A visible top-level window owned by owner (EnumWindows callback).
struct OwnedSearch {
  HWND owner, found;
};
BOOL CALLBACK FindOwnedWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<OwnedSearch*>(p);
  if (w == s->owner || ::GetWindow(w, GW_OWNER) != s->owner || !::IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

// An answer longer than the dialog's buffer is refused with its message and the dialog stays
// open: a shortened name would be created and copied into instead of the one typed.
TEST_F(FileOpsTest, ACopyAnswerThatDoesNotFitIsRefusedNotCut) {
  Start("a.txt");
  Command(184);
  HWND dlg = FindDialog("ファイルのコピー");
  ASSERT_NE(dlg, nullptr);
  std::string kanji;
  for (int i = 0; i < 140; ++i) kanji += "漢";
  const std::string typed = data_ + "\\保存\\" + kanji;
  ASSERT_GT(typed.size(), 260u);
  ::SetDlgItemTextA(dlg, 31051, typed.c_str());
  ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDOK)));
  // The message box the dialog owns.
  OwnedSearch search{dlg, nullptr};
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::EnumWindows(&FindOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  }, 10000)) << "no message";
  e2e::SaveScreenshot("copy_answer_too_long");
  HWND box = search.found;
  char text[256] = {};
  ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
  EXPECT_STREQ(text, "コピー先名が長すぎます");
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
  EXPECT_TRUE(::IsWindow(dlg) && ::IsWindowVisible(dlg)) << "the dialog stays for a shorter answer";
  Press(dlg, IDCANCEL);
  WaitIdle();
  EXPECT_FALSE(Exists(data_ + "\\保存")) << "nothing was made of the answer";
  EXPECT_EQ(ReadFile(data_ + "\\a.txt"), "alpha");
}

TEST_F(FileOpsTest, CopyToARelativeNameIsMadeInTheTableDirectory) {
  Start("b.txt");
  Command(184);
  Answer("ファイルのコピー", "rel");
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(data_ + "\\rel\\b.txt") == "bravo"; }));
  WaitIdle();
}

struct OverwriteCase {
  int button;
  const char* expected;  // content of the destination afterwards
};

class FileOpsOverwriteTest : public FileOpsTest,
                             public ::testing::WithParamInterface<OverwriteCase> {};

TEST_P(FileOpsOverwriteTest, TheAnswerDecidesAboutTheExistingFile) {
  ::CreateDirectoryA((data_ + "\\dest").c_str(), nullptr);
  WriteFile(data_ + "\\dest\\a.txt", "old");
  Start("a.txt");
  Command(184);
  Answer("ファイルのコピー", data_ + "\\dest");
  HWND question = FindDialog("上書き確認");
  ASSERT_NE(question, nullptr);
  char name[300] = {};
  ::GetDlgItemTextA(question, 10003, name, sizeof(name));
  EXPECT_NE(std::string(name).find("a.txt"), std::string::npos) << name;
  if (GetParam().button == 1) e2e::SaveScreenshot("fileops_overwrite_question");
  Press(question, GetParam().button);
  WaitIdle();
  EXPECT_EQ(ReadFile(data_ + "\\dest\\a.txt"), GetParam().expected);
  EXPECT_EQ(FindDialog("ソルモ", 1500), nullptr) << "no message for any answer";
}

INSTANTIATE_TEST_SUITE_P(Answers, FileOpsOverwriteTest,
                         ::testing::Values(OverwriteCase{1, "alpha"},    // Yes
                                           OverwriteCase{602, "alpha"},  // all
                                           OverwriteCase{603, "old"},    // No
                                           OverwriteCase{2, "old"}));    // Cancel

TEST_F(FileOpsTest, MoveToARelativeDirectoryRenames) {
  Start("a.txt");
  Command(182);
  Answer("ファイルの移動", "sub");
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(data_ + "\\sub\\a.txt") == "alpha"; }));
  WaitIdle();
  EXPECT_FALSE(Exists(data_ + "\\a.txt"));
  EXPECT_EQ(ReadFile(data_ + "\\b.txt"), "bravo");
}

TEST_F(FileOpsTest, MoveADirectoryWithAFullPath) {
  WriteFile(data_ + "\\sub\\inner.txt", "inner");
  Start("sub");
  Command(182);
  Answer("ファイルの移動", data_ + "\\moved");
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(data_ + "\\moved\\sub\\inner.txt") == "inner"; }));
  WaitIdle();
  EXPECT_FALSE(Exists(data_ + "\\sub"));
}

TEST_F(FileOpsTest, CopyUnderAnotherName) {
  Start("b.txt");
  Command(178);
  HWND dlg = FindDialog("ファイルを別名でコピー");
  ASSERT_NE(dlg, nullptr);
  char initial[300] = {};
  ::GetDlgItemTextA(dlg, 31051, initial, sizeof(initial));
  EXPECT_STREQ(initial, "b.txt") << "offered: the entry's name";
  ::SetDlgItemTextA(dlg, 31051, "b copy.txt");
  Press(dlg, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(data_ + "\\b copy.txt") == "bravo"; }));
  WaitIdle();
  EXPECT_EQ(box_.Read("HistRename", "0"), "b copy.txt");
}

// A destination chosen with Browse is taken as the file's name as it stands: a blank in its
// path does not put it in quotes, which would name no file.
TEST_F(FileOpsTest, CopyUnderAnotherNameToABrowsedFile) {
  const std::string chosen = data_ + "\\b copy.txt";
  WriteFile(chosen, "old");
  Start("b.txt");
  Command(178);
  HWND dlg = FindDialog("ファイルを別名でコピー");
  ASSERT_NE(dlg, nullptr);
  ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(30011, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlg, 30011)));
  HWND open = FindDialog("参照");
  ASSERT_NE(open, nullptr);
  HWND nameField = ::GetDlgItem(open, 0x47c);  // the file name box
  if (!nameField) nameField = ::GetDlgItem(open, 0x480);
  ASSERT_NE(nameField, nullptr);
  ::SendMessageA(nameField, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
  ::PostMessageA(open, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(open); }));
  char answer[300] = {};
  ::GetDlgItemTextA(dlg, 31051, answer, sizeof(answer));
  EXPECT_EQ(std::string(answer), chosen);
  Press(dlg, IDOK);
  HWND question = FindDialog("上書き確認");
  ASSERT_NE(question, nullptr);
  Press(question, 1);  // Yes
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFile(chosen) == "bravo"; }));
  WaitIdle();
  EXPECT_EQ(FindDialog("ソルモ", 1000), nullptr) << "no message";
}

TEST_F(FileOpsTest, CopyUnderAnotherNameOverTheSourceDoesNothing) {
  Start("b.txt");
  Command(178);
  Answer("ファイルを別名でコピー", "B.TXT");
  WaitIdle();
  EXPECT_EQ(ReadFile(data_ + "\\b.txt"), "bravo");
  EXPECT_EQ(FindDialog("ソルモ", 1500), nullptr);
}

TEST_F(FileOpsTest, DeleteAsksFirstAndCancelKeepsTheFile) {
  Start("a.txt");
  Command(180);
  HWND confirm = FindDialog("削除確認");
  ASSERT_NE(confirm, nullptr);
  Press(confirm, IDCANCEL);
  WaitIdle();
  EXPECT_TRUE(Exists(data_ + "\\a.txt"));
  Command(180);
  confirm = FindDialog("削除確認");
  ASSERT_NE(confirm, nullptr);
  Press(confirm, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return !Exists(data_ + "\\a.txt"); }));
  WaitIdle();
  EXPECT_TRUE(Exists(data_ + "\\b.txt"));
}

TEST_F(FileOpsTest, DeleteWithShiftHeldDeletesForGood) {
  box_.WriteKeyBindings({"46;0;4", "46;1;4"});
  Start("b.txt");
  INPUT shift[2] = {};
  for (INPUT& in : shift) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
  }
  shift[1].ki.dwFlags = KEYEVENTF_KEYUP;
  // Shift+Delete with real input, in the order a person presses them.
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::SetForegroundWindow(frame_);
    return ::GetForegroundWindow() == frame_;
  }, 5000));
  ::SendInput(1, &shift[0], sizeof(INPUT));
  e2e::PressKey(VK_DELETE);
  HWND confirm = FindDialog("削除確認");
  ::SendInput(1, &shift[1], sizeof(INPUT));
  ASSERT_NE(confirm, nullptr);
  Press(confirm, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return !Exists(data_ + "\\b.txt"); }));
  WaitIdle();
}

TEST_F(FileOpsTest, DeleteADirectoryTree) {
  WriteFile(data_ + "\\sub\\inner.txt", "inner");
  Start("sub");
  Command(180);
  HWND confirm = FindDialog("削除確認");
  ASSERT_NE(confirm, nullptr);
  Press(confirm, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return !Exists(data_ + "\\sub"); }));
  WaitIdle();
}

struct ReadOnlyCase {
  int button;
  bool deleted;
};

class FileOpsReadOnlyTest : public FileOpsTest,
                            public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(FileOpsReadOnlyTest, TheAnswerDecidesAboutTheReadOnlyFile) {
  WriteFile(data_ + "\\ro.txt", "locked");
  ::SetFileAttributesA((data_ + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  Start("ro.txt");
  Command(180);
  HWND confirm = FindDialogWith("削除確認", 10003, false);
  ASSERT_NE(confirm, nullptr);
  Press(confirm, IDOK);
  HWND question = FindDialogWith("削除確認", 10003, true);
  ASSERT_NE(question, nullptr);
  char name[300] = {};
  ::GetDlgItemTextA(question, 10003, name, sizeof(name));
  EXPECT_STREQ(name, "ro.txt");
  if (GetParam().button == 1) e2e::SaveScreenshot("fileops_readonly_question");
  Press(question, GetParam().button);
  WaitIdle();
  EXPECT_EQ(Exists(data_ + "\\ro.txt"), !GetParam().deleted);
  EXPECT_EQ(FindDialog("ソルモ", 1500), nullptr);
  ::SetFileAttributesA((data_ + "\\ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(Answers, FileOpsReadOnlyTest,
                         ::testing::Values(ReadOnlyCase{1, true}, ReadOnlyCase{501, true},
                                           ReadOnlyCase{502, false}, ReadOnlyCase{2, false}));

TEST_F(FileOpsTest, MakeDirectoryAndReportAFailure) {
  Start("a.txt");
  Command(176);
  Answer("ディレクトリの作成", "newdir");
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(data_ + "\\newdir"); }));
  Command(176);
  Answer("ディレクトリの作成", "newdir");
  EXPECT_EQ(ErrorBoxText(), "ディレクトリを作成することができません");
}

TEST_F(FileOpsTest, CancelDuringALargeCopyRemovesThePartialFile) {
  const std::string big = data_ + "\\big.bin";
  {
    HANDLE h = ::CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string block(1 << 20, 'x');
    DWORD written = 0;
    for (int i = 0; i < 200; ++i) ::WriteFile(h, block.data(), block.size(), &written, nullptr);
    ::CloseHandle(h);
  }
  Start("big.bin");
  Command(184);
  Answer("ファイルのコピー", data_ + "\\dest");
  HWND progress = FindDialog("処理中");
  ASSERT_NE(progress, nullptr);
  char label[64] = {};
  ::GetDlgItemTextA(progress, 10001, label, sizeof(label));
  EXPECT_STREQ(label, "ファイル");
  ::GetDlgItemTextA(progress, 10002, label, sizeof(label));
  EXPECT_STREQ(label, "コピー先 ");
  ::PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(progress, IDCANCEL)));
  e2e::WaitFor([&] { return !::IsWindowEnabled(::GetDlgItem(progress, IDCANCEL)); }, 5000);
  e2e::SaveScreenshot("fileops_progress_cancelled");
  EXPECT_EQ(ErrorBoxText(), "処理はキャンセルされました");
  WaitIdle();
  EXPECT_FALSE(Exists(data_ + "\\dest\\big.bin")) << "the partial copy is removed";
  EXPECT_TRUE(Exists(big));
}

TEST_F(FileOpsTest, ChangeNameDateAndAttributesOfOneEntry) {
  Start("a.txt");
  Command(118);
  HWND dlg = FindDialog("名前･日付･属性の変更");
  ASSERT_NE(dlg, nullptr);
  char text[300] = {};
  ::GetDlgItemTextA(dlg, 704, text, sizeof(text));
  EXPECT_STREQ(text, "a.txt");
  ::GetDlgItemTextA(dlg, 703, text, sizeof(text));
  EXPECT_EQ(std::string(text).size(), 8u) << "YY/MM/DD: " << text;
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg, 706))) << "no link rows for a plain file";
  e2e::SaveScreenshot("fileops_attributes");
  ::SetDlgItemTextA(dlg, 704, "renamed.txt");
  ::SetDlgItemTextA(dlg, 703, "98/02/01");
  ::SetDlgItemTextA(dlg, 709, "12:34:56");
  ::CheckDlgButton(dlg, 707, BST_CHECKED);
  ::CheckDlgButton(dlg, 705, BST_CHECKED);
  Press(dlg, IDOK);
  const std::string renamed = data_ + "\\renamed.txt";
  ASSERT_TRUE(e2e::WaitFor([&] { return Exists(renamed); }));
  EXPECT_FALSE(Exists(data_ + "\\a.txt"));
  const DWORD attributes = ::GetFileAttributesA(renamed.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  WIN32_FILE_ATTRIBUTE_DATA fad{};
  ASSERT_TRUE(::GetFileAttributesExA(renamed.c_str(), GetFileExInfoStandard, &fad));
  FILETIME local{};
  SYSTEMTIME st{};
  ::FileTimeToLocalFileTime(&fad.ftLastWriteTime, &local);
  ::FileTimeToSystemTime(&local, &st);
  EXPECT_EQ(st.wYear, 1998);
  EXPECT_EQ(st.wMonth, 2);
  EXPECT_EQ(st.wDay, 1);
  EXPECT_EQ(st.wHour, 12);
  EXPECT_EQ(st.wMinute, 34);
  EXPECT_EQ(st.wSecond, 56);
  ::SetFileAttributesA(renamed.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Values longer than the dialog's fields come back cut; OK with only a box ticked must leave
// them whole: a link's target, title and working directory, and a plain file's name.
TEST_F(FileOpsTest, OnlyEditedFieldsAreWrittenBackWhole) {
  const std::string target = "C:\\" + std::string(255, 't');
  const std::string title = std::string(300, 'n');
  const std::string current = "C:\\" + std::string(250, 'c') + "\\";
  const std::string link = data_ + "\\long.lfi";
  WriteFile(link, "[Link]\r\nLink=" + target + "\r\nTitle=" + title + "\r\nCurrent=" + current +
                      "\r\n");
  std::string longName;
  for (int i = 0; i < 127; ++i) longName += "\x82\xa0";  // 254 bytes of double-byte characters
  longName += "x.txt";
  WriteFile(data_ + "\\" + longName, "long");
  const auto key = [&](const char* name) {
    char value[1024] = {};
    ::GetPrivateProfileStringA("Link", name, "", value, sizeof(value), link.c_str());
    return std::string(value);
  };
  // The long name is too long for the saved cursor: it is reached with Down from the link
  // (it is the last entry), and the dialog opened by a key so that it follows the cursor move.
  // Keys the desktop lost are given again.
  box_.WriteKeyBindings({"40;0;108", "84;0;6"});  // Down; T: name, date and attributes
  // The name field tells which entry the dialog is for (read from another process, a
  // double-byte text may come back shorter, so only its start is compared).
  struct Case {
    const std::string& entry;
    std::string shown;
  } cases[] = {{"long.lfi", title.substr(0, 20)}, {longName, longName.substr(0, 20)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry.size());
    Start("long.lfi");
    HWND dlg = nullptr;
    std::string shown;
    for (int attempt = 0; attempt < 3 && shown != c.shown; ++attempt) {
      if (dlg) Press(dlg, IDCANCEL);
      ASSERT_TRUE(e2e::WaitFor([&] {
        ::SetForegroundWindow(frame_);
        return ::GetForegroundWindow() == frame_;
      }, 5000));
      if (&c.entry == &longName) e2e::PressKey(VK_DOWN);
      e2e::PressKey('T');
      dlg = FindDialog("名前･日付･属性の変更", 5000);
      char text[300] = {};
      if (dlg) ::GetDlgItemTextA(dlg, 704, text, sizeof(text));
      shown = std::string(text).substr(0, 20);
    }
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(shown, c.shown);
    ::CheckDlgButton(dlg, 707, BST_CHECKED);
    Press(dlg, IDOK);
    const std::string path = data_ + "\\" + c.entry;
    EXPECT_TRUE(e2e::WaitFor([&] {
      const DWORD a = ::GetFileAttributesA(path.c_str());
      return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
    }));
    WaitIdle();
    EXPECT_EQ(FindDialog("ソルモ", 1000), nullptr) << "no rename or write was tried";
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    box_.CloseAll();
  }
  EXPECT_EQ(key("Link"), target);
  EXPECT_EQ(key("Title"), title);
  EXPECT_EQ(key("Current"), current);
  EXPECT_EQ(ReadFile(data_ + "\\" + longName), "long");
}

struct DateErrorCase {
  const char* date;
  const char* time;
  const char* message;
};

class FileOpsDateErrorTest : public FileOpsTest,
                             public ::testing::WithParamInterface<DateErrorCase> {};

TEST_P(FileOpsDateErrorTest, ABadFieldIsReportedAndTheRestStillChanges) {
  Start("b.txt");
  Command(118);
  HWND dlg = FindDialog("名前･日付･属性の変更");
  ASSERT_NE(dlg, nullptr);
  ::SetDlgItemTextA(dlg, 703, GetParam().date);
  ::SetDlgItemTextA(dlg, 709, GetParam().time);
  ::CheckDlgButton(dlg, 707, BST_CHECKED);
  Press(dlg, IDOK);
  EXPECT_EQ(ErrorBoxText(), GetParam().message);
  ASSERT_TRUE(e2e::WaitFor([&] {
    return (::GetFileAttributesA((data_ + "\\b.txt").c_str()) & FILE_ATTRIBUTE_READONLY) != 0;
  }));
  ::SetFileAttributesA((data_ + "\\b.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FileOpsDateErrorTest,
    ::testing::Values(DateErrorCase{"1998-02-01", "10:00:00", "日付はYY/MM/DDの形式で入力してください"},
                      DateErrorCase{"98/13/01", "10:00:00", "日付の値が無効です"},
                      DateErrorCase{"98/02/01", "10-00", "時間はHH:MM:SSの形式で入力してください"},
                      DateErrorCase{"98/02/01", "24:00:00", "時間の値が無効です"}));

// A name the code page cannot hold lists as "caf?.txt" beside "cafe.txt" and "cafx.txt". The
// commands must reach that one file through its 8.3 alias: the listed name is a pattern that
// matches all three.
class OddNameTest : public FileOpsTest {
 protected:
  void SetUp() override {
    FileOpsTest::SetUp();
    odd_ = Wide(data_) + L"\\caf\u0E01.txt";
    WriteFileWide(odd_, "odd");
    WriteFile(data_ + "\\cafe.txt", "cafe");
    WriteFile(data_ + "\\cafx.txt", "cafx");
  }
  void ExpectNeighboursIntact() {
    EXPECT_EQ(ReadFile(data_ + "\\cafe.txt"), "cafe");
    EXPECT_EQ(ReadFile(data_ + "\\cafx.txt"), "cafx");
    EXPECT_EQ(ReadFile(data_ + "\\a.txt"), "alpha");
    EXPECT_EQ(ReadFile(data_ + "\\b.txt"), "bravo");
  }
  // The cursor is saved and found again by the entry's alias, the name that leads back to it.
  std::string OddAlias() const {
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD n = ::GetShortPathNameW(odd_.c_str(), shortPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    const std::wstring s(shortPath, n);
    std::string alias;
    for (wchar_t c : s.substr(s.find_last_of(L'\\') + 1)) alias += static_cast<char>(c);
    return alias;
  }
  std::wstring odd_;
};

TEST_F(OddNameTest, DeleteTakesOnlyThatFile) {
  Start(OddAlias().c_str());
  e2e::SaveScreenshot("fileops_odd_name");
  Command(180);
  HWND confirm = FindDialog("削除確認");
  ASSERT_NE(confirm, nullptr);
  Press(confirm, IDOK);
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadFileWide(odd_) == "<missing>"; }));
  WaitIdle();
  ExpectNeighboursIntact();
  EXPECT_EQ(FindDialog("ソルモ", 1500), nullptr) << "no error";
}

TEST_F(OddNameTest, CopyTakesOnlyThatFileUnderItsAlias) {
  Start(OddAlias().c_str());
  Command(184);
  Answer("ファイルのコピー", data_ + "\\dest");
  const std::wstring dest = Wide(data_ + "\\dest");
  ASSERT_TRUE(e2e::WaitFor([&] { return FileNamesWide(dest).size() == 1; }));
  WaitIdle();
  const std::vector<std::wstring> copied = FileNamesWide(dest);
  ASSERT_EQ(copied.size(), 1u);
  EXPECT_EQ(ReadFileWide(dest + L"\\" + copied[0]), "odd");
  EXPECT_LE(copied[0].size(), 12u) << "the alias, an 8.3 name";
  EXPECT_EQ(ReadFileWide(odd_), "odd") << "the source stays";
  ExpectNeighboursIntact();
  EXPECT_EQ(FindDialog("ソルモ", 1500), nullptr) << "no error";
}

}  // namespace

// One command at a time, and nothing under a running command depends on the current directory.

constexpr int kCmdCopy = 184, kCmdDelete = 180, kCmdSelectAll = 154;

// A file of size bytes, all of them fill.
void WriteBigFile(const std::string& path, uint32_t size, char fill) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  const std::string block(1 << 20, fill);
  for (uint32_t done = 0; done < size;) {
    const DWORD n = static_cast<DWORD>(std::min<uint32_t>(block.size(), size - done));
    DWORD written = 0;
    ::WriteFile(h, block.data(), n, &written, nullptr);
    done += n;
  }
  ::CloseHandle(h);
}

// The size of a file and whether its first 64 KiB are all fill.
std::pair<uint64_t, bool> BigFileState(const std::string& path, char fill) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {0, false};
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return {0, false};
  std::string head(1 << 16, '\0');
  DWORD read = 0;
  ::ReadFile(h, head.data(), static_cast<DWORD>(head.size()), &read, nullptr);
  ::CloseHandle(h);
  head.resize(read);
  const bool filled = !head.empty() && head.find_first_not_of(fill) == std::string::npos;
  return {(static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, filled};
}

// Names in dir that look like the copy's temporary files.
int TemporaryFileCount(const std::string& dir) {
  int n = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((dir + "\\~*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do ++n;
  while (::FindNextFileA(h, &fd));
  ::FindClose(h);
  return n;
}

// A real left click at a screen point.
void ClickAt(POINT p) {
  ::SetCursorPos(p.x, p.y);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, in, sizeof(INPUT));
}

// A point of window that no other window given covers (inset from its corners).
POINT FreePointOf(HWND window, HWND cover) {
  RECT r{}, c{};
  ::GetWindowRect(window, &r);
  if (cover) ::GetWindowRect(cover, &c);
  const POINT candidates[] = {{r.left + 12, r.top + 12}, {r.right - 30, r.bottom - 30},
                              {r.left + 12, r.bottom - 30}, {r.right - 30, r.top + 12}};
  for (POINT p : candidates)
    if (!cover || !::PtInRect(&c, p)) return p;
  return candidates[0];
}

class OneCommandTest : public FileOpsTest {
 protected:
  void SetUp() override {
    FileOpsTest::SetUp();
    outside_ = box_.Dir() + "outside";
    RemoveTree(outside_);
    ::CreateDirectoryA(outside_.c_str(), nullptr);
  }
  void TearDown() override {
    FileOpsTest::TearDown();
    RemoveTree(outside_);
    ::SetCursorPos(1000, 750);  // out of the way of the windows the next tests open
  }
  // The toolbar with its delete button first.
  void StartWithDeleteButton(const char* cursor) {
    box_.Write("BarSettings", "ToolBar", "FDELETE");
    box_.Write("INST1", "ToolBarDisp", "On");
    Start(cursor);
    ASSERT_TRUE(e2e::WaitFor([&] { return e2e::ToolBarOf(frame_) != nullptr; }));
  }
  POINT DeleteButton() {
    POINT p{13, 13};
    ::ClientToScreen(e2e::ToolBarOf(frame_), &p);
    return p;
  }
  // Tries to start a delete from the toolbar with a real click and from the menu; neither may
  // run while the copy does. progress: the dialog that must still be up afterwards.
  void TryASecondCommand(HWND stillUp) {
    ClickAt(DeleteButton());
    Command(kCmdDelete);
    Command(kCmdCopy);
    EXPECT_EQ(FindDialog("削除確認", 1500), nullptr) << "a second command ran";
    EXPECT_EQ(::FindWindowA("#32770", "ファイルのコピー"), nullptr) << "a second copy was asked";
    EXPECT_TRUE(::IsWindow(stillUp)) << "the first command ended too soon to tell";
  }
  std::string outside_;  // a folder outside the table's, for a copy of everything
};

TEST_F(OneCommandTest, CommandsDuringACopyAndItsQuestionAreRefused) {
  WriteBigFile(data_ + "\\big.bin", 200u << 20, 'x');
  WriteFile(data_ + "\\zz.txt", "new");
  WriteFile(outside_ + "\\zz.txt", "old");
  StartWithDeleteButton("big.bin");
  Command(kCmdSelectAll);
  Command(kCmdCopy);
  Answer("ファイルのコピー", outside_);
  HWND progress = FindDialog("処理中");
  ASSERT_NE(progress, nullptr);
  TryASecondCommand(progress);
  e2e::SaveScreenshot("one_command_refused_during_copy");

  // The copy goes on and still asks about the existing file.
  HWND question = FindDialog("上書き確認", 120000);
  ASSERT_NE(question, nullptr) << "the first command no longer asks";
  TryASecondCommand(question);
  Press(question, IDCANCEL);
  WaitIdle();
  EXPECT_EQ(ReadFile(outside_ + "\\zz.txt"), "old");
  EXPECT_EQ(BigFileState(outside_ + "\\big.bin", 'x').first, 200u << 20);
  EXPECT_EQ(TemporaryFileCount(outside_), 0);
  EXPECT_TRUE(Exists(data_ + "\\a.txt") && Exists(data_ + "\\big.bin")) << "nothing was deleted";

  // Once the copy has ended the same click does start the command.
  ClickAt(DeleteButton());
  HWND confirm = FindDialog("削除確認");
  ASSERT_NE(confirm, nullptr) << "the toolbar click never reached the program";
  Press(confirm, IDCANCEL);
}

TEST_F(OneCommandTest, CancelStillWorksAfterARefusedCommand) {
  WriteBigFile(data_ + "\\big.bin", 200u << 20, 'x');
  ::CreateDirectoryA((data_ + "\\dest").c_str(), nullptr);
  StartWithDeleteButton("big.bin");
  Command(kCmdCopy);
  Answer("ファイルのコピー", data_ + "\\dest");
  HWND progress = FindDialog("処理中");
  ASSERT_NE(progress, nullptr);
  TryASecondCommand(progress);
  ::PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(progress, IDCANCEL)));
  EXPECT_EQ(ErrorBoxText(), "処理はキャンセルされました");
  WaitIdle();
  EXPECT_FALSE(Exists(data_ + "\\dest\\big.bin")) << "the partial copy is removed";
  EXPECT_EQ(TemporaryFileCount(data_ + "\\dest"), 0);
  EXPECT_TRUE(Exists(data_ + "\\big.bin"));
}

// Closing the window during the overwrite question cancels the copy first and then closes,
// saving the window's state; the old file stays as it was.
TEST_F(OneCommandTest, ClosingDuringTheQuestionCancelsThenCloses) {
  ::CreateDirectoryA((data_ + "\\dest").c_str(), nullptr);
  WriteFile(data_ + "\\dest\\a.txt", "old");
  box_.Write("EndMode", "EndMode", "none");
  Start("a.txt");
  Command(kCmdCopy);
  Answer("ファイルのコピー", data_ + "\\dest");
  HWND question = FindDialog("上書き確認");
  ASSERT_NE(question, nullptr);
  ::PostMessageA(frame_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(question); })) << "the question stayed";
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(frame_); })) << "the window stayed";
  EXPECT_EQ(ReadFile(data_ + "\\dest\\a.txt"), "old");
  EXPECT_EQ(ReadFile(data_ + "\\a.txt"), "alpha");
  EXPECT_EQ(TemporaryFileCount(data_ + "\\dest"), 0);
  EXPECT_EQ(box_.Read("EndMode", "EndMode"), "Quit") << "the state was not saved";
  EXPECT_NE(box_.Read("INST1", "Show"), "<missing>") << "the placement was not saved";
}

// Two panes on two folders with the same names. A click on the other pane during a tree copy
// activates it (and moves the current directory there); the copy holds the source's bytes.
TEST_F(OneCommandTest, ActivatingTheOtherPaneDuringATreeCopyCopiesTheSource) {
  const std::string left = data_ + "\\left", right = data_ + "\\right";
  for (const std::string& side : {left, right}) {
    ::CreateDirectoryA(side.c_str(), nullptr);
    ::CreateDirectoryA((side + "\\t").c_str(), nullptr);
    ::CreateDirectoryA((side + "\\t\\sub").c_str(), nullptr);
  }
  for (const char* name : {"\\t\\a.bin", "\\t\\b.bin", "\\t\\sub\\c.bin"}) {
    WriteBigFile(left + name, 30u << 20, 'L');
    WriteFile(right + name, "right");
  }
  box_.Write("INST1", "WMode", "2");
  box_.Write("INST101", "Path", right.c_str());
  box_.Write("INST101", "vmode", "0");
  data_ = left;  // the first pane's folder
  Start("t");
  data_ = left.substr(0, left.size() - 5);
  const std::string dest = data_ + "\\dest";
  Command(kCmdCopy);
  Answer("ファイルのコピー", dest);
  HWND progress = FindDialog("処理中");
  ASSERT_NE(progress, nullptr);

  HWND client = ::GetWindow(frame_, GW_CHILD);
  HWND panes[2] = {};
  for (; client && !panes[1]; client = ::GetWindow(client, GW_HWNDNEXT)) {
    panes[0] = ::FindWindowExA(client, nullptr, "Sorumo32", nullptr);
    panes[1] = panes[0] ? ::FindWindowExA(client, panes[0], "Sorumo32", nullptr) : nullptr;
  }
  ASSERT_NE(panes[1], nullptr);
  // The active pane is on top: the other one is found second.
  const POINT click = FreePointOf(panes[1], progress);
  ClickAt(click);
  RECT r0{}, r1{}, rp{};
  ::GetWindowRect(panes[0], &r0);
  ::GetWindowRect(panes[1], &r1);
  ::GetWindowRect(progress, &rp);
  e2e::SaveScreenshot("one_command_click_other_pane");
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::Caption(frame_).rfind(right, 0) == 0; }, 10000))
      << "the other pane was not activated: " << e2e::Caption(frame_) << " click " << click.x
      << "," << click.y << " pane0 " << r0.left << "," << r0.top << "-" << r0.right << ","
      << r0.bottom << " pane1 " << r1.left << "," << r1.top << "-" << r1.right << ","
      << r1.bottom << " progress " << rp.left << "," << rp.top << "-" << rp.right << ","
      << rp.bottom;
  EXPECT_TRUE(::IsWindow(progress)) << "the copy ended before the click";
  e2e::SaveScreenshot("one_command_other_pane_active");
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(progress); }, 180000));
  WaitIdle();
  for (const char* name : {"\\t\\a.bin", "\\t\\b.bin", "\\t\\sub\\c.bin"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(BigFileState(dest + name, 'L'), (std::pair<uint64_t, bool>{30u << 20, true}));
    EXPECT_EQ(ReadFile(right + name), "right");
  }
}
