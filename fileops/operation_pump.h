// The nested message pump shared by the copy engine and the mouse tracking: while an operation
// or a rubber band runs on the user-interface thread, it keeps the windows painted and lets the
// user reach the progress dialog. It guards itself against re-entry (a message it dispatches
// may itself wait and pump: a nested run returns at once).
#pragma once
#include <cstdint>

#include "fileops/engine_ui.h"

namespace fileops {

// An OperationPump whose Run() does nothing while a run of the same pump is under way.
class GuardedPump : public OperationPump {
 public:
  void Run() final;
  bool running() const { return running_; }

 protected:
  // Removes and handles the queued messages of the thread.
  virtual void PumpPending() = 0;

 private:
  bool running_ = false;
};

// What the pump does with a message that no modeless dialog (the progress dialog among them)
// took.
enum class PumpRoute : uint8_t { kDispatch, kDrop };

// Window messages the pump looks at.
enum PumpMessage : uint32_t {
  kMsgMove = 0x0003,
  kMsgPaint = 0x000F,
  kMsgClose = 0x0010,
  kMsgNonClientLeftDown = 0x00A1,
  kMsgNonClientLeftUp = 0x00A2,
  kMsgLeftDown = 0x0201,
  kMsgLeftUp = 0x0202,
  kMsgRightDown = 0x0204,
  kMsgRightUp = 0x0205,
  kMsgApplication = 0x0400,  // WM_USER: the messages other windows of the program post
  // The worker thread's reports (a folder changed, icons loaded, icons complete): the frame
  // keeps a change for later while a command runs; one dropped would leave the pane's watch
  // waiting for an answer for good.
  kMsgWorkerFirst = 0x0401,
  kMsgWorkerLast = 0x0403,
};

// Outside a command every message is dispatched. While a command runs, the user may only move
// and repaint the main frame and click in it (the command gate refuses what a click would
// start): messages whose window's top-level ancestor (found by following GetParent) is not the
// main frame are dropped, and of those in the main frame's tree only moving, painting, the
// left and right button presses and releases (in the client and in the frame's border, so the
// close box works), closing, the program's application messages and the worker thread's
// reports are dispatched. A close or an application message must not be lost: closing waits for
// the command (see the frame), and quitting all windows posts the save before the close. A paint message is never dropped: it
// stays queued until its window is painted, so a dropped one would keep the pump busy for ever.
PumpRoute RouteMessage(bool commandRunning, bool inMainFrameTree, uint32_t message);

// The most messages one run handles, so that a flood of posted messages cannot hold the
// operation that pumps.
constexpr int kMaxMessagesPerRun = 1000;

}  // namespace fileops
