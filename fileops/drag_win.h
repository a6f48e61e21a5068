// Dragging the selected entries out of a table: with OLE (OleDrag, from Windows 4 on), or with
// the table's own loop that posts WM_DROPFILES to the window under the pointer (ManualDrag,
// for the old shell). Both start from a press on an entry and are a click, not a drag, while
// the pointer stays within 8 pixels of the press.
#pragma once
#include <windows.h>

class WINFO;
namespace frame {
class PaneHost;
}

namespace fileops {

// press: the press point in the pane's client coordinates.
void OleDrag(frame::PaneHost& host, WINFO& pane, POINT press);
void ManualDrag(frame::PaneHost& host, WINFO& pane, POINT press);

}  // namespace fileops
