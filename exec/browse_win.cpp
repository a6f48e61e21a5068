#include "fw/lazy_api.h"
#include "exec/browse_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "exec/input_text.h"
#include "os/path_text.h"
#include "os/services.h"
#include "os/win32/wide_path.h"
#include "exec/shell_com_win.h"

namespace exec {
namespace {

constexpr DWORD kPathBuffer = MAX_PATH;

// The current directory, put back on every path out of the file dialog.
class KeepCurrentDir {
 public:
  KeepCurrentDir() {
    char buf[kPathBuffer] = {};
    uint32_t n = os::Fs().GetCurrentDir(buf, sizeof(buf));
    if (n > 0 && n < sizeof(buf)) saved_.assign(buf, n);
  }
  ~KeepCurrentDir() {
    if (!saved_.empty()) os::Fs().SetCurrentDir(saved_.c_str());
  }
  KeepCurrentDir(const KeepCurrentDir&) = delete;
  KeepCurrentDir& operator=(const KeepCurrentDir&) = delete;

 private:
  std::string saved_;
};

// The chosen folder's wide parsing path. The shell's ANSI forms of a display name are made
// with a best-fit conversion ("cafe" for "café"), so for them the path is asked for again wide.
bool WideParsingPath(STRRET& sr, LPCITEMIDLIST item, std::wstring& out) {
  if (sr.uType == STRRET_WSTR) {
    std::unique_ptr<wchar_t, ShellFree> owned(sr.pOleStr);
    if (!owned) return false;
    out = owned.get();
    return true;
  }
  using Fn = BOOL(WINAPI*)(LPCITEMIDLIST, LPWSTR);
  static Fn fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(lazy::Proc("shell32.dll", "SHGetPathFromIDListW")));
  wchar_t path[MAX_PATH] = {};
  if (!fn || !fn(item, path)) return false;
  out = path;
  return true;
}

}  // namespace

std::string BrowseForFile(HWND owner, const char* title, const char* filter) {
  KeepCurrentDir keep;
  const std::string filters = FileDialogFilter(filter);
  char file[kPathBuffer] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof(file);
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!lazy::GetOpenFileNameA(&ofn)) return std::string();
  return BufferText(file, sizeof(file));
}

std::string BrowseForFolder(HWND owner, const char* title) {
  ComForCall com;
  char display[kPathBuffer] = {};
  BROWSEINFOA bi{};
  bi.hwndOwner = owner;
  bi.pidlRoot = nullptr;  // the desktop
  bi.pszDisplayName = display;
  bi.lpszTitle = title;
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  ItemList chosen(lazy::SHBrowseForFolderA(&bi));
  if (!chosen) return std::string();
  IShellFolder* raw = nullptr;
  if (FAILED(lazy::SHGetDesktopFolder(&raw)) || !raw) return std::string();
  ShellFolder desktop(raw);
  STRRET sr{};
  if (FAILED(desktop->GetDisplayNameOf(chosen.get(), SHGDN_FORPARSING, &sr))) return std::string();
  std::wstring wide;
  if (!WideParsingPath(sr, chosen.get(), wide)) return std::string();
  // The folder by a name that leads back to it: its exact conversion, else its short form; a
  // look-alike would be another folder, which a copy would then make or fill.
  std::string path;
  if (!os::WidePathToAnsi(wide, path)) {
    ::MessageBoxA(owner, "選択したフォルダはこのプログラムでは扱えない名前です", title,
                  MB_OK | MB_ICONEXCLAMATION);
    return std::string();
  }
  // A path the program cannot hold is no answer; cutting it would name another folder.
  if (!os::FitsBuffer(path, kPathBuffer)) {
    ::MessageBoxA(owner, "パス名が長すぎます", title, MB_OK | MB_ICONEXCLAMATION);
    return std::string();
  }
  return path;
}

}  // namespace exec
