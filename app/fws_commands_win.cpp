// The command table of the application object: menu commands, toolbar buttons, the restart
// toggles, and the application messages other windows and this process post.
#include <windows.h>

#include "app/config_file.h"
#include "app/config_lock.h"
#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "app/instance_paths.h"
#include "app/process_globals.h"
#include "frame/sdi_dec_frame_win.h"
#include "os/services.h"
#include "resources/commands.h"

namespace {
void LockErrorNoOwner() { ::MessageBoxExA(nullptr, "Lock error", "Error", MB_OK, 0); }
}  // namespace

bool fwsApp::PreDispatch(MSG& msg) {
  if (frame_ && msg.hwnd == frame_->Handle()) {
    if (msg.message == WM_USER) {
      OnAppMessage(msg.wParam, msg.lParam);
      return true;
    }
    if (msg.message == WM_SYSCOMMAND && msg.wParam == CMD_HIDEMENU) return OnCommand(CMD_HIDEMENU);
  }
  return false;
}

void fwsApp::OnAppMessage(WPARAM wp, LPARAM code) {
  switch (code) {
    case app::kMsgSaveForQuit:
      app::Globals().stateSaved = true;
      app::WriteEndMode("Quit");
      app::SaveWindowState(static_cast<int>(wp), *this);
      break;
    case app::kMsgToolbarChanged:
      // The toolbar is rebuilt from the configuration when it is shown; windows without one
      // stay without.
      if (settings_.toolBarDisp) RebuildBars();
      break;
    default:
      // The run and mask menus, the associations, polling and the icon loader report here once
      // the panes have their tables.
      break;
  }
}

bool fwsApp::HasHandler(int id) {
  switch (id) {
    case CMD_FEXIT:
    case CMD_FWINOPEN:
    case CMD_FQUIT:
    case CMD_HIDEMENU:
    case CMD_TWOPANE:
      return true;
    default:
      return false;
  }
}

bool fwsApp::OnCommand(int id) {
  switch (id) {
    case CMD_FEXIT:
      ::PostMessageA(frame_->Handle(), WM_CLOSE, 1, 0);
      return true;
    case CMD_FWINOPEN:
      OpenNewWindow(48, 48);
      return true;
    case CMD_FQUIT:
      QuitAllWindows();
      return true;
    case CMD_HIDEMENU: {
      app::WindowSettings changed = settings_;
      changed.menu = !changed.menu;
      RestartWindow(changed);
      return true;
    }
    case CMD_TWOPANE: {
      if (!settings_.menu) return true;  // only with the menu bar
      app::WindowSettings changed = settings_;
      changed.wmode = PaneCount() == 2 ? 1 : 2;
      if (changed.focusWin >= changed.wmode) changed.focusWin = 0;
      ::CheckMenuItem(::GetMenu(frame_->Handle()), CMD_TWOPANE,
                      changed.wmode == 2 ? MF_CHECKED : MF_UNCHECKED);
      RestartWindow(changed);
      return true;
    }
    default:
      return false;
  }
}

void fwsApp::UpdatePopup(HMENU popup) {
  int n = ::GetMenuItemCount(popup);
  for (int i = 0; i < n; ++i) {
    UINT id = ::GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    ::EnableMenuItem(popup, id, MF_BYCOMMAND | (HasHandler(static_cast<int>(id)) ? MF_ENABLED
                                                                                 : MF_GRAYED));
  }
  ::CheckMenuItem(popup, CMD_TWOPANE, MF_BYCOMMAND | (PaneCount() == 2 ? MF_CHECKED : MF_UNCHECKED));
  ::CheckMenuItem(popup, CMD_CLICKSCROLL,
                  MF_BYCOMMAND | (settings_.clickScroll ? MF_CHECKED : MF_UNCHECKED));
}

void fwsApp::OpenNewWindow(int dx, int dy) {
  const std::string sec = app::InstSection(-1);
  {
    app::ConfigLock lock = app::AcquireConfigLock();
    frame_->WritePlacement(-1, dx, dy);
  }
  os::Sys().WinExec(app::InstanceCommandLine(app::Globals().exePath, -1).c_str(), SW_SHOW);
  // The new window has read its place; the defaults keep no position.
  app::ConfigLock lock = app::AcquireConfigLock();
  app::WriteConfigString(sec, "Placement", "");
  app::WriteConfigString(sec, "Show", "");
}

void fwsApp::QuitAllWindows() {
  app::PurgeSavedWindows(&LockErrorNoOwner);
  app::BroadcastToAllWindows(app::kMsgSaveForQuit);
  app::CloseAllWindows();
}

void fwsApp::RestartWindow(const app::WindowSettings& changed) {
  app::WindowSettings kept = settings_;
  settings_ = changed;
  app::SaveWindowState(app::kRestartInstanceNumber, *this);
  settings_ = kept;
  os::Sys().WinExec(
      app::InstanceCommandLine(app::Globals().exePath, app::kRestartInstanceNumber).c_str(),
      SW_SHOW);
  app::Globals().stateSaved = true;
  ::PostMessageA(frame_->Handle(), WM_CLOSE, 1, 0);
}

