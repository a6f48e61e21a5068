// The per-drive memory of a file table: for each drive letter A to Z its menu label, its drive
// type and the directory last used on it.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace table {

struct DriveDirectory {
  char label[5] = {};       // "&A:" for the drive menu
  uint32_t driveType = 0;   // GetDriveTypeA of the root
  std::string directory;    // last used on this drive; empty at first
};

class DriveDirectories {
 public:
  // Reads every drive's type and notes the drive of the process's current directory.
  DriveDirectories();

  // Drive number (0 for A) of the current directory when the list was made; -1 when the
  // current directory has no drive letter.
  int currentDrive() const { return currentDrive_; }
  const DriveDirectory& operator[](int drive) const { return drives_[drive]; }

  // The directory remembered for a drive letter (any case); empty when none or not a letter.
  const std::string& Directory(char letter) const;
  void Remember(char letter, const std::string& directory);

  // Drive number of a letter (any case), or -1.
  static int DriveNumber(char letter);

 private:
  std::array<DriveDirectory, 26> drives_;
  int currentDrive_ = -1;
};

// Turns path into the directory to enter, with the per-drive memory: first, when path holds
// ":", currentPath is remembered for its own drive; "/" become "\"; then, when a directory is
// remembered for the new path's drive, a bare drive ("D:") becomes that directory if it still
// exists (else the drive's root) and a drive-relative path ("D:name") becomes that directory
// joined with the name. Other paths are used as given. Empty when path is empty.
std::string ResolveDrivePath(DriveDirectories& drives, const std::string& currentPath,
                             const char* path);

// SetCurrentDirectoryA on the resolved path; on success result receives the full current
// directory (GetCurrentDirectoryA, 260 bytes). False when path is empty, too long or cannot be
// entered.
bool EnterDirectory(DriveDirectories& drives, const std::string& currentPath, const char* path,
                    std::string& result);

}  // namespace table
