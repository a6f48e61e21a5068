// The file commands of a pane: copy, move, copy under another name, delete, make directory,
// and the name, date and attribute change. Each works on the selected entries of the pane's
// table, or on the cursor entry when none is selected; asks its question; runs the engine under
// the progress dialog and the questions; shows failures in the table's error box; and lists
// again the panes it changed.
#pragma once
#include <string>

class WINFO;

namespace fileops {

// other: the other pane in two-pane mode (its directory is offered as the destination and it
// is brought up to date afterwards), or null.
void CopyCommand(WINFO& pane, WINFO* other);
void MoveCommand(WINFO& pane, WINFO* other);
void CopyAsCommand(WINFO& pane);
// To the recycle bin, or for good while Shift is held when the command starts.
void DeleteCommand(WINFO& pane);
void MakeDirectoryCommand(WINFO& pane);
void ChangeAttributesCommand(WINFO& pane);

// The loops of the copy and move commands over the selected entries, to destination as typed:
// 0; -1 stopped by an error or a cancel (reported); -2 no memory; -3 the destination was
// refused before any work.
int CopySelected(WINFO& pane, const std::string& destination);
int MoveSelected(WINFO& pane, const std::string& destination);
// The delete loop over the selected entries.
int DeleteSelected(WINFO& pane);

}  // namespace fileops
