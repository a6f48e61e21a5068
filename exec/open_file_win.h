// Opening one file entry by its association (OpenFile) and running a command with the
// selected files (RunWithFiles): the window side of exec/run_plan.h and exec/run_line.h.
#pragma once
#include <windows.h>

#include <string>

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

}  // namespace exec
