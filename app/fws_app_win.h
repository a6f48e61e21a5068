// The application object of a window process: builds the frame, client and panes from the
// instance's configuration section, runs the message loop and saves the window's state.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/command_table.h"
#include "app/out_of_memory.h"
#include "app/toolbar_enabling.h"
#include "app/user_menus_win.h"
#include "frame/command_gate.h"
#include "app/window_state.h"
#include "frame/pane_host.h"
#include "fw/application.h"
#include "fw/status_bar.h"
#include "fw/tool_bar.h"
#include "os/profile_snapshot.h"
#include "frame/status_message.h"
#include "fileops/operation_pump_win.h"
#include "table/key_actions.h"
#include "table/key_binding.h"
#include "table/mouse_logic.h"
#include "table/type_ahead.h"

namespace app {
class PaneMonitor;
enum class HelpRequest;  // app/help_display.h
enum class HelpShown;
}
class SDIDecFrame;
class W_CLI;
class WINFO;
namespace table {
class Sorm;
}

class fwsApp : public fw::Application,
               public app::WindowStateSource,
               public frame::PaneHost {
 public:
  fwsApp();
  ~fwsApp() override;

  // frame::PaneHost
  int PaneCount() const override { return settings_.wmode == 2 ? 2 : 1; }
  WINFO* Pane(int i) const override { return (i >= 0 && i < 2) ? panes_[i].get() : nullptr; }
  int ActivePaneIndex() const override { return activePane_; }
  void ActivatePane(int index) override;
  HWND FrameHandle() const override { return MainWindow(); }
  frame::CommandGate& Gate() override { return gate_; }
  bool CloseNowOrAfterCommand(WPARAM wp) override;
  table::KeyboardState& Keyboard() override { return keyboard_; }
  table::PaneMouse& Mouse() override { return mouse_; }
  table::MouseOptions MouseOptions() const override;
  table::MessagePump& MousePump() override { return mousePump_; }
  void CarryOutMouse(int pane, const table::MouseRequest& r) override;
  // A character typed in the client: jumps to the next entry starting with it.
  void OnChar(unsigned char c) override;
  // Drag and drop (app/fws_drag_drop_win.cpp).
  void OnDropFiles(int pane, HDROP drop, LPARAM tag, HWND receiver) override;
  void StartDrag(int pane, table::MouseButton button, table::Point press) override;
  // Refreshes the status bar's selection text of a pane.
  void UpdateSelectionText(int pane) override;
  // A table retitled itself: the caption when it is the active pane, its title bar always.
  void ShowPaneTitle(int pane, const std::string& title, const std::string& directory) override;
  // Shows the hint string of a command in the status bar (0: the hint ends).
  void ShowHint(int command) override;
  void MenuSelected(int command) override;
  void HelpOnMenu() override;
  // Menu commands and toolbar buttons: true when the command was handled.
  bool OnCommand(int id) override;
  // Enables the items of a popup that is about to open and sets their check marks.
  void UpdatePopup(HMENU popup) override;
  bool OnTimer(UINT_PTR id) override;
  // The panes' change monitors and the worker's reports (app/fws_monitor_win.cpp).
  void DisarmPaneMonitor(int pane) override;
  void ArmPaneMonitor(int pane, const std::string& path) override;
  void OnMonitorMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The last window saves the state of the session; then the help file is closed.
  bool MayClose() override;
  // The window saves itself once as the session ends.
  void EndSession() override;

  SDIDecFrame* Frame() const { return frame_.get(); }
  fw::StatusBar* Status() { return status_.BarHandle() ? &status_ : nullptr; }

  // The command table (app/fws_command_table_win.cpp): one row per command with its handler
  // and its enabling rule; it drives the dispatch, the menu's and toolbar's enabling and
  // context help. Every command runs holding the command gate; while another command holds
  // it, the command is refused (and counts as handled).
  using CommandHandler = void (*)(fwsApp& app, int id);
  using Command = app::CommandRow<CommandHandler>;
  static std::span<const Command> Commands();
  // Whether the menu and the toolbar offer a command now: its row's rule and the focused entry.
  app::CommandState CommandStateOf(int id) const;

  // The active pane's file table, or null.
  table::Sorm* ActiveTable() const;
  // What a key binding asked for.
  void CarryOut(const table::ActionRequest& r);

  // Creates, moves or removes the toolbar and the status bar after their settings changed.
  void RebuildBars();

  // Opens an entry (or the entry of a text line) of a pane: a directory is entered, a file
  // started by its association (app/fws_open_win.cpp). OpenEntryCommand holds the command gate
  // (refused while another command runs); OpenEntry runs inside a command that holds it.
  void OpenEntry(int pane, table::BINFO* node);
  void OpenEntryCommand(int pane, table::BINFO* node);
  // The open command of the File menu and of Enter: the active pane's cursor entry.
  void OpenCursorEntry();
  // The run dialog (command 148): a typed line runs with the selected files.
  void RunProgramDialog();
  // A key binding's command line, run holding the command gate.
  void RunLineCommand(const std::string& line);

  // The shell's context menu at a point of a pane (client coordinates): of the entry there, of
  // the selection, or of the directory with the view commands (app/fws_shell_menu_win.cpp).
  // ContextMenuCommand and the others hold the command gate; ShowContextMenu runs inside a
  // command that holds it.
  void ShowContextMenu(int pane, POINT clientPoint);
  void ContextMenuCommand(int pane, POINT clientPoint);
  // The keyboard's context menu: of the target entry, at its centre.
  void ContextMenuAtCursorCommand();
  // A shell verb ("cut", "copy", "paste", "find") on the active pane.
  void ShellVerbCommand(const char* verb);
  // Runs a command's handler inside a command that already holds the gate (the context menu's
  // view commands).
  void RunHeldCommand(int id);

  // Opens a new window offset by (dx, dy) from this frame, with the defaults section.
  void OpenNewWindow(int dx, int dy);
  // Asks every window of the program to save itself in z-order and close.
  void QuitAllWindows();
  // Saves this window as the restart instance with the given settings, starts it and closes.
  // False (with a message) when the new process could not be started: the window stays.
  bool RestartWindow(const app::WindowSettings& changed);

  // Commands on the active table.
  void SetViewMode(int mode);
  void AskMask();
  void AskCurrentPath();
  // Enters a path in the active table and lists it; shows failureText when it cannot be entered.
  bool EnterPath(const char* path, const char* failureText);
  void RebuildDriveMenu(HMENU drivePopup);
  void OnDriveCommand(int command);
  void SaveAsDefault();

  // The Mask and Run menus' own items (app/fws_user_menus_win.cpp).
  void BuildUserMenus();
  void RebuildUserMenu(app::UserMenus::Kind kind);
  // A mask item (ids 300-339) becomes the active table's mask: 0, or -1 for an unknown id.
  int SelectMaskItem(int id);
  // A run item (ids 400-439) runs with the selected files, as the run dialog's answer does
  // (app/fws_open_win.cpp).
  void RunMenuEntry(int id);
  // The run dialog's answer or a run item's line, run on the active pane.
  void RunAnswerInActivePane(const std::string& answer);
  // The list editor of the run menu (run) or the mask menu; OK tells every window.
  void EditMenuList(bool run);
  // Offers each selected file of the active table as a run menu item.
  void RegisterInRunMenu();

  // The toolbar editor (every window rebuilds its toolbar after OK) and this window's bar
  // settings (app/fws_bars_win.cpp).
  void EditToolbar();
  void EditBars();
  // The View menu's settings of the active pane (app/fws_display_win.cpp).
  void EditColours();
  void EditFont();
  void EditViewData();
  void EditIconSpacing();
  // Timer id on the frame that runs LateInit once the message loop is idle.
  static constexpr UINT_PTR kLateInitTimer = 0x5301;

  // WindowStateSource
  app::WindowSettings Settings() override { return settings_; }
  bool HasFrame() override;
  void WritePlacement(int n, int dx, int dy) override;
  bool HasActivePane() override;
  void WritePaneSettings(int pane, int section) override;
  bool HasActiveTable() override;
  void WriteTableSettings(int pane, int section) override;
  void ShowLockError() override;

 protected:
  bool BuildWindows() override;
  bool AttachTables() override;
  bool PreDispatch(MSG& msg) override;
  bool Idle(long count) override;
  int Terminate(int exitCode) override;

 public:
  void OnAppMessage(WPARAM wp, LPARAM code) override;
  // Every pane reads its association lists again, is repainted and retitled (after a running
  // command has ended).
  void AssociationsChanged() override;

 private:
  // What the first paint does not need runs right after the window is up: OLE (drag and drop,
  // shell objects). Loading OLE costs more than the whole rest of the start under Wine.
  void LateInit();
  // Each pane takes drops: its OLE drop target, or the shell's WM_DROPFILES below Windows 4 and
  // where OLE is missing.
  void AcceptDrops();
  bool oleInitialized_ = false;
  bool helpOpened_ = false;  // the help file was opened this run: close it at exit
  // The window's state was written for this quit, restart or session end.
  bool stateSaved_ = false;
  // Context-help mode (Shift+F1): the next command shows its help instead of running.
  void StartHelpMode();
  void EndHelpMode();
  // Ends help mode and shows the help topic of a command (its number is the help context).
  void ShowCommandHelp(int id);
  int highlightedCommand_ = 0;
  bool helpMode_ = false;
  HCURSOR helpCursor_ = nullptr;
  int driveItemCount_ = 0;
  table::KeyBindings keys_;
  table::KeyboardState keyboard_;
  table::TypedCharacter typed_;  // the characters of type-ahead, double-byte ones made whole
  table::PaneMouse mouse_;
  frame::CommandGate gate_;
  // The nested pump: restricted to the frame while a command holds the gate.
  fileops::WindowsPump pump_{nullptr, [this] { return gate_.Busy(); }};
  fileops::MousePumping mousePump_;
  bool lateInitDone_ = false;
  // The toolbar buttons' enabled states, brought up to date between messages.
  app::ToolbarEnabling toolbarEnabling_;
  // While the window builds itself its settings are read from one reading of the configuration
  // file; the snapshot goes before the worker thread starts (the services are process-wide).
  std::optional<os::ScopedProfileSnapshot> startReads_;
  // The worker thread watching the panes and loading their icons; made once the tables
  // exist, stopped before they go.
  std::unique_ptr<app::PaneMonitor> monitor_;
  bool StartPaneMonitor();
  void StopPaneMonitor();
  // The table must not change under the user now: a command runs or the mouse is tracked.
  bool MonitorBusy() const;
  // A report or request of the worker taken by the main loop: true when it was one (handled).
  bool MonitorMessageFromMainLoop(const MSG& msg);
  // The lock error of a save with no window to own the message.
  static void LockErrorNoOwner();
  // A failed allocation on the window's thread is told in the active table's error box while
  // the tables exist (before, and on other threads, the owner-less box).
  static void ShowMemoryError(const char* text, void* app);
  std::optional<app::TableErrorBoxForMemory> memoryBox_;
  // The active table's cursor entry, as the enabling rules see it.
  app::FocusedNames FocusedEntry() const;
  // Handlers of the command table.
  static void FileCommand(fwsApp& a, int id);
  static void SortBy(fwsApp& a, int id);
  // The association dialog: 160 by extension, 150 by name, 158 by full name.
  static void AssociationCommand(fwsApp& a, int id);
  void MarkAll(bool on);
  void ToggleMenu();
  void ToggleTwoPane();
  void ToggleClickScroll();
  void AskConfigPath();
  // Help commands 2001 and 2002: help opened follows whether the viewer took the request.
  void OpenHelp(app::HelpRequest request);
  // The help of F1, context help and closing, which leave help opened as it is.
  app::HelpShown ShowHelp(app::HelpRequest request, int context = 0);
  bool CreateStatusBar();
  bool CreateToolBar();
  app::WindowSettings settings_;
  int activePane_ = 0;
  std::unique_ptr<W_CLI> client_;
  std::unique_ptr<WINFO> panes_[2];
  std::unique_ptr<SDIDecFrame> frame_;
  fw::StatusBar status_;
  frame::StatusMessage message_;  // the one-pane bar's text: selection text or a hint
  fw::ToolBar toolbar_;
  app::UserMenus userMenus_;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};
