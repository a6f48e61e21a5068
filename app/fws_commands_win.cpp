// The command table of the application object: menu commands, toolbar buttons, the restart
// toggles, and the application messages other windows and this process post.
#include <windows.h>

#include <winnetwk.h>

#include "app/config_file.h"
#include "app/config_lock.h"
#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "app/instance_paths.h"
#include "app/process_globals.h"
#include "frame/sdi_dec_frame_win.h"
#include "exec/ask_input_win.h"
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
    case CMD_CLICKSCROLL:
    case CMD_CONFIGPATH:
    case CMD_DNETADD:
    case CMD_DNETCANCEL:
    case CMD_HCONTENTS:
    case CMD_HHELPONHELP:
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
    case CMD_CLICKSCROLL:
      if (!settings_.menu) return true;  // only with the menu bar
      settings_.clickScroll = !settings_.clickScroll;
      ::CheckMenuItem(::GetMenu(frame_->Handle()), CMD_CLICKSCROLL,
                      MF_BYCOMMAND | (settings_.clickScroll ? MF_CHECKED : MF_UNCHECKED));
      return true;
    case CMD_CONFIGPATH: {
      const app::ProcessGlobals& g = app::Globals();
      std::string answer = g.configPathFromRegistry ? g.configFilePath : std::string();
      if (exec::AskInput(frame_->Handle(), exec::InputQuestion::kConfigPath, answer)) {
        app::WriteConfigPathSetting(answer);
        ::MessageBoxA(frame_->Handle(), "設定は次回起動時から有効になります", "基本設定の変更",
                      MB_OK);
      }
      return true;
    }
    case CMD_DNETADD:
      ::WNetConnectionDialog(frame_->Handle(), RESOURCETYPE_DISK);
      return true;
    case CMD_DNETCANCEL:
      ::WNetDisconnectDialog(frame_->Handle(), RESOURCETYPE_DISK);
      return true;
    case CMD_HCONTENTS:
      helpOpened_ = ::WinHelpA(frame_->Handle(), app::Globals().helpFilePath.c_str(),
                               HELP_FINDER, 0) != FALSE;
      return true;
    case CMD_HHELPONHELP:
      helpOpened_ = ::WinHelpA(frame_->Handle(), app::Globals().helpFilePath.c_str(),
                               HELP_HELPONHELP, 0) != FALSE;
      return true;
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

