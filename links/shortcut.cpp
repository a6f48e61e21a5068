#include "links/shortcut.h"

#include "os/services.h"
#include "os/path_text.h"

namespace links {

bool IsShortcutName(const char* path) { return os::HasSuffixNoCase(path, ".LNK"); }

int ReadShortcut(const char* path, ShortcutInfo& out) {
  std::string full = os::InCurrentDirectory(path);
  os::ShellLinkData data;
  if (!os::Links().Read(full.c_str(), data)) return -1;
  out.target = data.gotPath ? data.path : full;
  out.findData = data.gotPath ? data.pathData : os::FindData();
  out.arguments = data.gotArguments ? data.arguments : full;
  out.showCommand = data.gotShowCommand ? data.showCommand : 0;
  out.workingDirectory = data.gotWorkingDirectory ? data.workingDirectory : full;
  out.iconPath = data.gotIconLocation ? data.iconLocation : std::string();
  out.iconIndex = data.gotIconLocation ? data.iconIndex : 0;
  return 0;
}

}  // namespace links
