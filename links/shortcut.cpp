#include "links/shortcut.h"

#include "os/last_error.h"
#include "os/services.h"
#include "os/path_text.h"

namespace links {

bool IsShortcutName(const char* path) { return os::HasSuffixNoCase(path, ".LNK"); }

bool ShortcutTextsFit(const os::ShellLinkData& data) {
  return !data.tooLong && os::FitsBuffer(data.path, kMaxShortcutPathBytes + 1) &&
         os::FitsBuffer(data.workingDirectory, kMaxShortcutPathBytes + 1) &&
         os::FitsBuffer(data.arguments, os::kShellLinkTextMax + 1);
}

int ReadShortcut(const char* path, ShortcutInfo& out) {
  std::string full = os::InCurrentDirectory(path);
  os::ShellLinkData data;
  if (!os::Links().Read(full.c_str(), data)) return -1;
  if (!ShortcutTextsFit(data)) {
    os::SetLastError(os::kErrFilenameExcedRange);
    return -1;
  }
  out.target = data.gotPath ? data.path : full;
  out.findData = data.gotPath ? data.pathData : os::FindData();
  out.arguments = data.gotArguments ? data.arguments : full;
  out.showCommand = data.gotShowCommand ? data.showCommand : 0;
  out.workingDirectory = data.gotWorkingDirectory ? data.workingDirectory : full;
  const bool icon = data.gotIconLocation && os::FitsBuffer(data.iconLocation, kMaxShortcutPathBytes + 1);
  out.iconPath = icon ? data.iconLocation : std::string();
  out.iconIndex = icon ? data.iconIndex : 0;
  return 0;
}

}  // namespace links
