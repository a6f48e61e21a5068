#include "app/command_enabling.h"

#include <gtest/gtest.h>

#include "resources/commands.h"

namespace {

using app::CommandState;

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
    EXPECT_EQ(app::CommandEnabling(CMD_FLINK_EXT, true, f), c.byExtension) << label;
    EXPECT_EQ(app::CommandEnabling(CMD_FLINK_NAME, true, f), c.byName) << label;
  }
}

TEST(CommandEnabling, OtherCommands) {
  struct Case {
    int command;
    bool hasHandler;
    CommandState state;
  } cases[] = {
      {CMD_DNETADD, false, CommandState::kEnabled},
      {CMD_DNETCANCEL, true, CommandState::kEnabled},
      {CMD_FCOPY, true, CommandState::kEnabled},
      {CMD_FCOPY, false, CommandState::kDisabled},
      {CMD_FLINK_FULL, true, CommandState::kEnabled},
      {CMD_FLINK_EXT, false, CommandState::kDisabled},
      {CMD_FLINK_NAME, false, CommandState::kDisabled},
      {202, true, CommandState::kEnabled},
  };
  app::FocusedNames f{"a", "a"};
  for (const Case& c : cases)
    EXPECT_EQ(app::CommandEnabling(c.command, c.hasHandler, f), c.state) << c.command;
}

}  // namespace
