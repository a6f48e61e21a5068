// The commands of the application object (its command table is in fws_command_table_win.cpp):
// the key pre-dispatch, the restart toggles, and the application messages other windows and
// this process post.
#include <windows.h>

#include <cstdio>

#include "config/config_file.h"
#include "app/drive_menu_text.h"
#include "app/drive_query_win.h"
#include "app/help_display.h"
#include "settings/mask_input.h"
#include "config/config_lock.h"
#include "app/fws_app_win.h"
#include "app/instance_coord_win.h"
#include "config/instance_paths.h"
#include "config/program_context.h"
#include "app/window_restart.h"
#include "frame/sdi_dec_frame_win.h"
#include "frame/winfo_win.h"
#include "table/input_win.h"
#include "table/selection.h"
#include "table/sorm.h"
#include "table/view_mode.h"
#include "exec/ask_input_win.h"
#include "os/services.h"
#include "resources/commands.h"
#include "resources/resource_ids.h"

bool fwsApp::PreDispatch(MSG& msg) {
  // The worker thread's reports and requests.
  if (MonitorMessageFromMainLoop(msg)) return true;
  // Bound keys first, for the frame and its children.
  uint32_t key = 0;
  if (frame_ && (msg.hwnd == frame_->Handle() || ::IsChild(frame_->Handle(), msg.hwnd)) &&
      table::KeyOfMessage(msg, &key)) {
    table::KeyResult r = table::OnKey(keys_, keyboard_, ActiveTable(), Pane(activePane_), key,
                                      table::ModifiersOfMessage());
    if (r.consumed) {
      CarryOut(r.request);
      return true;
    }
  }
  if (msg.message == WM_COMMAND && msg.lParam == 0) {
    int id = LOWORD(msg.wParam);
    if (id >= app::kFirstDriveCommand && id <= app::kLastDriveCommand) {
      // In help mode the item shows its topic, and the drive change runs as well.
      if (helpMode_ || ::GetKeyState(VK_F1) < 0) ShowCommandHelp(id);
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
          ShowHelp(app::HelpRequest::kContents);
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
      stateSaved_ = true;
      app::WriteEndMode("Quit");
      app::SaveWindowState(static_cast<int>(wp), *this);
      break;
    case app::kMsgToolbarChanged:
      // The toolbar is rebuilt from the configuration when it is shown; windows without one
      // stay without. Not under a running command, which may have been started from it.
      gate_.WhenIdle([this] {
        if (settings_.toolBarDisp) RebuildBars();
      });
      break;
    case app::kMsgRunMenuChanged:
      RebuildUserMenu(app::UserMenus::kRun);
      break;
    case app::kMsgMaskMenuChanged:
      RebuildUserMenu(app::UserMenus::kMask);
      break;
    case app::kMsgAssociations:
      AssociationsChanged();
      break;
    case app::kMsgContextMenu:
      ContextMenuAtCursorCommand();
      break;
    default:
      // Polls and the icon loader's repaint requests taken by a loop other than the main one.
      OnMonitorMessage(WM_USER, wp, code);
      break;
  }
}

void fwsApp::MarkAll(bool on) {
  table::Sorm* t = ActiveTable();
  if (!t) return;
  if (on)
    table::SelectAll(*t, Pane(activePane_));
  else
    table::DeselectAll(*t, Pane(activePane_));
}

void fwsApp::ToggleMenu() {
  app::WindowSettings changed = settings_;
  changed.menu = !changed.menu;
  RestartWindow(changed);
}

void fwsApp::ToggleTwoPane() {
  if (!settings_.menu) return;  // only with the menu bar
  app::WindowSettings changed = settings_;
  changed.wmode = PaneCount() == 2 ? 1 : 2;
  if (changed.focusWin >= changed.wmode) changed.focusWin = 0;
  // The worker ends before the window hands over to its restarted self.
  StopPaneMonitor();
  if (RestartWindow(changed))
    ::CheckMenuItem(::GetMenu(frame_->Handle()), CMD_TWOPANE,
                    changed.wmode == 2 ? MF_CHECKED : MF_UNCHECKED);
  else
    StartPaneMonitor();  // the window stays: it keeps watching
}

void fwsApp::ToggleClickScroll() {
  if (!settings_.menu) return;  // only with the menu bar
  settings_.clickScroll = !settings_.clickScroll;
  ::CheckMenuItem(::GetMenu(frame_->Handle()), CMD_CLICKSCROLL,
                  MF_BYCOMMAND | (settings_.clickScroll ? MF_CHECKED : MF_UNCHECKED));
}

void fwsApp::AskConfigPath() {
  const config::ProgramContext& g = config::Context();
  std::string answer = g.configPathFromRegistry ? g.configFilePath : std::string();
  if (!exec::AskInput(frame_->Handle(), exec::InputQuestion::kConfigPath, answer)) return;
  // A setting the registry refused is not announced as stored.
  if (config::WriteConfigPathSetting(answer) != 0) {
    ::MessageBoxA(frame_->Handle(), "設定を保存できませんでした", "基本設定の変更",
                  MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  ::MessageBoxA(frame_->Handle(), "設定は次回起動時から有効になります", "基本設定の変更", MB_OK);
}

void fwsApp::OpenHelp(app::HelpRequest request) {
  helpOpened_ = ShowHelp(request) == app::HelpShown::kViewer;
}

app::HelpShown fwsApp::ShowHelp(app::HelpRequest request, int context) {
  return app::ShowHelp(reinterpret_cast<uintptr_t>(frame_->Handle()),
                       config::Context().helpFilePath, request, context);
}

void fwsApp::OpenNewWindow(int dx, int dy) {
  const std::string sec = config::InstSection(-1);
  {
    config::ConfigLock lock = config::AcquireConfigLock();
    frame_->WritePlacement(-1, dx, dy);
  }
  os::Sys().WinExec(config::InstanceCommandLine(config::Context().programPath, -1).c_str(), SW_SHOW);
  // The new window has read its place; the defaults keep no position.
  config::ConfigLock lock = config::AcquireConfigLock();
  config::WriteConfigString(sec, "Placement", "");
  config::WriteConfigString(sec, "Show", "");
}

bool fwsApp::CloseNowOrAfterCommand(WPARAM wp) {
  HWND frame = frame_ ? frame_->Handle() : nullptr;
  const bool now = gate_.CloseNow([frame, wp] {
    if (frame && ::IsWindow(frame)) ::PostMessageA(frame, WM_CLOSE, wp, 0);
  });
  if (!now && frame) {
    // A command that waits in a dialog of its own (the name of a new directory, a message box)
    // has no cancel hook: that dialog is answered with Cancel, as the user would, so that the
    // command ends and the close follows.
    HWND popup = ::GetLastActivePopup(frame);
    if (popup && popup != frame) ::PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
  }
  return now;
}


void fwsApp::QuitAllWindows() {
  app::PurgeSavedWindows(&LockErrorNoOwner);
  app::BroadcastToAllWindows(app::kMsgSaveForQuit);
  app::CloseAllWindows();
}

bool fwsApp::RestartWindow(const app::WindowSettings& changed) {
  app::WindowSettings kept = settings_;
  settings_ = changed;
  const bool started = app::StartRestartedWindow(*this, config::Context().programPath);
  settings_ = kept;
  if (!started) {
    // The window stays: closing it now would lose it and its state.
    ::MessageBoxA(frame_->Handle(), app::RestartFailedMessage(), "ソルモ", MB_OK);
    return false;
  }
  stateSaved_ = true;
  ::PostMessageA(frame_->Handle(), WM_CLOSE, 1, 0);
  return true;
}


void fwsApp::SetViewMode(int mode) {
  table::Sorm* t = ActiveTable();
  // The listing is read again in the new mode, keeping the cursor in view.
  if (!t || !table::SwitchViewMode(*t, static_cast<int16_t>(mode))) return;
  t->TitleText();
  UpdateSelectionText(activePane_);
  ::InvalidateRect(Pane(activePane_)->Handle(), nullptr, FALSE);
}

void fwsApp::AskMask() {
  table::Sorm* t = ActiveTable();
  if (!t) return;
  std::string answer = t->mask();
  if (!exec::AskInput(Pane(activePane_)->Handle(), exec::InputQuestion::kMask, answer)) return;
  t->ChooseMask(settings::NormalizeMaskInput(answer.c_str()), CMD_MKEYIN);
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
  // The change monitor follows the pane to its new directory.
  Pane(activePane_)->CloseChangeMonitor();
  t->Reload();
  t->TitleText();
  Pane(activePane_)->ArmChangeMonitor(t->path());
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
  const frame::CommandGate::Scope scope = gate_.Enter();
  if (!scope) return;
  char path[3] = {letter, ':', '\0'};
  char failure[64];
  std::snprintf(failure, sizeof(failure), "ドライブ %c に移動できません", letter);
  EnterPath(path, failure);
}

void fwsApp::SaveAsDefault() {
  // The defaults get every setting but the path and the cursor entry (WriteTableSettings
  // leaves those out for the defaults, within the same hold of the lock).
  app::SaveWindowState(-1, *this);
}

void fwsApp::StartHelpMode() {
  if (helpMode_) return;
  helpCursor_ = static_cast<HCURSOR>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(IDC_HELPMODE), IMAGE_CURSOR,
                                                  0, 0, LR_DEFAULTSIZE));
  helpMode_ = true;
  ::SetCursor(helpCursor_);
}

void fwsApp::ShowCommandHelp(int id) {
  EndHelpMode();
  ShowHelp(app::HelpRequest::kContext, id);
}

void fwsApp::MenuSelected(int command) {
  highlightedCommand_ = command;
  ShowHint(command);
}

void fwsApp::HelpOnMenu() {
  // A submenu title has no topic of its own. The menu may report one F1 more than once.
  const int id = highlightedCommand_;
  if (id <= 0) return;
  highlightedCommand_ = 0;
  // The menu closes, as after choosing the item in help mode, and the help window comes up.
  ::EndMenu();
  ShowCommandHelp(id);
}

void fwsApp::EndHelpMode() {
  if (!helpMode_) return;
  helpMode_ = false;
  ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
  if (helpCursor_) ::DestroyCursor(helpCursor_);
  helpCursor_ = nullptr;
}
