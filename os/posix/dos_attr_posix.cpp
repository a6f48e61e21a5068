#include "os/posix/dos_attr_posix.h"

#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "os/posix/posix_error.h"
#include "os/types.h"

namespace os::posix {
namespace {

constexpr char kXattrName[] = "user.DOSATTRIB";
constexpr uint32_t kStoredBits = kAttrHidden | kAttrSystem;

bool NoXattrSupport(int e) { return e == ENOTSUP || e == EOPNOTSUPP || e == ENOSYS; }

// The bits stored in an attribute value of n bytes (n < 0: none); data has room for n + 1.
uint32_t ParseStored(char* data, ssize_t n) {
  if (n <= 2 || data[0] != '0' || (data[1] != 'x' && data[1] != 'X')) return 0;
  data[n] = '\0';
  char* end = nullptr;
  unsigned long v = std::strtoul(data + 2, &end, 16);
  if (end == data + 2 || *end != '\0') return 0;
  return static_cast<uint32_t>(v) & kStoredBits;
}

#ifdef __linux__
// getxattrat(2), Linux 6.13 and later; the C library may not declare it yet.
constexpr long kSysGetxattrat = 464;
struct XattrArgs {
  alignas(8) uint64_t value;
  uint32_t size;
  uint32_t flags;
};
std::atomic<bool> gNoGetxattrat{false};

// getxattr of dirFd/name without walking the path; false (errno ENOSYS) where unavailable.
bool GetXattrAt(int dirFd, const char* name, char* data, std::size_t size, ssize_t* result) {
  if (gNoGetxattrat.load(std::memory_order_relaxed)) return false;
  XattrArgs args{reinterpret_cast<uintptr_t>(data), static_cast<uint32_t>(size), 0};
  long r = syscall(kSysGetxattrat, dirFd, name, 0, kXattrName, &args, sizeof(args));
  if (r < 0 && (errno == ENOSYS || errno == EPERM)) {  // old kernel, or filtered out
    gNoGetxattrat.store(true, std::memory_order_relaxed);
    return false;
  }
  *result = static_cast<ssize_t>(r);
  return true;
}
#else
bool GetXattrAt(int, const char*, char*, std::size_t, ssize_t*) { return false; }
#endif

}  // namespace

uint32_t ReadDosXattr(const std::string& hostPath) {
  char data[65];
  ssize_t n = getxattr(hostPath.c_str(), kXattrName, data, sizeof(data) - 1);
  return ParseStored(data, n);
}

uint32_t DirXattrReader::Read(const char* name, const struct stat& st) {
  if (noXattrDevKnown_ && st.st_dev == noXattrDev_) return 0;
  char data[65];
  ssize_t n;
  if (!GetXattrAt(fd_, name, data, sizeof(data) - 1, &n)) {
    path_.assign(dir_).append(name);
    n = getxattr(path_.c_str(), kXattrName, data, sizeof(data) - 1);
  }
  if (n < 0 && NoXattrSupport(errno)) {
    noXattrDevKnown_ = true;
    noXattrDev_ = st.st_dev;
  }
  return ParseStored(data, n);
}

uint32_t AttributesFrom(const struct stat& st, uint32_t storedBits) {
  uint32_t a = S_ISDIR(st.st_mode) ? kAttrDirectory : kAttrArchive;
  if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) a |= kAttrReadOnly;
  return a | (storedBits & kStoredBits);
}

uint32_t GetDosAttributes(const std::string& hostPath) {
  struct stat st;
  if (stat(hostPath.c_str(), &st) != 0) {
    FailErrno(hostPath);
    return kInvalidAttributes;
  }
  uint32_t a = AttributesFrom(st, ReadDosXattr(hostPath));
  struct stat own;
  if (S_ISDIR(st.st_mode) && lstat(hostPath.c_str(), &own) == 0 && S_ISLNK(own.st_mode))
    a |= kAttrReparsePoint;  // a link to a directory, as Wine reports it
  return a;
}

bool SetDosAttributes(const std::string& hostPath, uint32_t attributes) {
  struct stat st;
  if (stat(hostPath.c_str(), &st) != 0) return FailErrno(hostPath);
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly) {
    if (!S_ISDIR(st.st_mode)) mode &= ~static_cast<mode_t>(0222);  // ignored on directories
  } else {
    // Write permission returns only where read permission is.
    mode |= 0200 | ((mode & 0044) >> 1);
  }
  if (mode != (st.st_mode & 07777) && chmod(hostPath.c_str(), mode) != 0)
    return FailErrno(hostPath);

  const uint32_t bits = attributes & kStoredBits;
  int r;
  if (bits) {
    char data[16];
    int len = std::snprintf(data, sizeof(data), "0x%x", bits);
    r = setxattr(hostPath.c_str(), kXattrName, data, static_cast<size_t>(len), 0);
  } else {
    r = removexattr(hostPath.c_str(), kXattrName);
    if (r != 0 && errno == ENODATA) r = 0;
  }
  if (r != 0 && !NoXattrSupport(errno)) return FailErrno(hostPath);
  return true;
}

bool XattrSupported(const std::string& hostPath) {
  char data[8];
  return getxattr(hostPath.c_str(), kXattrName, data, sizeof(data)) >= 0 || errno == ENODATA ||
         errno == ERANGE;
}

}  // namespace os::posix
