// The posix emulation of os::Registry: a file-backed registry, one file per root in the
// directory named by SORM_REGISTRY_DIR (default: sorm-registry-<uid> in the temporary
// directory). Every change takes the root's lock (an exclusive OFD lock on "<root>.lock"),
// reads the current file, and replaces it atomically by renaming a complete new file over it,
// so concurrent processes never see a half-written registry and never lose each other's keys.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>

#include "os/posix/posix_backend.h"
#include "os/posix/posix_error.h"
#include "os/posix/registry_store.h"
#include "os/types.h"

namespace os::posix {
namespace {

constexpr off_t kMaxFileBytes = 64 << 20;

std::string RegistryDir() {
  if (const char* env = std::getenv("SORM_REGISTRY_DIR"); env && *env) return env;
  std::string base = "/tmp";
  if (const char* t = std::getenv("TMPDIR"); t && t[0] == '/') base = t;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/sorm-registry-" + std::to_string(getuid());
}

const char* RootFileName(RegRoot root) {
  return root == RegRoot::kCurrentUser ? "HKCU" : "HKCR";
}

// Holds the root's lock file locked for its lifetime.
class RootLock {
 public:
  RootLock(const std::string& path, bool exclusive) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    struct flock fl = {};
    fl.l_type = exclusive ? F_WRLCK : F_RDLCK;
    fl.l_whence = SEEK_SET;
    while (fcntl(fd_, F_OFD_SETLKW, &fl) != 0 && errno == EINTR) {
    }
  }
  ~RootLock() {
    if (fd_ >= 0) close(fd_);
  }
  RootLock(const RootLock&) = delete;
  RootLock& operator=(const RootLock&) = delete;
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool ReadWhole(const std::string& path, std::string& out) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;  // no file yet: an empty registry
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && st.st_size <= kMaxFileBytes;
  if (ok) {
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
      ssize_t n = read(fd, out.data() + got, out.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    out.resize(got);
  }
  close(fd);
  return ok;
}

bool WriteAtomically(const std::string& path, const std::string& data) {
  const std::string temp = path + ".tmp" + std::to_string(getpid());
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bool ok = done == data.size() && close(fd) == 0;
  if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

// One root's file, read under its lock; changes are written back before the lock goes.
class RootStore {
 public:
  // Runs fn on the current tree. fn returns a Win32 error; when it changed the tree
  // (*changed) the tree is saved.
  uint32_t With(RegRoot root, bool write,
                const std::function<uint32_t(RegNode&, bool* changed)>& fn) {
    std::lock_guard<std::mutex> guard(mutex_);
    const std::string dir = RegistryDir();
    if (write) mkdir(dir.c_str(), 0700);
    const std::string base = dir + "/" + RootFileName(root);
    RootLock lock(base + ".lock", write);
    if (write && !lock.ok()) return kErrAccessDenied;
    std::string text;
    if (!ReadWhole(base + ".reg", text)) return kErrRegistryCorrupt;
    RegNode tree = ParseTree(text);
    bool changed = false;
    uint32_t r = fn(tree, &changed);
    if (write && changed && !WriteAtomically(base + ".reg", SerializeTree(tree)))
      return kErrAccessDenied;
    return r;
  }

 private:
  std::mutex mutex_;
};

RootStore& Store() {
  static RootStore s;
  return s;
}

// Opens path below a key, as RegOpenKeyA names it: null or "" is the key itself, a leading
// backslash is a bad path name.
uint32_t Navigate(RegNode& tree, const std::vector<std::string>& base, const char* sub,
                  RegNode** out, std::vector<std::string>* fullPath = nullptr) {
  if (sub && sub[0] == '\\') return kErrBadPathname;
  std::vector<std::string> path = base;
  if (sub)
    for (auto& p : SplitKeyPath(sub)) path.push_back(p);
  if (!FindNode(tree, base)) return kErrKeyDeleted;
  *out = FindNode(tree, path);
  if (fullPath) *fullPath = path;
  return *out ? kErrSuccess : kErrFileNotFound;
}

uint32_t DeleteBelow(RegRoot root, const std::vector<std::string>& base, const char* sub) {
  if (!sub || !*sub) return kErrAccessDenied;
  if (sub[0] == '\\') return kErrBadPathname;
  return Store().With(root, true, [&](RegNode& tree, bool* changed) -> uint32_t {
    RegNode* node = nullptr;
    std::vector<std::string> path;
    if (uint32_t e = Navigate(tree, base, sub, &node, &path)) return e;
    if (path.size() == base.size()) return kErrAccessDenied;
    if (!node->children.empty()) return kErrAccessDenied;
    const std::string last = path.back();
    path.pop_back();
    FindNode(tree, path)->children.erase(OrderKey(last));
    *changed = true;
    return kErrSuccess;
  });
}

class PosixRegKey final : public RegKey {
 public:
  PosixRegKey(RegRoot root, std::vector<std::string> path) : root_(root), path_(std::move(path)) {}

  uint32_t QueryValue(const char* subkey, char* buf, int32_t* size) override {
    return Store().With(root_, false, [&](RegNode& tree, bool*) -> uint32_t {
      RegNode* node = nullptr;
      if (uint32_t e = Navigate(tree, path_, subkey, &node)) return e;
      if (!size) return buf ? kErrInvalidParameter : kErrSuccess;
      const std::string value = node->hasValue ? node->value : std::string();
      const int32_t needed = static_cast<int32_t>(value.size() + 1);
      if (buf && *size < needed) {
        *size = needed;
        return kErrMoreData;
      }
      if (buf) std::memcpy(buf, value.c_str(), value.size() + 1);
      *size = needed;
      return kErrSuccess;
    });
  }

  uint32_t SetValue(const char* subkey, const char* value) override {
    if (subkey && subkey[0] == '\\') return kErrBadPathname;
    return Store().With(root_, true, [&](RegNode& tree, bool* changed) -> uint32_t {
      if (!FindNode(tree, path_)) return kErrKeyDeleted;
      std::vector<std::string> path = path_;
      if (subkey)
        for (auto& p : SplitKeyPath(subkey)) path.push_back(p);
      RegNode& node = CreateNode(tree, path);
      node.hasValue = true;
      node.value = value ? value : "";
      *changed = true;
      return kErrSuccess;
    });
  }

  uint32_t EnumKey(uint32_t index, char* buf, uint32_t size) override {
    return Store().With(root_, false, [&](RegNode& tree, bool*) -> uint32_t {
      RegNode* node = FindNode(tree, path_);
      if (!node) return kErrKeyDeleted;
      if (index >= node->children.size()) return kErrNoMoreItems;
      auto it = node->children.begin();
      std::advance(it, index);
      const std::string& name = it->second.name;
      if (!buf || name.size() + 1 > size) return kErrMoreData;
      std::memcpy(buf, name.c_str(), name.size() + 1);
      return kErrSuccess;
    });
  }

  uint32_t DeleteKey(const char* subkey) override { return DeleteBelow(root_, path_, subkey); }

 private:
  RegRoot root_;
  std::vector<std::string> path_;
};

class PosixRegistryImpl final : public Registry {
 public:
  std::unique_ptr<RegKey> OpenKey(RegRoot root, const char* path, uint32_t* error) override {
    std::vector<std::string> full;
    uint32_t e = Store().With(root, false, [&](RegNode& tree, bool*) -> uint32_t {
      RegNode* node = nullptr;
      return Navigate(tree, {}, path, &node, &full);
    });
    return Result(root, std::move(full), e, error);
  }

  std::unique_ptr<RegKey> CreateKey(RegRoot root, const char* path, uint32_t* error) override {
    std::vector<std::string> full;
    uint32_t e = kErrBadPathname;
    if (!(path && path[0] == '\\')) {
      e = Store().With(root, true, [&](RegNode& tree, bool* changed) -> uint32_t {
        if (path)
          for (auto& p : SplitKeyPath(path)) full.push_back(p);
        if (!FindNode(tree, full)) {
          CreateNode(tree, full);
          *changed = true;
        }
        return kErrSuccess;
      });
    }
    return Result(root, std::move(full), e, error);
  }

  uint32_t DeleteKey(RegRoot root, const char* path) override {
    return DeleteBelow(root, {}, path);
  }

 private:
  static std::unique_ptr<RegKey> Result(RegRoot root, std::vector<std::string> path, uint32_t e,
                                        uint32_t* error) {
    if (error) *error = e;
    if (e != kErrSuccess) return nullptr;
    return std::make_unique<PosixRegKey>(root, std::move(path));
  }
};

}  // namespace

Registry& PosixRegistry() {
  static PosixRegistryImpl r;
  return r;
}

}  // namespace os::posix
