// The drive items of the Drive menu: one per drive letter with a root, commands 200 ("A") to
// 225 ("Z"), texts "&C:" followed by what is known of the volume.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace app {

constexpr int kFirstDriveCommand = 200;
constexpr int kLastDriveCommand = 225;

// What the drive menu asks of the system about a drive.
class DriveQuery {
 public:
  virtual ~DriveQuery() = default;
  // os::Fs().GetDriveType (GetDriveTypeA) on root ("C:\").
  virtual uint32_t DriveType(const char* root);
  // GetVolumeInformationA on root ("C:\"): the label (may be empty) and the file system name.
  virtual bool Volume(const char* root, std::string* label, std::string* fileSystem) = 0;
  // WNetGetConnectionA on localName ("X:"): the remote name.
  virtual bool Connection(const char* localName, std::string* remoteName) = 0;
};

struct DriveMenuItem {
  int command;
  std::string text;
  bool operator==(const DriveMenuItem&) const = default;
};

// The item text for a drive of the given type (os::DriveType): fixed "&C:NTFS - LABEL" or
// "&C:NTFS" without a label, CD-ROM "&D:CDFS", remote "&X:NET - \\server\share" or "&X:NET",
// RAM disk "&R:", removable "&A:" without touching the disk, and "&C:" when the volume query of
// a fixed drive fails. A "&" in a label or share name is doubled so the menu shows it. Empty for types without a root (unknown, no root directory).
std::string DriveItemText(char letter, uint32_t driveType, DriveQuery& query);

// Every drive A to Z whose type (query.DriveType on "C:\") has a root.
std::vector<DriveMenuItem> BuildDriveMenuItems(DriveQuery& query);

// The drive letter of a drive item command ('A' for 200); 0 outside the range.
char DriveLetterOfCommand(int command);

}  // namespace app
