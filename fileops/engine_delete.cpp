#include "fileops/engine_delete.h"

#include <memory>
#include <string>

#include "config/program_context.h"
#include "fileops/engine_answers.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_progress.h"
#include "fileops/engine_state.h"
#include "fileops/engine_types.h"
#include "os/exact_name.h"
#include "os/last_error.h"
#include "os/services.h"

namespace fileops {
namespace {

constexpr uint32_t kAttrReparsePoint = 0x400;

// True when path no longer names anything: a failed deletion of it counts as done.
bool IsGone(const char* path) {
  if (os::Fs().GetAttributes(path) != os::kInvalidAttributes) return false;
  return IsNotFoundError(os::LastError());
}

int DeleteEntry(const OperationUi& ui, const std::string& path, const os::FindData& entry) {
  if (!(entry.attributes & os::kAttrDirectory)) return DeleteOneFile(ui, path.c_str());
  if (entry.attributes & kAttrReparsePoint) return RemoveOneDirectory(ui, path.c_str());
  return DeleteTree(ui, path.c_str());
}

}  // namespace

int DeleteOneFile(const OperationUi& ui, const char* path) {
  RunOperationPump();
  if (ui.Cancelled()) return kEngineCancelled;
  progress::ShowPath(ui.progress, path);
  progress::StartGauge(ui.progress);
  bool ok = config::Context().windowsMajorVersion < 4 ? os::Fs().DeleteFile(path)
                                                   : os::Fs().ShellDelete(path, RecycleDeletes());
  int r = ok || IsGone(path) ? kEngineOk : kEngineFailed;
  progress::SetGauge(ui.progress, kGaugeMax);
  return r;
}

int RemoveOneDirectory(const OperationUi& ui, const char* path) {
  RunOperationPump();
  if (ui.Cancelled()) return kEngineCancelled;
  return os::Fs().RemoveDir(path) ? kEngineOk : kEngineFailed;
}

int DeleteTree(const OperationUi& ui, const char* directory) {
  const std::string prefix = WithTrailingBackslash(directory);
  int errorFlag = kEngineOk;
  {
    os::FindData entry;
    std::unique_ptr<os::Finder> search = os::Fs().FindFirst((prefix + "*.*").c_str(), entry);
    bool more = search != nullptr;
    while (more && IsDotEntry(entry.name)) more = search->Next(entry);
    for (; more; more = search->Next(entry)) {
      // A look-alike name is deleted by its alias; one without an alias stays.
      const char* name = os::AddressName(entry);
      std::string path;
      if (!name || !JoinPath(prefix, name, path)) {
        errorFlag = kEngineFailed;
        continue;
      }
      if ((entry.attributes & os::kAttrReadOnly) && !IsDotEntry(entry.name)) {
        int answer = AskDeleteReadOnly(ui, path.c_str());
        if (answer == kReadOnlyCancel) return errorFlag;
        if (answer == kReadOnlyNo) continue;
      }
      int r = DeleteEntry(ui, path, entry);
      if (r == kEngineCancelled) return kEngineCancelled;
      if (r == kEngineFailed) errorFlag = kEngineFailed;
    }
  }
  int r = RemoveOneDirectory(ui, directory);
  if (r == kEngineFailed || r == kEngineCancelled) return r;
  return errorFlag;
}

}  // namespace fileops
