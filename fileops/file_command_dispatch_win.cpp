#include "fileops/file_command_dispatch_win.h"

#include "fileops/file_commands_win.h"
#include "frame/pane_host.h"
#include "frame/winfo_win.h"
#include "resources/commands.h"

namespace fileops {

bool IsFileCommand(int id) {
  switch (id) {
    case CMD_FCOPY:
    case CMD_FMOVE:
    case CMD_FDELETE:
    case CMD_FDUPLICATE:
    case CMD_FMAKEDIR:
    case CMD_FPROPERTY:
      return true;
    default:
      return false;
  }
}

bool RunFileCommand(frame::PaneHost& host, int id) {
  if (!IsFileCommand(id)) return false;
  const int active = host.ActivePaneIndex();
  WINFO* pane = host.Pane(active);
  if (!pane || !pane->Table()) return true;
  WINFO* other = host.PaneCount() == 2 ? host.Pane(1 - active) : nullptr;
  switch (id) {
    case CMD_FCOPY: CopyCommand(*pane, other, host.Gate()); break;
    case CMD_FMOVE: MoveCommand(*pane, other, host.Gate()); break;
    case CMD_FDELETE: DeleteCommand(*pane, host.Gate()); break;
    case CMD_FDUPLICATE: CopyAsCommand(*pane, host.Gate()); break;
    case CMD_FMAKEDIR: MakeDirectoryCommand(*pane); break;
    case CMD_FPROPERTY: ChangeAttributesCommand(*pane); break;
    default: break;
  }
  return true;
}

}  // namespace fileops
