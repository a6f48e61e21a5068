// The posix emulation of os::FileSystem: Win32 file semantics over a Unix file system.
// Searches, opens and moves live in their own files; this one holds the simple calls.
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "os/last_error.h"
#include "os/posix/dir_index.h"
#include "os/posix/dos_attr_posix.h"
#include "os/posix/file_posix.h"
#include "os/posix/find_posix.h"
#include "os/posix/move_posix.h"
#include "os/posix/path_map.h"
#include "os/posix/posix_backend.h"
#include "os/posix/posix_error.h"
#include "os/posix/resolve_posix.h"
#include "os/posix/share_lock_posix.h"
#include "os/posix/shell_delete_posix.h"

namespace os::posix {
namespace {

// The Win32 "copy a string out" convention: the length without the terminator when it fits,
// otherwise the size needed including the terminator and the buffer untouched.
uint32_t CopyOut(const std::string& s, char* buf, uint32_t size) {
  if (!buf || s.size() + 1 > size) return static_cast<uint32_t>(s.size() + 1);
  std::memcpy(buf, s.c_str(), s.size() + 1);
  return static_cast<uint32_t>(s.size());
}

class PosixFileSystemImpl final : public FileSystem {
 public:
  std::unique_ptr<Finder> FindFirst(const char* pattern, FindData& out) override {
    return FindFirstFile(pattern, out);
  }

  std::unique_ptr<File> Open(const char* path, uint32_t access, uint32_t share,
                             uint32_t disposition) override {
    return OpenFile(path, access, share, disposition);
  }

  std::unique_ptr<File> OpenForTimes(const char* path) override {
    return OpenFileOrDirectoryForTimes(path);
  }

  // The device and inode number, links followed.
  bool GetIdentity(const char* path, FileIdentity& out) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    struct stat st;
    if (stat(r.host.c_str(), &st) != 0) return FailErrno(r.host);
    out.volume = static_cast<uint64_t>(st.st_dev);
    out.index = static_cast<uint64_t>(st.st_ino);
    return true;
  }

  uint32_t GetAttributes(const char* path) override {
    Resolved r;
    if (!Resolve(path, r)) return kInvalidAttributes;
    return GetDosAttributes(r.host);
  }

  bool SetAttributes(const char* path, uint32_t attributes) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    return SetDosAttributes(r.host, attributes);
  }

  bool CreateDir(const char* path) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    if (mkdir(r.host.c_str(), 0777) == 0) {
      const std::size_t slash = r.host.rfind('/');
      NoteEntryCreated(r.host.substr(0, slash), r.host.substr(slash + 1));
      return true;
    }
    if (errno == EEXIST) return Fail(kErrAlreadyExists);
    if (errno == ENOENT) return Fail(kErrPathNotFound);
    return FailErrno(r.host);
  }

  bool RemoveDir(const char* path) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    struct stat st;
    if (lstat(r.host.c_str(), &st) != 0) return FailErrno(r.host);
    if (S_ISLNK(st.st_mode)) {
      // A link to a directory is removed itself, as Windows removes a junction.
      struct stat target;
      if (stat(r.host.c_str(), &target) != 0 || !S_ISDIR(target.st_mode))
        return Fail(kErrDirectory);
      return unlink(r.host.c_str()) == 0 || FailErrno(r.host);
    }
    if (!S_ISDIR(st.st_mode)) return Fail(kErrDirectory);
    if (rmdir(r.host.c_str()) == 0) return true;
    if (errno == ENOTEMPTY || errno == EEXIST) return Fail(kErrDirNotEmpty);
    return FailErrno(r.host);
  }

  bool DeleteFile(const char* path) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    struct stat st;
    if (lstat(r.host.c_str(), &st) != 0) return FailErrno(r.host);
    if (S_ISDIR(st.st_mode)) return Fail(kErrAccessDenied);
    if (S_ISREG(st.st_mode) && !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
      return Fail(kErrAccessDenied);  // read-only
    if (DeleteDenied(r.host)) return Fail(kErrSharingViolation);
    if (unlink(r.host.c_str()) != 0) return FailErrno(r.host);
    return true;
  }

  bool MoveFile(const char* from, const char* to) override { return MovePath(from, to, false); }
  bool ReplaceFile(const char* from, const char* to) override { return MovePath(from, to, true); }
  bool ShellDelete(const char* path, bool toRecycleBin) override {
    return ShellDeletePath(path, toRecycleBin);
  }
  bool IsFileLink(const char* path) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    struct stat own, target;
    return lstat(r.host.c_str(), &own) == 0 && S_ISLNK(own.st_mode) &&
           stat(r.host.c_str(), &target) == 0 && !S_ISDIR(target.st_mode);
  }

  uint32_t GetCurrentDir(char* buf, uint32_t size) override {
    return CopyOut(CurrentDirectory(), buf, size);
  }

  bool SetCurrentDir(const char* path) override {
    Resolved r;
    if (!Resolve(path, r)) return false;
    struct stat st;
    if (stat(r.host.c_str(), &st) != 0) return FailErrno(r.host);
    if (!S_ISDIR(st.st_mode)) return Fail(kErrDirectory);
    if (chdir(r.host.c_str()) != 0) return FailErrno(r.host);
    StoreCurrentDirectory(r.full);
    return true;
  }

  uint32_t GetFullPath(const char* path, char* buf, uint32_t size) override {
    std::string full;
    if (!path || !*path || !MakeFullPath(path, CurrentDirectory(), full)) {
      Fail(kErrInvalidName);
      return 0;
    }
    if (CheckPathText(full) == kErrFilenameExcedRange) {
      Fail(kErrFilenameExcedRange);
      return 0;
    }
    return CopyOut(full, buf, size);
  }

  bool GetDiskFree(const char* path, uint64_t* freeToCaller, uint64_t* total) override {
    Resolved r;
    std::string cwdRoot = CurrentDirectory().substr(0, 3);
    if (!Resolve(path ? path : cwdRoot.c_str(), r)) return false;
    struct statvfs vfs;
    if (statvfs(r.host.c_str(), &vfs) != 0) return FailErrno(r.host);
    if (freeToCaller) *freeToCaller = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    if (total) *total = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
    return true;
  }

  uint32_t GetDriveType(const char* root) override {
    std::string cwd = CurrentDirectory();
    const char* r = root ? root : cwd.c_str();
    std::string hostRoot;
    if (r[0] == '\0' || r[1] != ':' || !DriveRoot(r[0], hostRoot)) return kDriveNoRootDir;
    return kDriveFixed;
  }

  uint32_t GetLogicalDrives() override {
    uint32_t mask = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      std::string root;
      if (DriveRoot(letter, root)) mask |= 1u << (letter - 'A');
    }
    return mask;
  }

  uint32_t GetTempDir(char* buf, uint32_t size) override {
    std::string dir = "/tmp";
    const char* env = std::getenv("TMPDIR");
    struct stat st;
    if (env && env[0] == '/' && stat(env, &st) == 0 && S_ISDIR(st.st_mode)) dir = env;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    std::string win = ToWinPath(dir);
    if (win.back() != '\\') win += '\\';
    return CopyOut(win, buf, size);
  }
};

}  // namespace

FileSystem& PosixFileSystem() {
  static PosixFileSystemImpl fs;
  return fs;
}

}  // namespace os::posix
