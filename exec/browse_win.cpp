#include "fw/lazy_api.h"
#include "exec/browse_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "exec/input_text.h"
#include "os/services.h"
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

// The text of a display name the shell returned, whatever form it chose.
std::string StrRetText(STRRET& sr, LPCITEMIDLIST item) {
  switch (sr.uType) {
    case STRRET_WSTR: {
      std::unique_ptr<wchar_t, ShellFree> owned(sr.pOleStr);
      return owned ? WideToAnsi(owned.get()) : std::string();
    }
    case STRRET_OFFSET:
      return std::string(reinterpret_cast<const char*>(item) + sr.uOffset);
    case STRRET_CSTR:
      return BufferText(sr.cStr, sizeof(sr.cStr));
    default:
      return std::string();
  }
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
  std::string path = StrRetText(sr, chosen.get());
  // A path the program cannot hold is no answer; cutting it would name another folder.
  if (path.size() >= kPathBuffer) return std::string();
  return path;
}

}  // namespace exec
