// The shell's own context menu for a table's files (with the window's view commands on a
// click on the background) and the shell's verbs run by name on the selection or the current
// directory. Every shell failure ends the operation silently, with what it obtained released.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "exec/shell_com_win.h"
#include "table/pane_surface.h"
#include "table/sorm.h"

namespace exec {

// The shell's user-interface object (interface iid) for the selected entries of t, or, with
// ofFolderItself or nothing selected, for the table's directory as an item of its parent. Null
// on any failure, or when a selected entry has no name that reaches it. owner: the main window.
ComPtr<IUnknown> GetShellUIObject(const table::Sorm& t, HWND owner, REFIID iid,
                                  bool ofFolderItself);

// The same object for named entries of one directory (a full path), whichever are chosen: a
// drag leaves "." and ".." out, which the context menu of a selection takes as they are.
ComPtr<IUnknown> GetShellItemsObject(const std::string& directory,
                                     const std::vector<std::string>& names, HWND owner,
                                     REFIID iid);

// What the menu needs of the window around it.
struct ShellMenuWindow {
  HWND mainWindow = nullptr;  // brought to the foreground after a command
  HWND pane = nullptr;        // the file area: owns the menu, brought to the top afterwards
  table::PaneSurface* surface = nullptr;
  HMENU mainMenu = nullptr;   // captions of the view commands (null: the menu resource)
  // Runs a main-menu command as the main menu does (the view submenu's items).
  std::function<void(int command)> runCommand;
  // Whether the main menu offers a command now.
  std::function<bool(int command)> commandEnabled;
};

// The context menu at screenPoint: of the entry under it (selected for the length of the menu
// when nothing else is), of the selection, or of the directory with the view submenu when the
// point is on the background.
void ShowShellContextMenu(table::Sorm& t, const ShellMenuWindow& window, POINT screenPoint);

// Runs the shell's verb ("open", "copy", "cut", "paste", "find"; any case) on the selection,
// on the cursor entry when nothing is selected, or on the directory itself for "find" and
// "paste". False when the shell offered no such verb or could not be asked.
bool InvokeShellVerb(table::Sorm& t, HWND owner, table::PaneSurface* surface, const char* verb);

}  // namespace exec
