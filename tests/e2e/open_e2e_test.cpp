// Opening entries with real keys: Enter enters a folder, Backspace goes back up with the cursor
// on the folder just left, Enter on a file starts the program associated with it, handing it
// the file's full path.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

using e2e::ReadAll;
using e2e::Sandbox;
using e2e::Touch;

// The line a program received, its arguments separated by single blanks (a composed line may
// put two blanks before the files; the program reads the same arguments).
std::string ArgumentsOf(const std::string& echoed) {
  std::string out;
  for (char ch : echoed) {
    if (ch == '\r' || ch == '\n') break;
    if (ch == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += ch;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}


void Press(WORD vk) {
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = vk;
    in[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
    in[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(2, in, sizeof(INPUT));
}

class OpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(box_.Ready() && e2e::ProgramWindows().empty());
    data_ = box_.Dir() + "data";
    for (const char* d : {"", "\\aaa", "\\sub"}) ::CreateDirectoryA((data_ + d).c_str(), nullptr);
    for (const char* f : {"\\sub\\inner.txt", "\\target.txt", "\\plain.txt"}) Touch(data_ + f);
    box_.SaveOneWindowOn(data_);
    // Only the bindings of the test: Enter opens, Backspace goes to the parent.
    box_.WriteKeyBindings({"13;0;1", "8;0;130"});
  }
  void TearDown() override {
    box_.CloseAll();
    for (const char* f : {"\\sub\\inner.txt", "\\sub\\more.txt", "\\target.txt", "\\plain.txt",
                          "\\args.txt"})
      ::DeleteFileA((data_ + f).c_str());
    ::DeleteFileA((box_.Dir() + "record.bat").c_str());
    for (const char* d : {"\\aaa", "\\sub", ""}) ::RemoveDirectoryA((data_ + d).c_str());
  }
  void Start(const char* cursor, const std::string& folder = std::string()) {
    const std::string path = folder.empty() ? data_ : folder;
    box_.Write("INST1", "Path", path.c_str());
    box_.Write("INST1", "Cursor", cursor);
    box_.Start("-CFGID 1");
    ASSERT_TRUE(e2e::WaitFor([&] { return (frame_ = e2e::WindowAt(40, 30)) != nullptr; }));
    ASSERT_TRUE(CaptionStartsWith(path + "\\*.*")) << e2e::Caption(frame_);
    // Real input goes to the foreground window.
    ASSERT_TRUE(e2e::WaitFor([&] {
      ::SetForegroundWindow(frame_);
      return ::GetForegroundWindow() == frame_;
    }, 5000));
  }
  bool CaptionStartsWith(const std::string& prefix) {
    return e2e::WaitFor([&] { return e2e::Caption(frame_).rfind(prefix, 0) == 0; }, 5000);
  }

  Sandbox box_;
  std::string data_;
  HWND frame_ = nullptr;
};

TEST_F(OpenTest, EnterListsAFolderAndBackspaceReturnsToIt) {
  Start("sub");
  Press(VK_RETURN);
  // ".." and inner.txt
  ASSERT_TRUE(CaptionStartsWith(data_ + "\\sub\\*.*  2 file(s).")) << e2e::Caption(frame_);
  Press(VK_BACK);
  ASSERT_TRUE(CaptionStartsWith(data_ + "\\*.*  5 file(s).")) << e2e::Caption(frame_);
  // The cursor is on the folder just left ("aaa" and ".." come before it): Enter goes back in.
  Press(VK_RETURN);
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\sub\\*.*")) << e2e::Caption(frame_);
  e2e::SaveScreenshot("open_folder");
  // The path is the table's own: it is saved with the window.
  ::PostMessageA(frame_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(e2e::WaitFor([] { return e2e::ProgramWindows().empty(); }));
  EXPECT_EQ(box_.Read("INST1", "Path"), data_ + "\\sub");
}

// A file and the line its program receives: the full path, in double quotes when the name holds
// a blank (bare, the program would read two names).
struct AssociatedCase {
  const char* file;
  bool quoted;
};

class OpenAssociatedTest : public OpenTest, public testing::WithParamInterface<AssociatedCase> {};

TEST_P(OpenAssociatedTest, EnterStartsTheProgramWithTheFullPath) {
  const AssociatedCase c = GetParam();
  const std::string file = data_ + "\\" + c.file;
  Touch(file);
  // The program of the association: a batch file that writes its arguments next to the files.
  const std::string args = data_ + "\\args.txt";
  const std::string record = box_.Dir() + "record.bat";
  Touch(record, "@echo %*> \"" + args + "\"\r\n");
  box_.Write("ExecLink", c.file, record.c_str());
  Start(c.file);
  Press(VK_RETURN);
  const bool started =
      e2e::WaitFor([&] { return ReadAll(args).find("\r\n") != std::string::npos; });
  ::DeleteFileA(file.c_str());
  ASSERT_TRUE(started) << "the program was not started";
  EXPECT_EQ(ArgumentsOf(ReadAll(args)), c.quoted ? "\"" + file + "\"" : file);
  // The pane kept its directory and the file is not left selected.
  EXPECT_TRUE(CaptionStartsWith(data_ + "\\*.*  ")) << e2e::Caption(frame_);
  EXPECT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(frame_).rfind("Selected 0 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(frame_);
}

INSTANTIATE_TEST_SUITE_P(Files, OpenAssociatedTest,
                         testing::Values(AssociatedCase{"target.txt", false},
                                         AssociatedCase{"two words.txt", true}));

// The run dialog with the two files of "sub" selected: a line beginning with "#" runs as it
// stands, any other has its program looked up among the associations; both get the selected
// files at the end.
struct RunCase {
  const char* name;
  bool direct;             // the answer is "#" and the program
  const char* arguments;   // before the selected files
};

class RunDialogTest : public OpenTest, public testing::WithParamInterface<RunCase> {};

TEST_P(RunDialogTest, AnswerRunsWithTheSelectedFiles) {
  const RunCase c = GetParam();
  const std::string args = data_ + "\\args.txt";
  const std::string record = box_.Dir() + "record.bat";
  Touch(record, "@echo %*> \"" + args + "\"\r\n");
  box_.Write("ExecLink", "target.txt", record.c_str());
  const std::string sub = data_ + "\\sub";
  Touch(sub + "\\more.txt");
  Start("inner.txt", sub);
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all
  ASSERT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(frame_).rfind("Selected 2 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(frame_);
  ::PostMessageA(frame_, WM_COMMAND, 148, 0);
  HWND dlg = e2e::FindDialog("キー入力しプログラムを実行");
  ASSERT_NE(dlg, nullptr);
  const std::string answer = c.direct ? "#  " + record : std::string("target.txt");
  ::SetDlgItemTextA(dlg, 31051, answer.c_str());
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadAll(args).find("\r\n") != std::string::npos; }))
      << "the program was not started";
  EXPECT_EQ(ArgumentsOf(ReadAll(args)), c.arguments + sub + "\\inner.txt " + sub + "\\more.txt");
  EXPECT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(frame_).rfind("Selected 0 file(s)", 0) == 0;
  }, 5000)) << "the selection is cleared after the start: " << e2e::StatusText(frame_);
}

INSTANTIATE_TEST_SUITE_P(Answers, RunDialogTest,
                         testing::Values(RunCase{"Direct", true, ""},
                                         RunCase{"ByAssociation", false, "target.txt "}),
                         [](const testing::TestParamInfo<RunCase>& i) { return i.param.name; });

}  // namespace
