#include "os/posix/shell_delete_posix.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "os/posix/posix_error.h"
#include "os/posix/resolve_posix.h"
#include "os/posix/share_lock_posix.h"
#include "os/types.h"

namespace os::posix {
namespace {

// mkdir -p with mode 0700 for the folders it makes.
bool MakeDirs(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash))) return false;
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

bool SameDevice(const std::string& a, dev_t dev) {
  struct stat st;
  return stat(a.c_str(), &st) == 0 && st.st_dev == dev;
}

// The top directory of the file system holding hostPath (its mount point).
std::string TopDirectory(const std::string& hostPath, dev_t dev) {
  std::string top = hostPath;
  for (;;) {
    std::size_t slash = top.find_last_of('/');
    if (slash == std::string::npos) return "/";
    std::string parent = slash == 0 ? "/" : top.substr(0, slash);
    if (!SameDevice(parent, dev)) return top;
    if (parent == "/") return parent;
    top = parent;
  }
}

std::string HomeTrash() {
  if (const char* d = std::getenv("XDG_DATA_HOME"); d && d[0] == '/') return std::string(d) + "/Trash";
  if (const char* h = std::getenv("HOME"); h && h[0] == '/') return std::string(h) + "/.local/share/Trash";
  return std::string();
}

// Percent-encodes the bytes a trash record's Path= may not hold as they are.
std::string UrlEncode(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof(hex), "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

// Reserves a unique name in trash/info with O_EXCL and writes the record into it.
bool WriteTrashRecord(const std::string& trash, const std::string& base, const std::string& host,
                      std::string& name) {
  for (unsigned n = 1; n < 100000; ++n) {
    name = n == 1 ? base : base + "." + std::to_string(n);
    struct stat st;
    if (lstat((trash + "/files/" + name).c_str(), &st) == 0) continue;
    std::string info = trash + "/info/" + name + ".trashinfo";
    int fd = open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    char date[32] = {};
    std::time_t now = std::time(nullptr);
    struct tm tmNow;
    localtime_r(&now, &tmNow);
    std::strftime(date, sizeof(date), "%Y-%m-%dT%H:%M:%S", &tmNow);
    std::string text = "[Trash Info]\nPath=" + UrlEncode(host) + "\nDeletionDate=" + date + "\n";
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    if (!ok) unlink(info.c_str());
    return ok;
  }
  return false;
}

int RemoveOne(const char* path, const struct stat*, int type, struct FTW*) {
  return type == FTW_DP ? rmdir(path) : unlink(path);
}

bool RemoveForGood(const std::string& host, const struct stat& st) {
  if (!S_ISDIR(st.st_mode)) return unlink(host.c_str()) == 0 || FailErrno(host);
  if (nftw(host.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS) == 0) return true;
  return FailErrno(host);
}

bool MoveToTrash(const std::string& host) {
  std::string trash = TrashFolderFor(host);
  if (trash.empty()) return Fail(kErrAccessDenied);
  std::string base = host.substr(host.find_last_of('/') + 1);
  std::string name;
  if (!WriteTrashRecord(trash, base, host, name)) return Fail(kErrAccessDenied);
  if (rename(host.c_str(), (trash + "/files/" + name).c_str()) == 0) return true;
  int e = errno;
  unlink((trash + "/info/" + name + ".trashinfo").c_str());
  return Fail(e == EXDEV ? kErrNotSameDevice : ErrorFromErrno(e, host));
}

}  // namespace

std::string TrashFolderFor(const std::string& hostPath) {
  std::string trash;
  if (const char* t = std::getenv("SORM_TRASH"); t && t[0] == '/') {
    trash = t;
  } else {
    struct stat st;
    if (lstat(hostPath.c_str(), &st) != 0) return std::string();
    std::string home = HomeTrash();
    std::string homeParent = home.empty() ? home : home.substr(0, home.find_last_of('/'));
    if (!home.empty() && MakeDirs(homeParent) && SameDevice(homeParent, st.st_dev)) {
      trash = home;
    } else {
      std::string top = TopDirectory(hostPath, st.st_dev);
      trash = (top == "/" ? std::string() : top) + "/.Trash-" + std::to_string(getuid());
    }
  }
  if (!MakeDirs(trash + "/files") || !MakeDirs(trash + "/info")) return std::string();
  return trash;
}

bool ShellDeletePath(const char* path, bool toRecycleBin) {
  Resolved r;
  if (!Resolve(path, r)) return false;
  struct stat st;
  if (lstat(r.host.c_str(), &st) != 0) return FailErrno(r.host);
  if (!S_ISDIR(st.st_mode) && DeleteDenied(r.host)) return Fail(kErrSharingViolation);
  return toRecycleBin ? MoveToTrash(r.host) : RemoveForGood(r.host, st);
}

}  // namespace os::posix
