#include <windows.h>

#include <shellapi.h>

#include "os/help_viewer.h"
#include "os/win32/late_library.h"

namespace os {
namespace {

class Win32HelpViewer final : public HelpViewer {
 public:
  bool WinHelp(uintptr_t owner, const char* file, uint32_t command, uintptr_t data) override {
    return ::WinHelpA(reinterpret_cast<HWND>(owner), file, command, data) != FALSE;
  }
  bool ShellOpen(uintptr_t owner, const char* target) override {
    using Fn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const Fn fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(late::Proc("shell32.dll", "ShellExecuteA")));
    if (!fn) return false;
    const HINSTANCE r =
        fn(reinterpret_cast<HWND>(owner), "open", target, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
  }
};

}  // namespace

HelpViewer& BackendHelpViewer() {
  static Win32HelpViewer viewer;
  return viewer;
}

}  // namespace os
