// Switching a table between icon and list view.
#pragma once
#include <cstdint>

#include "table/sorm.h"

namespace table {

// Sets the view mode (0 icons, 1 list) and reads the listing again keeping the cursor
// (ReloadKeepPosition), which also repaints the pane and refreshes its selection text. When the
// cursor's line would lie out of view in the new mode, the view starts at that line, so the
// cursor stays where it was and can be seen. False, with nothing done, when the table already
// shows that mode.
bool SwitchViewMode(Sorm& t, int16_t mode);

}  // namespace table
