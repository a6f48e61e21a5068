#include "table/drive_directory.h"

#include <cstdio>

#include "os/mbcs.h"
#include "os/services.h"

namespace table {
namespace {

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

bool IsDirectory(const std::string& path) {
  uint32_t a = os::Fs().GetAttributes(path.c_str());
  return a != os::kInvalidAttributes && (a & os::kAttrDirectory);
}

// The drive letter of a path that starts with "X:", else 0.
char DriveLetterOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':' && DriveDirectories::DriveNumber(path[0]) >= 0)
    return path[0];
  return 0;
}

}  // namespace

int DriveDirectories::DriveNumber(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

DriveDirectories::DriveDirectories() {
  // Only the drives that exist are asked for their type (each question opens the drive's root,
  // several round trips to the server under Wine); a letter without a drive has no root.
  const uint32_t present = os::Fs().GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    std::snprintf(drives_[i].label, sizeof(drives_[i].label), "&%c:", 'A' + i);
    char root[4] = {static_cast<char>('A' + i), ':', '\\', '\0'};
    drives_[i].driveType =
        (present & (1u << i)) ? os::Fs().GetDriveType(root) : os::kDriveNoRootDir;
  }
  char cwd[os::kMaxPath] = {};
  uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
  if (n > 0 && n < sizeof(cwd)) {
    char letter = DriveLetterOf(cwd);
    currentDrive_ = letter ? DriveNumber(letter) : -1;
  }
}

const std::string& DriveDirectories::Directory(char letter) const {
  int n = DriveNumber(letter);
  return n < 0 ? EmptyText() : drives_[n].directory;
}

void DriveDirectories::Remember(char letter, const std::string& directory) {
  int n = DriveNumber(letter);
  if (n >= 0) drives_[n].directory = directory;
}

std::string ResolveDrivePath(DriveDirectories& drives, const std::string& currentPath,
                             const char* path) {
  if (!path || !*path) return std::string();
  std::string p = path;
  if (mbcs::FindChar(p.c_str(), ':')) {
    if (char current = DriveLetterOf(currentPath)) drives.Remember(current, currentPath);
  }
  for (char& c : p) {
    if (c == '/') c = '\\';  // 0x2F is never a trail byte
  }
  char letter = DriveLetterOf(p);
  if (!letter) return p;
  const std::string& remembered = drives.Directory(letter);
  if (remembered.empty()) return p;
  if (p.size() == 2) {
    if (IsDirectory(remembered)) return remembered;
    return std::string(1, letter) + ":\\";
  }
  if (p[2] == '\\') return p;
  std::string joined = remembered;
  char last = joined.back();
  if ((last != '\\' && last != ':') || mbcs::IsTrailByteAt(joined.c_str(), joined.size() - 1))
    joined += '\\';
  return joined + p.substr(2);
}

bool EnterDirectory(DriveDirectories& drives, const std::string& currentPath, const char* path,
                    std::string& result) {
  std::string target = ResolveDrivePath(drives, currentPath, path);
  if (target.empty() || target.size() >= os::kMaxPath) return false;
  if (!os::Fs().SetCurrentDir(target.c_str())) return false;
  char cwd[os::kMaxPath] = {};
  uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
  if (n == 0 || n >= sizeof(cwd)) return false;
  result.assign(cwd, n);
  return true;
}

}  // namespace table
