// The action numbers of the key bindings. table/key_actions.h says what each does.
#pragma once
#include <cstdint>

namespace table {

// Action numbers of the key bindings.
enum Action : int32_t {
  kActionRunCommandLine = 0,  // the argument as a command line
  // 1 to 44 run the menu command CommandOfAction gives.
  kActionFirstCommand = 1,
  kActionOpen = 1,
  kActionChangeName = 6,
  kActionSelectAll = 11,
  kActionDeselectAll = 12,
  kActionLastCommand = 44,
  kActionToggle = 100,
  kActionSelect = 101,
  kActionDeselect = 102,
  kActionFirstMove = 103,  // 103 + kind for movement kinds 0 to 23
  kActionLastMove = 126,
  kActionToggleAndNext = 127,
  kActionBackAndDeselect = 128,
  kActionContextMenu = 129,
  kActionParentDirectory = 130,
  kActionReload = 131,
  kActionVerbCut = 132,
  kActionVerbCopy = 133,
  kActionVerbPaste = 134,
  kActionVerbFind = 135,
  kActionRunWithCursor = 136,
  kActionBrowseFolder = 137,
  kActionSwitchPane = 138,
  kActionTwoPane = 139,
  kActionShrinkFrame = 140,
  kActionRestoreFrame = 141,
};

// The actions the program has: 0 to 44 and 100 to 141.
inline bool IsKnownAction(int32_t action) {
  return (action >= kActionRunCommandLine && action <= kActionLastCommand) ||
         (action >= kActionToggle && action <= kActionRestoreFrame);
}

}  // namespace table
