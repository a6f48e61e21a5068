#include "app/drive_menu_text.h"

#include "os/services.h"

namespace app {
namespace {

// Menu texts treat "&" as the mark of the access key; a label or share name shows it as it is.
std::string MenuLiteral(const std::string& text) {
  std::string out;
  for (char c : text) {  // "&" is never the trail byte of a double-byte character
    out.push_back(c);
    if (c == '&') out.push_back('&');
  }
  return out;
}

}  // namespace

uint32_t DriveQuery::DriveType(const char* root) { return os::Fs().GetDriveType(root); }

std::string DriveItemText(char letter, uint32_t driveType, DriveQuery& query) {
  const std::string item = std::string("&") + letter + ":";
  const std::string root = std::string(1, letter) + ":\\";
  switch (driveType) {
    case os::kDriveUnknown:
    case os::kDriveNoRootDir:
      return std::string();
    case os::kDriveFixed: {
      std::string label, fileSystem;
      if (!query.Volume(root.c_str(), &label, &fileSystem)) return item;
      std::string text = item + MenuLiteral(fileSystem);
      return label.empty() ? text : text + " - " + MenuLiteral(label);
    }
    case os::kDriveCdrom:
      return item + "CDFS";
    case os::kDriveRemote: {
      std::string remote;
      const std::string local = std::string(1, letter) + ":";
      if (!query.Connection(local.c_str(), &remote)) return item + "NET";
      return item + "NET - " + MenuLiteral(remote);
    }
    default:  // removable drives, RAM disks and anything newer: the letter alone
      return item;
  }
}

std::vector<DriveMenuItem> BuildDriveMenuItems(DriveQuery& query) {
  std::vector<DriveMenuItem> items;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    uint32_t type = query.DriveType(root.c_str());
    if (type == os::kDriveUnknown || type == os::kDriveNoRootDir) continue;
    items.push_back({kFirstDriveCommand + (letter - 'A'), DriveItemText(letter, type, query)});
  }
  return items;
}

char DriveLetterOfCommand(int command) {
  if (command < kFirstDriveCommand || command > kLastDriveCommand) return 0;
  return static_cast<char>('A' + (command - kFirstDriveCommand));
}

}  // namespace app
