#include "settings/toolbar_keywords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/commands.h"
#include "tests/unit/app_fixture.h"

namespace {

using settings::ToolbarItem;
using Items = std::vector<ToolbarItem>;

ToolbarItem Button(int command) { return {ToolbarItem::kButton, command, 0}; }
ToolbarItem Separator() { return {ToolbarItem::kSeparator, 0, 6}; }
ToolbarItem DriveButton() { return {ToolbarItem::kDriveButton, CMD_DKEYIN, 0}; }

TEST(ToolbarKeywords, Parse) {
  struct Case {
    std::string value;
    Items items;
  } cases[] = {
      {"FOPEN / FCOPY", {Button(CMD_FOPEN), Separator(), Button(CMD_FCOPY)}},
      {"/FOPEN", {Separator(), Button(CMD_FOPEN)}},
      {"FOPEN/", {Separator(), Button(CMD_FOPEN)}},
      {"FOPENFCOPY", {Button(CMD_FOPEN), Button(CMD_FCOPY)}},
      {"FCOPYFOPEN", {Button(CMD_FOPEN), Button(CMD_FCOPY)}},  // keyword order, not text order
      {"FOPENFOPEN", {Button(CMD_FOPEN)}},
      {"FOPEN FOPEN", {Button(CMD_FOPEN), Button(CMD_FOPEN)}},
      {"//", {Separator()}},
      {"/ /", {Separator(), Separator()}},
      {"", {}},
      {"     ", {}},
      {"fopen Fopen FOPE OPEN", {}},  // case counts; a part of a keyword is nothing
      {"UNKNOWN xyz 123 ;", {}},
      {"  \tFMOVE\t\t FDELETE  ", {Button(CMD_FMOVE), Button(CMD_FDELETE)}},
      {"DKEYIN", {DriveButton()}},
      {"FWINOPEN", {Button(CMD_FWINOPEN)}},
      {"FUNMARKALL FMARKALL", {Button(CMD_FUNMARKALL), Button(CMD_FMARKALL)}},
      {"xxFEXITyy", {Button(CMD_FEXIT)}},
      {"FLINK_FULL", {Button(CMD_FLINK_FULL)}},
      {"VSNEWVSOLD/", {Separator(), Button(CMD_VSNEW), Button(CMD_VSOLD)}},
      {"アFOPEN", {Button(CMD_FOPEN)}},
      // "ェ" is 0x83 0x46: its trail byte is an "F", which must not start "FOPEN"
      {"ェOPEN", {}},
      {"表/FCOPY", {Separator(), Button(CMD_FCOPY)}},
  };
  for (const Case& c : cases) EXPECT_EQ(settings::ParseToolbarKeywords(c.value.c_str()), c.items) << c.value;
  EXPECT_TRUE(settings::ParseToolbarKeywords(nullptr).empty());
}

TEST(ToolbarKeywords, AllKeywordsGluedComeInTheFixedOrder) {
  const int order[] = {
      CMD_FWINOPEN, CMD_FOPEN,      CMD_FMOVE,      CMD_FCOPY,     CMD_FDELETE,
      CMD_FDUPLICATE, CMD_FPROPERTY, CMD_FMAKEDIR,  CMD_FLINK_EXT, CMD_FLINK_NAME,
      CMD_FLINK_FULL, CMD_FMARKALL, CMD_FUNMARKALL, CMD_FQUIT,     CMD_FEXIT,
      CMD_DKEYIN,   CMD_DNETADD,    CMD_DNETCANCEL, CMD_MKEYIN,    CMD_VICON,
      CMD_VLIST,    CMD_VSNAME,     CMD_VSEXT,      CMD_VSNEW,     CMD_VSOLD,
      CMD_VSLARGE,  CMD_VSSMALL,    CMD_RKEYIN,     CMD_RREGIST,   CMD_VCOLOR,
      CMD_VFONT,    CMD_VBAR,       CMD_VDATA,      CMD_OSAVEDEFAULT, CMD_BEDIT,
      CMD_MEDIT,    CMD_REDIT,      CMD_HCONTENTS,
  };
  std::string glued;
  for (auto it = settings::ToolbarKeywords().rbegin(); it != settings::ToolbarKeywords().rend(); ++it)
    glued += it->word;
  Items items = settings::ParseToolbarKeywords(glued.c_str());
  ASSERT_EQ(items.size(), std::size(order));
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].command, order[i]) << i;
    EXPECT_EQ(items[i].kind,
              order[i] == CMD_DKEYIN ? ToolbarItem::kDriveButton : ToolbarItem::kButton);
  }
}

TEST(ToolbarKeywords, HugeValuesParseWithoutHarm) {
  std::string words;
  while (words.size() < 200000) words += "FOPENFCOPY/";
  EXPECT_EQ(settings::ParseToolbarKeywords(words.c_str()).size(), 3u);
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "FOPEN ";
  EXPECT_EQ(settings::ParseToolbarKeywords(many.c_str()).size(), 20000u);
}

using ToolbarConfigTest = testutil::AppDirTest;

TEST_F(ToolbarConfigTest, ReadsTheSettingWithA1024ByteBuffer) {
  struct Case {
    std::string value;
    Items items;
  } cases[] = {
      // FCOPY ends at byte 1023: read whole
      {std::string(1017, 'x') + " FCOPY", {Button(CMD_FCOPY)}},
      // FCOPY would end at byte 1024: the read cuts it
      {std::string(1018, 'x') + " FCOPY", {}},
      {"FOPEN " + std::string(3000, 'x') + " FCOPY", {Button(CMD_FOPEN)}},
      {"", {}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(config::WriteConfigString("BarSettings", "ToolBar", c.value.c_str()));
    EXPECT_EQ(settings::ReadToolbarItems(), c.items) << c.value.size();
  }
}

TEST_F(ToolbarConfigTest, MissingSettingGivesNoButtons) {
  EXPECT_TRUE(settings::ReadToolbarItems().empty());
}

}  // namespace
