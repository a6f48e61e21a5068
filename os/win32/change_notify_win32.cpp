#include <windows.h>

#include "os/change_notify.h"

namespace os {
namespace {

HANDLE ToHandle(ChangeHandle h) { return reinterpret_cast<HANDLE>(h); }

class Win32ChangeNotify : public ChangeNotify {
 public:
  ChangeHandle FindFirst(const char* path, bool subtree, uint32_t filter) override {
    HANDLE h = ::FindFirstChangeNotificationA(path, subtree ? TRUE : FALSE, filter);
    return h == INVALID_HANDLE_VALUE ? kNoChangeHandle : reinterpret_cast<ChangeHandle>(h);
  }
  bool FindNext(ChangeHandle h) override {
    return ::FindNextChangeNotification(ToHandle(h)) == TRUE;
  }
  void Close(ChangeHandle h) override {
    if (h != kNoChangeHandle) ::FindCloseChangeNotification(ToHandle(h));
  }
  WaitResult Wait(ChangeHandle h, uint32_t ms) override {
    switch (::WaitForSingleObject(ToHandle(h), ms)) {
      case WAIT_OBJECT_0: return WaitResult::kSignalled;
      case WAIT_TIMEOUT: return WaitResult::kTimeout;
      default: return WaitResult::kFailed;
    }
  }
};

}  // namespace

ChangeNotify& ChangeNotifications() {
  static Win32ChangeNotify notify;
  return notify;
}

}  // namespace os
