#include "fileops/engine_delete.h"

#include <memory>
#include <string>

#include "app/process_globals.h"
#include "fileops/engine_answers.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_progress.h"
#include "fileops/engine_state.h"
#include "fileops/engine_tree.h"
#include "fileops/engine_types.h"
#include "fileops/engine_ui.h"
#include "os/last_error.h"
#include "os/services.h"

namespace fileops {
namespace {

// True when path no longer names anything: a failed deletion of it counts as done.
bool IsGone(const char* path) {
  if (os::Fs().GetAttributes(path) != os::kInvalidAttributes) return false;
  return IsNotFoundError(os::LastError());
}

constexpr uint32_t kSettableAttributes =
    os::kAttrReadOnly | os::kAttrHidden | os::kAttrSystem | os::kAttrArchive;

int DeleteEntry(const std::string& path, uint32_t attributes) {
  if (!(attributes & os::kAttrDirectory)) return DeleteOneFile(path.c_str());
  if (attributes & os::kAttrReparsePoint) return RemoveOneDirectory(path.c_str());
  return DeleteTree(path.c_str());
}

}  // namespace

int DeleteOneFile(const char* path) {
  RunOperationPump();
  if (OperationCancelled()) return kEngineCancelled;
  progress::ShowPath(path);
  progress::StartGauge();
  bool ok = app::Globals().windowsMajorVersion < 4 ? os::Fs().DeleteFile(path)
                                                   : os::Fs().ShellDelete(path, RecycleDeletes());
  int r = ok || IsGone(path) ? kEngineOk : kEngineFailed;
  progress::SetGauge(kGaugeMax);
  return r;
}

int RemoveOneDirectory(const char* path) {
  RunOperationPump();
  if (OperationCancelled()) return kEngineCancelled;
  return os::Fs().RemoveDir(path) ? kEngineOk : kEngineFailed;
}

int DeleteListedEntry(const std::string& path, uint32_t listedAttributes) {
  const int r = DeleteEntry(path, listedAttributes);
  if (r == kEngineOk) return r;
  // Still there: the read-only question's Yes may have cleared its read-only flag.
  const uint32_t now = os::Fs().GetAttributes(path.c_str());
  if (now != os::kInvalidAttributes &&
      (now & kSettableAttributes) != (listedAttributes & kSettableAttributes))
    os::Fs().SetAttributes(path.c_str(), listedAttributes & kSettableAttributes);
  return r;
}

int DeleteTree(const char* directory) {
  // A link given as the tree goes alone: what it leads to is another directory's.
  if (IsDirectoryLinkPath(directory)) return RemoveOneDirectory(directory);
  const std::string prefix = WithTrailingBackslash(directory);
  int errorFlag = kEngineOk;
  {
    os::FindData entry;
    std::unique_ptr<os::Finder> search = os::Fs().FindFirst((prefix + "*.*").c_str(), entry);
    bool more = search != nullptr;
    while (more && IsDotEntry(entry.name)) more = search->Next(entry);
    for (; more; more = search->Next(entry)) {
      std::string path;
      if (!JoinPath(prefix, entry.name, path)) {
        errorFlag = kEngineFailed;
        continue;
      }
      if ((entry.attributes & os::kAttrReadOnly) && !IsDotEntry(entry.name)) {
        int answer = AskDeleteReadOnly(path.c_str());
        if (answer == kReadOnlyCancel) return errorFlag;
        if (answer == kReadOnlyNo) continue;
      }
      int r = DeleteListedEntry(path, entry.attributes);
      if (r == kEngineCancelled) return kEngineCancelled;
      if (r == kEngineFailed) errorFlag = kEngineFailed;
    }
  }
  int r = RemoveOneDirectory(directory);
  if (r == kEngineFailed || r == kEngineCancelled) return r;
  return errorFlag;
}

}  // namespace fileops
