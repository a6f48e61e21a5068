// Changing a table's directory, with the per-drive memory.
#include <gtest/gtest.h>

#include "table/drive_directory.h"
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
  EXPECT_EQ(t->path(), dir_.Dir());  // the configured text as it was written
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

}  // namespace
