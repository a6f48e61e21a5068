#include "os/posix/move_posix.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "os/posix/path_map.h"
#include "os/posix/posix_error.h"
#include "os/posix/resolve_posix.h"
#include "os/posix/share_lock_posix.h"
#include "os/types.h"

namespace os::posix {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Copies a regular file across file systems, then removes the source. The destination is
// written under a temporary name first so a failure leaves no partial file behind.
bool CopyThenDelete(const std::string& from, const std::string& to, bool replace) {
  Fd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return FailErrno(from);
  struct stat st;
  if (fstat(in.get(), &st) != 0) return FailErrno(from);
  if (S_ISDIR(st.st_mode)) return Fail(kErrNotSameDevice);
  const std::string temp = to + ".sormmove~";
  {
    Fd out(open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, st.st_mode & 07777));
    if (out.get() < 0) return FailErrno(to);
    char buf[65536];
    for (;;) {
      ssize_t n = read(in.get(), buf, sizeof(buf));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        unlink(temp.c_str());
        return FailErrno(from);
      }
      if (n == 0) break;
      for (ssize_t off = 0; off < n;) {
        ssize_t w = write(out.get(), buf + off, static_cast<size_t>(n - off));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
          int e = w < 0 ? errno : ENOSPC;
          unlink(temp.c_str());
          return Fail(ErrorFromErrno(e, to));
        }
        off += w;
      }
    }
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(out.get(), times);
  }
  int r = replace ? rename(temp.c_str(), to.c_str())
                  : renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
  if (r != 0) {
    int e = errno;
    unlink(temp.c_str());
    return Fail(e == EEXIST ? kErrAlreadyExists : ErrorFromErrno(e, to));
  }
  unlink(from.c_str());
  return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool MovePath(const char* from, const char* to, bool replaceExisting) {
  Resolved src, dst;
  if (!Resolve(from, src)) return false;
  struct stat srcSt;
  if (lstat(src.host.c_str(), &srcSt) != 0) return FailErrno(src.host);
  // The destination keeps the case it was written with (a rename may change only case),
  // but an existing entry is found whatever its case.
  if (!Resolve(to, dst, /*keepLastCase=*/true)) return false;
  const std::string existing = HostFromFull(dst.full);
  struct stat dstSt;
  const bool dstExists = lstat(existing.c_str(), &dstSt) == 0;
  const bool sameFile = dstExists && SameFile(srcSt, dstSt);

  if (dstExists && !sameFile) {
    if (!replaceExisting) return Fail(kErrAlreadyExists);
    if (S_ISDIR(dstSt.st_mode) || S_ISDIR(srcSt.st_mode)) return Fail(kErrAccessDenied);
    if (DeleteDenied(existing)) return Fail(kErrSharingViolation);
  }
  if (S_ISDIR(srcSt.st_mode) && dst.host.compare(0, src.host.size() + 1, src.host + "/") == 0)
    return Fail(kErrInvalidParameter);  // a directory into itself
  if (DeleteDenied(src.host)) return Fail(kErrSharingViolation);

  const std::string target = (dstExists && !sameFile) ? existing : dst.host;
  int r;
  if (dstExists || replaceExisting)
    r = rename(src.host.c_str(), target.c_str());
  else
    r = renameat2(AT_FDCWD, src.host.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
  if (r != 0 && errno == EINVAL && !dstExists && !replaceExisting)
    r = rename(src.host.c_str(), target.c_str());  // a file system without RENAME_NOREPLACE
  if (r == 0) return true;
  if (errno == EXDEV) return CopyThenDelete(src.host, target, replaceExisting);
  if (errno == EEXIST) return Fail(kErrAlreadyExists);
  if (errno == ENOENT) return Fail(kErrPathNotFound);  // the source exists: the target's folder
  return FailErrno(target);
}

}  // namespace os::posix
