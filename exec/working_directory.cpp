#include "exec/working_directory.h"

#include "links/link_file.h"
#include "links/shortcut.h"
#include "os/path_text.h"
#include "os/services.h"

namespace exec {
namespace {

constexpr uint32_t kDirectoryAttribute = 0x10;

bool IsDirectory(const std::string& path) {
  const uint32_t a = os::Fs().GetAttributes(path.c_str());
  return a != os::kInvalidAttributes && (a & kDirectoryAttribute) != 0;
}

}  // namespace

std::string OwnWorkingDirectory(LaunchSource source, const std::string& tableDirectory,
                                const char* fileName) {
  if (source == LaunchSource::kPlainFile || !fileName || !*fileName) return std::string();
  const std::string path = os::HasDriveOrDirectory(fileName) || tableDirectory.empty()
                               ? std::string(fileName)
                               : os::DirectoryString(tableDirectory) + fileName;
  std::string directory;
  if (source == LaunchSource::kLinkFile) {
    if (links::ReadLinkWorkingDirectory(path.c_str(), directory) != 1) return std::string();
  } else {
    // The shell link's own answer: a shortcut that names no directory has none (the reader's
    // fallback to the shortcut's path is no directory to start in).
    os::ShellLinkData data;
    if (!os::Links().Read(path.c_str(), data) || !data.gotWorkingDirectory ||
        !links::ShortcutTextsFit(data))
      return std::string();
    directory = data.workingDirectory;
  }
  return !directory.empty() && IsDirectory(directory) ? directory : std::string();
}

}  // namespace exec
