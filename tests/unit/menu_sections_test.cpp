#include "settings/menu_sections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_file.h"
#include "os/services.h"
#include "tests/unit/app_fixture.h"
#include "tests/unit/forwarding_profile.h"

namespace {

using settings::ProfileInfo;
using MenuSectionTest = testutil::AppDirTest;

std::vector<ProfileInfo> Numbered(int count, const char* prefix) {
  std::vector<ProfileInfo> out;
  for (int i = 0; i < count; ++i)
    out.push_back({prefix + std::to_string(i), "*." + std::to_string(i)});
  return out;
}

TEST_F(MenuSectionTest, ValuesComeBackAsWritten) {
  const std::string kLong = "c:\\tools\\run.exe " + std::string(1000, 'a');
  const std::string values[] = {
      "*.txt *.doc",
      "\"c:\\program files\\ed.exe\" -n",
      "\"quoted whole\"",
      "  blanks at both ends  ",
      "\ttab first",
      "'single'",
      "a & b ; c",
      "\x95\x5C.txt",            // a trail byte that is "\"
      "\x83\x7C\x83\x93.exe",    // a trail byte that is "|"
      "\"",
      kLong,
      // Quoted values about the sizes the reading tries first: one of them came back a byte
      // short under Wine.
      "\"" + std::string(508, 'q') + "\"",
      "\"" + std::string(509, 'q') + "\"",
      "\"" + std::string(510, 'q') + "\"",
      "\"" + std::string(1021, 'q') + "\"",
      "\"" + std::string(1022, 'q') + "\"",
  };
  for (const std::string& v : values) {
    const std::string title = "t" + std::to_string(&v - values);
    ASSERT_EQ(settings::AddMenuEntry("Run", {title, v}), settings::SectionWrite::kWritten);
  }
  const std::vector<ProfileInfo> read = settings::ReadMenuSection("Run");
  ASSERT_EQ(read.size(), std::size(values));
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].title, "t" + std::to_string(i));
    EXPECT_EQ(read[i].value, values[i]) << i;
  }
}

TEST_F(MenuSectionTest, ReadingSkipsEmptyValuesAndKeepsFileOrder) {
  ASSERT_TRUE(testutil::WriteFileBytes(
      dir_.Path("sorm.cfg"),
      "[Mask]\r\nB=*.b\r\nempty=\r\n&A=*.a\r\nblank=  \r\n\x95\x5C=*.x\r\n[Run]\r\nr=x\r\n"));
  const std::vector<ProfileInfo> want = {{"B", "*.b"}, {"&A", "*.a"}, {"\x95\x5C", "*.x"}};
  EXPECT_EQ(settings::ReadMenuSection("Mask"), want);
  EXPECT_TRUE(settings::ReadMenuSection("None").empty());
}

TEST(MenuTitle, Problems) {
  struct Case {
    const char* title;
    bool ok;
  } cases[] = {
      {"&Text", true},          {"a;b", true},       {"\x95\x5C", true}, {"", false},
      {" lead", false},         {"trail ", false},   {";comment", false}, {"[sec", false},
      {"a=b", false},           {"x\ny", false},
      // "=" as a trail byte does not occur in code page 932, but "\" and "|" do.
      {"\x83\x7C\x95\x5C", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(settings::MenuTitleProblem(c.title) == nullptr, c.ok) << c.title;
}

TEST(MenuMerge, ThreeWays) {
  using L = std::vector<ProfileInfo>;
  struct Case {
    const char* name;
    L base, edited, current, want;
  } cases[] = {
      {"nothing happened elsewhere", {{"a", "1"}, {"b", "2"}}, {{"b", "2"}, {"a", "9"}},
       {{"a", "1"}, {"b", "2"}}, {{"b", "2"}, {"a", "9"}}},
      {"added elsewhere is kept", {{"a", "1"}}, {{"a", "1"}, {"n", "new"}},
       {{"a", "1"}, {"x", "other"}}, {{"a", "1"}, {"n", "new"}, {"x", "other"}}},
      {"changed elsewhere, untouched here", {{"a", "1"}, {"b", "2"}}, {{"b", "2"}, {"a", "1"}},
       {{"a", "1"}, {"b", "22"}}, {{"b", "22"}, {"a", "1"}}},
      {"changed here and elsewhere: ours", {{"a", "1"}}, {{"a", "mine"}}, {{"a", "theirs"}},
       {{"a", "mine"}}},
      {"deleted elsewhere, untouched here", {{"a", "1"}, {"b", "2"}}, {{"a", "1"}, {"b", "2"}},
       {{"a", "1"}}, {{"a", "1"}}},
      {"deleted here stays deleted", {{"a", "1"}, {"b", "2"}}, {{"a", "1"}},
       {{"a", "1"}, {"b", "2"}}, {{"a", "1"}}},
      {"renamed here", {{"a", "1"}}, {{"z", "1"}}, {{"a", "1"}}, {{"z", "1"}}},
      {"titles differing in case are one key", {}, {{"Ab", "1"}, {"aB", "2"}}, {},
       {{"Ab", "2"}}},
      {"added elsewhere under a title we added too", {}, {{"n", "mine"}}, {{"N", "theirs"}},
       {{"n", "mine"}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(settings::MergeSectionRewrite(c.base, c.edited, c.current), c.want) << c.name;
}

TEST_F(MenuSectionTest, RewriteKeepsEntriesBeyondTheEditorsAndThoseOfOtherWindows) {
  const std::vector<ProfileInfo> all = Numbered(120, "m");
  for (const ProfileInfo& p : all) ASSERT_EQ(settings::AddMenuEntry("Mask", p), settings::SectionWrite::kWritten);
  const std::vector<ProfileInfo> base = settings::ReadMenuSection("Mask");
  ASSERT_EQ(base, all);
  // The editor shows 100: it deletes the first, moves the second down and changes the third.
  std::vector<ProfileInfo> shown(base.begin(), base.begin() + settings::kEditorItemsMax);
  shown.erase(shown.begin());
  std::swap(shown[0], shown[1]);
  shown[0].value = "*.changed";
  // Meanwhile another window registers an item.
  ASSERT_EQ(settings::AddMenuEntry("Mask", {"other", "*.o"}), settings::SectionWrite::kWritten);
  std::vector<ProfileInfo> edited = shown;
  edited.insert(edited.end(), base.begin() + settings::kEditorItemsMax, base.end());
  ASSERT_EQ(settings::RewriteMenuSection("Mask", base, edited), settings::SectionWrite::kWritten);

  std::vector<ProfileInfo> want = edited;
  want.push_back({"other", "*.o"});
  EXPECT_EQ(settings::ReadMenuSection("Mask"), want);
  EXPECT_EQ(settings::ReadMenuSection("Mask").size(), 120u);
}

// A rewrite whose writes start failing part of the way (the disk fills up, another program
// locks the file): the section on disk is the old one or the new one, never a part of either.
TEST_F(MenuSectionTest, ARewriteThatFailsLeavesTheSectionAsItWas) {
  const std::vector<ProfileInfo> old = Numbered(5, "m");
  std::vector<ProfileInfo> edited = old;
  std::swap(edited[0], edited[4]);
  edited[2].value = "*.changed";
  for (int succeeding : {0, 1, 2, 6}) {
    SCOPED_TRACE(succeeding);
    ASSERT_TRUE(config::DeleteConfigSection("Mask"));
    for (const ProfileInfo& p : old) ASSERT_EQ(settings::AddMenuEntry("Mask", p), settings::SectionWrite::kWritten);
    settings::SectionWrite result;
    {
      testutil::FailingWritesProfile failing(succeeding);
      os::ScopedServices scope(os::Services{nullptr, &failing});
      result = settings::RewriteMenuSection("Mask", old, edited);
    }
    EXPECT_EQ(settings::ReadMenuSection("Mask"),
              result == settings::SectionWrite::kWritten ? edited : old);
    EXPECT_EQ(result, succeeding > 0 ? settings::SectionWrite::kWritten : settings::SectionWrite::kWriteError);
  }
}

TEST(RunMenuProposal, TitleAndQuotedCommand) {
  struct Case {
    const char* dir;
    const char* display;
    const char* file;
    ProfileInfo want;
  } cases[] = {
      {"C:\\tools", "ed.exe", "ed.exe", {"&ed.exe", "C:\\tools\\ed.exe"}},
      {"C:\\", "ed.exe", "ed.exe", {"&ed.exe", "C:\\ed.exe"}},
      {"C:\\my tools", "ed.exe", "ed.exe", {"&ed.exe", "\"C:\\my tools\\ed.exe\""}},
      {"C:\\t", "my ed.exe", "my ed.exe", {"&my ed.exe", "\"C:\\t\\my ed.exe\""}},
      // A directory ending in 表 (trail byte "\") still gets its separator.
      {"C:\\\x95\x5C", "a.exe", "a.exe", {"&a.exe", "C:\\\x95\x5C\\a.exe"}},
      // A link file is proposed under its title, run by its file name.
      {"C:\\t", "Editor", "ED.LFI", {"&Editor", "C:\\t\\ED.LFI"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(settings::RunMenuProposal(c.dir, c.display, c.file), c.want) << c.dir << c.file;
}

TEST_F(MenuSectionTest, ProposalWithBlanksReadsBackWithOnePairOfQuotes) {
  const ProfileInfo p = settings::RunMenuProposal("C:\\my tools", "ed.exe", "ed.exe");
  ASSERT_EQ(settings::AddMenuEntry("Run", p), settings::SectionWrite::kWritten);
  EXPECT_NE(Cfg().find("&ed.exe=\"\"C:\\my tools\\ed.exe\"\""), std::string::npos) << Cfg();
  EXPECT_EQ(settings::ReadMenuSection("Run"), std::vector<ProfileInfo>{p});
}

}  // namespace
