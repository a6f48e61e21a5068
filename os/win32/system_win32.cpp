#include <windows.h>

#include <shellapi.h>

#include "os/win32/late_library.h"
#include "os/win32/win32_backend.h"

namespace os::win32 {
namespace {

class Win32SystemImpl final : public System {
 public:
  bool GetUserName(char* buf, uint32_t* size) override {
    DWORD n = *size;
    BOOL ok = ::GetUserNameA(buf, &n);
    *size = n;
    return ok != FALSE;
  }
  uint32_t WindowsMajorVersion() override {
    OSVERSIONINFOA vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);  // 148 bytes
    if (!::GetVersionExA(&vi)) return 4;
    return vi.dwMajorVersion;
  }
  uint32_t TickCount() override { return ::GetTickCount(); }
  void Sleep(uint32_t ms) override { ::Sleep(ms); }
  bool PeekPending() override {
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
  }
  uint32_t WinExec(const char* commandLine, int show) override {
    return ::WinExec(commandLine, static_cast<UINT>(show));
  }
  int32_t TimeZoneBiasMinutes() override {
    TIME_ZONE_INFORMATION tz;
    DWORD r = ::GetTimeZoneInformation(&tz);
    LONG bias = tz.Bias;
    if (r == TIME_ZONE_ID_DAYLIGHT) bias += tz.DaylightBias;
    else if (r == TIME_ZONE_ID_STANDARD) bias += tz.StandardBias;
    return bias;
  }
  int CompareNoCase(const char* a, const char* b) override { return ::lstrcmpiA(a, b); }
  std::string ProgramSearchPath() override {
    std::string out;
    char dir[MAX_PATH];
    // A folder that does not fit is left out, never used cut.
    UINT n = ::GetSystemDirectoryA(dir, sizeof(dir));
    if (n > 0 && n < sizeof(dir)) out.append(dir, n);
    n = ::GetWindowsDirectoryA(dir, sizeof(dir));
    if (n > 0 && n < sizeof(dir)) out.append(";").append(dir, n);
    const DWORD need = ::GetEnvironmentVariableA("PATH", nullptr, 0);
    if (need > 1 && need < 32768) {
      std::string path(need, '\0');
      const DWORD got = ::GetEnvironmentVariableA("PATH", path.data(), need);
      if (got > 0 && got < need) out.append(";").append(path.data(), got);
    }
    return out;
  }
  uint32_t ExecutableType(const char* path) override {
    using Fn = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
    static const Fn fn = reinterpret_cast<Fn>(late::Proc("shell32.dll", "SHGetFileInfoA"));
    SHFILEINFOA info{};
    return fn ? static_cast<uint32_t>(fn(path, 0, &info, sizeof(info), SHGFI_EXETYPE)) : 0;
  }
  std::string SortKey(const char* text) override {
    // One call for the usual key that fits a stack buffer; a second, sized call otherwise.
    char small[512];
    int n = ::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, small,
                           sizeof(small));
    std::string key;
    if (n > 0) {
      key.assign(small, static_cast<size_t>(n));
    } else {
      n = ::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1, nullptr,
                         0);
      if (n <= 0) return std::string();
      key.assign(static_cast<size_t>(n), '\0');
      n = ::LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, -1,
                         key.data(), n);
      key.resize(n > 0 ? static_cast<size_t>(n) : 0);
    }
    // The key ends in its own terminator; drop it so keys compare as plain byte strings.
    while (!key.empty() && key.back() == '\0') key.pop_back();
    return key;
  }
};

}  // namespace

System& Win32System() {
  static Win32SystemImpl s;
  return s;
}

}  // namespace os::win32
