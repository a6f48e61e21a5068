// Full paths for the file commands. A command resolves every name it works on against its own
// table's directory once, when it starts: the process's current directory belongs to whichever
// pane was activated last and may change while a command pumps messages.
#pragma once
#include <string>

namespace fileops {

// path taken relative to directory (a full path: "C:\dir" or "\\server\share\dir"), as
// texts: a full path ("C:\x", "\\server\x") stays as it is; a path from the root ("\x") goes
// on directory's drive or share; a drive-relative path ("D:x") goes below directory when that
// is on the same drive, else below the drive's root; anything else goes below directory. "."
// and ".." are left in (FullPathIn removes them). Empty for an empty path.
std::string JoinToDirectory(const std::string& directory, const std::string& path);

// JoinToDirectory made canonical by the file system (GetFullPathNameA on a full path, which
// does not read the current directory): "." and ".." resolved, "/" turned into "\". Empty when
// the path is empty or does not fit.
std::string FullPathIn(const std::string& directory, const std::string& path);

}  // namespace fileops
