#include "fileops/engine_delete.h"

#include <memory>
#include <string>

#include "config/program_context.h"
#include "fileops/engine_answers.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_progress.h"
#include "fileops/engine_state.h"
#include "fileops/engine_tree.h"
#include "fileops/engine_types.h"
#include "os/exact_name.h"
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

int DeleteEntry(const OperationUi& ui, const std::string& path, uint32_t attributes) {
  if (!(attributes & os::kAttrDirectory)) return DeleteOneFile(ui, path.c_str());
  if (attributes & os::kAttrReparsePoint) return RemoveOneDirectory(ui, path.c_str());
  return DeleteTree(ui, path.c_str());
}

}  // namespace

int DeleteOneFile(const OperationUi& ui, const char* path) {
  RunOperationPump();
  if (ui.Cancelled()) return kEngineCancelled;
  SetLastCopyError(0);
  progress::ShowPath(ui.progress, path);
  // Deleting a link to a file would delete the file it leads to.
  if (os::Fs().IsFileLink(path)) return RefuseFileLink(path);
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

int DeleteListedEntry(const OperationUi& ui, const std::string& path, uint32_t listedAttributes) {
  // The listing may be old by now (a question was open): what the path names at this moment
  // decides how it goes. A file replaced by a directory must not reach the file delete, which
  // through the shell would take the directory with everything in it; a directory link goes
  // alone. The attributes are those of the entry itself, a link not followed.
  const uint32_t current = os::Fs().GetAttributes(path.c_str());
  if (current == os::kInvalidAttributes) return IsNotFoundError(os::LastError()) ? kEngineOk
                                                                                 : kEngineFailed;
  const int r = DeleteEntry(ui, path, current);
  if (r == kEngineOk) return r;
  // Still there: the read-only question's Yes may have cleared its read-only flag. Only the
  // entry that was listed gets its listed attributes back, not one that took its place.
  const uint32_t now = os::Fs().GetAttributes(path.c_str());
  constexpr uint32_t kKind = os::kAttrDirectory | os::kAttrReparsePoint;
  if (now != os::kInvalidAttributes && (now & kKind) == (listedAttributes & kKind) &&
      (now & kSettableAttributes) != (listedAttributes & kSettableAttributes))
    os::Fs().SetAttributes(path.c_str(), listedAttributes & kSettableAttributes);
  return r;
}

int DeleteTree(const OperationUi& ui, const char* directory) {
  // A link given as the tree goes alone: what it leads to is another directory's.
  if (IsDirectoryLinkPath(directory)) return RemoveOneDirectory(ui, directory);
  const std::string prefix = WithTrailingBackslash(directory);
  int errorFlag = kEngineOk;
  bool fileLinkKept = false;
  {
    os::FindData entry;
    std::unique_ptr<os::Finder> search = os::Fs().FindFirst((prefix + "*.*").c_str(), entry);
    bool more = search != nullptr;
    while (more && IsDotEntry(entry.name)) more = search->Next(entry);
    for (; more; more = search->Next(entry)) {
      // A name that does not lead back (a look-alike, "a.") is deleted by its alias; one
      // without an alias stays.
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
      int r = DeleteListedEntry(ui, path, entry.attributes);
      if (r == kEngineCancelled) return kEngineCancelled;
      if (r == kEngineFailed) errorFlag = kEngineFailed;
      if (r == kEngineFailed && LastCopyError() == kErrnoFileLink) fileLinkKept = true;
    }
  }
  int r = RemoveOneDirectory(ui, directory);
  // A link to a file that stayed is what kept the tree: the message names it.
  if (fileLinkKept) SetLastCopyError(kErrnoFileLink);
  if (r == kEngineFailed || r == kEngineCancelled) return r;
  return errorFlag;
}

}  // namespace fileops
