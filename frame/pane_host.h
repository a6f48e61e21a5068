// What the frame, the client and the panes need of the application that holds them: which
// panes there are and which one is active, the keyboard and mouse state they share, where their
// requests, texts and hints go, and the frame's menu, timer and closing. The application object
// implements it; the windows know nothing else of the application.
#pragma once
#include <windows.h>

#include <string>

#include "frame/command_gate.h"
#include "table/input_win.h"
#include "table/key_actions.h"
#include "table/mouse_logic.h"

class WINFO;

namespace frame {

class PaneHost {
 public:
  virtual ~PaneHost() = default;

  // The panes: one, or two side by side.
  virtual int PaneCount() const = 0;
  virtual WINFO* Pane(int i) const = 0;
  virtual int ActivePaneIndex() const = 0;
  virtual void ActivatePane(int index) = 0;
  // The main frame's window, or null before it exists.
  virtual HWND FrameHandle() const = 0;
  // One command at a time: the gate every command holds while it runs.
  virtual CommandGate& Gate() = 0;
  // The frame is asked to close (WM_CLOSE with wp): true to close now; false while a command
  // runs, which is then cancelled, and the close is posted again once it has ended.
  virtual bool CloseNowOrAfterCommand(WPARAM wp) = 0;

  // The keyboard and mouse state of the process, shared by the panes, and what a pane runs
  // while it tracks the mouse.
  virtual table::KeyboardState& Keyboard() = 0;
  virtual table::PaneMouse& Mouse() = 0;
  virtual table::MouseOptions MouseOptions() const = 0;
  virtual table::MessagePump& MousePump() = 0;
  // What a mouse handler of a pane asked for.
  virtual void CarryOutMouse(int pane, const table::MouseRequest& r) = 0;
  // A character typed in the client.
  virtual void OnChar(unsigned char c) = 0;

  // Drag and drop: a drop block posted to a pane (the frame passes its active pane), which the
  // host frees; receiver is the window the block came to (its point is in that window's client
  // coordinates); a press on an entry that may start a drag out of a pane.
  virtual void OnDropFiles(int pane, HDROP drop, LPARAM tag, HWND receiver) = 0;
  virtual void StartDrag(int pane, table::MouseButton button, table::Point press) = 0;

  // A pane's selection totals changed; a pane retitled itself.
  virtual void UpdateSelectionText(int pane) = 0;
  virtual void ShowPaneTitle(int pane, const std::string& title,
                             const std::string& directory) = 0;

  // The frame: the hint of a command in the status bar (0 clears it), a menu command or toolbar
  // button (true when handled), a popup about to open, one of the host's timers (true when it
  // was one), a close request (true lets the frame go) and the end of the Windows session.
  virtual void ShowHint(int command) = 0;
  // The menu item highlighted now (WM_MENUSELECT): its command, 0 for a submenu title, a
  // separator or a closed menu. Its hint shows; with 0 the hint ends.
  virtual void MenuSelected(int command) = 0;
  // F1 while a menu is open: the help topic of the highlighted command.
  virtual void HelpOnMenu() = 0;
  // The application messages of WM_USER, posted by other windows or by this process; the frame
  // passes them on also while a command's pump runs.
  virtual void OnAppMessage(WPARAM wp, LPARAM code) = 0;
  // WM_WININICHANGE: file types or the profile changed; the panes read their associations again.
  virtual void AssociationsChanged() = 0;
  virtual bool OnCommand(int id) = 0;
  // The pane's change monitor: stops watching, or watches path (a path change of the pane, a
  // keep-position reload). Messages of the worker thread that reach the frame's window
  // procedure (dispatched by a dialog's, menu's or command's loop) are passed on here.
  virtual void DisarmPaneMonitor(int pane) {}
  virtual void ArmPaneMonitor(int pane, const std::string& path) {}
  virtual void OnMonitorMessage(UINT msg, WPARAM wp, LPARAM lp) {}
  virtual void UpdatePopup(HMENU popup) = 0;
  virtual bool OnTimer(UINT_PTR id) = 0;
  virtual bool MayClose() = 0;
  virtual void EndSession() = 0;
};

}  // namespace frame
