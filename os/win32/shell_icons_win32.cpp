#include <windows.h>

#include "os/shell_icons.h"
#include "os/win32/late_library.h"

namespace os {
namespace {

using SHGetFileInfoFn = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
using ExtractIconFn = HICON(WINAPI*)(HINSTANCE, LPCSTR, UINT);

HICON ShellIcon(const std::string& path, UINT sizeFlag) {
  static const auto fn = reinterpret_cast<SHGetFileInfoFn>(late::Proc("shell32.dll", "SHGetFileInfoA"));
  if (!fn) return nullptr;
  SHFILEINFOA info{};
  if (!fn(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | sizeFlag)) return nullptr;
  if (info.hIcon == reinterpret_cast<HICON>(1)) return nullptr;
  return info.hIcon;
}

// The shell reads a shortcut through COM objects, which need COM on the calling thread. It is
// started there the first time a shortcut is asked for (loading it costs much under Wine, and
// most folders hold no shortcut); it stays for the life of the thread.
void ComForShortcut(const std::string& path) {
  static thread_local bool started = false;
  if (started || path.size() < 4) return;
  if (::lstrcmpiA(path.c_str() + path.size() - 4, ".lnk") != 0) return;
  started = SUCCEEDED(late::CoInit());
}

class Win32ShellIcons : public ShellIcons {
 public:
  bool FileIcons(const std::string& path, void** large, void** small) override {
    *large = *small = nullptr;
    ComForShortcut(path);
    HICON l = ShellIcon(path, SHGFI_LARGEICON);
    if (!l) return false;
    *large = l;
    *small = ShellIcon(path, SHGFI_SMALLICON);
    return true;
  }
  void* ExtractIcon(const std::string& path) override {
    static const auto fn = reinterpret_cast<ExtractIconFn>(late::Proc("shell32.dll", "ExtractIconA"));
    if (!fn) return nullptr;
    HICON icon = fn(::GetModuleHandleA(nullptr), path.c_str(), 0);
    return icon == reinterpret_cast<HICON>(1) ? nullptr : icon;
  }
  std::string SearchPath(const std::string& name) override {
    char found[MAX_PATH + 1] = {};
    char* part = nullptr;
    const DWORD n = ::SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, &part);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return std::string(found, n);
  }
};

}  // namespace

ShellIcons& SystemShellIcons() {
  static Win32ShellIcons icons;
  return icons;
}

}  // namespace os
