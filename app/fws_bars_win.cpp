// The toolbar's buttons and the bars of the window on the application object: the toolbar
// editor (every window rebuilds its toolbar after it) and the bar settings of this window.
#include <windows.h>

#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "settings/toolbar_dialogs_win.h"
#include "frame/winfo_win.h"

void fwsApp::EditToolbar() {
  WINFO* p = Pane(activePane_);
  ToolbarEditDialog dialog;
  if (dialog.DoModal(p ? p->Handle() : FrameHandle()) != IDOK) return;
  app::BroadcastToAllWindows(app::kMsgToolbarChanged);
}

void fwsApp::EditBars() {
  WINFO* p = Pane(activePane_);
  BarsDialog dialog;
  dialog.toolBar = settings_.toolBarDisp;
  dialog.statusBar = settings_.statusBarDisp;
  dialog.edge = settings_.toolBarPos;
  if (dialog.DoModal(p ? p->Handle() : FrameHandle()) != IDOK) return;
  settings_.toolBarDisp = dialog.toolBar;
  settings_.statusBarDisp = dialog.statusBar;
  settings_.toolBarPos = dialog.edge;
  RebuildBars();
}
