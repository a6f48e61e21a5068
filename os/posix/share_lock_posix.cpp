#include "os/posix/share_lock_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/filesystem.h"
#include "os/types.h"

namespace os::posix {
namespace {

// Marker bytes, far beyond any file's data.
constexpr off_t kBase = 0x7FFFFFFF00000000LL;
enum Marker : off_t {
  kHasRead = 0,
  kHasWrite = 1,
  kDenyRead = 3,
  kDenyWrite = 4,
  kDenyDelete = 5,
};

bool SetLock(int fd, short type, off_t marker) {
  struct flock fl = {};
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = kBase + marker;
  fl.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// True when an open file description other than fd's holds a lock on marker.
bool HeldByOthers(int fd, off_t marker) {
  struct flock fl = {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = kBase + marker;
  fl.l_len = 1;
  if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

}  // namespace

uint32_t AcquireShare(int fd, uint32_t access, uint32_t share) {
  const bool read = access & kGenericRead, write = access & kGenericWrite;
  struct Want {
    bool on;
    off_t marker;
  } wants[] = {
      {read, kHasRead},
      {write, kHasWrite},
      {!(share & kShareRead), kDenyRead},
      {!(share & kShareWrite), kDenyWrite},
      {!(share & kShareDelete), kDenyDelete},
  };
  for (const Want& w : wants) {
    if (w.on && !SetLock(fd, F_RDLCK, w.marker)) return 0;  // no OFD locks here: not checked
  }
  const bool conflict = (read && HeldByOthers(fd, kDenyRead)) ||
                        (write && HeldByOthers(fd, kDenyWrite)) ||
                        (!(share & kShareRead) && HeldByOthers(fd, kHasRead)) ||
                        (!(share & kShareWrite) && HeldByOthers(fd, kHasWrite));
  if (!conflict) return 0;
  struct flock fl = {};
  fl.l_type = F_UNLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = kBase;
  fl.l_len = 8;
  fcntl(fd, F_OFD_SETLK, &fl);
  return kErrSharingViolation;
}

bool DeleteDenied(const std::string& hostPath) {
  int fd = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st;
  bool denied = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && HeldByOthers(fd, kDenyDelete);
  close(fd);
  return denied;
}

}  // namespace os::posix
