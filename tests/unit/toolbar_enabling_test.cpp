// The toolbar follows its commands' states between messages: only changes reach the bar, kKeep
// leaves a button alone, and the current-path button asks once.
#include "app/toolbar_enabling.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

using app::CommandState;
using settings::ToolbarItem;
using Changes = std::vector<std::pair<int, bool>>;

const std::vector<ToolbarItem> kItems = {
    {ToolbarItem::kButton, 10, 0},
    {ToolbarItem::kSeparator, 0, 6},
    {ToolbarItem::kButton, 11, 0},
    {ToolbarItem::kDriveButton, 132, 0},
};

TEST(ToolbarEnablingTest, FollowsTheStatesAcrossUpdates) {
  // Made with 10 enabled, 11 disabled, 132 enabled.
  app::ToolbarEnabling bar(kItems, {true, false, true});
  std::map<int, CommandState> states;
  std::map<int, int> asked;
  auto state = [&](int command) {
    ++asked[command];
    return states.count(command) ? states[command] : CommandState::kEnabled;
  };
  const struct {
    std::map<int, CommandState> states;
    Changes expect;
  } steps[] = {
      // 11 becomes enabled; the others already are.
      {{}, {{11, true}}},
      // Nothing changed: nothing is sent.
      {{}, {}},
      // Keep leaves 10 as it is; 11 goes grey; the drive button asks no more.
      {{{10, CommandState::kKeep}, {11, CommandState::kDisabled}, {132, CommandState::kDisabled}},
       {{11, false}}},
      {{{10, CommandState::kDisabled}}, {{10, false}, {11, true}}},
  };
  for (const auto& step : steps) {
    states = step.states;
    EXPECT_EQ(bar.Update(state), step.expect);
  }
  EXPECT_EQ(asked[10], 4);
  EXPECT_EQ(asked[11], 4);
  EXPECT_EQ(asked[132], 1) << "the current-path button asks only at its first update";
}

TEST(ToolbarEnablingTest, AnEmptyBarAsksNothing) {
  app::ToolbarEnabling bar({{ToolbarItem::kSeparator, 0, 6}}, {});
  int asked = 0;
  EXPECT_TRUE(bar.Update([&](int) {
                ++asked;
                return CommandState::kDisabled;
              }).empty());
  EXPECT_EQ(asked, 0);
}

}  // namespace
