#include "app/command_enabling.h"

#include <gtest/gtest.h>

#include "app/command_table.h"

namespace {

using app::CommandState;
using app::EnableRule;

TEST(CommandEnabling, AssociationCommandsFollowTheFocusedEntry) {
  struct Case {
    const char* own;
    const char* target;
    CommandState byExtension;
    CommandState byName;
  } cases[] = {
      {"a.txt", "a.txt", CommandState::kEnabled, CommandState::kEnabled},
      {"README", "README", CommandState::kDisabled, CommandState::kEnabled},
      {".profile", ".profile", CommandState::kEnabled, CommandState::kDisabled},
      {".x.cfg", ".x.cfg", CommandState::kEnabled, CommandState::kEnabled},
      {".", ".", CommandState::kEnabled, CommandState::kDisabled},
      // a link file: the target decides, the own name only for a target beginning with a period
      {"tool.lfi", "C:\\BIN\\TOOL", CommandState::kDisabled, CommandState::kEnabled},
      {"a.lnk", "C:\\dir.d\\.rc", CommandState::kEnabled, CommandState::kEnabled},
      {"alnk", "C:\\dir.d\\.rc", CommandState::kEnabled, CommandState::kDisabled},
      {"x", "C:\\dir.d\\noext", CommandState::kDisabled, CommandState::kEnabled},
      // 表 is 0x95 0x5C: its trail byte is no separator, so the name stays whole
      {"表.txt", "表.txt", CommandState::kEnabled, CommandState::kEnabled},
      {"", "", CommandState::kDisabled, CommandState::kEnabled},
      {nullptr, nullptr, CommandState::kKeep, CommandState::kKeep},
  };
  for (const Case& c : cases) {
    app::FocusedNames f{c.own, c.target};
    const char* label = c.target ? c.target : "(none)";
    EXPECT_EQ(app::CommandEnabling(EnableRule::kTargetHasExtension, true, f), c.byExtension)
        << label;
    EXPECT_EQ(app::CommandEnabling(EnableRule::kTargetHasFileName, true, f), c.byName) << label;
  }
}

TEST(CommandEnabling, OtherCommands) {
  struct Case {
    EnableRule rule;
    bool hasHandler;
    CommandState state;
  } cases[] = {
      {EnableRule::kAlways, false, CommandState::kEnabled},
      {EnableRule::kAlways, true, CommandState::kEnabled},
      {EnableRule::kWhenHandled, true, CommandState::kEnabled},
      {EnableRule::kWhenHandled, false, CommandState::kDisabled},
      {EnableRule::kTargetHasExtension, false, CommandState::kDisabled},
      {EnableRule::kTargetHasFileName, false, CommandState::kDisabled},
  };
  app::FocusedNames f{"a", "a"};
  for (const Case& c : cases)
    EXPECT_EQ(app::CommandEnabling(c.rule, c.hasHandler, f), c.state)
        << static_cast<int>(c.rule) << " handler=" << c.hasHandler;
}

// A table's rows: a row without a handler is offered disabled whatever its rule, an id without
// a row too, and the row found for an id is the one whose handler runs.
TEST(CommandTable, RowsDecideStateAndDispatch) {
  using Handler = void (*)(int& ran, int id);
  static constexpr app::CommandRow<Handler> rows[] = {
      {10, [](int& ran, int id) { ran = id; }},
      {11, nullptr, EnableRule::kTargetHasExtension},
      {12, nullptr, EnableRule::kAlways},
      {13, [](int& ran, int id) { ran = -id; }, EnableRule::kTargetHasExtension},
  };
  struct Case {
    int id;
    const char* target;
    CommandState state;
  } cases[] = {
      {10, "a", CommandState::kEnabled},
      {11, "a.txt", CommandState::kDisabled},
      {12, nullptr, CommandState::kEnabled},
      {13, "a.txt", CommandState::kEnabled},
      {13, "a", CommandState::kDisabled},
      {13, nullptr, CommandState::kKeep},
      {99, "a", CommandState::kDisabled},
  };
  for (const Case& c : cases) {
    app::FocusedNames f{c.target, c.target};
    EXPECT_EQ(app::CommandStateOf(app::FindCommand<Handler>(rows, c.id), f), c.state)
        << c.id << " " << (c.target ? c.target : "(none)");
  }
  EXPECT_EQ(app::FindCommand<Handler>(rows, 99), nullptr);
  for (int id : {10, 13}) {
    int ran = 0;
    app::FindCommand<Handler>(rows, id)->handler(ran, id);
    EXPECT_EQ(ran, id == 10 ? 10 : -13) << id;
  }
}

// A row with a last id stands for the whole run of ids, and only for it; the id reaches its
// handler.
TEST(CommandTable, RangeRowsCoverTheirIds) {
  using Handler = void (*)(int& ran, int id);
  static constexpr app::CommandRow<Handler> rows[] = {
      {300, [](int& ran, int id) { ran = id; }, EnableRule::kWhenHandled, 339},
      {340, [](int& ran, int id) { ran = -id; }},
      {400, nullptr, EnableRule::kWhenHandled, 439},
  };
  struct Case {
    int id;
    int row;  // index of the row found, -1 for none
  } cases[] = {{299, -1}, {300, 0}, {317, 0}, {339, 0}, {340, 1},
               {341, -1}, {400, 2}, {439, 2}, {440, -1}};
  for (const Case& c : cases) {
    const app::CommandRow<Handler>* row = app::FindCommand<Handler>(rows, c.id);
    EXPECT_EQ(row ? static_cast<int>(row - rows) : -1, c.row) << c.id;
  }
  int ran = 0;
  app::FindCommand<Handler>(rows, 317)->handler(ran, 317);
  EXPECT_EQ(ran, 317);
  EXPECT_EQ(app::CommandStateOf(app::FindCommand<Handler>(rows, 420), app::FocusedNames{}),
            CommandState::kDisabled);
}

}  // namespace
