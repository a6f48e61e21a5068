// The command table of a window: one row per command id with its handler and its enabling rule.
// The one table drives the dispatch of menu commands, toolbar buttons and bound keys, the
// enabling of menu items and toolbar buttons, and context help. Adding a command is one row
// and one handler.
#pragma once
#include <span>

#include "app/command_enabling.h"

namespace app {

// Handler: how the owner runs the command (a function of the owner and the command id, so that
// several ids can share one). A row without a handler (null) offers its command disabled until
// the handler arrives.
template <typename Handler>
struct CommandRow {
  int id;
  Handler handler;
  EnableRule rule = EnableRule::kWhenHandled;
  int lastId = 0;  // above id: the row stands for every id from id to lastId
};

// The row of a command id, or null when the table has none.
template <typename Handler>
const CommandRow<Handler>* FindCommand(std::span<const CommandRow<Handler>> rows, int id) {
  for (const CommandRow<Handler>& row : rows)
    if (row.id == id || (row.lastId > row.id && id > row.id && id <= row.lastId)) return &row;
  return nullptr;
}

// What a row (or a command without one) gives its menu item and toolbar button.
template <typename Handler>
CommandState CommandStateOf(const CommandRow<Handler>* row, const FocusedNames& focused) {
  if (!row) return CommandEnabling(EnableRule::kWhenHandled, false, focused);
  return CommandEnabling(row->rule, row->handler != nullptr, focused);
}

}  // namespace app
