// The shell's delete (SHFileOperationA with FO_DELETE) for the posix emulation. Deleting for
// good removes the file, or the directory with its contents; the recycle bin is a per-user
// trash folder laid out as on Linux desktops ("files" and "info" with a .trashinfo record).
// The trash folder is $SORM_TRASH when set, else the home trash ($XDG_DATA_HOME/Trash or
// ~/.local/share/Trash) when it is on the item's file system, else ".Trash-<uid>" at the top
// of the item's file system (a recycle bin per drive, as on Windows).
#pragma once
#include <string>

namespace os::posix {

bool ShellDeletePath(const char* path, bool toRecycleBin);

// The trash folder an item on the host path would go to (created when missing); empty when
// none can be made.
std::string TrashFolderFor(const std::string& hostPath);

}  // namespace os::posix
