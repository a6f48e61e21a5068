#include "table/monitor_messages.h"

namespace table {

MonitorAction DecideMonitorAction(uint32_t message, intptr_t lp, const MonitorContext& c) {
  switch (message) {
    case kMsgDirectoryChanged:
      return (c.mainLoop && !c.busy) ? MonitorAction::kUpdate : MonitorAction::kDefer;
    case kMsgIconsProgress:
      return MonitorAction::kProgress;
    case kMsgIconsComplete:
      return MonitorAction::kComplete;
    case kMsgUser:
      if (lp == kCodeIconsVisible) return MonitorAction::kRepaint;
      if (lp == kCodePollPane && c.mainLoop && !c.busy && !c.messageWaiting)
        return MonitorAction::kUpdateAbortable;
      return MonitorAction::kNone;
    default:
      return MonitorAction::kNone;
  }
}

}  // namespace table
