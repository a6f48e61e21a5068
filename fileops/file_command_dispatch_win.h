// The file menu's commands as the application dispatches them to the active pane.
#pragma once

namespace frame {
class PaneHost;
}

namespace fileops {

// Copy, move, delete, copy under another name, make directory, name/date/attributes.
bool IsFileCommand(int id);
// Runs a file command on the active pane (the other pane in two-pane mode takes part in copy
// and move); false when id is not one. The caller holds the host's command gate.
bool RunFileCommand(frame::PaneHost& host, int id);

}  // namespace fileops
