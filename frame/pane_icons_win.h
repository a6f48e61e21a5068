// The icons a pane's table draws while its entries' own icons are not loaded: the program's
// placeholder and overlay icons and the shell's folder icons.
#pragma once
#include <windows.h>

#include <cstdint>

#include "table/sorm.h"

namespace frame {

// Fills icons with resources 1002 to 1009 (shared icons of the module, never destroyed), 1002
// to 1005 at the large and 1006 to 1009 at the small icon size.
void LoadPaneIcons(HINSTANCE instance, table::PaneIcons& icons);
// On Windows 4 or later, the shell's large and small folder icons of the Windows directory,
// which the table then owns (they are given back through table::DestroyIconHandle). A folder
// icon the shell does not give stays null, and the painter falls back to resource 1002 or 1006.
// Asking the shell loads it, which costs more than the rest of a window's start under Wine, so
// the window does this once it is up.
void LoadShellFolderIcons(uint32_t windowsMajorVersion, table::PaneIcons& icons);

}  // namespace frame
