#include "fw/lazy_api.h"
#include "frame/pane_icons_win.h"

#include <shellapi.h>

#include "resources/resource_ids.h"

namespace frame {
namespace {

// SHGetFileInfoA's icon of a path, or null when it gives none (an icon handle of 1 is none).
HICON ShellIcon(const char* path, UINT sizeFlag) {
  SHFILEINFOA info{};
  if (!lazy::SHGetFileInfoA(path, 0, &info, sizeof(info), SHGFI_ICON | sizeFlag)) return nullptr;
  if (info.hIcon == reinterpret_cast<HICON>(1)) return nullptr;
  return info.hIcon;
}

}  // namespace

void LoadPaneIcons(HINSTANCE instance, table::PaneIcons& icons) {
  const int large = ::GetSystemMetrics(SM_CXICON);
  const int small = ::GetSystemMetrics(SM_CXSMICON);
  for (int i = 0; i < 8; ++i) {
    const int size = i < 4 ? large : small;
    icons.builtin[i] = ::LoadImageA(instance, MAKEINTRESOURCEA(IDI_FOLDER_LARGE + i), IMAGE_ICON,
                                    size, size, LR_SHARED);
  }
}

void LoadShellFolderIcons(uint32_t windowsMajorVersion, table::PaneIcons& icons) {
  if (windowsMajorVersion < 4) return;
  char windows[MAX_PATH + 1] = {};
  const UINT n = ::GetWindowsDirectoryA(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  if (icons.ownsFolderIcons) {
    table::DestroyIconHandle(icons.folderLarge);
    table::DestroyIconHandle(icons.folderSmall);
  }
  icons.folderLarge = ShellIcon(windows, SHGFI_LARGEICON);
  icons.folderSmall = ShellIcon(windows, SHGFI_SMALLICON);
  icons.ownsFolderIcons = true;
}

}  // namespace frame
