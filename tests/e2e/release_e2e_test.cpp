// The release as a user gets it: the archive unpacked into a fresh folder (SORM_RELEASE_DIR,
// made by scripts/test-release.sh), SORM32.EXE started from there for the first time. The
// window comes up with the shipped toolbar and defaults, the about box shows the archive's
// version (SORM_RELEASE_VERSION) and the shipped help opens at its contents.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/e2e_util.h"

namespace {

constexpr int kHelpContents = 2001, kAbout = 2009;
constexpr int kAboutVersionItem = 22001;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string Profile(const std::string& file, const char* section, const char* key) {
  char buf[2048] = {};
  ::GetPrivateProfileStringA(section, key, "", buf, sizeof(buf), file.c_str());
  return buf;
}

// A section's "key=value" lines as the profile functions read them.
std::vector<std::string> Section(const std::string& file, const char* section) {
  std::vector<char> buf(32768);
  const DWORD n = ::GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()),
                                              file.c_str());
  std::vector<std::string> lines;
  for (DWORD at = 0; at < n && buf[at];) {
    lines.emplace_back(&buf[at]);
    at += static_cast<DWORD>(lines.back().size()) + 1;
  }
  return lines;
}

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ItemText(HWND dlg, int id) {
  char buf[512] = {};
  ::GetDlgItemTextA(dlg, id, buf, sizeof(buf));
  return buf;
}

// The process handle of a started program, closed with it.
class Process {
 public:
  Process() = default;
  ~Process() {
    if (h_) ::CloseHandle(h_);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Start(const std::string& exe, const std::string& currentDir) {
    std::string line = "\"" + exe + "\"";
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.c_str(), &si, &pi))
      return false;
    ::CloseHandle(pi.hThread);
    h_ = pi.hProcess;
    id_ = pi.dwProcessId;
    return true;
  }
  bool Open(DWORD id) {
    h_ = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
    id_ = id;
    return h_ != nullptr;
  }
  // The path of the program the process runs (its first module); empty when unknown.
  std::string Image() const {
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id_);
    if (snap == INVALID_HANDLE_VALUE) return "";
    MODULEENTRY32 m{};
    m.dwSize = sizeof(m);
    std::string path = ::Module32First(snap, &m) ? m.szExePath : "";
    ::CloseHandle(snap);
    return path;
  }
  DWORD Id() const { return id_; }
  bool Ended(DWORD timeoutMs) const {
    return !h_ || ::WaitForSingleObject(h_, timeoutMs) == WAIT_OBJECT_0;
  }
  void Terminate() const {
    if (h_) ::TerminateProcess(h_, 1);
  }

 private:
  HANDLE h_ = nullptr;
  DWORD id_ = 0;
};

// Buttons of the shipped toolbar whose command ids the test knows.
struct KnownButton {
  const char* keyword;
  int command;
};
constexpr KnownButton kKnownButtons[] = {
    {"FCOPY", 184}, {"FMOVE", 182}, {"FDELETE", 180}, {"VICON", 114}, {"HCONTENTS", kHelpContents},
};

TEST(ReleaseTest, TheUnpackedArchiveStartsWithTheShippedToolbarDefaultsVersionAndHelp) {
  std::string dir = Env("SORM_RELEASE_DIR");
  const std::string version = Env("SORM_RELEASE_VERSION");
  ASSERT_FALSE(dir.empty() || version.empty())
      << "SORM_RELEASE_DIR and SORM_RELEASE_VERSION are set by scripts/test-release.sh";
  if (dir.back() != '\\') dir += '\\';
  ASSERT_TRUE(e2e::ProgramWindows().empty());
  const std::string exe = dir + "SORM32.EXE", shipped = dir + "sormdef.cfg",
                    cfg = dir + "sorm.cfg";
  ASSERT_TRUE(Exists(exe)) << exe;
  ASSERT_FALSE(Exists(cfg)) << "a fresh folder has no configuration yet";
  const std::vector<std::string> toolbar = Words(Profile(shipped, "BarSettings", "ToolBar"));
  ASSERT_FALSE(toolbar.empty()) << "the shipped defaults name the toolbar's buttons";

  // Started from another folder than its own, as a shortcut or the shell may start it.
  char temp[MAX_PATH] = {};
  ASSERT_NE(::GetTempPathA(sizeof(temp), temp), 0u);
  Process program;
  ASSERT_TRUE(program.Start(exe, temp)) << ::GetLastError();

  HWND frame = nullptr;
  EXPECT_TRUE(e2e::WaitFor([&] {
    const std::vector<HWND> windows = e2e::ProgramWindows();
    frame = windows.empty() ? nullptr : windows.front();
    return frame && e2e::ToolBarOf(frame) &&
           e2e::StatusText(frame).rfind("Selected", 0) == 0;
  }, 60000));
  // The first start hands over to a process of its own for the window (a launcher): the
  // window's process runs the unpacked program.
  DWORD windowPid = 0;
  Process window;
  if (frame) {
    ::GetWindowThreadProcessId(frame, &windowPid);
    EXPECT_TRUE(window.Open(windowPid));
    EXPECT_EQ(Lower(window.Image()), Lower(exe));
    e2e::SaveScreenshot("release_first_start");
  }
  HWND bar = frame ? e2e::ToolBarOf(frame) : nullptr;
  if (bar) {
    // One button (or gap) a keyword, in the shipped order.
    EXPECT_EQ(::SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(toolbar.size()));
    for (const KnownButton& b : kKnownButtons) {
      LRESULT at = -1;
      for (size_t i = 0; i < toolbar.size(); ++i)
        if (toolbar[i] == b.keyword) at = static_cast<LRESULT>(i);
      SCOPED_TRACE(b.keyword);
      EXPECT_EQ(::SendMessageA(bar, TB_COMMANDTOINDEX, b.command, 0), at);
    }
  }

  // The first start made the configuration from the shipped defaults, beside the program.
  EXPECT_TRUE(Exists(cfg));
  for (const char* section : {"Mask", "Run"}) {
    SCOPED_TRACE(section);
    const std::vector<std::string> defaults = Section(shipped, section);
    EXPECT_FALSE(defaults.empty());
    EXPECT_EQ(Section(cfg, section), defaults);
  }
  EXPECT_FALSE(Exists(std::string(temp) + "sorm.cfg")) << "nothing written where it started";

  if (frame) {
    ::PostMessageA(frame, WM_COMMAND, kAbout, 0);
    HWND about = e2e::FindDialog("このプログラムについて");
    EXPECT_NE(about, nullptr);
    if (about) {
      EXPECT_EQ(ItemText(about, kAboutVersionItem), "Version " + version);
      ::PostMessageA(about, WM_COMMAND, IDOK, 0);
      EXPECT_TRUE(e2e::WaitFor([&] { return !::IsWindow(about); }, 10000));
    }

    // The shipped help: its contents topic in the system's viewer.
    ::PostMessageA(frame, WM_COMMAND, kHelpContents, 0);
    std::string shown;
    EXPECT_TRUE(e2e::WaitFor([&] {
      HWND v = e2e::HelpViewerWindow(windowPid);
      shown = v ? e2e::ChildTexts(v) : std::string();
      return shown.find("ソルモ32 ヘルプの目次") != std::string::npos;
    }, 90000)) << shown;
    e2e::SaveScreenshot("release_help_contents");
  }

  e2e::CloseHelpViewer(windowPid);
  for (HWND w : e2e::ProgramWindows()) ::PostMessageA(w, WM_CLOSE, 0, 0);
  for (const Process* p : {&window, &program}) {
    if (!p->Ended(30000)) {
      ADD_FAILURE() << "process " << p->Id() << " did not end when the window was closed";
      p->Terminate();
      p->Ended(10000);
    }
  }
}

}  // namespace
