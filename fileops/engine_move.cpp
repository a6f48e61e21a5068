#include "fileops/engine_move.h"

#include <string>

#include "fileops/engine_answers.h"
#include "fileops/engine_copy.h"
#include "fileops/engine_errors.h"
#include "fileops/engine_path.h"
#include "fileops/engine_progress.h"
#include "fileops/engine_state.h"
#include "fileops/engine_tree.h"
#include "fileops/engine_types.h"
#include "os/services.h"

namespace fileops {
namespace {

bool DestinationExists(const char* destination) {
  return os::Fs().Open(destination, os::kGenericRead, os::kShareRead | os::kShareWrite,
                       os::kOpenExisting) != nullptr;
}

// Deletes a moved file's source for good, as the shell does: a read-only or system file
// loses that attribute first (and gets it back when it still cannot go).
void DeleteMovedFile(const std::string& path) {
  if (os::Fs().DeleteFile(path.c_str())) return;
  const uint32_t a = os::Fs().GetAttributes(path.c_str());
  constexpr uint32_t kBlocking = os::kAttrReadOnly | os::kAttrSystem;
  if (a == os::kInvalidAttributes || !(a & kBlocking)) return;
  if (!os::Fs().SetAttributes(path.c_str(), a & ~kBlocking)) return;
  if (!os::Fs().DeleteFile(path.c_str())) os::Fs().SetAttributes(path.c_str(), a);
}

// After a tree copy: the copied files go, then every directory that is empty now. Whatever
// was not copied keeps its directory, and so does a link to a file (its contents were copied;
// deleting it would delete the file it leads to): kEngineFailed with kErrnoFileLink. Cancel
// stops the deleting (nothing is lost by that, but the tree now exists twice, and the command
// must say so): kEngineCancelled.
int DeleteCopiedSource(const OperationUi& ui, const CopiedTree& copied) {
  int r = kEngineOk;
  for (const std::string& file : copied.files) {
    RunOperationPump();
    if (ui.Cancelled()) return kEngineCancelled;
    progress::ShowPath(ui.progress, file.c_str());
    if (os::Fs().IsFileLink(file.c_str())) {
      r = RefuseFileLink(file.c_str());
      continue;
    }
    DeleteMovedFile(file);
  }
  for (const std::string& directory : copied.directories) os::Fs().RemoveDir(directory.c_str());
  return r;
}

}  // namespace

bool MoveRenamesFirst(const char* typedDestination) { return !HasColon(typedDestination); }

int MoveOneFile(const OperationUi& ui, const char* source, const char* destination, char* buffer,
                uint32_t size, bool renameFirst) {
  SetLastCopyError(0);
  if (ui.Cancelled()) return kEngineCancelled;
  // A rename of a link to a file would move the file it leads to, and a move by copying would
  // then delete that file.
  if (os::Fs().IsFileLink(source)) return RefuseFileLink(source);
  if (!ui.ClaimFile(destination, source)) return kEngineFailed;
  if (DestinationExists(destination)) {
    switch (AskOverwrite(ui, source, destination)) {
      case kOverwriteCancel: return kEngineQuestionCancelled;
      case kOverwriteNo: return kEngineOk;
      default: break;
    }
  }
  if (renameFirst) {
    progress::ShowPath(ui.progress, source);
    progress::StartGauge(ui.progress);
    bool renamed = os::Fs().MoveFile(source, destination);
    progress::SetGauge(ui.progress, kGaugeMax);
    if (renamed) return kEngineOk;
  }
  const CopyOutcome out = CopyOneFileDetailed(ui.WithoutOverwrite(), source, destination, buffer,
                                              size, os::kInvalidAttributes);
  if (out.result == kEngineOk && out.copied) os::Fs().DeleteFile(source);
  return out.result;
}

int MoveTree(const OperationUi& ui, const char* source, const char* destination, char* buffer,
             uint32_t size) {
  SetLastCopyError(0);
  if (ui.Cancelled()) return kEngineCancelled;
  progress::ShowPath(ui.progress, source);
  // A link to a directory is refused: a copy cannot make the link again, and a rename of one
  // under Wine renames the directory it leads to.
  if (IsDirectoryLinkPath(source)) {
    SetLastCopyError(kErrnoLinkLeft);
    return kEngineFailed;
  }
  // A destination this command wrote from another source is not written again, not even by a
  // rename (which would fail onto it where the file system does not tell case apart).
  if (!ui.MayWrite(destination, source)) return kEngineFailed;
  if (os::Fs().MoveFile(source, destination)) {
    ui.ClaimTree(destination, source);
    return kEngineOk;
  }
  CopiedTree copied;
  const int r = CopyTreeRecorded(ui, source, destination, buffer, size, copied);
  const bool onlyLinksLeft = r == kEngineFailed && LastCopyError() == kErrnoLinkLeft;
  if (r != kEngineOk && !onlyLinksLeft) return r;
  const int deleted = DeleteCopiedSource(ui, copied);
  return deleted != kEngineOk ? deleted : r;
}

}  // namespace fileops
