// The browse buttons of the input dialogs: the system's file-open dialog and folder browser.
#pragma once
#include <windows.h>

#include <string>

namespace exec {

// The file-open dialog (hide read-only, path and file must exist) with the given title (null:
// the system's) and filter ("name|pattern|..."). The current drive and directory are the same
// afterwards. The chosen path, or empty when cancelled.
std::string BrowseForFile(HWND owner, const char* title, const char* filter);

// The folder browser rooted at the desktop, file-system folders only, with the given title.
// The chosen folder's parsing path (at most 259 bytes), or empty when cancelled or when the
// choice has no such path.
std::string BrowseForFolder(HWND owner, const char* title);

}  // namespace exec
