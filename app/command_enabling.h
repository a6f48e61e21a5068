// Which commands the menu and toolbar offer, from the focused entry: the associations by
// extension and by file name need a name with the part they associate.
#pragma once

namespace app {

enum class CommandState { kKeep, kEnabled, kDisabled };

// The focused entry: its own name and its target name (the name a link file or shortcut points
// to, else its own name). Null names when there is no focused entry.
struct FocusedNames {
  const char* own = nullptr;
  const char* target = nullptr;
};

// 160 (by extension): enabled when the target's name holds a period. 150 (by file name): enabled
// when the target's name does not begin with a period, otherwise only when the entry's own name
// has a period after its first character. Both keep their state without a focused entry.
// 122 and 120 (network drives) are always enabled; any other command is enabled when it has a
// handler and disabled when not (160 and 150 too). Periods are searched double-byte aware, in the last path
// component of a target given as a path.
CommandState CommandEnabling(int command, bool hasHandler, const FocusedNames& focused);

}  // namespace app
