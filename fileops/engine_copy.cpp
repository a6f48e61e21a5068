#include "fileops/engine_copy.h"

#include <cstdio>
#include <memory>
#include <string>

#include "fileops/engine_answers.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_progress.h"
#include "fileops/engine_same_file.h"
#include "fileops/engine_state.h"
#include "fileops/engine_types.h"
#include "os/last_error.h"
#include "os/services.h"

namespace fileops {
namespace {

constexpr uint32_t kReadWrite = os::kGenericRead | os::kGenericWrite;
constexpr uint32_t kShareReadWrite = os::kShareRead | os::kShareWrite;


// Deletes a file this copy made, read-only or not.
void RemoveOwnFile(const std::string& path) {
  if (os::Fs().DeleteFile(path.c_str())) return;
  os::Fs().SetAttributes(path.c_str(), os::kAttrNormal);
  os::Fs().DeleteFile(path.c_str());
}

// A name for the temporary copy in the destination's directory that fits kMaxPathChars:
// "~sm<hex>.tmp", or "~<base 36>" when the directory leaves less room.
bool TemporaryName(const std::string& directory, unsigned k, std::string& out) {
  char name[32];
  std::snprintf(name, sizeof(name), "~sm%x.tmp", (os::Sys().TickCount() << 8) + k);
  if (JoinPath(directory, name, out)) return true;
  std::string shortName = "~";
  unsigned v = k;
  do {
    shortName += "0123456789abcdefghijklmnopqrstuvwxyz"[v % 36];
    v /= 36;
  } while (v);
  return JoinPath(directory, shortName.c_str(), out);
}

// The file the data is written into: always a temporary name in the destination's directory,
// so that a copy that fails or is cancelled never leaves a truncated file under the real name,
// not even when the partial file cannot be removed. Commit puts the complete file in place:
// renamed over an existing destination in one step, or to a new destination's name (which
// fails, keeping everything, when a file of that name appeared meanwhile). Unless committed,
// the written file is removed when this object goes away, whatever path the copy took.
class WriteTarget {
 public:
  WriteTarget() = default;
  WriteTarget(const WriteTarget&) = delete;
  WriteTarget& operator=(const WriteTarget&) = delete;
  ~WriteTarget() {
    file_.reset();
    if (!path_.empty() && !committed_) RemoveOwnFile(path_);
  }

  // replace: destination exists and the user agreed to replace it.
  bool CreateBeside(const std::string& destination, bool replace) {
    const std::string directory = DirectoryPart(destination);
    for (unsigned k = 0; k < 1000; ++k) {
      std::string temp;
      if (!TemporaryName(directory, k, temp)) {
        // Only a one-character name at the path limit leaves no room for any temporary
        // name; a new file is then written under its own name, as nothing is there to lose.
        if (!replace) return CreateUnderOwnName(destination);
        os::SetLastError(os::kErrInvalidName);
        return false;
      }
      file_ = os::Fs().Open(temp.c_str(), kReadWrite, os::kShareNone, os::kCreateNew);
      if (file_) {
        path_ = temp;
        destination_ = destination;
        replace_ = replace;
        return true;
      }
      if (!IsExistsError(os::LastError())) return false;
    }
    return false;
  }

  os::File& File() { return *file_; }
  const std::string& Path() const { return path_; }
  void Close() { file_.reset(); }

  bool Commit() {
    if (!destination_.empty()) {
      const bool moved = replace_ ? os::Fs().ReplaceFile(path_.c_str(), destination_.c_str())
                                  : os::Fs().MoveFile(path_.c_str(), destination_.c_str());
      if (!moved) return false;
    }
    committed_ = true;
    return true;
  }

 private:
  bool CreateUnderOwnName(const std::string& destination) {
    file_ = os::Fs().Open(destination.c_str(), kReadWrite, os::kShareNone, os::kCreateNew);
    if (!file_) return false;
    path_ = destination;
    return true;
  }

  std::unique_ptr<os::File> file_;
  std::string path_;
  std::string destination_;  // empty when written under its own name
  bool replace_ = false;
  bool committed_ = false;
};

// The copy of one file. The same-file test comes first, as its results rank before any
// other failure; it is made cheap for the common case: a destination that is not there cannot
// be the source, and only an existing one is probed further.
class FileCopy {
 public:
  FileCopy(const OperationUi& ui, const char* source, const char* destination, char* buffer,
           uint32_t size, uint32_t sourceAttributes)
      : ui_(ui),
        source_(source),
        destination_(destination),
        buffer_(buffer),
        size_(size),
        sourceAttributes_(sourceAttributes) {}

  CopyOutcome Run() {
    SetLastCopyError(0);
    CopyOutcome out;
    out.result = Copy();
    out.copied = out.result == kEngineOk && !skipped_;
    progress::ClearSizes(ui_.progress);
    return out;
  }

 private:
  int Copy() {
    if (SameFullPath(source_, destination_.c_str())) return kEngineSameFile;
    if (!ui_.ClaimFile(destination_.c_str(), source_)) return kEngineFailed;
    in_ = os::Fs().Open(source_, os::kGenericRead, kShareReadWrite, os::kOpenExisting);
    if (!in_) return SourceNotOpened();
    int r = PrepareTarget();
    if (r != kEngineOk || skipped_) return r;
    r = CopyBlocks();
    target_.Close();
    if (r == kEngineOk) {
      CopyAttributes();
      if (!target_.Commit()) r = FailWithOsError(kEngineFailed);
    }
    return r;
  }

  // The source cannot be opened: -7 when access is denied; otherwise -8 when the destination
  // is, else the source's own error.
  int SourceNotOpened() {
    const uint32_t e = os::LastError();
    if (IsAccessError(e)) return kEngineSourceDenied;
    if (!os::Fs().Open(destination_.c_str(), os::kGenericRead, os::kShareNone, os::kOpenExisting) &&
        IsAccessError(os::LastError()))
      return kEngineDestinationDenied;
    os::SetLastError(e);
    return FailWithOsError(kEngineFailed);
  }

  int PrepareTarget() {
    for (int attempt = 0; attempt < 2; ++attempt) {
      const uint32_t attributes = os::Fs().GetAttributes(destination_.c_str());
      const uint32_t e = os::LastError();
      if (attributes == os::kInvalidAttributes && IsNotFoundError(e)) {
        // A new destination. The create's own error (access denied in a folder where files
        // cannot be made, no such folder) is the one to report.
        if (!target_.CreateBeside(destination_, false)) return FailWithOsError(kEngineFailed);
        return kEngineOk;
      }
      if (attributes == os::kInvalidAttributes && !IsAccessError(e))
        return FailWithOsError(kEngineFailed);
      SameFileProbe probe = ProbeSameFile(source_, destination_.c_str(), std::move(in_));
      in_ = std::move(probe.first);
      if (probe.result == 1) return kEngineSameFile;
      if (probe.result == -1) return kEngineSourceDenied;
      if (probe.result == -2) return kEngineDestinationDenied;
      if (!in_) return FailWithOsError(kEngineFailed);
      if (!probe.secondMissing) return PrepareReplacement();
      // Gone again meanwhile: create it after all.
    }
    return FailWithOsError(kEngineFailed);
  }

  int PrepareReplacement() {
    switch (AskOverwrite(ui_, source_, destination_.c_str())) {
      case kOverwriteCancel: return kEngineQuestionCancelled;
      case kOverwriteNo: skipped_ = true; return kEngineOk;
      default: break;
    }
    // The destination must be ours to replace before any time is spent copying: not in use,
    // and not read-only (whatever the user's privileges let an open do).
    const uint32_t attributes = os::Fs().GetAttributes(destination_.c_str());
    if (attributes != os::kInvalidAttributes && (attributes & os::kAttrReadOnly)) {
      os::SetLastError(os::kErrAccessDenied);
      return FailWithOsError(kEngineFailed);
    }
    if (!os::Fs().Open(destination_.c_str(), kReadWrite, os::kShareNone, os::kOpenExisting))
      return FailWithOsError(kEngineFailed);
    if (!target_.CreateBeside(destination_, true)) return FailWithOsError(kEngineFailed);
    return kEngineOk;
  }

  int CopyBlocks() {
    uint64_t total = 0;
    if (!in_->Size(&total)) total = 0;
    progress::ShowPath(ui_.progress, source_);
    progress::ShowTotal(ui_.progress, total);
    progress::StartGauge(ui_.progress);
    uint64_t copied = 0;
    for (;;) {
      RunOperationPump();
      if (ui_.Cancelled()) return kEngineCancelled;
      uint32_t got = 0;
      if (!in_->Read(buffer_, size_, &got)) return FailWithOsError(kEngineFailed);
      if (got == 0) {
        progress::SetGauge(ui_.progress, kGaugeMax);
        os::FileTime written = 0;
        if (in_->GetTimes(nullptr, nullptr, &written))
          target_.File().SetTimes(nullptr, nullptr, &written);
        return kEngineOk;
      }
      uint32_t put = 0;
      bool ok = target_.File().Write(buffer_, got, &put);
      if (!ok || put < got) {
        SetLastCopyError(ok ? kErrnoNoSpc : CopyErrorFromWin32(os::LastError()));
        return kEngineDiskFull;
      }
      copied += got;
      progress::ShowDone(ui_.progress, copied, total);
    }
  }

  // A new file already has the archive attribute alone; anything else is set.
  void CopyAttributes() {
    uint32_t a = sourceAttributes_ != os::kInvalidAttributes ? sourceAttributes_
                                                             : os::Fs().GetAttributes(source_);
    if (a != os::kInvalidAttributes && a != os::kAttrArchive)
      os::Fs().SetAttributes(target_.Path().c_str(), a);
  }

  const OperationUi ui_;
  const char* source_;
  const std::string destination_;
  char* buffer_;
  uint32_t size_;
  uint32_t sourceAttributes_;
  std::unique_ptr<os::File> in_;
  WriteTarget target_;
  bool skipped_ = false;
};

}  // namespace

CopyOutcome CopyOneFileDetailed(const OperationUi& ui, const char* source,
                                const char* destination, char* buffer, uint32_t size,
                                uint32_t sourceAttributes) {
  return FileCopy(ui, source, destination, buffer, size, sourceAttributes).Run();
}

int CopyOneFile(const OperationUi& ui, const char* source, const char* destination, char* buffer,
                uint32_t size) {
  return CopyOneFileDetailed(ui, source, destination, buffer, size, os::kInvalidAttributes).result;
}

}  // namespace fileops
