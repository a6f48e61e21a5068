#include "os/posix/posix_error.h"

#include <sys/stat.h>

#include <cerrno>

#include "os/last_error.h"
#include "os/types.h"

namespace os::posix {
namespace {

bool ParentIsDirectory(const std::string& hostPath) {
  std::string p = hostPath;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  std::size_t slash = p.rfind('/');
  if (slash == std::string::npos) return true;
  std::string parent = slash == 0 ? "/" : p.substr(0, slash);
  struct stat st;
  return stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

uint32_t ErrorFromErrno(int e, const std::string& hostPath) {
  switch (e) {
    case 0: return kErrSuccess;
    case ENOENT: return ParentIsDirectory(hostPath) ? kErrFileNotFound : kErrPathNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR: return kErrAccessDenied;
    case EEXIST: return kErrAlreadyExists;
    case ENOTEMPTY: return kErrDirNotEmpty;
    case ENOSPC:
    case EDQUOT: return kErrDiskFull;
    case EROFS: return kErrWriteProtect;
    case ENAMETOOLONG: return kErrFilenameExcedRange;
    case EBUSY:
    case ETXTBSY: return kErrSharingViolation;
    case EXDEV: return kErrNotSameDevice;
    case ENOMEM: return kErrNotEnoughMemory;
    case EINVAL: return kErrInvalidParameter;
    case EBADF: return kErrInvalidHandle;
    case EIO:
    default: return 1117;  // ERROR_IO_DEVICE
  }
}

bool FailErrno(const std::string& hostPath) {
  os::SetLastError(ErrorFromErrno(errno, hostPath));
  return false;
}

bool Fail(uint32_t e) {
  os::SetLastError(e);
  return false;
}

}  // namespace os::posix
