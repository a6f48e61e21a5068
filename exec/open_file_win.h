// Opening one file entry by its association (OpenFile) and running a command with the
// selected files (RunWithFiles): the window side of exec/run_plan.h and exec/run_line.h.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "table/pane_surface.h"
#include "table/sorm.h"

namespace exec {

// Opens entry of t found at fullPath; the entry carrying the opening mark is selected while its
// program starts, so that a composed line receives it. owner: the main window.
void OpenFile(HWND owner, table::Sorm& t, table::BINFO* entry, const std::string& fullPath,
              table::PaneSurface* surface);

// Starts command with the selected files of t appended, in directory; every entry is
// deselected afterwards. The WinExec result (below 32: failure).
uint32_t RunWithFiles(table::Sorm& t, const std::string& command, const std::string& directory,
                      table::PaneSurface* surface);

// Starts command with dropped files (full paths) appended, in the table's directory. The
// WinExec result.
uint32_t RunWithDroppedFiles(table::Sorm& t, const std::string& command,
                             const std::vector<std::string>& dropped);

enum class RunOutcome { kStarted, kFailed, kTooLong };

// Runs a line the user typed, a key binding's line or a run-menu item's (RunCommandLine): its
// program is looked up among the associations, the selected files are appended, and the shell
// is tried when the start fails. kTooLong: the composed line does not fit, nothing ran.
RunOutcome RunCommandLine(table::Sorm& t, const std::string& line, table::PaneSurface* surface);

// The run dialog's answer: one beginning with "#" runs as it stands (no association, no
// second try), any other through RunCommandLine.
RunOutcome RunAnswer(table::Sorm& t, const std::string& answer, table::PaneSurface* surface);

// A run-menu item's command: as the run dialog's answer, except that a "#" line which cannot
// be started is opened by the shell as a file, in the table's directory.
RunOutcome RunMenuCommand(table::Sorm& t, const std::string& command,
                          table::PaneSurface* surface);

}  // namespace exec
