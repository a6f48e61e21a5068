// The open command on a table's entries: a directory is entered (".." places the cursor on the
// folder just left), a file is opened by its association, and with entries selected each
// selected directory gets a window of its own. Every name is reached through the entry's
// address name joined to the table's directory, once; the process's current directory is only
// set for a new window to inherit and is given back to the table's path afterwards.
#pragma once
#include <string>
#include <vector>

#include "exec/run_line.h"
#include "table/pane_surface.h"
#include "table/sorm.h"

namespace exec {

// What opening asks of the window side.
class OpenHandler {
 public:
  virtual ~OpenHandler() = default;
  // Where selection marks are drawn (null: nowhere).
  virtual table::PaneSurface* Surface() = 0;
  // Opens one file entry of t found at fullPath (OpenFile). The entry carries the opening mark
  // when it was one of the selected entries.
  virtual void OpenFile(table::Sorm& t, table::BINFO* entry, const std::string& fullPath) = 0;
  // Starts a new window on the process's current directory, offset by (dx, dy) from this one.
  virtual void OpenNewWindow(int dx, int dy) = 0;
  // The entry has no name that leads back to it: the user is told, nothing is opened.
  virtual void Unreachable(const table::SM_DAT& d) = 0;
  // The table lists another directory now: redraw, status bar and title.
  virtual void DirectoryEntered(table::Sorm& t) = 0;
};

// The entry an open request on node stands for: the entry itself, or the entry of one of its
// text lines; null for any other node.
table::BINFO* EntryOfNode(const table::Sorm& t, table::BINFO* node);

// The full path of an entry in its table: the table's directory and the entry's address name;
// a link to a directory gives its target. Empty when the entry has no usable name.
std::string EntryPath(const table::Sorm& t, const table::SM_DAT& d);

// The last component of a directory path ("C:\a\b" gives "b", "C:\" gives "").
std::string LastComponent(const std::string& path);

// OpenEntries on the entry under the cursor or the one clicked (a text line stands for its
// entry).
void OpenEntries(table::Sorm& t, table::BINFO* node, OpenHandler& handler);

// Enters the directory of entry d of t: on success the table lists it, the cursor on the
// folder just left when d is "..". False when the directory cannot be entered (nothing changed).
bool EnterEntryDirectory(table::Sorm& t, const table::SM_DAT& d, OpenHandler& handler);

// The selected entries of t in list order, as a composed run line takes them (address names;
// an entry without one is left out). A link stands for the path it leads to: a shortcut's
// arguments belong to its own program, not to the line they would be appended to.
std::vector<SelectedFile> SelectedFilesOf(const table::Sorm& t);

// The run dialog's first answer: the target entry's link target (a shortcut's with its
// arguments), else the name that reaches it (the alias of a look-alike); empty without a target
// entry or when no name reaches it.
std::string RunDialogAnswer(const table::Sorm& t);

}  // namespace exec
