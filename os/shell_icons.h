// The shell's icons of files, for the icon loader. Each method names the Win32 call it stands
// for. Icons come back owned by the caller (DestroyIcon); a handle of 1 is never returned.
#pragma once
#include <string>

namespace os {

class ShellIcons {
 public:
  virtual ~ShellIcons() = default;
  // SHGetFileInfoA(SHGFI_ICON | SHGFI_LARGEICON), then with SHGFI_SMALLICON. False (and both
  // null) when there is no large icon.
  virtual bool FileIcons(const std::string& path, void** large, void** small) = 0;
  // ExtractIconA(path, 0), or null.
  virtual void* ExtractIcon(const std::string& path) = 0;
  // SearchPathA for a program named without drive or directory; empty when not found.
  virtual std::string SearchPath(const std::string& name) = 0;
};

// The backend's shell icons: the system's (win32); none at all (posix emulation).
ShellIcons& SystemShellIcons();

}  // namespace os
