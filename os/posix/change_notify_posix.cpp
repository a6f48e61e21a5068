// Change notification with inotify. A handle is an inotify descriptor watching one directory;
// it is signalled while events are unread, and FindNext reads them all, as the Win32 handle
// stays signalled until FindNextChangeNotification.
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

#include "os/change_notify.h"
#include "os/posix/path_map.h"

namespace os {
namespace {

uint32_t MaskOf(uint32_t filter) {
  uint32_t mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
  if (filter & 0x03) mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;  // names
  if (filter & 0x04) mask |= IN_ATTRIB;                                           // attributes
  if (filter & 0x18) mask |= IN_MODIFY | IN_CLOSE_WRITE;                          // size, write
  return mask;
}

class PosixChangeNotify : public ChangeNotify {
 public:
  ChangeHandle FindFirst(const char* path, bool /*subtree*/, uint32_t filter) override {
    const std::string host = posix::ToHostPath(path);
    if (host.empty()) return kNoChangeHandle;
    int fd = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (fd < 0) return kNoChangeHandle;
    if (::inotify_add_watch(fd, host.c_str(), MaskOf(filter)) < 0) {
      ::close(fd);
      return kNoChangeHandle;
    }
    return fd;
  }
  bool FindNext(ChangeHandle h) override {
    alignas(inotify_event) char buf[4096];
    for (;;) {
      ssize_t n = ::read(static_cast<int>(h), buf, sizeof(buf));
      if (n > 0) continue;
      return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
  }
  void Close(ChangeHandle h) override {
    if (h != kNoChangeHandle) ::close(static_cast<int>(h));
  }
  WaitResult Wait(ChangeHandle h, uint32_t ms) override {
    pollfd p{static_cast<int>(h), POLLIN, 0};
    int r = ::poll(&p, 1, static_cast<int>(ms));
    if (r == 0) return WaitResult::kTimeout;
    if (r < 0 || (p.revents & (POLLERR | POLLNVAL))) return WaitResult::kFailed;
    return WaitResult::kSignalled;
  }
};

}  // namespace

ChangeNotify& ChangeNotifications() {
  static PosixChangeNotify notify;
  return notify;
}

}  // namespace os
