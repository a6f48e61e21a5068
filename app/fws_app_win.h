// The application object of a window process: builds the frame, client and panes from the
// instance's configuration section, runs the message loop and saves the window's state.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/window_state.h"
#include "fw/application.h"
#include "fw/status_bar.h"
#include "fw/tool_bar.h"
#include "fileops/operation_pump_win.h"
#include "table/key_actions.h"
#include "table/key_binding.h"
#include "table/mouse_logic.h"

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

  // Menu commands and toolbar buttons: true when the command was handled.
  bool OnCommand(int id);
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

  // Shows the hint string of a command in the status bar (0: clears it).
  void ShowHint(int command);
  // Creates, moves or removes the toolbar and the status bar after their settings changed.
  void RebuildBars();

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
  // Timer id on the frame that runs LateInit once the message loop is idle.
  static constexpr UINT_PTR kLateInitTimer = 0x5301;
  // The application messages of WM_USER, posted by other windows or by this process. The
  // frame's window procedure hands them over, so that they arrive also while a dialog, a
  // message box, a menu or a mouse-tracking loop runs its own message loop.
  void OnAppMessage(WPARAM wp, LPARAM code);
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

 private:
  // What the first paint does not need runs right after the window is up: OLE (drag and drop,
  // shell objects). Loading OLE costs more than the whole rest of the start under Wine.
  void LateInit();
  bool oleInitialized_ = false;
  bool helpOpened_ = false;
  // Context-help mode (Shift+F1): the next command shows its help instead of running.
  void StartHelpMode();
  void EndHelpMode();
  bool helpMode_ = false;
  HCURSOR helpCursor_ = nullptr;
  int driveItemCount_ = 0;
  table::KeyBindings keys_;
  table::KeyboardState keyboard_;
  table::PaneMouse mouse_;
  fileops::WindowsPump pump_;  // the help file was opened this run: close it at exit
  bool lateInitDone_ = false;
  bool CreateStatusBar();
  bool CreateToolBar();
  app::WindowSettings settings_;
  int activePane_ = 0;
  std::unique_ptr<W_CLI> client_;
  std::unique_ptr<WINFO> panes_[2];
  std::unique_ptr<SDIDecFrame> frame_;
  fw::StatusBar status_;
  fw::ToolBar toolbar_;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};
