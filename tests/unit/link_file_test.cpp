// Reading link files (.LFI).
#include <gtest/gtest.h>

#include "links/link_file.h"
#include "os/services.h"
#include "tests/unit/test_util.h"

namespace {

class LinkFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char cwd[os::kMaxPath] = {};
    uint32_t n = os::Fs().GetCurrentDir(cwd, sizeof(cwd));
    savedCwd_.assign(cwd, n < sizeof(cwd) ? n : 0);
  }
  void TearDown() override { os::Fs().SetCurrentDir(savedCwd_.c_str()); }
  std::string Write(const std::string& name, const std::string& content) {
    std::string path = dir_.Path(name);
    EXPECT_TRUE(testutil::WriteFileBytes(path, content));
    return path;
  }
  testutil::TempDir dir_;

 private:
  std::string savedCwd_;
};

TEST(LinkFileNameTest, RecognisedByTheLastFourCharacters) {
  struct Case {
    const char* name;
    bool link;
  } cases[] = {{"0.LFI", true},   {"a.lfi", true},         {"x.LfI", true},
               {".LFI", true},    {"LFI", false},          {"FI", false},
               {"", false},       {"a.LFI.txt", false},    {"a.LFIx", false},
               {"aLFI", false},   {"C:\\d\\0.LFI", true},  {"\x95\x5c.LFI", true},
               {"\x83.LFI", false}};  // the period is the trail byte of a double-byte character
  for (const auto& c : cases) EXPECT_EQ(links::IsLinkFileName(c.name), c.link) << c.name;
}

TEST_F(LinkFileTest, ReadTargetOfLinkFilesOnly) {
  std::string link = Write("0.LFI", "[Link]\r\nLink=C:\\target\r\nTitle=T\r\nCurrent=C:\\\r\n");
  std::string target = "untouched";
  EXPECT_EQ(links::ReadLinkTarget(dir_.Path("a.txt").c_str(), target), 0);
  EXPECT_EQ(target, "untouched");
  EXPECT_EQ(links::ReadLinkTarget(link.c_str(), target), 1);
  EXPECT_EQ(target, "C:\\target");
  EXPECT_EQ(links::ReadLinkTarget(dir_.Path("missing.LFI").c_str(), target), 1);
  EXPECT_EQ(target, "");
  // A bare name is taken in the current directory.
  ASSERT_TRUE(os::Fs().SetCurrentDir(dir_.Dir().c_str()));
  EXPECT_EQ(links::ReadLinkTarget("0.LFI", target), 1);
  EXPECT_EQ(target, "C:\\target");
}

TEST_F(LinkFileTest, DamagedLinkFilesGiveAnEmptyTarget) {
  struct Case {
    const char* name;
    std::string content;
    std::string target;
  } cases[] = {
      {"empty.LFI", "", ""},
      {"binary.LFI", std::string("\0\xff\x01\x02[]=\x95\x5c", 10), ""},
      {"nosection.LFI", "Link=C:\\x\r\n", ""},
      {"otherkey.LFI", "[Link]\r\nTitle=x\r\n", ""},
      {"huge.LFI", "[Link]\r\nLink=C:\\x\r\n" + std::string(links::kMaxLinkFileBytes, ' '), ""},
      {"long.LFI", "[Link]\r\nLink=" + std::string(400, 'L') + "\r\n", ""},
  };
  for (const auto& c : cases) {
    std::string target = "?";
    EXPECT_EQ(links::ReadLinkTarget(Write(c.name, c.content).c_str(), target), 1) << c.name;
    EXPECT_EQ(target, c.target) << c.name;
  }
}

TEST_F(LinkFileTest, ChainsEndAtTheFirstPathThatIsNoLinkFile) {
  std::string end = dir_.Path("end.txt");
  std::string b = Write("b.LFI", "[Link]\r\nLink=" + end + "\r\n");
  std::string a = Write("a.LFI", "[Link]\r\nLink=" + b + "\r\n");
  EXPECT_EQ(links::FollowLinkChain(a), end);
  EXPECT_EQ(links::FollowLinkChain(end), end);
  // Loops end after a bounded number of steps.
  std::string self = dir_.Path("self.LFI");
  Write("self.LFI", "[Link]\r\nLink=" + self + "\r\n");
  EXPECT_EQ(links::FollowLinkChain(self), self);
  std::string x = dir_.Path("x.LFI");
  std::string y = dir_.Path("y.LFI");
  Write("x.LFI", "[Link]\r\nLink=" + y + "\r\n");
  Write("y.LFI", "[Link]\r\nLink=" + x + "\r\n");
  std::string last = links::FollowLinkChain(x);
  EXPECT_TRUE(last == x || last == y) << last;
  EXPECT_EQ(links::FollowLinkChain(std::string()), "");
}

TEST_F(LinkFileTest, TitleAndWorkingDirectory) {
  Write("t.LFI", "[Link]\r\nLink=C:\\x\r\nTitle=Shown\r\nCurrent=C:\\dir\\\r\n");
  Write("n.LFI", "[Link]\r\nLink=C:\\x\r\nTitle=\r\n");
  Write("long.LFI", "[Link]\r\nTitle=" + std::string(700, 'T') + "\r\n");
  std::string title;
  // Bare names are taken in the table's directory, wherever the current directory is.
  EXPECT_EQ(links::ReadLinkTitle(dir_.Dir(), "t.LFI", title), 1);
  EXPECT_EQ(title, "Shown");
  EXPECT_EQ(links::ReadLinkTitle(dir_.Dir(), "n.LFI", title), 0);
  EXPECT_EQ(title, "n.LFI");
  EXPECT_EQ(links::ReadLinkTitle("Z:\\elsewhere\\", dir_.Path("n.LFI").c_str(), title), 0);
  EXPECT_EQ(title, "n.LFI");
  EXPECT_EQ(links::ReadLinkTitle(dir_.Dir(), "long.LFI", title), 1);
  EXPECT_EQ(title, std::string(511, 'T'));
  std::string wd;
  EXPECT_EQ(links::ReadLinkWorkingDirectory(dir_.Path("t.LFI").c_str(), wd), 1);
  EXPECT_EQ(wd, "C:\\dir\\");
  EXPECT_EQ(links::ReadLinkWorkingDirectory(dir_.Path("n.LFI").c_str(), wd), 0);
  EXPECT_EQ(wd, "");
}

TEST_F(LinkFileTest, APathThatDoesNotFitLeadsNowhereInsteadOfBeingCut) {
  const std::string kanji = "\x95\x5c";  // 表, its trail byte a backslash
  const std::string atLimit = "C:\\" + std::string(256, 'p');  // 259 bytes
  const std::string straddling = "C:\\" + std::string(255, 'p') + kanji;  // 260 bytes
  struct Case {
    const char* what;
    std::string value;
    bool fits;
  } cases[] = {
      {"short", "C:\\dir", true},
      {"exactly at the limit", atLimit, true},
      {"one byte over", atLimit + "q", false},
      {"a double-byte character ending at the limit", "C:\\" + std::string(254, 'p') + kanji,
       true},
      {"a double-byte character straddling the limit", straddling, false},
      {"far over", "C:\\" + std::string(2000, 'p'), false},
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string name = "p" + std::to_string(i++) + ".LFI";
    const std::string link =
        Write(name, "[Link]\r\nLink=" + c.value + "\r\nCurrent=" + c.value + "\r\n");
    std::string target = "?", directory = "?";
    EXPECT_EQ(links::ReadLinkTarget(link.c_str(), target), 1);
    EXPECT_EQ(target, c.fits ? c.value : "");
    EXPECT_EQ(links::ReadLinkWorkingDirectory(link.c_str(), directory), c.fits ? 1 : -1);
    EXPECT_EQ(directory, c.fits ? c.value : "");
    // A chain through it ends there, never at a cut path.
    const std::string via = Write("via" + name, "[Link]\r\nLink=" + link + "\r\n");
    EXPECT_EQ(links::FollowLinkChain(via), c.fits ? c.value : "");
  }
}

}  // namespace

