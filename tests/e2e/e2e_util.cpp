#include "tests/e2e/e2e_util.h"
#include "frame/gdi_objects_win.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

namespace e2e {

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs) {
  DWORD start = ::GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (::GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(50);
  }
}

std::vector<HWND> ProgramWindows() {
  std::vector<HWND> out;
  for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    char cls[32] = {};
    ::GetClassNameA(h, cls, sizeof(cls));
    if (std::strcmp(cls, "Sorumo32") == 0 && ::IsWindowVisible(h)) out.push_back(h);
  }
  return out;
}

WindowRect NormalRect(HWND hwnd) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof(wp);
  ::GetWindowPlacement(hwnd, &wp);
  const RECT& r = wp.rcNormalPosition;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HWND WindowAt(int left, int top) {
  for (HWND h : ProgramWindows()) {
    WindowRect r = NormalRect(h);
    if (r.left == left && r.top == top) return h;
  }
  return nullptr;
}

namespace {
struct ChildSearch {
  const char* cls;
  int count;
  HWND first;
};
BOOL CALLBACK CountChildren(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<ChildSearch*>(lp);
  char cls[64] = {};
  ::GetClassNameA(h, cls, sizeof(cls));
  if (std::strcmp(cls, s->cls) == 0) {
    if (!s->first) s->first = h;
    ++s->count;
  }
  return TRUE;
}
}  // namespace

int PaneCount(HWND frame) {
  ChildSearch s{"Sorumo32", 0, nullptr};
  ::EnumChildWindows(frame, CountChildren, reinterpret_cast<LPARAM>(&s));
  return s.count;
}

HWND ToolBarOf(HWND frame) {
  ChildSearch s{"ToolbarWindow32", 0, nullptr};
  ::EnumChildWindows(frame, CountChildren, reinterpret_cast<LPARAM>(&s));
  return s.first;
}

HWND FindDialog(const char* caption, DWORD timeoutMs) {
  HWND d = nullptr;
  WaitFor(
      [&] {
        d = ::FindWindowA("#32770", caption);
        return d && ::IsWindowVisible(d);
      },
      timeoutMs);
  return d && ::IsWindowVisible(d) ? d : nullptr;
}

std::string StatusText(HWND frame) {
  HWND bar = ::FindWindowExA(frame, nullptr, "msctls_statusbar32", nullptr);
  char buf[256] = {};
  if (bar) ::SendMessageA(bar, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf));
  return buf;
}

std::string Caption(HWND hwnd) {
  char buf[2048] = {};
  ::GetWindowTextA(hwnd, buf, sizeof(buf));
  return buf;
}

void Touch(const std::string& path, const std::string& text) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  if (!text.empty()) ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(h);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void SaveScreenshot(const std::string& name) {
  const char* dir = std::getenv("SORM_SHOTS");
  if (!dir || !*dir) return;
  ::CreateDirectoryA(dir, nullptr);
  // Let the windows finish painting what the test just changed; the picture is for people.
  ::Sleep(700);
  int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  frame::gdi::WindowDc screenDc(nullptr);
  HDC screen = screenDc.Get();
  HDC mem = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  DWORD stride = ((w * 3 + 3) & ~3u), size = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + size;
  std::string path = std::string(dir) + "\\" + name + ".bmp";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&fh, sizeof(fh), 1, f);
    std::fwrite(&bi.bmiHeader, sizeof(bi.bmiHeader), 1, f);
    std::fwrite(bits, size, 1, f);
    std::fclose(f);
  }
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
}

void PressKey(WORD vk) {
  INPUT in[2] = {};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = vk;
    in[i].ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
    in[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  ::SendInput(2, in, sizeof(INPUT));
}

Sandbox::Sandbox() {
  const char* exe = std::getenv("SORM_EXE");
  char temp[MAX_PATH];
  if (!exe || !::GetTempPathA(sizeof(temp), temp)) return;
  char name[64];
  static int counter = 0;
  std::snprintf(name, sizeof(name), "sorm_e2e_%lu_%d", ::GetCurrentProcessId(), ++counter);
  std::string dir = std::string(temp) + name;
  ::CreateDirectoryA(dir.c_str(), nullptr);
  dir += "\\";
  if (!::CopyFileA(exe, (dir + "SORM32.EXE").c_str(), FALSE)) return;
  // The default key bindings live beside the program.
  std::string exeDir(exe);
  exeDir = exeDir.substr(0, exeDir.find_last_of('\\') + 1);
  ::CopyFileA((exeDir + "explorer.cfg").c_str(), (dir + "explorer.cfg").c_str(), FALSE);
  // So does the help, read by the system's viewer or the shell.
  for (const char* f : {"sorm32.hlp", "sorm32.htm"})
    ::CopyFileA((exeDir + f).c_str(), (dir + f).c_str(), FALSE);
  dir_ = dir;
}

Sandbox::~Sandbox() {
  CloseAll();
  for (HANDLE h : processes_) ::CloseHandle(h);
  if (dir_.empty()) return;
  for (const char* f :
       {"SORM32.EXE", "sorm.cfg", "smlock", "explorer.cfg", "sorm32.hlp", "sorm32.htm"})
    ::DeleteFileA((dir_ + f).c_str());
  ::RemoveDirectoryA(dir_.substr(0, dir_.size() - 1).c_str());
}

void Sandbox::Write(const char* section, const char* key, const char* value) const {
  ::WritePrivateProfileStringA(section, key, value, Cfg().c_str());
}

std::string Sandbox::Read(const char* section, const char* key) const {
  char buf[1024] = {};
  ::GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof(buf), Cfg().c_str());
  return buf;
}

void Sandbox::SaveOneWindowOn(const std::string& path) const {
  Write("INSTID", "ID", "-1");
  // Without "vmode" the table would take its keys from INST-1.
  Write("INST1", "Placement", "40;30;600;420;-1;-1;-1;-1");
  Write("INST1", "Path", path.c_str());
  Write("INST1", "vmode", "0");
}

void Sandbox::WriteKeyBindings(std::initializer_list<const char*> bindings) const {
  const std::string keys = dir_ + "explorer.cfg";
  ::DeleteFileA(keys.c_str());
  int n = 0;
  for (const char* b : bindings)
    ::WritePrivateProfileStringA("Keybind", std::to_string(n++).c_str(), b, keys.c_str());
}

bool Sandbox::LockFree() const {
  HANDLE h = ::CreateFileA((dir_ + "smlock").c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ::GetLastError() != ERROR_SHARING_VIOLATION;
  ::CloseHandle(h);
  return true;
}

bool Sandbox::WaitSaved(const std::function<bool()>& written, DWORD timeoutMs) const {
  return WaitFor([&] { return written() && LockFree(); }, timeoutMs);
}

HANDLE Sandbox::Start(const std::string& args) {
  std::string line = "\"" + Exe() + "\"" + (args.empty() ? "" : " " + args);
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  if (!::CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(),
                        &si, &pi))
    return nullptr;
  ::CloseHandle(pi.hThread);
  processes_.push_back(pi.hProcess);
  return pi.hProcess;
}

bool Sandbox::WaitExit(HANDLE process, DWORD timeoutMs) {
  return WaitFor([process] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; },
                 timeoutMs);
}

void Sandbox::CloseAll() {
  // A launcher may still be starting windows: every window that shows is closed (once) until
  // the processes started here have ended and no window is left, so that none outlives the test.
  std::set<HWND> closed;
  auto startedEnded = [&] {
    for (HANDLE h : processes_)
      if (::WaitForSingleObject(h, 0) != WAIT_OBJECT_0) return false;
    return true;
  };
  WaitFor([&] {
    for (HWND h : ProgramWindows())
      if (closed.insert(h).second) ::PostMessageA(h, WM_CLOSE, 0, 0);
    return ProgramWindows().empty() && startedEnded();
  }, 30000);
  for (HANDLE h : processes_) {
    if (::WaitForSingleObject(h, 10000) != WAIT_OBJECT_0) ::TerminateProcess(h, 1);
  }
}

// Removes a directory tree (attributes cleared first). Wide calls, so that names the code page
// cannot hold go too.
void RemoveTreeWide(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = dir + L"\\" + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTreeWide(path);
      else
        ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(h, &fd));
    ::FindClose(h);
  }
  ::RemoveDirectoryW(dir.c_str());
}

void RemoveTree(const std::string& dir) {
  const int n = ::MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, nullptr, 0);
  std::wstring wide(n > 0 ? n : 1, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, wide.data(), n);
  wide.resize(n > 0 ? n - 1 : 0);
  RemoveTreeWide(wide);
}

void MouseTo(POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((p.x * 65535 + ::GetSystemMetrics(SM_CXSCREEN) / 2) /
                               (::GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>((p.y * 65535 + ::GetSystemMetrics(SM_CYSCREEN) / 2) /
                               (::GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &in, sizeof(INPUT));
}

namespace {

// Each window of class "MS_WINHELP" of another process than this one's and exceptPid's, until
// take returns true.
void ForEachViewerWindow(DWORD exceptPid, const std::function<bool(HWND, DWORD)>& take) {
  for (HWND w = ::FindWindowExA(nullptr, nullptr, "MS_WINHELP", nullptr); w;
       w = ::FindWindowExA(nullptr, w, "MS_WINHELP", nullptr)) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != exceptPid && pid != ::GetCurrentProcessId() && take(w, pid)) return;
  }
}

BOOL CALLBACK CollectText(HWND child, LPARAM lp) {
  char buf[8192] = {};
  DWORD_PTR n = 0;
  if (::SendMessageTimeoutA(child, WM_GETTEXT, sizeof(buf), reinterpret_cast<LPARAM>(buf),
                            SMTO_ABORTIFHUNG, 2000, &n) && n > 0)
    reinterpret_cast<std::string*>(lp)->append(buf, n).append("\n");
  return TRUE;
}

}  // namespace

HWND HelpViewerWindow(DWORD exceptPid) {
  HWND found = nullptr;
  ForEachViewerWindow(exceptPid, [&](HWND w, DWORD) {
    if (::IsWindowVisible(w)) found = w;
    return false;
  });
  return found;
}

DWORD HelpViewerProcess(DWORD exceptPid) {
  DWORD found = 0;
  ForEachViewerWindow(exceptPid, [&](HWND, DWORD pid) {
    found = pid;
    return true;
  });
  return found;
}

void CloseHelpViewer(DWORD exceptPid) {
  for (int round = 0; round < 3; ++round) {
    const DWORD viewer = HelpViewerProcess(exceptPid);
    if (!viewer) return;
    HANDLE h = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, viewer);
    if (HWND v = HelpViewerWindow(exceptPid)) ::PostMessageA(v, WM_CLOSE, 0, 0);
    if (h && ::WaitForSingleObject(h, 10000) != WAIT_OBJECT_0) {
      ::TerminateProcess(h, 1);
      ::WaitForSingleObject(h, 10000);
    }
    if (h) ::CloseHandle(h);
  }
}

std::string ChildTexts(HWND window) {
  std::string text;
  ::EnumChildWindows(window, &CollectText, reinterpret_cast<LPARAM>(&text));
  return text;
}

}  // namespace e2e
