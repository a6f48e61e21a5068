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
// The chosen folder's parsing path (at most 259 bytes) converted exactly, else by its short
// form (os::WidePathToAnsi); empty when cancelled, when the choice has no such path, and, with
// a message, when it has no name the program can use or is too long.
std::string BrowseForFolder(HWND owner, const char* title);

}  // namespace exec
