// Opening entries with real keys: Enter enters a folder, Backspace goes back up with the cursor
// on the folder just left, Enter on a file starts the program associated with it, handing it
// the file's full path.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "os/services.h"
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


// The pixels of a rectangle of a window's client area as they are on the screen (read from the
// screen: Wine gives a window's own device context nothing of what was drawn).
std::vector<uint32_t> ClientPixels(HWND window, RECT r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(w) * h);
  POINT origin{r.left, r.top};
  ::ClientToScreen(window, &origin);
  HDC dc = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(dc);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, dc, origin.x, origin.y, SRCCOPY);
    ::GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
  }
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, dc);
  return pixels;
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
  // Selects every entry (the status bar then counts selected files) and gives the run dialog
  // answer.
  void SelectAllAndRun(const char* selected, const std::string& answer) {
    ::PostMessageA(frame_, WM_COMMAND, 154, 0);
    const std::string counted = std::string("Selected ") + selected + " file(s)";
    ASSERT_TRUE(e2e::WaitFor([&] {
      return e2e::StatusText(frame_).rfind(counted, 0) == 0;
    }, 5000)) << e2e::StatusText(frame_);
    ::PostMessageA(frame_, WM_COMMAND, 148, 0);
    HWND dlg = e2e::FindDialog("キー入力しプログラムを実行");
    ASSERT_NE(dlg, nullptr);
    ::SetDlgItemTextA(dlg, 31051, answer.c_str());
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
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
  e2e::PressKey(VK_RETURN);
  // ".." and inner.txt
  ASSERT_TRUE(CaptionStartsWith(data_ + "\\sub\\*.*  2 file(s).")) << e2e::Caption(frame_);
  e2e::PressKey(VK_BACK);
  ASSERT_TRUE(CaptionStartsWith(data_ + "\\*.*  5 file(s).")) << e2e::Caption(frame_);
  // The cursor is on the folder just left ("aaa" and ".." come before it): Enter goes back in.
  e2e::PressKey(VK_RETURN);
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
  e2e::PressKey(VK_RETURN);
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
  const std::string answer = c.direct ? "#  " + record : std::string("target.txt");
  ASSERT_NO_FATAL_FAILURE(SelectAllAndRun("2", answer));
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

// Documents associated by their extension through the registry's file types, opened by Enter
// or by a real double-click: the program of the file type starts with the file, in the
// document's folder. The program is a fixture that records its current directory and command
// line in record_start.log beside itself.
class OpenDocumentTest : public OpenTest {
 protected:
  void SetUp() override {
    OpenTest::SetUp();
    const char* exe = std::getenv("SORM_EXE");
    ASSERT_NE(exe, nullptr);
    std::string from(exe);
    from = from.substr(0, from.find_last_of('\\') + 1) + "record_start.exe";
    program_ = box_.Dir() + "record_start.exe";
    ASSERT_TRUE(::CopyFileA(from.c_str(), program_.c_str(), FALSE)) << from;
    log_ = box_.Dir() + "record_start.log";
    ::DeleteFileA(log_.c_str());
    char ext[32];
    std::snprintf(ext, sizeof(ext), ".sd%lu", ::GetTickCount() % 1000000ul);
    ext_ = ext;
    type_ = "SormTestDoc" + ext_.substr(1);
    SetClass(ext_, type_);
    SetClass(type_, "test document");
    SetClass(type_ + "\\shell\\open\\command", "\"" + program_ + "\" \"%1\"");
    docs_ = data_ + "\\docs";
    ::CreateDirectoryA(docs_.c_str(), nullptr);
  }
  void TearDown() override {
    OpenTest::TearDown();
    for (const std::string& f : made_) ::DeleteFileA(f.c_str());
    ::RemoveDirectoryA(docs_.c_str());
    ::RemoveDirectoryA(data_.c_str());
    ::DeleteFileA(program_.c_str());
    ::DeleteFileA(log_.c_str());
    for (const std::string& k : {type_ + "\\shell\\open\\command", type_ + "\\shell\\open",
                                 type_ + "\\shell", type_, ext_})
      ::RegDeleteKeyA(HKEY_CLASSES_ROOT, k.c_str());
  }
  static void SetClass(const std::string& key, const std::string& value) {
    ASSERT_EQ(::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(),
                             static_cast<DWORD>(value.size())),
              ERROR_SUCCESS)
        << key;
  }
  std::string Document(const char* stem) {
    const std::string f = docs_ + "\\" + stem + ext_;
    Touch(f);
    made_.push_back(f);
    return f;
  }
  // The lines the fixture wrote: current directory, tab, command line.
  std::vector<std::string> Starts() {
    std::vector<std::string> lines;
    std::istringstream in(ReadAll(log_));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }
  bool WaitStarts(std::size_t n) {
    return e2e::WaitFor([&] { return Starts().size() >= n; }, 15000);
  }
  // A real double-click at a point of the pane (client coordinates), given again while the
  // desktop loses it (a press before the pointer has arrived) until the program started.
  bool DoubleClickPaneStarts(POINT p) {
    HWND client = ::FindWindowExA(frame_, nullptr, "SormClient", nullptr);
    HWND pane = client ? ::FindWindowExA(client, nullptr, "Sorumo32", nullptr) : nullptr;
    if (!pane) return false;
    ::ClientToScreen(pane, &p);
    ::SetCursorPos(p.x, p.y);
    e2e::WaitFor([&] { return ::WindowFromPoint(p) == pane; }, 5000);
    INPUT in[4] = {};
    for (int i = 0; i < 4; ++i) {
      in[i].type = INPUT_MOUSE;
      in[i].mi.dwFlags = (i % 2) ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
      ::SendInput(4, in, sizeof(INPUT));
      if (e2e::WaitFor([&] { return !Starts().empty(); }, 6000)) return true;
    }
    return false;
  }

  // Types the document's name into the run dialog: the program of its type starts with it.
  void RunDialogOpens(const char* stem) {
    Document(stem);
    const std::string name = stem + ext_;
    Start(name.c_str(), docs_);
    ::PostMessageA(frame_, WM_COMMAND, 148, 0);
    HWND dlg = e2e::FindDialog("キー入力しプログラムを実行");
    ASSERT_NE(dlg, nullptr);
    ::SetDlgItemTextA(dlg, 31051, name.c_str());
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitStarts(1)) << "the program of the file type was not started";
    const std::vector<std::string> starts = Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].substr(0, starts[0].find('\t')), docs_);
    EXPECT_NE(starts[0].find(name), std::string::npos) << starts[0];
  }

  std::string program_, log_, ext_, type_, docs_;
  std::vector<std::string> made_;
};

TEST_F(OpenDocumentTest, EnterStartsTheProgramOfTheFileTypeWithTheFile) {
  const std::string doc = Document("letter");
  Start(("letter" + ext_).c_str(), docs_);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitStarts(1)) << "the program of the file type was not started";
  const std::vector<std::string> starts = Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].substr(0, starts[0].find('\t')), docs_);
  EXPECT_NE(starts[0].find("\"" + doc + "\""), std::string::npos) << starts[0];
}

TEST_F(OpenDocumentTest, ADoubleClickStartsTheProgramOfTheFileType) {
  const std::string doc = Document("letter");
  Start("..", docs_);
  // Icon view, spacing 90: ".." in the first cell, the document's icon in the second.
  const bool started = DoubleClickPaneStarts({135, 20});
  e2e::SaveScreenshot("open_document_double_click");
  ASSERT_TRUE(started) << "the program of the file type was not started";
  const std::vector<std::string> starts = Starts();
  EXPECT_EQ(starts[0].substr(0, starts[0].find('\t')), docs_);
  EXPECT_NE(starts[0].find("\"" + doc + "\""), std::string::npos) << starts[0];
}

TEST_F(OpenDocumentTest, EnterOnThreeSelectedDocumentsStartsThreePrograms) {
  const std::string docs[] = {Document("a"), Document("b"), Document("c")};
  Start(("a" + ext_).c_str(), docs_);
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all (".." is never selected)
  ASSERT_TRUE(e2e::WaitFor([&] {
    return e2e::StatusText(frame_).rfind("Selected 3 file(s)", 0) == 0;
  }, 5000)) << e2e::StatusText(frame_);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitStarts(3)) << Starts().size() << " program(s) started";
  const std::vector<std::string> starts = Starts();
  ASSERT_EQ(starts.size(), 3u);
  for (const std::string& doc : docs) {
    int found = 0;
    for (const std::string& s : starts) found += s.find("\"" + doc + "\"") != std::string::npos;
    EXPECT_EQ(found, 1) << doc;  // each file its own start
  }
}

// A run-menu item beginning with "#" that names a document: the document cannot be started
// itself, so the shell opens it with the program of its file type, in the table's folder.
TEST_F(OpenDocumentTest, AHashRunMenuItemOpensItsDocumentThroughTheShell) {
  const std::string doc = Document("manual");
  box_.Write("Run", "manual", ("#" + doc).c_str());
  Start("", docs_);
  ::PostMessageA(frame_, WM_COMMAND, 400, 0);  // the first run-menu item
  ASSERT_TRUE(WaitStarts(1)) << "the document was not opened";
  const std::vector<std::string> starts = Starts();
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].substr(0, starts[0].find('\t')), docs_);
  EXPECT_NE(starts[0].find(doc), std::string::npos) << starts[0];
}

// A run item naming its program without a path starts the one on the search path, never a
// program of that name in the listed folder (a downloaded folder may hold one), and still in
// the listed folder.
TEST_F(OpenDocumentTest, ABareProgramNameNeverStartsAProgramOfTheListedFolder) {
  const std::string planted = docs_ + "\\sormtool.exe", bin = box_.Dir() + "bin";
  const std::string trusted = bin + "\\sormtool.exe";
  ASSERT_TRUE(::CreateDirectoryA(bin.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(::CopyFileA(program_.c_str(), planted.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileA(program_.c_str(), trusted.c_str(), FALSE));
  made_.push_back(planted);
  made_.push_back(docs_ + "\\sormtool.log");
  const std::string readme = Document("readme");
  box_.Write("Run", "tool", "sormtool.exe");
  // The program's environment: the trusted folder first on PATH.
  char old[32768] = {};
  const DWORD n = ::GetEnvironmentVariableA("PATH", old, sizeof(old));
  ASSERT_LT(n, sizeof(old));
  ASSERT_TRUE(::SetEnvironmentVariableA("PATH", (bin + ";" + old).c_str()));
  Start(("readme" + ext_).c_str(), docs_);
  ::SetEnvironmentVariableA("PATH", old);
  ::PostMessageA(frame_, WM_COMMAND, 154, 0);  // select all: the run item gets the files
  ::PostMessageA(frame_, WM_COMMAND, 400, 0);  // the first run-menu item
  const std::string trustedLog = bin + "\\sormtool.log";
  EXPECT_TRUE(e2e::WaitFor([&] { return !ReadAll(trustedLog).empty(); }, 15000))
      << "the program on the search path did not start";
  const std::string started = ReadAll(trustedLog);
  EXPECT_EQ(started.substr(0, started.find('\t')), docs_) << started;
  EXPECT_NE(started.find(readme), std::string::npos) << started;
  EXPECT_EQ(ReadAll(docs_ + "\\sormtool.log"), "") << "the planted program started";
  ::DeleteFileA(trustedLog.c_str());
  ::DeleteFileA(trusted.c_str());
  ::RemoveDirectoryA(bin.c_str());
}

// A batch file as the program of a file type: cmd would run whatever follows a "&" in a name
// as a command of its own, so such a name is refused with a message and nothing starts. The
// same association starts the batch file for an ordinary name.
TEST_F(OpenDocumentTest, ABatchFileNeverGetsANameWithCommandCharacters) {
  const std::string bat = box_.Dir() + "open.bat", args = box_.Dir() + "args.txt";
  {
    std::ofstream out(bat, std::ios::binary);
    out << "@echo %*> \"" << args << "\"\r\n";
  }
  made_.push_back(bat);
  made_.push_back(args);
  // The table's own associations (by full name): the program composes the line and appends
  // the name.
  for (const char* stem : {"plain", "a&b"})
    box_.Write("ExecLink", (stem + ext_).c_str(), ("\"" + bat + "\" %1").c_str());
  const std::string plain = Document("plain");
  Document("a&b");
  Start(("plain" + ext_).c_str(), docs_);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(e2e::WaitFor([&] { return !ReadAll(args).empty(); }, 15000))
      << "the batch file did not start for an ordinary name";
  EXPECT_NE(ReadAll(args).find(plain), std::string::npos) << ReadAll(args);
  ::DeleteFileA(args.c_str());
  box_.CloseAll();

  Start(("a&b" + ext_).c_str(), docs_);
  e2e::PressKey(VK_RETURN);
  HWND box = e2e::FindDialog("ソルモ", 10000);
  char text[512] = {};
  if (box) ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
  ASSERT_NE(box, nullptr) << "the refusal is shown";
  EXPECT_NE(std::string(text).find("a&b"), std::string::npos) << text;
  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(box); }));
  ::Sleep(1500);
  EXPECT_FALSE(e2e::WaitFor([&] { return ::GetFileAttributesA(args.c_str()) != INVALID_FILE_ATTRIBUTES; }, 1000))
      << "the batch file started: " << ReadAll(args);
}

// Answers of the run dialog naming a document of the file type: the program of the type starts
// with the name as typed. A name with blanks is the document, not a program "my" with
// arguments; a "%" in it is the user's text, not a placeholder to blank.
TEST_F(OpenDocumentTest, TheRunDialogOpensTheDocumentTypedWithItsBlanks) {
  RunDialogOpens("my report");
}

TEST_F(OpenDocumentTest, TheRunDialogKeepsAPercentSignTyped) { RunDialogOpens("100%"); }

// The association dialog holds 259 bytes of a command: typing stops near there (two more for
// the quotes of a browsed path; OK refuses what does not fit), and a stored command of 260
// bytes, shown cut, is stored whole again when OK leaves it as shown.
TEST_F(OpenDocumentTest, TheAssociationDialogKeepsALongCommandLeftAsShown) {
  const std::string memo = docs_ + "\\memo.txq";
  Touch(memo);
  made_.push_back(memo);
  const std::string command = "viewer.exe " + std::string(249, 'a');
  ASSERT_EQ(command.size(), 260u);
  box_.Write("ExecLink", "memo.txq", command.c_str());
  Start("memo.txq", docs_);
  ::PostMessageA(frame_, WM_COMMAND, 158, 0);
  HWND dlg = e2e::FindDialog("ファイルのプログラムとの関連づけ");
  ASSERT_NE(dlg, nullptr);
  HWND field = ::FindWindowExA(::GetDlgItem(dlg, 31051), nullptr, "Edit", nullptr);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(::SendMessageA(field, EM_GETLIMITTEXT, 0, 0), 261);
  char shown[400] = {};
  ::GetDlgItemTextA(dlg, 31051, shown, sizeof(shown));
  EXPECT_EQ(std::string(shown), command.substr(0, 259));
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(dlg); }));
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(frame_, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &r);
  ASSERT_TRUE(box_.WaitSaved([] { return true; }));
  EXPECT_EQ(box_.Read("ExecLink", "memo.txq"), command);
}

// The association dialog of command 158 (by full name) stores the program for the file, and
// the window reads its lists again at once (the dialog's WM_WININICHANGE): Enter then starts it.
TEST_F(OpenDocumentTest, TheAssociationDialogsProgramStartsTheFileAtOnce) {
  const std::string memo = docs_ + "\\memo.txq";
  Touch(memo);
  made_.push_back(memo);
  Start("memo.txq", docs_);
  ::PostMessageA(frame_, WM_COMMAND, 158, 0);
  HWND dlg = e2e::FindDialog("ファイルのプログラムとの関連づけ");
  ASSERT_NE(dlg, nullptr);
  char prompt[64] = {};
  ::GetDlgItemTextA(dlg, 31052, prompt, sizeof(prompt));
  EXPECT_STREQ(prompt, "memo.txq");  // the key the file is associated under
  const std::string command = program_ + " %1";
  ::SetDlgItemTextA(dlg, 31051, command.c_str());
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return box_.Read("ExecLink", "memo.txq") == command; }, 10000))
      << box_.Read("ExecLink", "memo.txq");
  ASSERT_TRUE(e2e::WaitFor([&] {
    ::SetForegroundWindow(frame_);
    return ::GetForegroundWindow() == frame_;
  }, 5000));
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitStarts(1)) << "the program just associated was not started";
  const std::vector<std::string> starts = Starts();
  EXPECT_EQ(ArgumentsOf(starts[0].substr(starts[0].find('\t') + 1)), program_ + " " + memo);
}

// A shortcut whose arguments name a document: the association dialog works on the name of the
// shortcut's target, the program, in each of its kinds (never "record_start.exe C:\...\a.txt",
// whose last extension is the document's), and stores the program for that name.
TEST_F(OpenDocumentTest, AShortcutIsAssociatedByItsTargetsNameNotItsArguments) {
  const std::string lnk = docs_ + "\\tool.lnk", doc = Document("a");
  os::ShellLinkFields fields;
  fields.target = program_;
  fields.arguments = doc;
  ASSERT_TRUE(os::Links().Write(lnk.c_str(), fields));
  made_.push_back(lnk);
  Start("tool.lnk", docs_);
  struct Case {
    int command;
    const char* key;  // the dialog's prompt
  } cases[] = {{160, ".exe"}, {150, "record_start"}, {158, "record_start.exe"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    ::PostMessageA(frame_, WM_COMMAND, c.command, 0);
    HWND dlg = e2e::FindDialog("ファイルのプログラムとの関連づけ");
    ASSERT_NE(dlg, nullptr);
    char prompt[300] = {};
    ::GetDlgItemTextA(dlg, 31052, prompt, sizeof(prompt));
    EXPECT_STREQ(prompt, c.key);
    if (c.command != 158) {
      ::PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
      ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(dlg); }));
      continue;
    }
    e2e::SaveScreenshot("association_dialog_shortcut");
    const std::string command = program_ + " %1";
    ::SetDlgItemTextA(dlg, 31051, command.c_str());
    ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(e2e::WaitFor([&] { return !::IsWindow(dlg); }));
  }
  ASSERT_TRUE(box_.WaitSaved(
      [&] { return box_.Read("ExecLink", "record_start.exe") != "<missing>"; }));
  EXPECT_EQ(box_.Read("ExecLink", "record_start.exe"), program_ + " %1");
  EXPECT_EQ(box_.Read("ExecLink", ("a" + ext_).c_str()), "<missing>");
}

// A selected shortcut on a composed line is the file it leads to: its arguments are its own
// program's, not names for the line (glued to the path in one pair of quotes they would make one
// name that does not exist).
TEST_F(OpenDocumentTest, ASelectedShortcutGivesTheLineItsTargetPath) {
  const std::string target = data_ + "\\target.txt", lnk = docs_ + "\\to target.lnk";
  os::ShellLinkFields fields;
  fields.target = target;
  fields.arguments = "-y";
  ASSERT_TRUE(os::Links().Write(lnk.c_str(), fields));
  made_.push_back(lnk);
  const std::string args = box_.Dir() + "args.txt", bat = box_.Dir() + "record.bat";
  Touch(bat, "@echo %*> \"" + args + "\"\r\n");
  made_.push_back(args);
  Start("to target.lnk", docs_);
  ASSERT_NO_FATAL_FAILURE(SelectAllAndRun("1", "#" + bat));  // the shortcut alone
  ASSERT_TRUE(e2e::WaitFor([&] { return ReadAll(args).find("\r\n") != std::string::npos; }))
      << "the program was not started";
  EXPECT_EQ(ArgumentsOf(ReadAll(args)), target);
}

// A link file whose working directory holds the program its association names relatively
// ("bin\record_start.exe"): the program starts there, and its type (a 32-bit program, which
// takes quoted names for a quoted placeholder) is asked of that file, so the link's target
// arrives in quotes.
TEST_F(OpenDocumentTest, AProgramNamedInALinksWorkingDirectoryGetsItsQuotedNames) {
  const std::string work = data_ + "\\work", bin = work + "\\bin";
  for (const std::string& d : {work, bin}) ::CreateDirectoryA(d.c_str(), nullptr);
  const std::string tool = bin + "\\record_start.exe", toolLog = bin + "\\record_start.log";
  ASSERT_TRUE(::CopyFileA(program_.c_str(), tool.c_str(), FALSE));
  const std::string page = data_ + "\\page.xyq", link = docs_ + "\\page.LFI";
  Touch(page);
  Touch(link, "[Link]\r\nLink=" + page + "\r\nCurrent=" + work + "\r\n");
  made_.push_back(link);
  box_.Write("ExecLink", "page.xyq", "bin\\record_start.exe \"%1\"");
  Start("page.LFI", docs_);
  e2e::PressKey(VK_RETURN);
  const bool started = e2e::WaitFor([&] { return !ReadAll(toolLog).empty(); }, 15000);
  const std::string logged = ReadAll(toolLog);
  for (const std::string& f : {toolLog, tool, page}) ::DeleteFileA(f.c_str());
  for (const std::string& d : {bin, work}) ::RemoveDirectoryA(d.c_str());
  ASSERT_TRUE(started) << "the program in the link's working directory did not start";
  EXPECT_EQ(logged.substr(0, logged.find('\t')), work);
  EXPECT_NE(logged.find("\"" + page + "\""), std::string::npos) << logged;
}

// A program whose icon was cached by its name, then associated by its full name with another
// program: it shows that program's icon, as a file associated with it from the start does, not
// the cached icon of its old association. The shell of the test prefix gives every existing file
// one and the same icon, so the new program is one it gives none for (a program of a share that
// is not there): its files show the built-in program icon. (Icon view: ".." in the first cell,
// then a.ref, then tool.exe; the middle of each icon is compared, clear of the cursor's frames.)
TEST_F(OpenDocumentTest, AProgramAssociatedAnewShowsItsNewProgramsIcon) {
  const std::string tool = docs_ + "\\tool.exe", ref = docs_ + "\\a.ref";
  ASSERT_TRUE(::CopyFileA(program_.c_str(), tool.c_str(), FALSE));
  made_.push_back(tool);
  Touch(ref);
  made_.push_back(ref);
  const std::string command = "\"" + box_.Dir() + "gone\\viewer.exe\" %1";
  box_.Write("ExecLink", "a.ref", command.c_str());
  Start("tool.exe", docs_);
  HWND client = ::FindWindowExA(frame_, nullptr, "SormClient", nullptr);
  HWND pane = client ? ::FindWindowExA(client, nullptr, "Sorumo32", nullptr) : nullptr;
  ASSERT_NE(pane, nullptr);
  // Cells of 98 pixels, the first icon's middle at (36, 20).
  auto icon = [&](int cell) {
    const int middle = 36 + 98 * cell;
    return ClientPixels(pane, RECT{middle - 8, 12, middle + 8, 28});
  };
  // The icons loaded: the shell's for tool.exe, the built-in program icon for a.ref (the
  // placeholders differ as well, so the wait is for the loader to be done).
  ::Sleep(3000);
  EXPECT_TRUE(e2e::WaitFor([&] { return icon(1) != icon(2); }, 10000));
  e2e::SaveScreenshot("association_icon_before");
  ::PostMessageA(frame_, WM_COMMAND, 158, 0);
  HWND dlg = e2e::FindDialog("ファイルのプログラムとの関連づけ");
  ASSERT_NE(dlg, nullptr);
  ::SetDlgItemTextA(dlg, 31051, command.c_str());
  ::PostMessageA(dlg, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return box_.Read("ExecLink", "tool.exe") == command; }, 10000));
  // The window reads its lists and its folder again and loads the icons anew.
  DWORD_PTR r = 0;
  ::SendMessageTimeoutA(frame_, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &r);
  ::Sleep(3000);
  const bool same = e2e::WaitFor([&] { return icon(1) == icon(2); }, 10000);
  e2e::SaveScreenshot("association_icon_after");
  EXPECT_TRUE(same) << "tool.exe still shows the icon of its old association";
}

}  // namespace
