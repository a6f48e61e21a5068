// The directory a program started through a link file or a shortcut begins in.
#include <gtest/gtest.h>

#include <string>

#include "exec/working_directory.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

using exec::LaunchSource;

TEST(WorkingDirectoryTest, ALinkFilesCurrentWhenItCanBeEntered) {
  testutil::TempDir dir;
  const std::string existing = dir.Path("work");
  ASSERT_TRUE(os::Fs().CreateDir(existing.c_str()));
  const struct {
    const char* file;
    std::string content;
    LaunchSource source;
    std::string expected;
  } cases[] = {
      {"a.lfi", "[Link]\r\nLink=C:\\x.txt\r\nCurrent=" + existing + "\r\n",
       LaunchSource::kLinkFile, existing},
      {"gone.lfi", "[Link]\r\nLink=C:\\x.txt\r\nCurrent=" + dir.Path("gone") + "\r\n",
       LaunchSource::kLinkFile, ""},  // no longer there: the table's directory instead
      {"file.lfi", "[Link]\r\nLink=C:\\x.txt\r\nCurrent=" + dir.Path("a.lfi") + "\r\n",
       LaunchSource::kLinkFile, ""},  // a file is no directory
      {"none.lfi", "[Link]\r\nLink=C:\\x.txt\r\n", LaunchSource::kLinkFile, ""},
      // Longer than a path, though its first 259 bytes would enter the directory: not cut.
      {"long.lfi",
       "[Link]\r\nLink=C:\\x.txt\r\nCurrent=" + existing +
           std::string(300 - existing.size(), '\\') + "\r\n",
       LaunchSource::kLinkFile, ""},
      {"plain.txt", "[Link]\r\nCurrent=" + existing + "\r\n", LaunchSource::kPlainFile, ""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(testutil::WriteFileBytes(dir.Path(c.file), c.content));
    // By name in the table's directory, and by full path.
    EXPECT_EQ(exec::OwnWorkingDirectory(c.source, dir.Dir(), c.file), c.expected) << c.file;
    EXPECT_EQ(exec::OwnWorkingDirectory(c.source, "C:\\elsewhere", dir.Path(c.file).c_str()),
              c.expected)
        << c.file;
  }
}

TEST(WorkingDirectoryTest, AShortcutsOwnDirectoryOnly) {
  testutil::TempDir dir;
  const std::string work = dir.Path("work");
  ASSERT_TRUE(os::Fs().CreateDir(work.c_str()));
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("t.txt"), "x"));
  os::ShellLinkFields with;
  with.target = dir.Path("t.txt");
  with.workingDirectory = work;
  os::ShellLinkFields without;
  without.target = dir.Path("t.txt");
  if (!os::Links().Write(dir.Path("with.lnk").c_str(), with))
    GTEST_SKIP() << "this system makes no shortcuts";
  ASSERT_TRUE(os::Links().Write(dir.Path("without.lnk").c_str(), without));
  EXPECT_EQ(exec::OwnWorkingDirectory(LaunchSource::kShortcut, dir.Dir(), "with.lnk"), work);
  // No directory named: none, not the shortcut's own path.
  EXPECT_EQ(exec::OwnWorkingDirectory(LaunchSource::kShortcut, dir.Dir(), "without.lnk"), "");
  EXPECT_EQ(exec::OwnWorkingDirectory(LaunchSource::kShortcut, dir.Dir(), "missing.lnk"), "");
}

}  // namespace
