// Switching a table between icon and list view, and reading a listing again after a change of
// what it shows.
#pragma once
#include <cstdint>

#include "table/sorm.h"

namespace table {

// Sets the view mode (0 icons, 1 list) and reads the listing again (ReloadKeepPosition, which
// also repaints the pane and refreshes its selection text). The cursor stays on its entry
// while that entry is still listed; when its line lies out of view in the new mode, the view
// starts at that line (the pane is to be repainted afterwards). False, with nothing done, when
// the table already shows that mode.
bool SwitchViewMode(Sorm& t, int16_t mode);

// Reads the listing again keeping the position (ReloadKeepPosition) and keeps the cursor on its
// entry by name while that entry is still listed, its line brought into view: after the view
// mode or the hidden types and shown columns change, entries before the cursor may come or go.
void ReloadKeepingCursor(Sorm& t);

}  // namespace table
