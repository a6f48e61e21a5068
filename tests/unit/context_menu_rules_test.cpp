// The shell context menu's own decisions: the view commands and the main-menu commands they
// run, the item that goes, which entries the shell object stands for and where a directory is
// found as an item.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "exec/context_menu_rules.h"
#include "resources/commands.h"
#include "table/selection.h"
#include "tests/unit/table_test_support.h"

namespace {

TEST(ContextMenuRulesTest, ViewCommandsRunTheMainMenusCommands) {
  const struct {
    int number;
    int command;
  } cases[] = {
      {0x7000, CMD_VICON},  {0x7001, CMD_VLIST},   {0x7002, CMD_VDATA},  {0x7003, CMD_VSPACING},
      {0x7004, CMD_VSNAME}, {0x7005, CMD_VSEXT},   {0x7006, CMD_VSNEW},  {0x7007, CMD_VSOLD},
      {0x7008, CMD_VSLARGE}, {0x7009, CMD_VSSMALL}, {0x700A, CMD_VCOLOR}, {0x700B, CMD_VFONT},
      {0x6FFF, 0},          {0x700C, 0},           {0, 0},               {20, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(exec::MainCommandOfViewCommand(c.number), c.command) << std::hex << c.number;
  // The three groups cover the twelve numbers once, in menu order.
  std::set<int> numbers;
  int expected = exec::kFirstViewCommand;
  for (auto group : {exec::ViewModeItems(), exec::SortItems(), exec::AppearanceItems()})
    for (const exec::ViewMenuItem& i : group) {
      EXPECT_EQ(i.number, expected++);
      numbers.insert(i.number);
    }
  EXPECT_EQ(numbers.size(), 12u);
  EXPECT_EQ(exec::SortItems().size(), 6u);
  EXPECT_EQ(exec::SortItems().front().mainCommand, CMD_VSNAME);
  EXPECT_EQ(exec::SortItems().back().mainCommand, CMD_VSSMALL);
}

TEST(ContextMenuRulesTest, SendToCaptionsAndVerbsOfTheFolder) {
  const struct {
    const char* text;
    bool sendTo;
  } captions[] = {{"送る(&N)", true}, {"&Send To", true}, {"&send to", true},
                  {"Send To", false}, {"送る", false},    {"", false}};
  for (const auto& c : captions) EXPECT_EQ(exec::IsSendToCaption(c.text), c.sendTo) << c.text;
  const struct {
    const char* verb;
    bool folder;
  } verbs[] = {{"find", true}, {"PASTE", true}, {"copy", false}, {"open", false}, {"cut", false}};
  for (const auto& v : verbs) EXPECT_EQ(exec::VerbActsOnFolder(v.verb), v.folder) << v.verb;
  EXPECT_FALSE(exec::ClearsSelectionAfter(0));   // dismissed
  EXPECT_FALSE(exec::ClearsSelectionAfter(20));
  EXPECT_TRUE(exec::ClearsSelectionAfter(1));
  EXPECT_TRUE(exec::ClearsSelectionAfter(0x7006));
}

TEST(ContextMenuRulesTest, TheDirectoryAsAnItemOfItsParent) {
  const struct {
    const char* path;
    bool inMyComputer;
    const char* parent;
    const char* item;
  } cases[] = {
      {"C:\\WINDOWS", false, "C:\\", "WINDOWS"},
      {"C:\\a\\b.c", false, "C:\\a", "b.c"},
      {"D:\\", true, "", "D:\\"},
      {"C:\\\x95\x5c\\x", false, "C:\\\x95\x5c", "x"},  // 表 ends in a "\" byte
      {"C:\\d\\\x95\x5c", false, "C:\\d", "\x95\x5c"},
  };
  for (const auto& c : cases) {
    const exec::FolderAsItem f = exec::FolderAsItemOf(c.path);
    EXPECT_EQ(f.inMyComputer, c.inMyComputer) << c.path;
    EXPECT_EQ(f.parent, c.parent) << c.path;
    EXPECT_EQ(f.item, c.item) << c.path;
  }
}

class SelectedItemNamesTest : public tabletest::TableTest {};

TEST_F(SelectedItemNamesTest, TheSelectedEntriesInListOrder) {
  for (const char* f : {"b.txt", "a.txt", "c.txt"}) MakeFile(f);
  auto t = Open();
  EXPECT_FALSE(exec::SelectedItemNames(*t));  // nothing selected: no list
  table::Select(*t, Entry(*t, "c.txt"), nullptr);
  table::Select(*t, Entry(*t, "a.txt"), nullptr);
  const auto names = exec::SelectedItemNames(*t);
  ASSERT_TRUE(names);
  EXPECT_EQ(*names, (std::vector<std::string>{"a.txt", "c.txt"}));
}

}  // namespace
