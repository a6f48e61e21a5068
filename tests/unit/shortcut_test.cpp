// Reading shell shortcuts (.LNK). Where the system has no shell link object (the emulation),
// every shortcut is unreadable and only the failure paths are checked.
#include <gtest/gtest.h>

#include "links/shortcut.h"
#include "os/services.h"
#include "table/text_compare.h"
#include "tests/unit/test_util.h"

namespace {

TEST(ShortcutNameTest, RecognisedByTheLastFourCharacters) {
  struct Case {
    const char* name;
    bool shortcut;
  } cases[] = {{"a.LNK", true}, {"a.lnk", true}, {".lnk", true},    {"LNK", false},
               {"a.lnkx", false}, {"a.LFI", false}, {"\x83.lnk", false}};
  for (const auto& c : cases) EXPECT_EQ(links::IsShortcutName(c.name), c.shortcut) << c.name;
}

TEST(ShortcutTest, UnreadableShortcutsLeaveTheOutputAlone) {
  testutil::TempDir dir;
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("bad.lnk"), "not a shortcut at all"));
  ASSERT_TRUE(testutil::WriteFileBytes(dir.Path("empty.lnk"), ""));
  for (const char* name : {"bad.lnk", "empty.lnk", "missing.lnk"}) {
    links::ShortcutInfo info;
    info.target = "before";
    EXPECT_EQ(links::ReadShortcut(dir.Path(name).c_str(), info), -1) << name;
    EXPECT_EQ(info.target, "before");
  }
}

TEST(ShortcutTest, ReadsWhatWasWritten) {
  testutil::TempDir dir;
  ASSERT_TRUE(os::Fs().CreateDir(dir.Path("folder").c_str()));
  os::ShellLinkFields wanted;
  wanted.target = dir.Path("folder");
  wanted.workingDirectory = dir.Dir();
  wanted.arguments = "-x /y";
  std::string lnk = dir.Path("to folder.lnk");
  if (!os::Links().Write(lnk.c_str(), wanted)) GTEST_SKIP() << "no shell link object";
  links::ShortcutInfo info;
  ASSERT_EQ(links::ReadShortcut(lnk.c_str(), info), 0);
  EXPECT_TRUE(table::SameTextNoCase(info.target.c_str(), wanted.target.c_str())) << info.target;
  EXPECT_EQ(info.arguments, "-x /y");
  EXPECT_TRUE(info.findData.attributes & os::kAttrDirectory);
  EXPECT_EQ(info.iconPath, "");
  // A bare name is taken in the current directory.
  char cwd[os::kMaxPath] = {};
  uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir.Dir().c_str()));
  links::ShortcutInfo again;
  EXPECT_EQ(links::ReadShortcut("to folder.lnk", again), 0);
  EXPECT_EQ(again.target, info.target);
  os::Fs().SetCurrentDir(std::string(cwd, n).c_str());
}

}  // namespace
