// Changing a table's directory, with the per-drive memory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_file.h"
#include "table/drive_directory.h"
#include "tests/unit/faulty_fs.h"
#include "tests/unit/table_test_support.h"

namespace {

using table::DriveDirectories;
using tabletest::TableTest;

class ChangePathTest : public TableTest {
 protected:
  std::string Drive() const { return dir_.Dir().substr(0, 2); }  // "X:"
  std::string Sub(const char* name) const { return dir_.Path(name); }
};

TEST_F(ChangePathTest, EntersDirectoriesAndKeepsTheFullPath) {
  MakeDir("sub");
  auto t = Open();
  EXPECT_EQ(t->DirectoryString(), dir_.Dir());  // the configured directory, in full
  ASSERT_EQ(t->ChangePath(Sub("sub").c_str()), 0);
  EXPECT_EQ(t->path(), Sub("sub"));
  EXPECT_EQ(t->ChangePath(""), -1);
  EXPECT_EQ(t->ChangePath(Sub("missing").c_str()), -1);
  EXPECT_EQ(t->path(), Sub("sub"));
  std::string slashed = Sub("sub");
  for (char& c : slashed)
    if (c == '\\') c = '/';
  ASSERT_EQ(t->ChangePath(dir_.Dir().c_str()), 0);
  ASSERT_EQ(t->ChangePath(slashed.c_str()), 0);
  EXPECT_EQ(t->path(), Sub("sub"));
}

// A relative configured path names a directory once, at the start: the table works on its full
// path whatever directory is current later (another pane changes it), and saves the text as
// it was written while it stays there.
TEST_F(ChangePathTest, ARelativeConfiguredPathIsUsedInFullAndSavedAsWritten) {
  MakeDir("data");
  MakeDir("other");
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir_.Dir().c_str()));
  auto t = Open("data");
  EXPECT_EQ(t->path(), Sub("data"));
  ASSERT_TRUE(os::Fs().SetCurrentDir(Sub("other").c_str()));
  EXPECT_EQ(t->DirectoryString(), Sub("data") + "\\");
  ASSERT_TRUE(t->SaveSettings(1));
  EXPECT_EQ(config::ReadConfigString("INST1", "Path", "?"), "data");
  ASSERT_EQ(t->ChangePath(Sub("other").c_str()), 0);
  ASSERT_TRUE(t->SaveSettings(1));
  EXPECT_EQ(config::ReadConfigString("INST1", "Path", "?"), Sub("other"));
}

TEST_F(ChangePathTest, DriveRelativeAndBareDriveUseTheRememberedDirectory) {
  MakeDir("sub");
  MakeDir("sub\\deeper");
  auto t = Open();
  ASSERT_EQ(t->ChangePath(Sub("sub").c_str()), 0);
  // "X:deeper": the directory remembered for X (the table's own) joined with the name.
  ASSERT_EQ(t->ChangePath((Drive() + "deeper").c_str()), 0);
  EXPECT_EQ(t->path(), Sub("sub\\deeper"));
  // "X:": the remembered directory while it exists.
  ASSERT_EQ(t->ChangePath(Drive().c_str()), 0);
  EXPECT_EQ(t->path(), Sub("sub\\deeper"));
  // Once it is gone, the drive's root.
  os::Fs().SetCurrentDir(dir_.Dir().c_str());
  ASSERT_TRUE(os::Fs().RemoveDir(Sub("sub\\deeper").c_str()));
  ASSERT_EQ(t->ChangePath(Drive().c_str()), 0);
  EXPECT_EQ(t->path(), Drive() + "\\");
}

TEST_F(ChangePathTest, UnusablePathFallsBackToTheCurrentDirectory) {
  MakeDir("here");
  ASSERT_TRUE(os::Fs().SetCurrentDir(Sub("here").c_str()));
  SetKey("Path", Sub("nowhere"));
  SetKey("vmode", "0");
  table::Sorm t(view_, 1);
  EXPECT_EQ(t.path(), Sub("here"));
  SetKey("Path", "");
  table::Sorm u(view_, 1);
  EXPECT_EQ(u.path(), Sub("here"));
  EXPECT_EQ(u.EntryCount(), 1);  // ".."
}

TEST(TableDriveDirectoryTest, ResolvesWithTheRememberedDirectories) {
  DriveDirectories drives;
  EXPECT_STREQ(drives[0].label, "&A:");
  EXPECT_STREQ(drives[25].label, "&Z:");
  drives.Remember('q', "Q:\\work");
  drives.Remember('r', "R:\\\x95\x5c");  // ends in the trail byte of 表
  struct Case {
    const char* current;
    const char* path;
    const char* result;
  } cases[] = {
      {"", "", ""},
      {"", "Q:name", "Q:\\work\\name"},
      {"", "q:name", "Q:\\work\\name"},
      {"", "Q:\\abs", "Q:\\abs"},
      {"", "Q:/abs/x", "Q:\\abs\\x"},
      {"", "R:n", "R:\\\x95\x5c\\n"},
      {"", "Q:", "Q:\\"},  // Q:\work does not exist here
      {"", "S:", "S:"},    // nothing remembered: as given
      {"", "S:x", "S:x"},
      {"", "plain\\dir", "plain\\dir"},
      {"", "\\\\server\\share", "\\\\server\\share"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(table::ResolveDrivePath(drives, c.current, c.path), c.result) << c.path;
  }
  // A path with ":" first remembers the current path for its own drive.
  table::ResolveDrivePath(drives, "T:\\before", "Q:\\x");
  EXPECT_EQ(drives.Directory('t'), "T:\\before");
  table::ResolveDrivePath(drives, "U:\\before", "no drive");
  EXPECT_EQ(drives.Directory('U'), "");
  table::ResolveDrivePath(drives, "\\\\server\\share", "Q:\\x");  // no drive letter: nothing
  EXPECT_EQ(drives.Directory('\\'), "");
  EXPECT_EQ(DriveDirectories::DriveNumber('c'), 2);
  EXPECT_EQ(DriveDirectories::DriveNumber('1'), -1);
}

// A file system with the given drives, each of a type of its own, that notes which roots were
// asked for their type.
class DrivesFs : public testutil::InstalledFaultyFs {
 public:
  explicit DrivesFs(uint32_t present) : present_(present) {}
  uint32_t GetLogicalDrives() override { return present_; }
  uint32_t GetDriveType(const char* root) override {
    asked.emplace_back(root);
    return TypeOf(root[0]);
  }
  // A: removable, B: remote, every other letter a CD-ROM drive, as long as it is present.
  static uint32_t TypeOf(char letter) {
    return letter == 'A' ? os::kDriveRemovable : letter == 'B' ? os::kDriveRemote : os::kDriveCdrom;
  }
  std::vector<std::string> asked;

 private:
  uint32_t present_;
};

TEST(TableDriveDirectoryTest, AsksOnlyTheDrivesThatExistForTheirType) {
  const uint32_t kAll = (1u << 26) - 1;
  struct Case {
    uint32_t present;
    std::vector<std::string> asked;
  } cases[] = {
      {(1u << 2) | (1u << 25), {"C:\\", "Z:\\"}},
      {1u, {"A:\\"}},
      {(1u << 1) | (1u << 24), {"B:\\", "Y:\\"}},
      {0, {}},
  };
  for (const Case& c : cases) {
    DrivesFs fs(c.present);
    DriveDirectories drives;
    EXPECT_EQ(fs.asked, c.asked) << c.present;
    for (int i = 0; i < 26; ++i) {
      const uint32_t want = (c.present & (1u << i)) ? DrivesFs::TypeOf(static_cast<char>('A' + i))
                                                    : static_cast<uint32_t>(os::kDriveNoRootDir);
      EXPECT_EQ(drives[i].driveType, want) << c.present << " drive " << static_cast<char>('A' + i);
    }
  }
  DrivesFs every(kAll);
  DriveDirectories drives;
  EXPECT_EQ(every.asked.size(), 26u);
  EXPECT_EQ(drives[25].driveType, static_cast<uint32_t>(os::kDriveCdrom));
}

}  // namespace
