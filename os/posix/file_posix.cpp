#include "os/posix/file_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/last_error.h"
#include "os/posix/dir_index.h"
#include "os/posix/file_time_posix.h"
#include "os/posix/path_map.h"
#include "os/posix/posix_error.h"
#include "os/posix/share_lock_posix.h"

namespace os::posix {
namespace {

// Errors of reads and writes on an open descriptor (no path to look at).
uint32_t IoError(int e) {
  switch (e) {
    case ENOSPC:
    case EDQUOT: return kErrDiskFull;
    case EBADF: return kErrInvalidHandle;
    case EFBIG:
    case EINVAL: return kErrInvalidParameter;
    case EACCES:
    case EPERM: return kErrAccessDenied;
    default: return ErrorFromErrno(e, std::string());
  }
}

class PosixFile final : public File {
 public:
  PosixFile(int fd, uint32_t access) : fd_(fd), access_(access) {}
  ~PosixFile() override { close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  bool Read(void* buf, uint32_t size, uint32_t* done) override {
    if (done) *done = 0;
    if (!(access_ & kGenericRead)) return Fail(kErrAccessDenied);
    uint32_t total = 0;
    while (total < size) {
      ssize_t n = read(fd_, static_cast<char*>(buf) + total, size - total);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        if (done) *done = total;
        return Fail(IoError(errno));
      }
      if (n == 0) break;
      total += static_cast<uint32_t>(n);
    }
    if (done) *done = total;
    return true;
  }

  bool Write(const void* buf, uint32_t size, uint32_t* done) override {
    if (done) *done = 0;
    if (!(access_ & kGenericWrite)) return Fail(kErrAccessDenied);
    uint32_t total = 0;
    while (total < size) {
      ssize_t n = write(fd_, static_cast<const char*>(buf) + total, size - total);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (done) *done = total;
        return Fail(n == 0 ? kErrDiskFull : IoError(errno));
      }
      total += static_cast<uint32_t>(n);
    }
    if (done) *done = total;
    return true;
  }

  bool Size(uint64_t* size) override {
    struct stat st;
    if (fstat(fd_, &st) != 0) return Fail(IoError(errno));
    *size = static_cast<uint64_t>(st.st_size);
    return true;
  }

  bool Seek(uint64_t pos) override {
    if (pos > static_cast<uint64_t>(INT64_MAX)) return Fail(kErrInvalidParameter);
    if (lseek(fd_, static_cast<off_t>(pos), SEEK_SET) < 0) return Fail(IoError(errno));
    return true;
  }

  bool SetEnd() override {
    if (!(access_ & kGenericWrite)) return Fail(kErrAccessDenied);
    off_t pos = lseek(fd_, 0, SEEK_CUR);
    if (pos < 0 || ftruncate(fd_, pos) != 0) return Fail(IoError(errno));
    return true;
  }

  bool GetTimes(FileTime* creation, FileTime* access, FileTime* write) override {
    struct stat st;
    if (fstat(fd_, &st) != 0) return Fail(IoError(errno));
    TimesFromStat(st, creation, access, write);
    return true;
  }

  bool SetTimes(const FileTime* creation, const FileTime* access,
                const FileTime* write) override {
    if (!(access_ & kGenericWrite)) return Fail(kErrAccessDenied);
    // The creation time cannot be set on a Unix file system; a zero time means "keep".
    struct timespec ts[2];
    ts[0].tv_nsec = UTIME_OMIT;
    ts[1].tv_nsec = UTIME_OMIT;
    if (access && *access) ts[0] = TimespecFrom(*access);
    if (write && *write) ts[1] = TimespecFrom(*write);
    if (futimens(fd_, ts) != 0) return Fail(IoError(errno));
    return true;
  }

 private:
  int fd_;
  uint32_t access_;
};

bool IsReadOnlyMode(mode_t m) { return !(m & (S_IWUSR | S_IWGRP | S_IWOTH)); }

}  // namespace

std::unique_ptr<File> OpenFile(const char* path, uint32_t access, uint32_t share,
                               uint32_t disposition) {
  if (!path) {
    Fail(kErrPathNotFound);
    return nullptr;
  }
  if (uint32_t e = CheckPathText(path)) {
    Fail(e);
    return nullptr;
  }
  std::string full;
  if (!MakeFullPath(path, CurrentDirectory(), full)) {
    Fail(kErrPathNotFound);
    return nullptr;
  }
  std::string host = HostFromFull(full);
  if (host.empty()) {
    Fail(kErrPathNotFound);
    return nullptr;
  }
  if (disposition < kCreateNew || disposition > kTruncateExisting) {
    Fail(kErrInvalidParameter);
    return nullptr;
  }

  struct stat st;
  const bool existed = stat(host.c_str(), &st) == 0;
  const bool truncate = disposition == kCreateAlways || disposition == kTruncateExisting;
  if (existed) {
    if (disposition == kCreateNew) {
      Fail(kErrFileExists);
      return nullptr;
    }
    if (S_ISDIR(st.st_mode)) {
      Fail(kErrAccessDenied);
      return nullptr;
    }
    if (IsReadOnlyMode(st.st_mode) && ((access & kGenericWrite) || truncate)) {
      Fail(kErrAccessDenied);
      return nullptr;
    }
  } else if (disposition == kOpenExisting || disposition == kTruncateExisting) {
    FailErrno(host);
    return nullptr;
  }

  int flags = O_CLOEXEC | O_NOCTTY;
  // Share reservations need a descriptor open for reading, so writers read too.
  flags |= ((access & kGenericWrite) || truncate) ? O_RDWR : O_RDONLY;
  if (disposition == kCreateNew) flags |= O_CREAT | O_EXCL;
  if (disposition == kCreateAlways || disposition == kOpenAlways) flags |= O_CREAT;
  int fd = open(host.c_str(), flags, 0666);
  if (fd < 0 && errno == EACCES && (flags & O_RDWR) && !(access & kGenericRead)) {
    fd = open(host.c_str(), (flags & ~O_RDWR) | O_WRONLY, 0666);  // a write-only file
  }
  if (fd < 0) {
    if (errno == EEXIST) {
      Fail(kErrFileExists);
    } else if (errno == EISDIR) {
      Fail(kErrAccessDenied);
    } else {
      FailErrno(host);
    }
    return nullptr;
  }
  if (uint32_t e = AcquireShare(fd, access, share)) {
    close(fd);
    Fail(e);
    return nullptr;
  }
  if (truncate && existed && ftruncate(fd, 0) != 0) {
    uint32_t e = IoError(errno);
    close(fd);
    Fail(e);
    return nullptr;
  }
  if (!existed) {
    const std::size_t slash = host.rfind('/');
    NoteEntryCreated(host.substr(0, slash), host.substr(slash + 1));
  }
  auto file = std::make_unique<PosixFile>(fd, access);
  const bool reportExisting =
      existed && (disposition == kCreateAlways || disposition == kOpenAlways);
  os::SetLastError(reportExisting ? kErrAlreadyExists : kErrSuccess);
  return file;
}

std::unique_ptr<File> OpenFileOrDirectoryForTimes(const char* path) {
  std::unique_ptr<File> file =
      OpenFile(path, kGenericRead | kGenericWrite, kShareNone, kOpenExisting);
  if (file || os::LastError() != kErrAccessDenied) return file;
  // Refused: a directory opens by itself here, as with the backup-semantics flag on Win32.
  std::string full;
  if (!MakeFullPath(path, CurrentDirectory(), full)) return nullptr;
  const std::string host = HostFromFull(full);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    Fail(kErrAccessDenied);
    return nullptr;
  }
  const int fd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    FailErrno(host);
    return nullptr;
  }
  os::SetLastError(kErrSuccess);
  return std::make_unique<PosixFile>(fd, kGenericRead | kGenericWrite);
}

}  // namespace os::posix
