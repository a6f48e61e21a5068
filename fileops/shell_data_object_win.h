// The shell's data object for entries of one directory (IShellFolder::GetUIObjectOf), which a
// drag out of a table offers besides its own drop block.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace fileops {

// directory: a full path; names: entry names in it. Null when the shell cannot give one.
IDataObject* ShellDataObjectFor(const std::string& directory,
                                const std::vector<std::string>& names);

}  // namespace fileops
