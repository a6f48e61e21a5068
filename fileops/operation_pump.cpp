#include "fileops/operation_pump.h"

namespace fileops {

void GuardedPump::Run() {
  if (running_) return;
  running_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{running_};
  PumpPending();
}

PumpRoute RouteMessage(bool commandRunning, bool inMainFrameTree, uint32_t message) {
  if (!commandRunning || message == kMsgPaint) return PumpRoute::kDispatch;
  if (!inMainFrameTree) return PumpRoute::kDrop;
  switch (message) {
    case kMsgMove:
    case kMsgClose:
    case kMsgNonClientLeftDown:
    case kMsgNonClientLeftUp:
    case kMsgApplication:
    case kMsgLeftDown:
    case kMsgLeftUp:
    case kMsgRightDown:
    case kMsgRightUp:
      return PumpRoute::kDispatch;
    default:
      return PumpRoute::kDrop;
  }
}

}  // namespace fileops
