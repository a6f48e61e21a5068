// The application object of a window process: builds the frame, client and panes from the
// instance's configuration section, runs the message loop and saves the window's state.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/command_gate.h"
#include "app/window_state.h"
#include "fw/application.h"
#include "fw/status_bar.h"
#include "fw/tool_bar.h"
#include "frame/status_message.h"
#include "fileops/operation_pump_win.h"
#include "table/key_actions.h"
#include "table/key_binding.h"
#include "table/mouse_logic.h"
#include "table/type_ahead.h"

class SDIDecFrame;
class W_CLI;
class WINFO;
namespace table {
class Sorm;
}

class fwsApp : public fw::Application, public app::WindowStateSource {
 public:
  fwsApp();
  ~fwsApp() override;

  int PaneCount() const { return settings_.wmode == 2 ? 2 : 1; }
  WINFO* Pane(int i) const { return (i >= 0 && i < 2) ? panes_[i].get() : nullptr; }
  int ActivePaneIndex() const { return activePane_; }
  void ActivatePane(int index);
  SDIDecFrame* Frame() const { return frame_.get(); }
  fw::StatusBar* Status() { return status_.BarHandle() ? &status_ : nullptr; }

  // The application's may-close test (after the frame's).
  bool MayClose();

  // Menu commands, toolbar buttons, bound keys and mouse commands: true when the command was
  // handled. Each runs holding the command gate; while another command holds it, the command
  // is refused (and counts as handled).
  bool OnCommand(int id);
  // One command at a time: held by every command, asked by whatever would start one or change
  // a table.
  app::CommandGate& Gate() { return gate_; }
  // The frame is asked to close (WM_CLOSE with wp): true to close now; false while a command
  // runs, which is then cancelled, and the close is posted again once it has ended.
  bool CloseNowOrAfterCommand(WPARAM wp);
  // The session ends: a running command is cancelled (the process may end without unwinding
  // it; a file being replaced is only put in place complete).
  void OnSessionEnding();
  // Whether a command has a handler in this build (the menu enables exactly those).
  static bool HasHandler(int id);
  // Enables the items of a popup that is about to open and sets their check marks.
  void UpdatePopup(HMENU popup);

  // The active pane's file table, or null.
  table::Sorm* ActiveTable() const;
  // Refreshes the status bar's selection text of a pane.
  void UpdateSelectionText(int pane);
  // A table retitled itself: the caption when it is the active pane, its title bar always.
  void ShowPaneTitle(int pane, const std::string& title, const std::string& directory);

  // The keyboard and mouse state of the process, shared by the panes.
  table::KeyboardState& Keyboard() { return keyboard_; }
  table::PaneMouse& Mouse() { return mouse_; }
  table::MouseOptions MouseOptions() const;
  // What a key binding or a mouse handler asked for.
  void CarryOut(const table::ActionRequest& r);
  void CarryOutMouse(int pane, const table::MouseRequest& r);
  // A character typed in the client: jumps to the next entry starting with it.
  void OnChar(unsigned char c);

  // Shows the hint string of a command in the status bar (0: the hint ends).
  void ShowHint(int command);
  // The menu item highlighted now (WM_MENUSELECT): its command, 0 for a submenu title, a
  // separator or a closed menu. Its hint shows; with 0 the hint ends.
  void MenuSelected(int command);
  // F1 while a menu is open: the help topic of the highlighted command.
  void HelpOnMenu();
  // Creates, moves or removes the toolbar and the status bar after their settings changed.
  void RebuildBars();

  // Opens a new window offset by (dx, dy) from this frame, with the defaults section.
  void OpenNewWindow(int dx, int dy);
  // Asks every window of the program to save itself in z-order and close.
  void QuitAllWindows();
  // Saves this window as the restart instance with the given settings, starts it and closes.
  void RestartWindow(const app::WindowSettings& changed);

  // Commands on the active table.
  void SetViewMode(int mode);
  void AskMask();
  void AskCurrentPath();
  // Enters a path in the active table and lists it; shows failureText when it cannot be entered.
  bool EnterPath(const char* path, const char* failureText);
  void RebuildDriveMenu(HMENU drivePopup);
  void OnDriveCommand(int command);
  void SaveAsDefault();
  // Timer id on the frame that runs LateInit once the message loop is idle.
  static constexpr UINT_PTR kLateInitTimer = 0x5301;
  void OnLateInitTimer();

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
  // The application messages of WM_USER, posted by other windows or by this process; the frame
  // passes them on also while a command's pump runs.
  void OnAppMessage(WPARAM wp, LPARAM code);

 private:
  // What the first paint does not need runs right after the window is up: OLE (drag and drop,
  // shell objects). Loading OLE costs more than the whole rest of the start under Wine.
  void LateInit();
  bool oleInitialized_ = false;
  bool helpOpened_ = false;
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
  app::CommandGate gate_;
  // The nested pump: restricted to the frame while a command holds the gate.
  fileops::WindowsPump pump_{nullptr, [this] { return gate_.Busy(); }};
  bool lateInitDone_ = false;
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
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};
