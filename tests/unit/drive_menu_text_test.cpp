#include "app/drive_menu_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "os/services.h"

namespace {

// Answers of the test's choosing; drive types from the OS layer unless a table is given.
class FakeVolumes : public app::DriveQuery {
 public:
  std::map<char, uint32_t> types;
  std::vector<std::string> roots;
  bool volumeOk = true;
  std::string label = "DATA";
  std::string fileSystem = "NTFS";
  bool connectionOk = true;
  std::string remote = "\\\\server\\share";
  std::vector<std::string> asked;

  uint32_t DriveType(const char* root) override {
    roots.emplace_back(root);
    if (types.empty()) return app::DriveQuery::DriveType(root);
    auto it = types.find(root[0]);
    return it == types.end() ? os::kDriveNoRootDir : it->second;
  }
  bool Volume(const char* root, std::string* l, std::string* fs) override {
    asked.push_back(std::string("volume ") + root);
    if (!volumeOk) return false;
    *l = label;
    *fs = fileSystem;
    return true;
  }
  bool Connection(const char* local, std::string* r) override {
    asked.push_back(std::string("connection ") + local);
    if (!connectionOk) return false;
    *r = remote;
    return true;
  }
};

TEST(DriveMenuText, ItemTexts) {
  struct Case {
    char letter;
    uint32_t type;
    bool volumeOk;
    std::string label;
    bool connectionOk;
    std::string text;
    std::vector<std::string> asked;
  } cases[] = {
      {'C', os::kDriveFixed, true, "DATA", true, "&C:NTFS - DATA", {"volume C:\\"}},
      {'C', os::kDriveFixed, true, "", true, "&C:NTFS", {"volume C:\\"}},
      {'E', os::kDriveFixed, false, "DATA", true, "&E:", {"volume E:\\"}},
      {'C', os::kDriveFixed, true, "R&D", true, "&C:NTFS - R&&D", {"volume C:\\"}},
      {'C', os::kDriveFixed, true, "ﾃﾞｰﾀ", true, "&C:NTFS - ﾃﾞｰﾀ", {"volume C:\\"}},
      {'D', os::kDriveCdrom, true, "DISC", true, "&D:CDFS", {}},
      {'X', os::kDriveRemote, true, "", true, "&X:NET - \\\\server\\share", {"connection X:"}},
      {'X', os::kDriveRemote, true, "", false, "&X:NET", {"connection X:"}},
      {'R', os::kDriveRamdisk, true, "", true, "&R:", {}},
      {'A', os::kDriveRemovable, true, "FLOPPY", true, "&A:", {}},  // no disk access
      {'Q', os::kDriveUnknown, true, "", true, "", {}},
      {'Q', os::kDriveNoRootDir, true, "", true, "", {}},
  };
  for (const Case& c : cases) {
    FakeVolumes v;
    v.volumeOk = c.volumeOk;
    v.label = c.label;
    v.connectionOk = c.connectionOk;
    EXPECT_EQ(app::DriveItemText(c.letter, c.type, v), c.text) << c.letter << c.type;
    EXPECT_EQ(v.asked, c.asked) << c.letter << c.type;
  }
}

TEST(DriveMenuText, CommandsAndLetters) {
  struct Case {
    int command;
    char letter;
  } cases[] = {{200, 'A'}, {202, 'C'}, {225, 'Z'}, {199, 0}, {226, 0}, {0, 0}, {-1, 0}};
  for (const Case& c : cases) EXPECT_EQ(app::DriveLetterOfCommand(c.command), c.letter) << c.command;
}

TEST(DriveMenuText, OneItemPerDriveWithARoot) {
  FakeVolumes v;
  v.types = {{'A', os::kDriveRemovable}, {'C', os::kDriveFixed}, {'D', os::kDriveCdrom},
             {'K', os::kDriveUnknown},   {'R', os::kDriveRamdisk}, {'X', os::kDriveRemote}};
  v.label = "";
  std::vector<app::DriveMenuItem> items = app::BuildDriveMenuItems(v);
  EXPECT_EQ(items, (std::vector<app::DriveMenuItem>{{200, "&A:"},
                                                   {202, "&C:NTFS"},
                                                   {203, "&D:CDFS"},
                                                   {217, "&R:"},
                                                   {223, "&X:NET - \\\\server\\share"}}));
  ASSERT_EQ(v.roots.size(), 26u);
  EXPECT_EQ(v.roots.front(), "A:\\");
  EXPECT_EQ(v.roots.back(), "Z:\\");
}

TEST(DriveMenuText, RealDrivesOfThisSystem) {
  // Through the OS layer; Z: is the host's root both in the emulation and under Wine.
  FakeVolumes v;
  std::vector<app::DriveMenuItem> items = app::BuildDriveMenuItems(v);
  bool sawZ = false;
  for (const app::DriveMenuItem& item : items) {
    char letter = app::DriveLetterOfCommand(item.command);
    ASSERT_NE(letter, 0) << item.command;
    EXPECT_EQ(item.text.substr(0, 3), std::string("&") + letter + ":");
    const std::string root = std::string(1, letter) + ":\\";
    uint32_t type = os::Fs().GetDriveType(root.c_str());
    EXPECT_NE(type, os::kDriveNoRootDir);
    EXPECT_NE(type, os::kDriveUnknown);
    sawZ = sawZ || letter == 'Z';
  }
  EXPECT_TRUE(sawZ);
}

}  // namespace
