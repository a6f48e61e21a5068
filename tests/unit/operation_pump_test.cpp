// The nested message pump: a run inside a run returns at once, and what happens to a message
// while a command runs.
#include <gtest/gtest.h>

#include <stdexcept>

#include "fileops/operation_pump.h"

namespace {

using fileops::PumpRoute;

// A pump whose handling of the queue runs the registered pump again, as a dispatched message
// that waits for something would.
class NestingPump : public fileops::GuardedPump {
 public:
  int runs = 0;
  bool throwOnce = false;

 protected:
  void PumpPending() override {
    ++runs;
    if (throwOnce) {
      throwOnce = false;
      throw std::runtime_error("handler failed");
    }
    fileops::RunOperationPump();
    Run();
  }
};

TEST(OperationPump, ARunInsideARunReturnsAtOnce) {
  NestingPump pump;
  fileops::OperationPump* saved = fileops::SetOperationPump(&pump);
  fileops::RunOperationPump();
  EXPECT_EQ(pump.runs, 1);
  EXPECT_FALSE(pump.running());
  fileops::RunOperationPump();
  EXPECT_EQ(pump.runs, 2);

  // A run that ends in an exception leaves the pump usable.
  pump.throwOnce = true;
  EXPECT_THROW(pump.Run(), std::runtime_error);
  EXPECT_FALSE(pump.running());
  pump.Run();
  EXPECT_EQ(pump.runs, 4);
  fileops::SetOperationPump(saved);
}

TEST(OperationPump, MessagesWhileACommandRuns) {
  const uint32_t kKeyDown = 0x0100, kTimer = 0x0113, kMouseMove = 0x0200, kCommand = 0x0111;
  struct Case {
    bool progress, inFrame;
    uint32_t message;
    PumpRoute want;
  } cases[] = {
      {false, false, kKeyDown, PumpRoute::kDispatch},
      {false, true, kCommand, PumpRoute::kDispatch},
      {false, false, kTimer, PumpRoute::kDispatch},
      {true, true, fileops::kMsgMove, PumpRoute::kDispatch},
      {true, true, fileops::kMsgPaint, PumpRoute::kDispatch},
      {true, true, fileops::kMsgLeftDown, PumpRoute::kDispatch},
      {true, true, fileops::kMsgLeftUp, PumpRoute::kDispatch},
      {true, true, fileops::kMsgRightDown, PumpRoute::kDispatch},
      {true, true, fileops::kMsgRightUp, PumpRoute::kDispatch},
      {true, true, kKeyDown, PumpRoute::kDrop},
      {true, true, kCommand, PumpRoute::kDrop},
      {true, true, kMouseMove, PumpRoute::kDrop},
      // Closing the frame, its close box and the program's own messages (quit all windows
      // saves first) reach the frame; the gate decides what they may do.
      {true, true, fileops::kMsgClose, PumpRoute::kDispatch},
      {true, true, fileops::kMsgNonClientLeftDown, PumpRoute::kDispatch},
      {true, true, fileops::kMsgNonClientLeftUp, PumpRoute::kDispatch},
      {true, true, fileops::kMsgApplication, PumpRoute::kDispatch},
      // The worker thread's reports reach the frame, which keeps a change for later.
      {true, true, fileops::kMsgWorkerFirst, PumpRoute::kDispatch},
      {true, true, fileops::kMsgWorkerLast, PumpRoute::kDispatch},
      {true, true, fileops::kMsgWorkerLast + 1, PumpRoute::kDrop},
      {true, false, fileops::kMsgWorkerFirst, PumpRoute::kDrop},
      {true, false, fileops::kMsgClose, PumpRoute::kDrop},
      {true, false, fileops::kMsgApplication, PumpRoute::kDrop},
      {true, false, fileops::kMsgLeftDown, PumpRoute::kDrop},
      {true, false, kTimer, PumpRoute::kDrop},
      // A paint message stays queued until painted: it is never dropped.
      {true, false, fileops::kMsgPaint, PumpRoute::kDispatch},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fileops::RouteMessage(c.progress, c.inFrame, c.message), c.want)
        << c.progress << c.inFrame << " " << c.message;
  }
}

}  // namespace
