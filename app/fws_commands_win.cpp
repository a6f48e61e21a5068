// The command table of the application object: menu commands, toolbar buttons, the restart
// toggles, and the application messages other windows and this process post.
#include <windows.h>

#include <winnetwk.h>

#include <cstdio>

#include "app/config_file.h"
#include "os/win32/lazy_api.h"
#include "app/drive_menu_text.h"
#include "app/drive_query_win.h"
#include "app/mask_input.h"
#include "app/config_lock.h"
#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "app/instance_paths.h"
#include "app/process_globals.h"
#include "app/window_restart.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/winfo_win.h"
#include "table/input_win.h"
#include "table/selection.h"
#include "table/sorm.h"
#include "exec/ask_input_win.h"
#include "fileops/file_command_dispatch_win.h"
#include "os/services.h"
#include "resources/commands.h"
#include "resources/resource_ids.h"

namespace {
void LockErrorNoOwner() { ::MessageBoxExA(nullptr, "Lock error", "Error", MB_OK, 0); }
}  // namespace

bool fwsApp::PreDispatch(MSG& msg) {
  // Bound keys first, for the frame and its children.
  uint32_t key = 0;
  if (frame_ && (msg.hwnd == frame_->Handle() || ::IsChild(frame_->Handle(), msg.hwnd)) &&
      table::KeyOfMessage(msg, &key)) {
    table::KeyResult r = table::OnKey(keys_, keyboard_, ActiveTable(), Pane(activePane_), key,
                                      table::ModifiersNow());
    if (r.consumed) {
      CarryOut(r.request);
      return true;
    }
  }
  if (msg.message == WM_COMMAND && msg.lParam == 0) {
    int id = LOWORD(msg.wParam);
    if (id >= app::kFirstDriveCommand && id <= app::kLastDriveCommand) {
      OnDriveCommand(id);
      return true;
    }
  }
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_F1) {
        if (::GetKeyState(VK_SHIFT) < 0)
          StartHelpMode();
        else
          ::WinHelpA(frame_->Handle(), app::Globals().helpFilePath.c_str(), HELP_FINDER, 0);
        return true;
      }
      if (msg.wParam == VK_ESCAPE && helpMode_) {
        EndHelpMode();
        return true;
      }
      break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (helpMode_) {
        ::SetCursor(helpCursor_);
        return true;
      }
      break;
    default:
      break;
  }
  if (frame_ && msg.hwnd == frame_->Handle()) {
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
  if (fileops::IsFileCommand(id)) return true;
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
    case CMD_VICON:
    case CMD_VLIST:
    case CMD_VSNAME:
    case CMD_VSEXT:
    case CMD_VSNEW:
    case CMD_VSOLD:
    case CMD_VSLARGE:
    case CMD_VSSMALL:
    case CMD_MKEYIN:
    case CMD_DKEYIN:
    case CMD_OSAVEDEFAULT:
    case CMD_FMARKALL:
    case CMD_FUNMARKALL:
      return true;
    default:
      return false;
  }
}

bool fwsApp::OnCommand(int id) {
  if (helpMode_ || ::GetKeyState(VK_F1) < 0) {
    EndHelpMode();
    ::WinHelpA(frame_->Handle(), app::Globals().helpFilePath.c_str(), HELP_CONTEXT,
               static_cast<ULONG_PTR>(id));
    return true;
  }
  if (fileops::RunFileCommand(*this, id)) return true;
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
      if (RestartWindow(changed))
        ::CheckMenuItem(::GetMenu(frame_->Handle()), CMD_TWOPANE,
                        changed.wmode == 2 ? MF_CHECKED : MF_UNCHECKED);
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
      lazy::WNetConnectionDialog(frame_->Handle(), RESOURCETYPE_DISK);
      return true;
    case CMD_DNETCANCEL:
      lazy::WNetDisconnectDialog(frame_->Handle(), RESOURCETYPE_DISK);
      return true;
    case CMD_VICON:
    case CMD_VLIST:
      SetViewMode(id == CMD_VLIST ? 1 : 0);
      return true;
    case CMD_VSNAME:
    case CMD_VSEXT:
    case CMD_VSNEW:
    case CMD_VSOLD:
    case CMD_VSLARGE:
    case CMD_VSSMALL:
      if (table::Sorm* t = ActiveTable()) t->Sort(static_cast<int16_t>(id), true);
      return true;
    case CMD_MKEYIN:
      AskMask();
      return true;
    case CMD_DKEYIN:
      AskCurrentPath();
      return true;
    case CMD_OSAVEDEFAULT:
      SaveAsDefault();
      return true;
    case CMD_FMARKALL:
    case CMD_FUNMARKALL:
      if (table::Sorm* t = ActiveTable()) {
        if (id == CMD_FMARKALL)
          table::SelectAll(*t, Pane(activePane_));
        else
          table::DeselectAll(*t, Pane(activePane_));
      }
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
  HMENU bar = ::GetMenu(frame_->Handle());
  if (bar && popup == ::GetSubMenu(bar, 1)) RebuildDriveMenu(popup);
  int n = ::GetMenuItemCount(popup);
  for (int i = 0; i < n; ++i) {
    UINT id = ::GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    if (app::DriveLetterOfCommand(static_cast<int>(id))) continue;
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

bool fwsApp::RestartWindow(const app::WindowSettings& changed) {
  app::WindowSettings kept = settings_;
  settings_ = changed;
  const bool started = app::StartRestartedWindow(*this, app::Globals().exePath);
  settings_ = kept;
  if (!started) {
    // The window stays: closing it now would lose it and its state.
    ::MessageBoxA(frame_->Handle(), app::RestartFailedMessage(), "ソルモ", MB_OK);
    return false;
  }
  app::Globals().stateSaved = true;
  ::PostMessageA(frame_->Handle(), WM_CLOSE, 1, 0);
  return true;
}


void fwsApp::SetViewMode(int mode) {
  table::Sorm* t = ActiveTable();
  if (!t || t->viewMode() == mode) return;
  t->SetViewMode(static_cast<int16_t>(mode));
  t->Layout();
  t->TitleText();
  UpdateSelectionText(activePane_);
  ::InvalidateRect(Pane(activePane_)->Handle(), nullptr, FALSE);
}

void fwsApp::AskMask() {
  table::Sorm* t = ActiveTable();
  if (!t) return;
  std::string answer = t->mask();
  if (!exec::AskInput(Pane(activePane_)->Handle(), exec::InputQuestion::kMask, answer)) return;
  t->SetMask(app::NormalizeMaskInput(answer.c_str()));
  t->Reload();
  t->TitleText();
}

void fwsApp::AskCurrentPath() {
  table::Sorm* t = ActiveTable();
  if (!t) return;
  std::string answer = t->path();
  if (!exec::AskInput(Pane(activePane_)->Handle(), exec::InputQuestion::kChangePath, answer))
    return;
  EnterPath(answer.c_str(), "指定ドライブ・ディレクトリに移動できません");
}

bool fwsApp::EnterPath(const char* path, const char* failureText) {
  table::Sorm* t = ActiveTable();
  if (!t) return false;
  if (t->ChangePath(path) != 0) {
    Pane(activePane_)->ErrorBox(failureText);
    return false;
  }
  t->Reload();
  t->TitleText();
  return true;
}

void fwsApp::RebuildDriveMenu(HMENU drivePopup) {
  for (int i = 0; i < driveItemCount_; ++i) ::DeleteMenu(drivePopup, 5, MF_BYPOSITION);
  driveItemCount_ = 0;
  for (const app::DriveMenuItem& item : app::BuildDriveMenuItems(app::SystemDriveQuery())) {
    ::AppendMenuA(drivePopup, MF_STRING, item.command, item.text.c_str());
    ++driveItemCount_;
  }
}

void fwsApp::OnDriveCommand(int command) {
  char letter = app::DriveLetterOfCommand(command);
  if (!letter) return;
  char path[3] = {letter, ':', '\0'};
  char failure[64];
  std::snprintf(failure, sizeof(failure), "ドライブ %c に移動できません", letter);
  EnterPath(path, failure);
}

void fwsApp::SaveAsDefault() {
  // The defaults get every setting but the path and the cursor entry.
  app::SaveWindowState(-1, *this);
  app::ConfigLock lock = app::AcquireConfigLock();
  for (int i = 0; i < PaneCount(); ++i) {
    std::string sec = app::InstSection(i == 0 ? -1 : -1 + app::kSecondPaneOffset);
    app::WriteConfigString(sec, "Path", "");
    app::WriteConfigString(sec, "Cursor", "");
  }
}

void fwsApp::StartHelpMode() {
  if (helpMode_) return;
  helpCursor_ = static_cast<HCURSOR>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(IDC_HELPMODE), IMAGE_CURSOR,
                                                  0, 0, LR_DEFAULTSIZE));
  helpMode_ = true;
  ::SetCursor(helpCursor_);
}

void fwsApp::EndHelpMode() {
  if (!helpMode_) return;
  helpMode_ = false;
  ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  if (helpCursor_) ::DestroyCursor(helpCursor_);
  helpCursor_ = nullptr;
}
