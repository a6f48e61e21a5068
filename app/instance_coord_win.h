// Coordination between the program's windows, each a process of its own: they find one another
// as top-level windows of class "Sorumo32" and talk only by posted messages.
#pragma once
#include <windows.h>

#include "config/program_context.h"

namespace app {

using config::kWindowClass;

// Application message codes carried in lParam of WM_USER (wParam: the receiver's number in the
// broadcast, or a pane index for the messages a process posts to itself).
enum AppMessage : LPARAM {
  kMsgSaveForQuit = 1,      // save as number wParam before closing
  kMsgRunMenuChanged = 2,   // rebuild the run menu from the configuration
  kMsgAssociations = 3,     // reload the associations of every pane
  kMsgPollPane = 4,         // own worker: update pane wParam by polling
  kMsgContextMenu = 5,      // show the focused entry's context menu
  kMsgMaskMenuChanged = 6,  // rebuild the mask menu
  kMsgToolbarChanged = 7,   // rebuild the toolbar (when it is shown)
  kMsgIconsVisible = 8,     // own icon loader: repaint pane wParam
};

// True when the window's class name is exactly "Sorumo32".
bool IsProgramWindow(HWND hwnd);
// Number of top-level windows of the program (this one included).
int CountWindows();
// Posts WM_USER with the code to every window of the program, the sender's included, numbering
// them 1, 2, 3 ... from the top of the z-order.
void BroadcastToAllWindows(LPARAM code);
// Posts a close request (WM_CLOSE, wParam 1) to every window of the program.
void CloseAllWindows();

}  // namespace app

// Enumeration callbacks, exported from the program under their plain names.
extern "C" {
__declspec(dllexport) BOOL CALLBACK PostProc(HWND hwnd, LPARAM code);
__declspec(dllexport) BOOL CALLBACK QuitProc(HWND hwnd, LPARAM flag);
__declspec(dllexport) BOOL CALLBACK CountProc(HWND hwnd, LPARAM unused);
}
