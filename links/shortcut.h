// Reading shell shortcuts (.LNK) through the shell's link object.
#pragma once
#include <string>

#include "os/shell_link.h"
#include "os/types.h"

namespace links {

// Longer than three characters and ending in ".LNK" in any letter case.
bool IsShortcutName(const char* path);

struct ShortcutInfo {
  std::string target;            // the target path (GetPath)
  std::string arguments;         // GetArguments
  int showCommand = 0;           // GetShowCmd
  std::string workingDirectory;  // GetWorkingDirectory
  std::string iconPath;          // GetIconLocation; empty when that fails
  int iconIndex = 0;
  os::FindData findData;         // the target's find data as GetPath gives it
};

// The longest target, working directory or icon path a shortcut is used with.
constexpr unsigned kMaxShortcutPathBytes = 259;

// Whether what the shell read from a shortcut can be used as it stands: its target and working
// directory fit kMaxShortcutPathBytes and its arguments os::kShellLinkTextMax. A shortcut
// whose texts do not fit is unusable; a cut target or directory would be another one.
bool ShortcutTextsFit(const os::ShellLinkData& data);

// Reads a shortcut. A path without drive or directory is taken in the process's current
// directory. Each text falls back to that absolute path when its getter fails (the icon path to
// empty; an icon path too long is none). 0 on success; -1 when the link cannot be loaded
// (missing, corrupt, no shell) or its texts do not fit (ShortcutTextsFit, last error
// ERROR_FILENAME_EXCED_RANGE), and then out is left as it was.
int ReadShortcut(const char* path, ShortcutInfo& out);

}  // namespace links
