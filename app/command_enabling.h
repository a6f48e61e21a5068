// Which commands the menu and toolbar offer: the enabling rules of the command table. The
// associations by extension and by file name depend on the focused entry.
#pragma once
#include <cstdint>

namespace app {

enum class CommandState { kKeep, kEnabled, kDisabled };

enum class EnableRule : uint8_t {
  kWhenHandled,        // enabled when the command has a handler
  kAlways,             // enabled even without a handler (the system's own dialogs)
  kTargetHasExtension, // association by extension
  kTargetHasFileName,  // association by file name
};

// The focused entry: its own name and its target name (the name a link file or shortcut points
// to, else its own name). Null names when there is no focused entry.
struct FocusedNames {
  const char* own = nullptr;
  const char* target = nullptr;
};

// kTargetHasExtension: enabled when the target's name holds a period. kTargetHasFileName:
// enabled when the target's name does not begin with a period, otherwise only when the entry's
// own name has a period after its first character. Both keep their state without a focused
// entry, and are disabled without a handler. kAlways is always enabled; kWhenHandled is
// enabled when the command has a handler and disabled when not. Periods are searched
// double-byte aware, in the last path component of a target given as a path.
CommandState CommandEnabling(EnableRule rule, bool hasHandler, const FocusedNames& focused);

}  // namespace app
