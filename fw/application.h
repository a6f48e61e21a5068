// The application object: builds the windows, runs the message loop with a pre-dispatch hook
// and idle processing, and ends with a termination step.
#pragma once
#include <windows.h>

namespace fw {

class Application {
 public:
  virtual ~Application() = default;

  // Builds the windows, shows the main window and runs the loop until it closes.
  int Run();

  HWND MainWindow() const { return mainWindow_; }
  void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }
  int ShowCommand() const { return showCommand_; }
  void SetShowCommand(int cmd) { showCommand_ = cmd; }

  // Modeless dialogs of this thread: the loop (and any nested loop) lets them handle their
  // keyboard navigation with IsDialogMessage. fw::Dialog registers and removes its own.
  static void AddModeless(HWND dialog);
  static void RemoveModeless(HWND dialog);
  // True when msg was for a modeless dialog and IsDialogMessage handled it.
  static bool ModelessDialogMessage(MSG& msg);

 protected:
  // Creates the windows (hidden). False ends the application before the loop.
  virtual bool BuildWindows() = 0;
  // Runs after the windows exist: restores placement, shows them, attaches the model.
  virtual bool AttachTables() = 0;
  // Sees every message before it is dispatched; true when it was consumed.
  virtual bool PreDispatch(MSG& msg) { return false; }
  // Called while the queue is empty; return true to be called again.
  virtual bool Idle(long count) { return false; }
  // Runs after the loop ended; returns the exit code.
  virtual int Terminate(int exitCode) { return exitCode; }

 private:
  HWND mainWindow_ = nullptr;
  int showCommand_ = SW_SHOWNORMAL;
};

}  // namespace fw
