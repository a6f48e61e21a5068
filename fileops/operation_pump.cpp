#include "fileops/operation_pump.h"

#include "table/monitor_messages.h"

namespace fileops {

static_assert(kMsgWorkerFirst == table::kMsgDirectoryChanged &&
              kMsgWorkerLast == table::kMsgIconsComplete);

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
  if (message >= kMsgWorkerFirst && message <= kMsgWorkerLast) return PumpRoute::kDispatch;
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
