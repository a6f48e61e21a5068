// The command table of the application object: every menu command, toolbar button and bound
// command number is one row here with its handler and its enabling rule. The menu's enabling,
// the toolbar buttons' state, context help and the dispatch all read it.
#include <windows.h>

#include <winnetwk.h>

#include "settings/about_dialog_win.h"
#include "app/command_table.h"
#include "app/drive_menu_text.h"
#include "app/fws_app_win.h"
#include "app/help_display.h"
#include "config/program_context.h"
#include "fileops/file_command_dispatch_win.h"
#include "frame/sdi_dec_frame_win.h"
#include "fw/lazy_api.h"
#include "resources/commands.h"
#include "table/sorm.h"

std::span<const fwsApp::Command> fwsApp::Commands() {
  using app::EnableRule;
  static constexpr Command kRows[] = {
      // File
      {CMD_FOPEN, [](fwsApp& a, int) { a.OpenCursorEntry(); }},
      {CMD_FCOPY, &fwsApp::FileCommand},
      {CMD_FMOVE, &fwsApp::FileCommand},
      {CMD_FDELETE, &fwsApp::FileCommand},
      {CMD_FDUPLICATE, &fwsApp::FileCommand},
      {CMD_FMAKEDIR, &fwsApp::FileCommand},
      {CMD_FPROPERTY, &fwsApp::FileCommand},
      {CMD_FLINK_EXT, &fwsApp::AssociationCommand, EnableRule::kTargetHasExtension},
      {CMD_FLINK_NAME, &fwsApp::AssociationCommand, EnableRule::kTargetHasFileName},
      {CMD_FLINK_FULL, &fwsApp::AssociationCommand},
      {CMD_FMARKALL, [](fwsApp& a, int) { a.MarkAll(true); }},
      {CMD_FUNMARKALL, [](fwsApp& a, int) { a.MarkAll(false); }},
      {CMD_FWINOPEN, [](fwsApp& a, int) { a.OpenNewWindow(48, 48); }},
      {CMD_FEXIT, [](fwsApp& a, int) { ::PostMessageA(a.FrameHandle(), WM_CLOSE, 1, 0); }},
      {CMD_FQUIT, [](fwsApp& a, int) { a.QuitAllWindows(); }},
      // Drive
      {CMD_DKEYIN, [](fwsApp& a, int) { a.AskCurrentPath(); }},
      {CMD_DNETADD,
       [](fwsApp& a, int) { lazy::WNetConnectionDialog(a.FrameHandle(), RESOURCETYPE_DISK); },
       EnableRule::kAlways},
      {CMD_DNETCANCEL,
       [](fwsApp& a, int) { lazy::WNetDisconnectDialog(a.FrameHandle(), RESOURCETYPE_DISK); },
       EnableRule::kAlways},
      // Mask
      {CMD_MKEYIN, [](fwsApp& a, int) { a.AskMask(); }},
      {settings::kFirstMaskCommand, [](fwsApp& a, int id) { a.SelectMaskItem(id); },
       EnableRule::kWhenHandled, settings::kLastMaskCommand},
      // View
      {CMD_VICON, [](fwsApp& a, int) { a.SetViewMode(0); }},
      {CMD_VLIST, [](fwsApp& a, int) { a.SetViewMode(1); }},
      {CMD_VSNAME, &fwsApp::SortBy},
      {CMD_VSEXT, &fwsApp::SortBy},
      {CMD_VSNEW, &fwsApp::SortBy},
      {CMD_VSOLD, &fwsApp::SortBy},
      {CMD_VSLARGE, &fwsApp::SortBy},
      {CMD_VSSMALL, &fwsApp::SortBy},
      {CMD_VDATA, [](fwsApp& a, int) { a.EditViewData(); }},
      {CMD_VSPACING, [](fwsApp& a, int) { a.EditIconSpacing(); }},
      {CMD_VCOLOR, [](fwsApp& a, int) { a.EditColours(); }},
      {CMD_VFONT, [](fwsApp& a, int) { a.EditFont(); }},
      {CMD_TWOPANE, [](fwsApp& a, int) { a.ToggleTwoPane(); }},
      {CMD_CLICKSCROLL, [](fwsApp& a, int) { a.ToggleClickScroll(); }},
      {CMD_HIDEMENU, [](fwsApp& a, int) { a.ToggleMenu(); }},
      // Run
      {CMD_RKEYIN, [](fwsApp& a, int) { a.RunProgramDialog(); }},
      {CMD_RREGIST, [](fwsApp& a, int) { a.RegisterInRunMenu(); }},
      {settings::kFirstRunCommand, [](fwsApp& a, int id) { a.RunMenuEntry(id); },
       EnableRule::kWhenHandled, settings::kLastRunCommand},
      // Options
      {CMD_OSAVEDEFAULT, [](fwsApp& a, int) { a.SaveAsDefault(); }},
      {CMD_CONFIGPATH, [](fwsApp& a, int) { a.AskConfigPath(); }},
      {CMD_VBAR, [](fwsApp& a, int) { a.EditBars(); }},
      {CMD_BEDIT, [](fwsApp& a, int) { a.EditToolbar(); }},
      {CMD_MEDIT, [](fwsApp& a, int) { a.EditMenuList(false); }},
      {CMD_REDIT, [](fwsApp& a, int) { a.EditMenuList(true); }},
      // Help
      {CMD_HCONTENTS, [](fwsApp& a, int) { a.OpenHelp(app::HelpRequest::kContents); }},
      {CMD_HHELPONHELP, [](fwsApp& a, int) { a.OpenHelp(app::HelpRequest::kHelpOnHelp); }},
      {CMD_ABOUT, [](fwsApp& a, int) { fwsAboutDlg().DoModal(a.FrameHandle()); }},
  };
  return kRows;
}

bool fwsApp::OnCommand(int id) {
  if (helpMode_ || ::GetKeyState(VK_F1) < 0) {
    // Context help: the command's help topic instead of the command; a mask or run menu item
    // runs after its topic, as a drive item does.
    ShowCommandHelp(id);
    const bool menuItem = (id >= settings::kFirstMaskCommand && id <= settings::kLastMaskCommand) ||
                          (id >= settings::kFirstRunCommand && id <= settings::kLastRunCommand);
    if (!menuItem) return true;
  }
  const Command* row = app::FindCommand(Commands(), id);
  if (!row || !row->handler) return false;
  const frame::CommandGate::Scope command = gate_.Enter();
  if (!command) return true;  // another command runs: refused
  row->handler(*this, id);
  return true;
}

app::FocusedNames fwsApp::FocusedEntry() const {
  const table::Sorm* t = ActiveTable();
  if (!t || !t->HasCursor() || !t->cursor()->Data()) return {};
  const table::SM_DAT& d = *t->cursor()->Data();
  return {d.name.c_str(), d.Target()};
}

app::CommandState fwsApp::CommandStateOf(int id) const {
  return app::CommandStateOf(app::FindCommand(Commands(), id), FocusedEntry());
}

void fwsApp::UpdatePopup(HMENU popup) {
  HMENU bar = ::GetMenu(frame_->Handle());
  if (bar && popup == ::GetSubMenu(bar, 1)) RebuildDriveMenu(popup);
  const app::FocusedNames focused = FocusedEntry();
  int n = ::GetMenuItemCount(popup);
  for (int i = 0; i < n; ++i) {
    UINT id = ::GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    if (app::DriveLetterOfCommand(static_cast<int>(id))) continue;
    app::CommandState state =
        app::CommandStateOf(app::FindCommand(Commands(), static_cast<int>(id)), focused);
    if (state == app::CommandState::kKeep) continue;
    ::EnableMenuItem(popup, id,
                     MF_BYCOMMAND | (state == app::CommandState::kEnabled ? MF_ENABLED : MF_GRAYED));
  }
  ::CheckMenuItem(popup, CMD_TWOPANE, MF_BYCOMMAND | (PaneCount() == 2 ? MF_CHECKED : MF_UNCHECKED));
  ::CheckMenuItem(popup, CMD_CLICKSCROLL,
                  MF_BYCOMMAND | (settings_.clickScroll ? MF_CHECKED : MF_UNCHECKED));
}

void fwsApp::FileCommand(fwsApp& a, int id) { fileops::RunFileCommand(a, id); }

void fwsApp::SortBy(fwsApp& a, int id) {
  if (table::Sorm* t = a.ActiveTable()) t->Sort(static_cast<int16_t>(id), true);
}
