// Opening one file entry by its association (OpenFile) and running a command with the
// selected files (RunWithFiles): the window side of exec/run_plan.h and exec/run_line.h.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "exec/run_line.h"
#include "table/pane_surface.h"
#include "table/sorm.h"

namespace exec {

// Opens entry of t found at fullPath; the entry carrying the opening mark is selected while its
// program starts, so that a composed line receives it. owner: the main window.
void OpenFile(HWND owner, table::Sorm& t, table::BINFO* entry, const std::string& fullPath,
              table::PaneSurface* surface);

// Starts run with the selected files of t appended, in directory; every entry is
// deselected afterwards. The WinExec result (below 32: failure; 0 also when a name was refused,
// which the table's error box has told).
uint32_t RunWithFiles(table::Sorm& t, const RunLine& run, const std::string& directory,
                      table::PaneSurface* surface);

// Starts command with dropped files (full paths) appended, in the table's directory; a path
// that cannot go on the line or names nothing is refused in the table's error box and nothing
// starts. Every entry of t is deselected afterwards, as after any start with files. The WinExec
// result.
uint32_t RunWithDroppedFiles(table::Sorm& t, const std::string& command,
                             const std::vector<std::string>& dropped,
                             table::PaneSurface* surface);

// kRefused: a name could not go on the line; the table's error box has said which.
enum class RunOutcome { kStarted, kFailed, kTooLong, kRefused };

// Runs a key binding's line (RunCommandLine), a command (LineSource::kCommand): its program
// (SplitTypedLineIn: leading words that name an existing file are one name) is looked up among
// the associations, the selected files are appended, and the shell is tried when the start
// fails. kTooLong: the composed line does not fit, nothing ran. The run dialog's answer and a
// run-menu item's command go the same way, as typed text and as a command.
RunOutcome RunCommandLine(table::Sorm& t, const std::string& line, table::PaneSurface* surface);

// The run dialog's answer: one beginning with "#" runs as it stands (no association, no
// second try), any other through RunCommandLine.
RunOutcome RunAnswer(table::Sorm& t, const std::string& answer, table::PaneSurface* surface);

// A run-menu item's command: as the run dialog's answer, except that a "#" line which cannot
// be started is opened by the shell as a file, in the table's directory.
RunOutcome RunMenuCommand(table::Sorm& t, const std::string& command,
                          table::PaneSurface* surface);

}  // namespace exec
