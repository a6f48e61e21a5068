// The shell's context menu and verbs of the application object: the right button and the
// keyboard's context-menu action, the key bindings' verbs, and the menu's view commands, which
// run the main menu's handlers (exec/shell_context_menu_win.h shows and invokes).
#include <windows.h>

#include "app/fws_app_win.h"
#include "exec/shell_context_menu_win.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/winfo_win.h"
#include "table/key_actions.h"
#include "table/sorm.h"

void fwsApp::RunHeldCommand(int id) {
  const Command* row = app::FindCommand(Commands(), id);
  if (row && row->handler) row->handler(*this, id);
}

void fwsApp::ShowContextMenu(int pane, POINT clientPoint) {
  // The shell's clipboard commands need OLE, which is otherwise started once the window is idle.
  LateInit();
  WINFO* p = Pane(pane);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  exec::ShellMenuWindow window;
  window.mainWindow = frame_->Handle();
  window.pane = p->Handle();
  window.surface = p;
  window.mainMenu = ::GetMenu(frame_->Handle());
  // The command runs inside this one, which holds the command gate.
  window.runCommand = [this](int id) { RunHeldCommand(id); };
  window.commandEnabled = [this](int id) {
    return CommandStateOf(id) != app::CommandState::kDisabled;
  };
  POINT screen = clientPoint;
  ::ClientToScreen(p->Handle(), &screen);
  exec::ShowShellContextMenu(*t, window, screen);
}

void fwsApp::ContextMenuCommand(int pane, POINT clientPoint) {
  const frame::CommandGate::Scope scope = gate_.Enter();
  if (!scope) return;
  ShowContextMenu(pane, clientPoint);
}

void fwsApp::ContextMenuAtCursorCommand() {
  const frame::CommandGate::Scope scope = gate_.Enter();
  if (!scope) return;
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t) return;
  const int pane = activePane_;
  table::ContextMenuAtCursor(*t, p, {p->ClientWidth(), p->ClientHeight()},
                             [this, pane](table::Point at) { ShowContextMenu(pane, {at.x, at.y}); });
}

void fwsApp::ShellVerbCommand(const char* verb) {
  const frame::CommandGate::Scope scope = gate_.Enter();
  if (!scope) return;
  WINFO* p = Pane(activePane_);
  table::Sorm* t = p ? p->Table() : nullptr;
  if (!t || !verb) return;
  LateInit();  // OLE for the shell's clipboard verbs
  exec::InvokeShellVerb(*t, frame_->Handle(), p, verb);
  ::SetForegroundWindow(frame_->Handle());
  ::BringWindowToTop(p->Handle());
}
