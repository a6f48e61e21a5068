// The program's operation pump over the thread's message queue (PeekMessageA), registered once
// by the application with fileops::SetOperationPump. Modeless dialogs (the progress dialog
// among them) see their messages first through fw::Application::ModelessDialogMessage; the
// rest follows fileops::RouteMessage. A WM_QUIT met here is posted again and ends the run, so
// that the application's own loop still ends.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>

#include "fileops/operation_pump.h"
#include "table/input_win.h"

namespace fileops {

class WindowsPump final : public GuardedPump {
 public:
  // mainFrame: the window whose tree stays usable while a command runs (null: none yet; the
  // application sets it once its frame exists). commandRunning tells whether one runs now
  // (RouteMessage); without it every run is taken as one of a command.
  explicit WindowsPump(HWND mainFrame = nullptr, std::function<bool()> commandRunning = {})
      : mainFrame_(mainFrame), commandRunning_(std::move(commandRunning)) {}
  void SetMainFrame(HWND mainFrame) { mainFrame_ = mainFrame; }

 protected:
  void PumpPending() override;

 private:
  HWND mainFrame_;
  std::function<bool()> commandRunning_;
};

// Runs the registered pump for ms milliseconds, sleeping in MsgWaitForMultipleObjects while
// the queue is empty.
void PumpMessagesFor(uint32_t ms);

// The registered pump as the panes' mouse tracking runs it.
class MousePumping final : public table::MessagePump {
 public:
  void Pump() override { RunOperationPump(); }
  void PumpFor(uint32_t ms) override { PumpMessagesFor(ms); }
};

}  // namespace fileops
