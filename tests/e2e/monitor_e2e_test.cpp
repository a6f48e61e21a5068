// Live folders: files created, renamed, written and deleted by another process appear in the
// listing without a reload; a watched folder that goes away is reported once and the window
// keeps working; the entries get their real icons (screenshot).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "os/services.h"
#include "tests/e2e/e2e_util.h"

namespace {

using e2e::Sandbox;

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  ::CloseHandle(h);
  return ok && done == bytes.size();
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE h = ::FindFirstFileA((path + "\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path + "\\" + name);
      else
        ::DeleteFileA((path + "\\" + name).c_str());
    } while (::FindNextFileA(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryA(path.c_str());
}

// The number N of the caption's "  N file(s)."; -1 when the caption has none.
long CaptionCount(HWND frame) {
  const std::string c = e2e::Caption(frame);
  const std::size_t at = c.find(" file(s).");
  if (at == std::string::npos) return -1;
  std::size_t start = c.rfind(' ', at - 1);
  return std::strtol(c.c_str() + (start == std::string::npos ? 0 : start + 1), nullptr, 10);
}

// The N of the status bar's "Selected N file(s)"; -1 when it shows none.
long SelectedCount(HWND frame) {
  const std::string s = e2e::StatusText(frame);
  const std::size_t at = s.find("Selected ");
  if (at == std::string::npos) return -1;
  return std::strtol(s.c_str() + at + 9, nullptr, 10);
}

class MonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready());
    ASSERT_TRUE(e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "live";
    RemoveTree(data_);  // left by an earlier run
    ASSERT_TRUE(::CreateDirectoryA(data_.c_str(), nullptr));
  }
  void TearDown() override {
    box_.CloseAll();
    RemoveTree(data_);
  }
  void Open(const std::string& path, const char* mask = "*.*") {
    box_.SaveOneWindowOn(path);
    box_.Write("INST1", "Mask", mask);
    box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(40, 30)) != nullptr; }));
  }
  std::string In(const char* name) const { return data_ + "\\" + name; }
  bool CountBecomes(long n, int deadlineMs = 10000) {
    return e2e::WaitFor([&] { return CaptionCount(frame_) == n; }, deadlineMs);
  }

  Sandbox box_;
  std::string data_;
  HWND frame_ = nullptr;
};

TEST_F(MonitorTest, ListingFollowsFilesMadeRenamedWrittenAndDeletedOutside) {
  for (const char* f : {"a.txt", "b.txt", "c.doc"}) ASSERT_TRUE(WriteBytes(In(f), "1"));
  Open(data_, "*.txt");
  ASSERT_TRUE(CountBecomes(3)) << e2e::Caption(frame_);  // "..", a.txt, b.txt
  ASSERT_TRUE(WriteBytes(In("new.txt"), "1"));
  EXPECT_TRUE(CountBecomes(4)) << "created: " << e2e::Caption(frame_);
  ASSERT_TRUE(::MoveFileA(In("a.txt").c_str(), In("a.doc").c_str()));
  EXPECT_TRUE(CountBecomes(3)) << "renamed out of the mask: " << e2e::Caption(frame_);
  ASSERT_TRUE(::MoveFileA(In("c.doc").c_str(), In("c.txt").c_str()));
  EXPECT_TRUE(CountBecomes(4)) << "renamed into the mask: " << e2e::Caption(frame_);
  ASSERT_TRUE(::DeleteFileA(In("b.txt").c_str()));
  EXPECT_TRUE(CountBecomes(3)) << "deleted: " << e2e::Caption(frame_);

  // A file written to from outside comes back as a new entry, out of the selection.
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all
  ASSERT_TRUE(e2e::WaitFor([&] { return SelectedCount(frame_) >= 2; }, 10000))
      << e2e::StatusText(frame_);
  const long selected = SelectedCount(frame_);
  ASSERT_TRUE(WriteBytes(In("c.txt"), "longer content"));
  EXPECT_TRUE(e2e::WaitFor([&] { return SelectedCount(frame_) == selected - 1; }, 10000))
      << e2e::StatusText(frame_);
  EXPECT_EQ(CaptionCount(frame_), 3);
}

// Changes reported while a command runs are kept for later, never lost: after deleting many
// files of the watched folder, a file made outside still shows.
TEST_F(MonitorTest, ChangesDuringACommandDoNotSilenceTheWatch) {
  for (int i = 0; i < 200; ++i)
    ASSERT_TRUE(WriteBytes(In(("f" + std::to_string(1000 + i) + ".txt").c_str()), "1"));
  Open(data_);
  ASSERT_TRUE(CountBecomes(201)) << e2e::Caption(frame_);
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all
  ASSERT_TRUE(e2e::WaitFor([&] { return SelectedCount(frame_) == 200; }, 10000))
      << e2e::StatusText(frame_);
  ::PostMessageA(frame_, WM_COMMAND, 180, 0);  // delete
  HWND confirm = e2e::FindDialog("削除確認");
  ASSERT_NE(confirm, nullptr);
  ::PostMessageA(confirm, WM_COMMAND, IDOK, 0);
  // Deleting 200 files into the recycle bin takes longer than 10 s where Wine's 32-bit half
  // is emulated.
  ASSERT_TRUE(CountBecomes(1, 120000)) << e2e::Caption(frame_);
  ASSERT_TRUE(WriteBytes(In("after.txt"), "1"));
  EXPECT_TRUE(CountBecomes(2)) << e2e::Caption(frame_);
}

TEST_F(MonitorTest, FolderThatGoesAwayIsReportedOnceAndTheWindowKeepsWorking) {
  // The second pane watches a folder that is not the process's current directory (the active
  // pane's is, and a current directory cannot be renamed).
  const std::string sub = In("watched");
  ASSERT_TRUE(::CreateDirectoryA(sub.c_str(), nullptr));
  ASSERT_TRUE(WriteBytes(sub + "\\x.txt", "1"));
  box_.Write("INST1", "WMode", "2");
  box_.Write("INST1", "FocusWin", "0");
  box_.Write("INST101", "Path", sub.c_str());
  box_.Write("INST101", "vmode", "0");
  Open(data_);
  ASSERT_EQ(e2e::PaneCount(frame_), 2);
  ASSERT_TRUE(CountBecomes(2)) << e2e::Caption(frame_);  // "..", watched
  ::Sleep(500);  // both watches armed
  ASSERT_TRUE(::MoveFileA(sub.c_str(), In("moved").c_str()));
  HWND box = e2e::FindDialog("ソルモ", 15000);
  ASSERT_NE(box, nullptr) << "no report of the vanished folder";
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
  // The first pane follows the rename: "..", moved.
  EXPECT_TRUE(CountBecomes(2)) << e2e::Caption(frame_);
  // Only once, and the window still answers: the close below waits for its process.
  EXPECT_EQ(e2e::FindDialog("ソルモ", 1500), nullptr);
  ::SendMessageTimeoutA(frame_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  EXPECT_TRUE(::IsWindow(frame_));
}

TEST_F(MonitorTest, EntriesShowRealIcons) {
  ::CreateDirectoryA(In("folder").c_str(), nullptr);
  // A program, documents with and without an association, a link file and a shortcut.
  // (The program itself carries an icon; Wine's own programs in the prefix carry none.)
  ASSERT_TRUE(::CopyFileA(box_.Exe().c_str(), In("editor.exe").c_str(), FALSE));
  for (const char* f : {"notes.txt", "readme.txt", "data.qqq", "plain"})
    ASSERT_TRUE(WriteBytes(In(f), "text"));
  ASSERT_TRUE(WriteBytes(In("to folder.LFI"), "[Link]\r\nLink=" + In("folder") + "\r\n"));
  os::ShellLinkFields link;
  link.target = In("editor.exe");
  EXPECT_TRUE(os::Links().Write(In("editor.lnk").c_str(), link));
  Open(data_);
  ASSERT_TRUE(CountBecomes(9)) << e2e::Caption(frame_);
  e2e::SaveScreenshot("monitor-real-icons");
}

}  // namespace
