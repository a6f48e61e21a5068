// Making link files and shortcuts: numbering and naming, the keys written, chains, failures
// that must not leave a half-written file, and a directory where no name can be had.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileops/link_create.h"
#include "links/link_file.h"
#include "links/shortcut.h"
#include "os/services.h"
#include "tests/unit/faulty_fs.h"
#include "tests/unit/forwarding_profile.h"
#include "tests/unit/test_util.h"

namespace {

using fileops::CreateLinkFile;
using fileops::CreateShortcut;

std::string Key(const std::string& file, const char* key) {
  char buf[600] = {};
  os::Ini().GetString("Link", key, "<none>", buf, sizeof(buf), file.c_str());
  return buf;
}

class LinkCreateTest : public ::testing::Test {
 protected:
  std::string P(const std::string& name) const { return dir_.Path(name); }
  testutil::TempDir dir_;
};

TEST_F(LinkCreateTest, LinkFilesAreNumberedFromZero) {
  ASSERT_TRUE(testutil::WriteFileBytes(P("readme.txt"), "r"));
  std::string first, second;
  ASSERT_EQ(CreateLinkFile(P("readme.txt").c_str(), dir_.Dir().c_str(), nullptr, &first), 0);
  ASSERT_EQ(CreateLinkFile(P("readme.txt").c_str(), P("").c_str(), "My title", &second), 0);
  EXPECT_EQ(first, P("0.LFI"));
  EXPECT_EQ(second, P("1.LFI"));
  EXPECT_EQ(Key(first, "Link"), P("readme.txt"));
  EXPECT_EQ(Key(first, "Title"), "readme.txt へのリンク");
  EXPECT_EQ(Key(first, "Current"), dir_.Dir());
  EXPECT_EQ(Key(second, "Title"), "My title");
  std::string title;
  EXPECT_EQ(links::ReadLinkTitle(dir_.Dir(), "1.LFI", title), 1);
  EXPECT_EQ(title, "My title");
}

TEST_F(LinkCreateTest, DirectoryWithoutItsBackslashAndTakenNumbers) {
  ASSERT_TRUE(testutil::WriteFileBytes(P("0.LFI"), "[Link]\r\n"));
  ASSERT_TRUE(testutil::WriteFileBytes(P("2.lfi"), "[Link]\r\n"));
  const std::string dir = dir_.Dir().substr(0, dir_.Dir().size() - 1);
  std::string made;
  ASSERT_EQ(CreateLinkFile("C:\\x.txt", dir.c_str(), nullptr, &made), 0);
  EXPECT_EQ(made, P("1.LFI"));
  ASSERT_EQ(CreateLinkFile("C:\\x.txt", dir.c_str(), nullptr, &made), 0);
  EXPECT_EQ(made, P("3.LFI"));
}

TEST_F(LinkCreateTest, ALinkToALinkFileTakesTitleAndDirectoryFromTheFinalTarget) {
  ASSERT_TRUE(os::Fs().CreateDir(P("表").c_str()));
  const std::string final = P("表\\能.txt");
  ASSERT_TRUE(testutil::WriteFileBytes(final, "x"));
  std::string inner, outer;
  ASSERT_EQ(CreateLinkFile(final.c_str(), dir_.Dir().c_str(), "inner", &inner), 0);
  ASSERT_EQ(CreateLinkFile(inner.c_str(), dir_.Dir().c_str(), nullptr, &outer), 0);
  EXPECT_EQ(Key(outer, "Link"), inner);  // as given
  EXPECT_EQ(Key(outer, "Title"), "能.txt へのリンク");
  EXPECT_EQ(Key(outer, "Current"), P("表\\"));
}

TEST_F(LinkCreateTest, RelativeNamesAreWrittenInTheCurrentDirectory) {
  char saved[os::kMaxPath] = {};
  os::Fs().GetCurrentDir(saved, sizeof(saved));
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir_.Dir().c_str()));
  std::string made;
  int r = CreateLinkFile("C:\\target.txt", ".", "t", &made);
  EXPECT_EQ(fileops::WriteLinkTitle("0.LFI", "new title"), 0);
  EXPECT_EQ(fileops::WriteLinkTarget("0.LFI", "C:\\other.txt"), 0);
  EXPECT_EQ(fileops::WriteLinkWorkingDirectory("0.LFI", "C:\\work\\"), 0);
  os::Fs().SetCurrentDir(saved);
  ASSERT_EQ(r, 0);
  EXPECT_EQ(made, P("0.LFI"));
  EXPECT_EQ(Key(P("0.LFI"), "Title"), "new title");
  EXPECT_EQ(Key(P("0.LFI"), "Link"), "C:\\other.txt");
  EXPECT_EQ(Key(P("0.LFI"), "Current"), "C:\\work\\");
}

TEST_F(LinkCreateTest, AMissingDirectoryFailsWithoutLeavingAFile) {
  EXPECT_EQ(CreateLinkFile("C:\\x.txt", P("none").c_str(), nullptr), -1);
  EXPECT_EQ(fileops::WriteLinkTitle(P("none\\0.LFI").c_str(), "t"), -1);
  EXPECT_FALSE(testutil::FileExists(P("none")));
}

// Profile writes of one key fail.
class RefusingProfile : public testutil::ForwardingProfile {
 public:
  explicit RefusingProfile(const char* key) : key_(key) {}
  bool WriteString(const char* s, const char* k, const char* v, const char* f) override {
    if (k && std::string(k) == key_) return false;
    return ForwardingProfile::WriteString(s, k, v, f);
  }

 private:
  std::string key_;
};

TEST_F(LinkCreateTest, AHalfWrittenLinkFileIsDeleted) {
  struct Case {
    const char* failingKey;
    int result;
  } cases[] = {{"Link", -1}, {"Title", -2}, {"Current", -2}};
  for (const auto& c : cases) {
    RefusingProfile profile(c.failingKey);
    os::Services s;
    s.profile = &profile;
    os::ScopedServices scope(s);
    EXPECT_EQ(CreateLinkFile("C:\\x.txt", dir_.Dir().c_str(), nullptr), c.result) << c.failingKey;
    EXPECT_FALSE(testutil::FileExists(P("0.LFI"))) << c.failingKey;
  }
}

TEST_F(LinkCreateTest, ADirectoryWhereNoNameCanBeTriedEndsTheSearch) {
  testutil::InstalledFaultyFs fs;
  fs.Fail(testutil::FsOp::kOpen, ".LFI", 0, os::kErrAccessDenied);
  EXPECT_EQ(CreateLinkFile("C:\\x.txt", dir_.Dir().c_str(), nullptr), -3);
  EXPECT_LT(fs.Calls(testutil::FsOp::kOpen), 100);
}

// Records the shortcuts it is asked to make and writes a small file for each, so that the
// names are taken afterwards.
class RecordingLinks : public os::ShellLinks {
 public:
  bool Read(const char*, os::ShellLinkData&) override { return false; }
  bool Write(const char* path, const os::ShellLinkFields& wanted) override {
    made.emplace_back(path, wanted);
    if (fail) {
      testutil::WriteFileBytes(path, "half");
      return false;
    }
    return testutil::WriteFileBytes(path, "shortcut");
  }
  std::vector<std::pair<std::string, os::ShellLinkFields>> made;
  bool fail = false;
};

class ShortcutCreateTest : public LinkCreateTest {
 protected:
  ShortcutCreateTest() : scope_(Services(&links_)) {}
  static os::Services Services(os::ShellLinks* links) {
    os::Services s;
    s.shellLinks = links;
    return s;
  }
  RecordingLinks links_;
  os::ScopedServices scope_;
};

TEST_F(ShortcutCreateTest, NamesCountUpFromTheBaseName) {
  std::string a, b, c;
  ASSERT_EQ(CreateShortcut("C:\\docs\\README.TXT", dir_.Dir().c_str(), "icon.ico", "C:\\docs", &a), 0);
  ASSERT_EQ(CreateShortcut("C:\\docs\\README.TXT", dir_.Dir().c_str(), "", "", &b), 0);
  ASSERT_EQ(CreateShortcut("C:\\docs\\README.TXT", dir_.Dir().c_str(), "", "", &c), 0);
  EXPECT_EQ(a, P("READMEへのｼｮｰﾄｶｯﾄ.LNK"));
  EXPECT_EQ(b, P("READMEへのｼｮｰﾄｶｯﾄ (2).LNK"));
  EXPECT_EQ(c, P("READMEへのｼｮｰﾄｶｯﾄ (3).LNK"));
  ASSERT_EQ(links_.made.size(), 3u);
  const os::ShellLinkFields& wanted = links_.made[0].second;
  EXPECT_EQ(wanted.target, "C:\\docs\\README.TXT");
  EXPECT_EQ(wanted.iconLocation, "icon.ico");
  EXPECT_EQ(wanted.description, "READMEへのｼｮｰﾄｶｯﾄ");
  EXPECT_EQ(wanted.workingDirectory, "C:\\docs");
}

TEST_F(ShortcutCreateTest, AShortcutToAShortcutIsNamedAfterIt) {
  std::string made;
  ASSERT_EQ(CreateShortcut("C:\\a\\Tool.lnk", dir_.Dir().c_str(), "", "", &made), 0);
  EXPECT_EQ(made, P("Tool.LNK"));
  EXPECT_EQ(fileops::ShortcutBaseName("C:\\表\\能.txt"), "能へのｼｮｰﾄｶｯﾄ");
  EXPECT_EQ(fileops::ShortcutBaseName("noext"), "noextへのｼｮｰﾄｶｯﾄ");
  EXPECT_EQ(fileops::ShortcutBaseName("C:\\a.b\\c"), "cへのｼｮｰﾄｶｯﾄ");
}

TEST_F(ShortcutCreateTest, AFailedShortcutLeavesNoFile) {
  links_.fail = true;
  EXPECT_EQ(CreateShortcut("C:\\x.txt", dir_.Dir().c_str(), "", ""), -1);
  EXPECT_FALSE(testutil::FileExists(P("xへのｼｮｰﾄｶｯﾄ.LNK")));
}

TEST(ShortcutWorkingDirectoryTest, DropRules) {
  struct Case {
    const char* path;
    bool directory;
    const char* expected;
  } cases[] = {
      {"C:\\a\\b.txt", false, "C:\\a"},
      {"C:\\b.txt", false, "C:\\"},
      {"C:\\表\\能.txt", false, "C:\\表"},
      {"C:\\a\\dir", true, ""},
      {"b.txt", false, ""},
      {"C:b.txt", false, "C:"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fileops::ShortcutWorkingDirectory(c.path, c.directory), c.expected) << c.path;
}

#ifdef _WIN32
// The shell's own link object: what is made can be read back.
TEST_F(LinkCreateTest, RealShortcutReadsBack) {
  ASSERT_TRUE(testutil::WriteFileBytes(P("target.txt"), "t"));
  std::string made;
  ASSERT_EQ(CreateShortcut(P("target.txt").c_str(), dir_.Dir().c_str(), "", dir_.Dir().c_str(), &made), 0);
  EXPECT_EQ(made, P("targetへのｼｮｰﾄｶｯﾄ.LNK"));
  links::ShortcutInfo info;
  ASSERT_EQ(links::ReadShortcut(made.c_str(), info), 0);
  EXPECT_EQ(info.target, P("target.txt"));
}
#else
TEST_F(LinkCreateTest, WithoutAShellNoShortcutIsMade) {
  EXPECT_EQ(CreateShortcut("C:\\x.txt", dir_.Dir().c_str(), "", ""), -1);
  EXPECT_FALSE(testutil::FileExists(P("xへのｼｮｰﾄｶｯﾄ.LNK")));
}
#endif

}  // namespace
