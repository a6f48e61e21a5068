// A file system for tests that forwards every call to the real backend and makes chosen calls
// fail the way a sick disk, a full disk, a vanished file or a refusing file system does.
// Installed with os::ScopedServices (InstalledFaultyFs does that for its lifetime), so the
// code under test meets the faults through os::Fs() on both backends.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "os/last_error.h"
#include "os/services.h"

namespace testutil {

enum class FsOp {
  kOpen,
  kCreate,  // an open that may create the file (CREATE_NEW, CREATE_ALWAYS, OPEN_ALWAYS)
  kRead,
  kWrite,
  kSetTimes,
  kMove,
  kReplace,
  kDelete,
  kShellDelete,
  kGetAttributes,
  kSetAttributes,
  kCreateDir,
  kRemoveDir,
  kFindFirst,
  kGetIdentity,
  kCount
};

// Win32 errors the tests inject.
constexpr uint32_t kErrCrc = 23;            // ERROR_CRC: a read error
constexpr uint32_t kErrFileInvalid = 1006;  // ERROR_FILE_INVALID: the file went away
constexpr uint32_t kErrNotSameDevice = 17;  // ERROR_NOT_SAME_DEVICE

class FaultyFs : public os::FileSystem {
 public:
  explicit FaultyFs(os::FileSystem& real = *os::BackendServices().fs) : real_(real) {}

  // The nth call (1-based; 0 means every call) of op on a path that contains pathPart
  // (without regard to case; empty matches every path) fails with error.
  void Fail(FsOp op, std::string pathPart, int nth, uint32_t error) {
    rules_.push_back(Rule{op, Lower(pathPart), nth, error, 0});
  }
  // Writes to files whose path contains pathPart stop once limit bytes were written to them
  // in all: the write that crosses the limit writes what still fits and fails with
  // ERROR_DISK_FULL, as WriteFile does on a full disk.
  void DiskFullAfter(uint64_t limit, std::string pathPart = std::string()) {
    diskLimit_ = limit;
    diskPart_ = Lower(pathPart);
    diskUsed_ = 0;
  }
  // Called with each call's operation and path before it is forwarded (and before a fault is
  // injected): a test can change the files on disk there, as another program would.
  std::function<void(FsOp, const std::string&)> before;

  // Search records come without their 8.3 alias, as on a volume that makes none.
  bool dropAliases = false;

  int Calls(FsOp op) const { return calls_[static_cast<int>(op)]; }
  int Injected() const { return injected_; }

  // --- os::FileSystem ---
  std::unique_ptr<os::Finder> FindFirst(const char* pattern, os::FindData& out) override {
    if (Inject(FsOp::kFindFirst, pattern)) return nullptr;
    std::unique_ptr<os::Finder> f = real_.FindFirst(pattern, out);
    if (!f || !dropAliases) return f;
    out.alternateName[0] = '\0';
    return std::make_unique<AliasDroppingFinder>(std::move(f));
  }
  std::unique_ptr<os::File> Open(const char* path, uint32_t access, uint32_t share,
                                 uint32_t disposition) override {
    if (Inject(FsOp::kOpen, path)) return nullptr;
    if ((disposition == os::kCreateNew || disposition == os::kCreateAlways ||
         disposition == os::kOpenAlways) &&
        Inject(FsOp::kCreate, path))
      return nullptr;
    std::unique_ptr<os::File> f = real_.Open(path, access, share, disposition);
    if (!f) return nullptr;
    return std::make_unique<FaultyFile>(*this, std::move(f), path);
  }
  std::unique_ptr<os::File> OpenForTimes(const char* path) override {
    if (Inject(FsOp::kOpen, path)) return nullptr;
    return real_.OpenForTimes(path);
  }
  bool GetIdentity(const char* path, os::FileIdentity& out) override {
    return !Inject(FsOp::kGetIdentity, path) && real_.GetIdentity(path, out);
  }
  uint32_t GetAttributes(const char* path) override {
    if (Inject(FsOp::kGetAttributes, path)) return os::kInvalidAttributes;
    return real_.GetAttributes(path);
  }
  bool SetAttributes(const char* path, uint32_t a) override {
    return !Inject(FsOp::kSetAttributes, path) && real_.SetAttributes(path, a);
  }
  bool CreateDir(const char* path) override {
    return !Inject(FsOp::kCreateDir, path) && real_.CreateDir(path);
  }
  bool RemoveDir(const char* path) override {
    return !Inject(FsOp::kRemoveDir, path) && real_.RemoveDir(path);
  }
  bool DeleteFile(const char* path) override {
    return !Inject(FsOp::kDelete, path) && real_.DeleteFile(path);
  }
  bool MoveFile(const char* from, const char* to) override {
    return !Inject(FsOp::kMove, from) && real_.MoveFile(from, to);
  }
  bool ReplaceFile(const char* from, const char* to) override {
    return !Inject(FsOp::kReplace, to) && real_.ReplaceFile(from, to);
  }
  bool ShellDelete(const char* path, bool toRecycleBin) override {
    return !Inject(FsOp::kShellDelete, path) && real_.ShellDelete(path, toRecycleBin);
  }
  uint32_t GetCurrentDir(char* buf, uint32_t size) override {
    return real_.GetCurrentDir(buf, size);
  }
  bool SetCurrentDir(const char* path) override { return real_.SetCurrentDir(path); }
  uint32_t GetFullPath(const char* path, char* buf, uint32_t size) override {
    return real_.GetFullPath(path, buf, size);
  }
  bool GetDiskFree(const char* path, uint64_t* freeToCaller, uint64_t* total) override {
    return real_.GetDiskFree(path, freeToCaller, total);
  }
  uint32_t GetDriveType(const char* root) override { return real_.GetDriveType(root); }
  uint32_t GetLogicalDrives() override { return real_.GetLogicalDrives(); }
  bool IsFileLink(const char* path) override { return real_.IsFileLink(path); }
  uint32_t GetTempDir(char* buf, uint32_t size) override { return real_.GetTempDir(buf, size); }

 private:
  struct Rule {
    FsOp op;
    std::string part;
    int nth;
    uint32_t error;
    int seen;
  };

  class AliasDroppingFinder : public os::Finder {
   public:
    explicit AliasDroppingFinder(std::unique_ptr<os::Finder> real) : real_(std::move(real)) {}
    bool Next(os::FindData& out) override {
      if (!real_->Next(out)) return false;
      out.alternateName[0] = '\0';
      return true;
    }

   private:
    std::unique_ptr<os::Finder> real_;
  };

  class FaultyFile : public os::File {
   public:
    FaultyFile(FaultyFs& fs, std::unique_ptr<os::File> real, std::string path)
        : fs_(fs), real_(std::move(real)), path_(std::move(path)) {}
    bool Read(void* buf, uint32_t size, uint32_t* done) override {
      if (fs_.Inject(FsOp::kRead, path_)) {
        if (done) *done = 0;
        return false;
      }
      return real_->Read(buf, size, done);
    }
    bool Write(const void* buf, uint32_t size, uint32_t* done) override {
      if (fs_.Inject(FsOp::kWrite, path_)) {
        if (done) *done = 0;
        return false;
      }
      uint32_t allowed = fs_.WriteAllowance(path_, size);
      uint32_t wrote = 0;
      bool ok = allowed == 0 || real_->Write(buf, allowed, &wrote);
      if (Matches(fs_.diskPart_, path_)) fs_.diskUsed_ += wrote;
      if (done) *done = wrote;
      if (ok && allowed < size) {
        os::SetLastError(os::kErrDiskFull);
        return false;
      }
      return ok;
    }
    bool Size(uint64_t* size) override { return real_->Size(size); }
    bool Seek(uint64_t pos) override { return real_->Seek(pos); }
    bool SetEnd() override { return real_->SetEnd(); }
    bool GetTimes(os::FileTime* c, os::FileTime* a, os::FileTime* w) override {
      return real_->GetTimes(c, a, w);
    }
    bool SetTimes(const os::FileTime* c, const os::FileTime* a, const os::FileTime* w) override {
      return !fs_.Inject(FsOp::kSetTimes, path_) && real_->SetTimes(c, a, w);
    }

   private:
    FaultyFs& fs_;
    std::unique_ptr<os::File> real_;
    std::string path_;
  };

  static std::string Lower(std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
  }
  static bool Matches(const std::string& part, const std::string& path) {
    return part.empty() || Lower(path).find(part) != std::string::npos;
  }

  // Counts the call, runs the hook, and fails it when a rule says so. Calls the hook itself
  // makes go through untouched.
  bool Inject(FsOp op, const std::string& path) {
    if (inHook_) return false;
    ++calls_[static_cast<int>(op)];
    if (before) {
      inHook_ = true;
      before(op, path);
      inHook_ = false;
    }
    for (Rule& r : rules_) {
      if (r.op != op || !Matches(r.part, path)) continue;
      ++r.seen;
      if (r.nth == 0 || r.seen == r.nth) {
        ++injected_;
        os::SetLastError(r.error);
        return true;
      }
    }
    return false;
  }

  uint32_t WriteAllowance(const std::string& path, uint32_t size) const {
    if (diskLimit_ == kNoLimit || !Matches(diskPart_, path)) return size;
    uint64_t room = diskUsed_ < diskLimit_ ? diskLimit_ - diskUsed_ : 0;
    return room < size ? static_cast<uint32_t>(room) : size;
  }

  static constexpr uint64_t kNoLimit = ~uint64_t{0};
  os::FileSystem& real_;
  std::vector<Rule> rules_;
  int calls_[static_cast<int>(FsOp::kCount)] = {};
  int injected_ = 0;
  bool inHook_ = false;
  uint64_t diskLimit_ = kNoLimit;
  std::string diskPart_;
  uint64_t diskUsed_ = 0;
};

// A FaultyFs in force for its lifetime.
class InstalledFaultyFs : public FaultyFs {
 public:
  InstalledFaultyFs() : scope_(Services(this)) {}

 private:
  static os::Services Services(os::FileSystem* fs) {
    os::Services s;
    s.fs = fs;
    return s;
  }
  os::ScopedServices scope_;
};

}  // namespace testutil
