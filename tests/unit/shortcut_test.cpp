// Reading shell shortcuts (.LNK). Where the system has no shell link object (the emulation),
// every shortcut is unreadable and only the failure paths are checked.
#include <gtest/gtest.h>

#include "links/shortcut.h"
#include "os/last_error.h"
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

// A shell whose shortcut holds the given texts, as the backend reports them.
class FixedLinks : public os::ShellLinks {
 public:
  bool Read(const char*, os::ShellLinkData& out) override {
    out = data;
    return true;
  }
  bool Write(const char*, const os::ShellLinkFields&) override { return false; }
  os::ShellLinkData data;
};

TEST(ShortcutTest, TextsThatDoNotFitMakeTheShortcutUnusable) {
  const std::string kanji = "\x95\x5c";  // 表, its trail byte a backslash
  const std::string atLimit = "C:\\" + std::string(256, 'p');  // 259 bytes
  struct Case {
    const char* what;
    std::string path;
    std::string directory;
    std::string arguments;
    bool backendTooLong;
    bool usable;
  } cases[] = {
      {"short", "C:\\a.exe", "C:\\", "-x", false, true},
      {"target exactly at the limit", atLimit, "C:\\", "", false, true},
      {"target one byte over", atLimit + "q", "C:\\", "", false, false},
      {"target with a double-byte character straddling the limit",
       "C:\\" + std::string(255, 'p') + kanji, "C:\\", "", false, false},
      {"working directory one byte over", "C:\\a.exe", atLimit + "q", "", false, false},
      {"a long argument line", "C:\\a.exe", "C:\\", std::string(1024, 'a'), false, true},
      {"an argument line over its buffer", "C:\\a.exe", "C:\\", std::string(1025, 'a'), false,
       false},
      {"a text the backend could not read whole", "C:\\a.exe", "C:\\", "", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FixedLinks shell;
    shell.data.path = c.path;
    shell.data.gotPath = true;
    shell.data.workingDirectory = c.directory;
    shell.data.gotWorkingDirectory = true;
    shell.data.arguments = c.arguments;
    shell.data.gotArguments = true;
    shell.data.tooLong = c.backendTooLong;
    os::Services services;
    services.shellLinks = &shell;
    os::ScopedServices scope(services);
    EXPECT_EQ(links::ShortcutTextsFit(shell.data), c.usable);
    links::ShortcutInfo info;
    info.target = "before";
    EXPECT_EQ(links::ReadShortcut("C:\\s.lnk", info), c.usable ? 0 : -1);
    EXPECT_EQ(info.target, c.usable ? c.path : "before");
    if (!c.usable) {
      EXPECT_EQ(os::LastError(), os::kErrFilenameExcedRange);
    }
  }
}

TEST(ShortcutTest, AnIconPathThatDoesNotFitIsNoIcon) {
  FixedLinks shell;
  shell.data.path = "C:\\a.exe";
  shell.data.gotPath = true;
  shell.data.iconLocation = "C:\\" + std::string(300, 'i');
  shell.data.iconIndex = 3;
  shell.data.gotIconLocation = true;
  os::Services services;
  services.shellLinks = &shell;
  os::ScopedServices scope(services);
  links::ShortcutInfo info;
  ASSERT_EQ(links::ReadShortcut("C:\\s.lnk", info), 0);
  EXPECT_EQ(info.target, "C:\\a.exe");
  EXPECT_EQ(info.iconPath, "");
  EXPECT_EQ(info.iconIndex, 0);
}

}  // namespace

