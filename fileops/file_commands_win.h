// The file commands of a pane: copy, move, copy under another name, delete, make directory,
// and the name, date and attribute change. Each works on the selected entries of the pane's
// table, or on the cursor entry when none is selected; asks its question; runs the engine under
// the progress dialog and the questions; shows failures in the table's error box; and lists
// again the panes it changed.
//
// Every name is made a full path in the table's directory when the command starts: nothing
// depends on the process's current directory, which the other pane changes when it is
// activated while the command runs. The commands that run the engine are given the command
// gate the caller holds for them, so that closing the window can cancel them.
#pragma once
#include <string>

#include "fileops/engine_ui.h"

class WINFO;
namespace frame {
class CommandGate;
}

namespace fileops {

// other: the other pane in two-pane mode (its directory is offered as the destination and it
// is brought up to date afterwards), or null.
void CopyCommand(WINFO& pane, WINFO* other, frame::CommandGate& gate);
void MoveCommand(WINFO& pane, WINFO* other, frame::CommandGate& gate);
void CopyAsCommand(WINFO& pane, frame::CommandGate& gate);
// To the recycle bin, or for good while Shift is held when the command starts.
void DeleteCommand(WINFO& pane, frame::CommandGate& gate);
void MakeDirectoryCommand(WINFO& pane);
void ChangeAttributesCommand(WINFO& pane);

// The loops of the copy and move commands over the selected entries, to destination as typed,
// with the command's dialogs: 0; -1 stopped by an error or a cancel (reported); -2 no memory;
// -3 the destination was refused before any work.
int CopySelected(const OperationUi& ui, WINFO& pane, const std::string& destination);
int MoveSelected(const OperationUi& ui, WINFO& pane, const std::string& destination);
// The delete loop over the selected entries.
int DeleteSelected(const OperationUi& ui, WINFO& pane);

}  // namespace fileops
