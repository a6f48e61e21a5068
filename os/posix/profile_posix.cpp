// The profile functions (GetPrivateProfileStringA and relatives) on this machine's files.
//
// Files: a name without "\" or "/" lives in the emulated Windows directory (SORM_WINDIR, else
// "sorm-windows" under the temporary directory), a null name is WIN.INI there; every other name
// goes through the path map.
//
// Processes share the files safely:
// - a write is a read-modify-write under an exclusive lock on the file, and replaces the file
//   by renaming a complete new copy over it, so a reader never sees a half-written file and two
//   writers never lose each other's changes (a writer that waited re-checks that the name still
//   names the file it locked);
// - every read reads the file again; a parsed copy (with hash indexes) is reused only when the
//   file's bytes are the same;
// - like the system's functions, a write fails with ERROR_SHARING_VIOLATION while another
//   opener of the file does not share reading and writing, and a read gives the defaults while
//   another opener does not share reading.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "os/filesystem.h"
#include "os/last_error.h"
#include "os/mbcs.h"
#include "os/ini_file.h"
#include "os/posix/host_names.h"
#include "os/ini_profile.h"
#include "os/posix/path_map.h"
#include "os/posix/posix_backend.h"
#include "os/posix/share_lock_posix.h"
#include "os/types.h"

namespace os::posix {
namespace {

// Larger files are treated as unreadable: reads give the defaults, writes fail.
constexpr off_t kMaxFileSize = 32 * 1024 * 1024;
// Parsed copies of files of at most this size are kept, for at most kCacheEntries files.
constexpr size_t kMaxCachedSize = 8 * 1024 * 1024;
constexpr size_t kCacheEntries = 8;
// How long a writer waits for another writer's lock before giving up.
constexpr long kLockTimeoutMicros = 10L * 1000 * 1000;

uint32_t ErrorFromErrno(int e) {
  switch (e) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kErrPathNotFound;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kErrDiskFull;
    case ENOMEM:
      return kErrNotEnoughMemory;
    case EBUSY:
    case ETXTBSY:
      return kErrSharingViolation;
    default:
      return kErrAccessDenied;
  }
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd& operator=(Fd&& o) noexcept {
    if (this != &o) {
      if (fd_ >= 0) close(fd_);
      fd_ = o.release();
    }
    return *this;
  }
  int get() const { return fd_; }
  int release() {
    int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

// ---------------------------------------------------------------------------------------------
// File names

bool IsDriveQualified(const char* name) {
  return ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')) &&
         name[1] == ':';
}

// True when name holds no "\" or "/" (a trail byte 0x5C is part of its character).
bool HasNoSeparator(const char* name) {
  for (const char* p = name; *p; p = mbcs::Next(p))
    if (*p == '\\' || *p == '/') return false;
  return true;
}

std::string CurrentDir() {
  std::vector<char> buf(4096);
  while (!getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE || buf.size() > (1u << 20)) return "/";
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

// The emulated Windows directory as a host path, without a trailing "/".
std::string WindowsDir() {
  std::string dir;
  const char* env = std::getenv("SORM_WINDIR");
  if (env && *env) {
    dir = IsDriveQualified(env) ? ToHostPath(env) : std::string(env);
    if (dir.empty()) dir = env;
  } else {
    const char* tmp = std::getenv("TMPDIR");
    dir = (tmp && *tmp) ? tmp : "/tmp";
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    dir += "/sorm-windows";
  }
  if (dir[0] != '/') dir = CurrentDir() + "/" + dir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

void MakeDirs(const std::string& dir) {
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) return;
  for (size_t i = 1; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') {
      std::string part = dir.substr(0, i);
      if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return;
    }
  }
}

// dir + "/" + name, taking an existing entry whose name differs only in case when there is no
// exact one.
std::string JoinNoCase(const std::string& dir, const char* name) {
  std::string exact = dir + "/" + name;
  struct stat st;
  if (lstat(exact.c_str(), &st) == 0) return exact;
  std::string want = ini::Fold(name);
  std::string found;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      if (ini::Fold(e->d_name) == want) {
        found = dir + "/" + e->d_name;
        break;
      }
    }
    closedir(d);
  }
  return found.empty() ? exact : found;
}

// The host path of a profile file name; false (with the error) when it cannot be mapped.
bool ResolveFile(const char* file, bool forWrite, std::string* host, uint32_t* error) {
  const char* name = file ? file : "win.ini";
  if (!*name) {
    *error = kErrAccessDenied;
    return false;
  }
  if (!IsDriveQualified(name) && HasNoSeparator(name)) {
    std::string dir = WindowsDir();
    if (forWrite) MakeDirs(dir);
    *host = JoinNoCase(dir, HostFromWinName(name).c_str());
  } else {
    *host = ToHostPath(name);
  }
  if (host->empty()) {
    *error = kErrPathNotFound;
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Reading

// Reads the whole file from offset 0; false on error or when it exceeds kMaxFileSize.
bool ReadAll(int fd, off_t sizeHint, std::string* out) {
  out->clear();
  if (sizeHint > 0) out->reserve(static_cast<size_t>(sizeHint) + 1);
  char chunk[65536];
  off_t pos = 0;
  for (;;) {
    ssize_t n = pread(fd, chunk, sizeof(chunk), pos);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    pos += n;
    if (pos > kMaxFileSize) return false;
    out->append(chunk, static_cast<size_t>(n));
  }
}

class DocumentCache {
 public:
  // The parsed file, or null when it does not exist, cannot be read, or is open elsewhere
  // without shared reading.
  std::shared_ptr<const ini::Document> Load(const std::string& path) {
    Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) return nullptr;
    struct stat st;
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize)
      return nullptr;
    if (AcquireShare(fd.get(), kGenericRead, kShareRead | kShareWrite | kShareDelete) != 0)
      return nullptr;
    std::string text;
    if (!ReadAll(fd.get(), st.st_size, &text)) return nullptr;
    fd = Fd();

    std::shared_ptr<const ini::Document> cached;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (Entry* e = FindLocked(path)) {
        e->lastUse = ++clock_;
        cached = e->doc;
      }
    }
    if (cached && cached->Text() == text) return cached;
    const bool keep = text.size() <= kMaxCachedSize;
    auto doc = std::make_shared<const ini::Document>(std::move(text), keep);
    if (keep) Store(path, doc);
    return doc;
  }

 private:
  struct Entry {
    std::string path;
    std::shared_ptr<const ini::Document> doc;
    uint64_t lastUse = 0;
  };

  Entry* FindLocked(const std::string& path) {
    for (Entry& e : entries_)
      if (e.path == path) return &e;
    return nullptr;
  }

  void Store(const std::string& path, const std::shared_ptr<const ini::Document>& doc) {
    std::lock_guard<std::mutex> lock(mu_);
    Entry* slot = FindLocked(path);
    if (!slot) {
      if (entries_.size() < kCacheEntries) {
        entries_.emplace_back();
        slot = &entries_.back();
      } else {
        slot = &entries_[0];
        for (Entry& e : entries_)
          if (e.lastUse < slot->lastUse) slot = &e;
      }
      slot->path = path;
    }
    slot->doc = doc;
    slot->lastUse = ++clock_;
  }

  std::mutex mu_;
  std::vector<Entry> entries_;
  uint64_t clock_ = 0;
};

DocumentCache& Cache() {
  static DocumentCache* c = new DocumentCache;  // never destroyed: usable during exit
  return *c;
}

// ---------------------------------------------------------------------------------------------
// Writing

// The byte whose lock makes writers of one file take turns. Far beyond any file's data, and
// apart from the bytes the share-mode emulation locks, so that it never looks like an opener
// denying access.
constexpr off_t kWriterLockByte = 0x7FFFFFFEFFFFFFF0LL;

// Takes the writers' exclusive lock (an open-file-description lock, so two threads of one
// process exclude each other too); gives up after kLockTimeoutMicros.
bool LockExclusive(int fd) {
  long waited = 0;
  long delay = 50;
  for (;;) {
#ifdef F_OFD_SETLK
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kWriterLockByte;
    fl.l_len = 1;
    int r = fcntl(fd, F_OFD_SETLK, &fl);
    if (r != 0 && errno == EINVAL) r = flock(fd, LOCK_EX | LOCK_NB);
#else
    int r = flock(fd, LOCK_EX | LOCK_NB);
#endif
    if (r == 0) return true;
    if (errno != EAGAIN && errno != EACCES && errno != EWOULDBLOCK && errno != EINTR)
      return true;  // the file system offers no locks: go on unlocked
    if (waited >= kLockTimeoutMicros) return false;
    usleep(static_cast<useconds_t>(delay));
    waited += delay;
    if (delay < 2000) delay *= 2;
  }
}

std::atomic<unsigned> g_tempCounter{0};

// Writes text over the locked file itself and cuts it to its length. Readers may see the file
// half written, so this serves only where no new file can be made beside it.
bool OverwriteInPlace(int fd, const std::string& text, uint32_t* error) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = ErrorFromErrno(errno);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (ftruncate(fd, static_cast<off_t>(text.size())) != 0) {
    *error = ErrorFromErrno(errno);
    return false;
  }
  return true;
}

// Replaces the contents of the file at path (open and locked as fd) by text, through a new
// file in the same directory renamed over it; the new file gets the old one's permissions (and
// owner, when allowed). A directory that takes no new files gets the file overwritten.
bool ReplaceContents(const std::string& path, int lockedFd, const struct stat& old,
                     const std::string& text, uint32_t* error) {
  size_t slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  if (dir.empty()) dir = "/";
  std::string temp;
  int f = -1;
  for (int attempt = 0; attempt < 100 && f < 0; ++attempt) {
    temp = dir + "/.sorm-ini-" + std::to_string(getpid()) + "-" +
           std::to_string(g_tempCounter.fetch_add(1)) + ".tmp";
    f = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (f < 0 && (errno == EACCES || errno == EPERM)) return OverwriteInPlace(lockedFd, text, error);
    if (f < 0 && errno != EEXIST) {
      *error = ErrorFromErrno(errno);
      return false;
    }
  }
  if (f < 0) {
    *error = kErrAccessDenied;
    return false;
  }
  Fd fd(f);
  if (fchmod(fd.get(), old.st_mode & 07777) != 0) { /* keep the private mode */ }
  if (geteuid() == 0 && fchown(fd.get(), old.st_uid, old.st_gid) != 0) { /* keep root's */ }
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd.get(), text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = ErrorFromErrno(errno);
      unlink(temp.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (close(fd.release()) != 0) {
    *error = ErrorFromErrno(errno);
    unlink(temp.c_str());
    return false;
  }
  if (rename(temp.c_str(), path.c_str()) != 0) {
    *error = ErrorFromErrno(errno);
    unlink(temp.c_str());
    return false;
  }
  return true;
}

// The profile functions' edit of the file at requested: edit makes the new text from the
// parsed document, or answers false when the text stays as it is.
bool EditFile(const std::string& requested,
              const std::function<bool(const ini::Document&, std::string*)>& edit,
              uint32_t* error) {
  std::string path = requested;
  struct stat lst;
  if (lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    // Edit the file the link points to, and keep the link.
    if (char* real = realpath(path.c_str(), nullptr)) {
      path = real;
      std::free(real);
    }
  }
  for (int attempt = 0;; ++attempt) {
    // Open the file, or create it (a file made here counts as writable whatever its mode).
    bool created = false;
    Fd fd(open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0 && errno == ENOENT) {
      fd = Fd(open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
      created = fd.get() >= 0;
      if (!created && errno == EEXIST && attempt < 1000) continue;
    }
    if (fd.get() < 0) {
      *error = ErrorFromErrno(errno);
      return false;
    }
    struct stat st;
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || (!created && !(st.st_mode & 0222))) {
      *error = kErrAccessDenied;  // not a file, or read-only
      return false;
    }
    if (uint32_t e = AcquireShare(fd.get(), kGenericRead | kGenericWrite,
                                  kShareRead | kShareWrite)) {
      *error = e;
      return false;
    }
    if (!LockExclusive(fd.get())) {
      *error = kErrSharingViolation;
      return false;
    }
    // Another writer may have renamed a new file over the name while this one waited.
    struct stat now;
    if (stat(path.c_str(), &now) != 0 || now.st_ino != st.st_ino || now.st_dev != st.st_dev) {
      if (attempt < 1000) continue;
      *error = kErrSharingViolation;
      return false;
    }
    if (fstat(fd.get(), &st) != 0) {
      *error = ErrorFromErrno(errno);
      return false;
    }
    std::string text;
    if (st.st_size > kMaxFileSize || !ReadAll(fd.get(), st.st_size, &text)) {
      *error = st.st_size > kMaxFileSize ? kErrNotEnoughMemory : ErrorFromErrno(errno);
      return false;
    }
    ini::Document doc(std::move(text));
    std::string out;
    if (!edit(doc, &out)) return true;
    if (out.size() > static_cast<size_t>(kMaxFileSize)) {
      *error = kErrNotEnoughMemory;
      return false;
    }
    return ReplaceContents(path, fd.get(), st, out, error);  // fd keeps the lock until then
  }
}

std::shared_ptr<const ini::Document> LoadForRead(const char* file) {
  std::string path;
  uint32_t error = 0;
  if (!ResolveFile(file, false, &path, &error)) return nullptr;
  return Cache().Load(path);
}

class PosixProfileImpl final : public Profile {
 public:
  uint32_t GetString(const char* section, const char* key, const char* def, char* buf,
                     uint32_t size, const char* file) override {
    if (!buf || size == 0) return 0;
    try {
      std::shared_ptr<const ini::Document> doc = LoadForRead(file);
      return ini::GetString(doc.get(), section, key, def, buf, size);
    } catch (...) {
      SetLastError(kErrNotEnoughMemory);
      return ini::CopyDefault(def, buf, size);
    }
  }

  uint32_t GetInt(const char* section, const char* key, int32_t def, const char* file) override {
    try {
      std::shared_ptr<const ini::Document> doc = LoadForRead(file);
      return ini::GetInt(doc.get(), section, key, def);
    } catch (...) {
      SetLastError(kErrNotEnoughMemory);
      return static_cast<uint32_t>(def);
    }
  }

  bool WriteString(const char* section, const char* key, const char* value,
                   const char* file) override {
    // All three null asks to flush a cache of pending writes; there is none, and the function
    // reports FALSE for it.
    if (!section && !key && !value) return false;
    return Write(section, file, [&](const ini::Document& doc, std::string* out) {
      return ini::Edit(doc, section, key, value, out);
    });
  }

  bool WriteSection(const char* section, const char* lines, const char* file) override {
    if (!section && !lines) return false;
    return Write(section, file, [&](const ini::Document& doc, std::string* out) {
      return ini::EditSection(doc, section, lines, out);
    });
  }

  uint32_t GetWinIniString(const char* section, const char* key, const char* def, char* buf,
                           uint32_t size) override {
    return GetString(section, key, def, buf, size, "win.ini");
  }

  bool WriteWinIniString(const char* section, const char* key, const char* value) override {
    return WriteString(section, key, value, "win.ini");
  }

 private:
  static bool Write(const char* section, const char* file,
                    const std::function<bool(const ini::Document&, std::string*)>& edit) {
    if (!section) {
      SetLastError(kErrFileNotFound);
      return false;
    }
    try {
      std::string path;
      uint32_t error = 0;
      if (!ResolveFile(file, true, &path, &error) || !EditFile(path, edit, &error)) {
        SetLastError(error);
        return false;
      }
      return true;
    } catch (...) {
      SetLastError(kErrNotEnoughMemory);
      return false;
    }
  }
};

}  // namespace

Profile& PosixProfile() {
  static PosixProfileImpl p;
  return p;
}

}  // namespace os::posix
